#pragma once

#include "app/PipelineView.h"

namespace quorvane {

class TMainForm;

// The main window as the search pipeline sees it: the command state, the wait form, the status
// bar, the results, message boxes, and the event pump the pipeline runs inside its longer steps.
class TMainFormView final : public IPipelineView {
public:
    explicit TMainFormView(TMainForm& form) : FForm(form) {}

    void SetCommandsEnabled(bool idle) override;
    void ShowWaitForm() override;
    void HideWaitForm() override;
    void SetWaitText(const std::string& text) override;
    // A new text drops the panel's old hint.
    void SetStatusText(TStatusPanel panel, const std::string& text) override;
    void SetStatusHint(TStatusPanel panel, const std::string& hint) override;
    void ResultsChanged() override;
    void ShowMessage(TMessageKind kind, const std::string& text) override;
    void MessageDlgCheck(const std::string& text, TMessageKind kind, const std::string& checkText,
                         const std::string& caption, bool& flag) override;
    void ProcessMessages() override;
    void WaitForMessages() override;

    // Whether the events being handled now were let through by a pipeline step that is still
    // at work on the file list or the results.
    bool InsideStep() const { return FStepDepth > 0; }

private:
    TMainForm& FForm;
    int FStepDepth = 0;
};

} // namespace quorvane
