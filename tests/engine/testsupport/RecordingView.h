#pragma once

#include <string>
#include <vector>

#include "app/PipelineView.h"
#include "platform/MainThreadQueue.h"

namespace quorvane::test {

// A front end that records what the pipeline shows, answers message boxes as told, and lets
// events through by draining a TSimpleQueue.
class TRecordingView final : public IPipelineView {
public:
    explicit TRecordingView(TSimpleQueue& queue) : FQueue(queue) {}

    void SetCommandsEnabled(bool idle) override {
        Idle = idle;
        if (idle)
            WaitFormShown = false;
    }
    void ShowWaitForm() override { WaitFormShown = true; }
    void HideWaitForm() override { WaitFormShown = false; }
    void SetWaitText(const std::string& text) override { WaitTexts.push_back(text); }
    void SetStatusText(TStatusPanel panel, const std::string& text) override {
        Panels[panel] = text;
        Hints[panel].clear();
    }
    void SetStatusHint(TStatusPanel panel, const std::string& hint) override {
        Hints[panel] = hint;
    }
    void ResultsChanged() override { ++ResultsShown; }
    void ShowMessage(TMessageKind kind, const std::string& text) override {
        Messages.push_back({kind, text});
    }
    void MessageDlgCheck(const std::string& text, TMessageKind kind, const std::string&,
                         const std::string&, bool& flag) override {
        Messages.push_back({kind, text});
        flag = TickDontShowAgain;
    }
    void ProcessMessages() override { FQueue.Drain(); }
    void WaitForMessages() override { FQueue.RunOne(std::chrono::milliseconds(20)); }

    struct TMessage {
        TMessageKind Kind;
        std::string Text;
    };
    bool Idle = true;
    bool WaitFormShown = false;
    bool TickDontShowAgain = false;
    int ResultsShown = 0;
    std::string Panels[2];
    std::string Hints[2];
    std::vector<std::string> WaitTexts;
    std::vector<TMessage> Messages;

private:
    TSimpleQueue& FQueue;
};

} // namespace quorvane::test
