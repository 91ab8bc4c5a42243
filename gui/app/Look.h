#pragma once

namespace quorvane {

// The "Use skin" switch. On: the program's own look, the Fusion style with a palette taken from
// the results grid's blues. Off: the desktop's own style and colours. The first call remembers
// the desktop's style, so it must come before any other style change.
void ApplyLook(bool useSkin);

} // namespace quorvane
