#pragma once

#include <QString>

class QWidget;

namespace quorvane {

// A modal message box with an OK button, centred over the main window, that shows the program's
// icon whatever its kind, and, when `checkText` is not empty, a check box ("Don't show this
// message again") starting in the state of `flag`. Returns the box's final state of the check
// box (`flag` unchanged without one).
bool MessageDlgCheck(QWidget* mainWindow, const QString& text, const QString& checkText,
                     const QString& caption, bool flag);

} // namespace quorvane
