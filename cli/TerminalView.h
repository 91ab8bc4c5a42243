#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/PipelineView.h"
#include "platform/MainThreadQueue.h"
#include "platform/StatusMailbox.h"

namespace quorvane::cli {

// The pipeline's front end on a terminal: message boxes become lines on the error stream, the
// wait form and the status bar become one progress line (only when the stream is a terminal),
// and events are the tasks of a TSimpleQueue.
class TTerminalView final : public IPipelineView {
public:
    TTerminalView(TSimpleQueue& queue, std::ostream& err, bool quiet, bool showProgress);

    void SetCommandsEnabled(bool idle) override;
    void ShowWaitForm() override {}
    void HideWaitForm() override {}
    void SetWaitText(const std::string& text) override;
    void SetStatusText(TStatusPanel, const std::string&) override {}
    void ResultsChanged() override {}
    void ShowMessage(TMessageKind kind, const std::string& text) override;
    // No one answers on a terminal: the message is shown and the flag keeps its state.
    void MessageDlgCheck(const std::string& text, TMessageKind kind, const std::string& checkText,
                         const std::string& caption, bool& flag) override;
    void ProcessMessages() override;
    void WaitForMessages() override;

    // Redraws the progress line when it is due: the search's folder and count, or the stage and
    // the bytes read for content comparison.
    void ShowProgress(TStatusMailbox& search);
    // The message about grouped files that could not be read, naming each by its full path. The
    // pipeline's own, which gives names alone, is not shown.
    void ShowUnreadableFiles(const std::vector<std::string>& fullNames);
    // Whether an error stopped the run before its result was classified.
    bool Failed() const { return FFailed; }
    // A file action starts: until the next wait text the progress line names it ("Moving"),
    // with the file begun (counted by ActionFileBegun) and the time taken.
    void StartActionProgress(std::string text, std::size_t files);
    void ActionFileBegun() { ++FActionFilesBegun; }
    // While set, messages are not shown: the classification after a file action only drops the
    // files acted on, and its notices ("No duplicate files found") would tell nothing new.
    void SetMessagesMuted(bool muted) { FMessagesMuted = muted; }

private:
    void ClearProgressLine();
    void DrawProgressLine(std::string line);

    TSimpleQueue& FQueue;
    std::ostream& FErr;
    const bool FQuiet;
    const bool FShowProgress;
    std::string FStage;
    bool FClassifying = false;
    bool FFailed = false;
    bool FProgressShown = false;
    bool FMessagesMuted = false;
    bool FActionRunning = false;
    std::size_t FActionFiles = 0;
    std::size_t FActionFilesBegun = 0;
    std::chrono::steady_clock::time_point FActionStart{};
    std::string FFolder;
    uint64_t FBytesAtStart = 0;
    std::chrono::steady_clock::time_point FNextDraw{};
};

} // namespace quorvane::cli
