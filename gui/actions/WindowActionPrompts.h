#pragma once

#include "actions/FileAction.h"

class QWidget;

namespace quorvane {

// The questions of a running file action, put through the window's prompts (which tests
// script). The wait form and the busy cursor step aside while a question shows.
class TWindowActionPrompts final : public IActionPrompts {
public:
    TWindowActionPrompts(QWidget& mainWindow, QWidget& waitForm)
        : FMainWindow(mainWindow), FWaitForm(waitForm) {}

    // `target` + " already exists, overwrite?"; only Yes replaces it, and No is the default.
    bool ConfirmOverwrite(const std::string& target) override;

private:
    QWidget& FMainWindow;
    QWidget& FWaitForm;
};

} // namespace quorvane
