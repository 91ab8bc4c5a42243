#pragma once

namespace quorvane {

// Without a desktop that names an icon theme, Qt looks only in "hicolor", which holds almost no
// folder, drive or file-type icons: take the first common theme installed instead. A theme the
// desktop chose stays.
void ChooseIconTheme();

} // namespace quorvane
