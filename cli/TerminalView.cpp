#include "TerminalView.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include "app/PipelineMessages.h"
#include "duplicates/Classify.h"
#include "duplicates/FileBlockReader.h"

namespace quorvane::cli {
namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

// The pipeline's texts break lines with CR LF (and some with a lone CR): a terminal wants LF.
std::string ForTerminal(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::size_t TerminalWidth() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 10)
        return size.ws_col;
    return 80;
}

const char* KindLabel(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Error:
        return "error: ";
    case TMessageKind::Warning:
        return "warning: ";
    default:
        return "";
    }
}

} // namespace

TTerminalView::TTerminalView(TSimpleQueue& queue, std::ostream& err, bool quiet, bool showProgress)
    : FQueue(queue), FErr(err), FQuiet(quiet), FShowProgress(showProgress && !quiet) {}

void TTerminalView::SetCommandsEnabled(bool idle) {
    if (idle)
        ClearProgressLine();
}

void TTerminalView::SetWaitText(const std::string& text) {
    FActionRunning = false;
    FStage = text;
    FClassifying = text == kClassifyingText;
    FBytesAtStart = FileBytesReadSoFar();
}

void TTerminalView::ShowMessage(TMessageKind kind, const std::string& text) {
    if (FMessagesMuted)
        return;
    // An error before classification means the run could not be done; the one error of
    // classification, the report of files that could not be read, comes with a result and is
    // said by ShowUnreadableFiles.
    if (kind == TMessageKind::Error && FClassifying)
        return;
    if (kind == TMessageKind::Error)
        FFailed = true;
    if (FQuiet && kind != TMessageKind::Error)
        return;
    ClearProgressLine();
    FErr << KindLabel(kind) << ForTerminal(text) << '\n' << std::flush;
}

void TTerminalView::ShowUnreadableFiles(const std::vector<std::string>& fullNames) {
    ClearProgressLine();
    FErr << KindLabel(TMessageKind::Error) << ForTerminal(std::string(kUnreadableFilesText))
         << '\n';
    for (const std::string& name : fullNames)
        FErr << name << '\n';
    FErr << std::flush;
}

void TTerminalView::MessageDlgCheck(const std::string& text, TMessageKind kind, const std::string&,
                                    const std::string&, bool&) {
    ShowMessage(kind, text);
}

void TTerminalView::WaitForMessages() {
    FQueue.RunOne(std::chrono::milliseconds(50));
}

void TTerminalView::ShowProgress(TStatusMailbox& search) {
    if (!FShowProgress)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now < FNextDraw)
        return;
    FNextDraw = now + kProgressInterval;
    search.TakeStatus(FFolder);
    std::string line;
    if (FStage.empty()) {
        line = std::to_string(search.Count()) + " files found  " + FFolder;
    } else {
        const uint64_t megabytes = (FileBytesReadSoFar() - FBytesAtStart) >> 20;
        line = FStage + "...  " + std::to_string(megabytes) + " MiB read";
    }
    DrawProgressLine(std::move(line));
}

void TTerminalView::StartActionProgress(std::string text, std::size_t files) {
    FStage = std::move(text);
    FActionFiles = files;
    FActionFilesBegun = 0;
    FActionStart = std::chrono::steady_clock::now();
    FActionRunning = true;
    FNextDraw = {};
}

void TTerminalView::ProcessMessages() {
    FQueue.Drain();
    if (!FActionRunning || !FShowProgress)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now < FNextDraw)
        return;
    FNextDraw = now + kProgressInterval;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(now - FActionStart).count();
    // Compress writes its archive in one piece: it has no file count to show.
    std::string line = FActionFilesBegun == 0
                           ? FStage + " " + std::to_string(FActionFiles) +
                                 (FActionFiles == 1 ? " file..." : " files...")
                           : FStage + " file " + std::to_string(FActionFilesBegun) + " of " +
                                 std::to_string(FActionFiles) + "...";
    DrawProgressLine(line + "  " + std::to_string(seconds) + " s");
}

void TTerminalView::DrawProgressLine(std::string line) {
    const std::size_t width = TerminalWidth() - 1;
    if (line.size() > width)
        line = line.substr(0, width / 2 - 2) + "..." +
               line.substr(line.size() - (width - width / 2 - 1));
    FErr << "\r\033[K" << line << std::flush;
    FProgressShown = true;
}

void TTerminalView::ClearProgressLine() {
    if (!FProgressShown)
        return;
    FErr << "\r\033[K" << std::flush;
    FProgressShown = false;
}

} // namespace quorvane::cli
