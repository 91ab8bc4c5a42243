#pragma once

class QDialog;

namespace quorvane {

// Gives a dialog a sizing frame: it can be resized and maximised, with a size grip, but never
// made smaller than its layout needs to show every control whole. Call once its layout is set.
void MakeResizable(QDialog& dialog);

} // namespace quorvane
