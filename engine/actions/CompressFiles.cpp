#include "actions/CompressFiles.h"

#include "duplicates/Crc.h"
#include "platform/DirectoryListing.h"
#include "platform/FileRecheck.h"
#include "platform/RemoveFile.h"
#include "platform/ZipArchive.h"

namespace quorvane {
namespace {

constexpr const char* kArchiveNotWrittenText = "the archive could not be written";

// Empty when the stored entry holds the file's bytes as they are now, otherwise why not.
std::string CompareWithEntry(const std::string& fileName, const TZipEntryReadBack& entry) {
    uint32_t crc = 0;
    const TFileReadOutcome read = ComputeFileCrc32(fileName, crc);
    if (!read.Ok())
        return read.Error;
    const std::optional<TFileStatus> status = LinkStatus(fileName);
    if (!status || status->Size != entry.Size || crc != entry.Crc)
        return "the archive's copy differs from the file; it was not deleted";
    return {};
}

} // namespace

void CompressFiles(const TActionPlan& plan, int64_t utcOffset, TActionOutcome& outcome,
                   const TPump& pump) {
    std::vector<TZipSource> sources;
    std::vector<std::size_t> stepOfSource;
    for (std::size_t i = 0; i < plan.Steps.size(); ++i) {
        const TActionStep& step = plan.Steps[i];
        TStepResult& result = outcome.Results.emplace_back();
        result.FilePosition = step.FilePosition;
        result.Source = step.Source;
        result.Error = RecheckFile(step.Source, step.Size, step.Date, utcOffset);
        if (!result.Error.empty()) {
            result.Outcome = TStepOutcome::Changed;
            continue;
        }
        sources.push_back({step.Source, step.Target});
        stepOfSource.push_back(i);
    }
    if (sources.empty())
        return;

    const TZipAddOutcome zip = AddFilesToZip(plan.Destination, sources, pump);
    outcome.ArchiveError = zip.ArchiveError;
    for (std::size_t s = 0; s < sources.size(); ++s) {
        TStepResult& result = outcome.Results[stepOfSource[s]];
        std::string error =
            !zip.ArchiveError.empty() ? kArchiveNotWrittenText : zip.Entries[s].Error;
        if (error.empty())
            error = CompareWithEntry(sources[s].FileName, zip.Entries[s]);
        if (error.empty()) {
            error = RemoveFile(sources[s].FileName);
            if (!error.empty())
                error = "stored in the archive, but not deleted: " + error;
        }
        result.Outcome = error.empty() ? TStepOutcome::Done : TStepOutcome::Failed;
        result.Error = std::move(error);
        if (pump)
            pump();
    }
}

} // namespace quorvane
