#pragma once

#include <string>

namespace quorvane {

enum class TMessageKind { Information, Warning, Error, Confirmation };

// The status bar's two panels: the first is narrow, the second takes the rest.
enum TStatusPanel : int { spFirst = 0, spSecond = 1 };

// What the pipeline controller needs of its front end. The GUI implements it with widgets, the
// command line on a terminal, the tests with a recorder. Every call comes on the main thread.
class IPipelineView {
public:
    virtual ~IPipelineView() = default;

    // Idle (true): the commands that change the file list are enabled, the Search action reads
    // "Start search", the wait form hides. Busy (false): those commands are disabled and the
    // Search action reads "Cancel search".
    virtual void SetCommandsEnabled(bool idle) = 0;
    // The wait form, centred over the main window, naming the stage in hand.
    virtual void ShowWaitForm() = 0;
    virtual void HideWaitForm() = 0;
    virtual void SetWaitText(const std::string& text) = 0;
    virtual void SetStatusText(TStatusPanel panel, const std::string& text) = 0;
    // The hint (tool tip) of a panel, set after its text; empty for none. A front end without
    // hints needs nothing here.
    virtual void SetStatusHint(TStatusPanel, const std::string&) {}
    // The result rows were emptied or rewritten: show them afresh.
    virtual void ResultsChanged() = 0;
    // A modal message box with an OK button.
    virtual void ShowMessage(TMessageKind kind, const std::string& text) = 0;
    // A modal message box with an OK button and, when `checkText` is not empty, a check box
    // starting in the state of `flag`; `flag` takes the box's final state.
    virtual void MessageDlgCheck(const std::string& text, TMessageKind kind,
                                 const std::string& checkText, const std::string& caption,
                                 bool& flag) = 0;
    // Lets the events pending now through (worker ends among them) and returns at once.
    virtual void ProcessMessages() = 0;
    // Waits a short while (at most about 50 ms) for an event and lets it through: the body of a
    // loop that waits for a worker to end.
    virtual void WaitForMessages() = 0;
};

} // namespace quorvane
