#include "platform/FileRecheck.h"

#include <cerrno>
#include <cstring>

#include "platform/DirectoryListing.h"

namespace quorvane {

std::string RecheckFile(const std::string& fullName, int64_t size, TDateTime date,
                        int64_t utcOffsetSeconds) {
    const std::optional<TFileStatus> status = LinkStatus(fullName);
    if (!status) {
        if (errno == ENOENT || errno == ENOTDIR)
            return kFileVanishedText;
        return std::string("cannot be checked: ") + std::strerror(errno);
    }
    if (status->Kind != TEntryKind::RegularFile || status->Size != size)
        return kFileChangedText;
    const TDateTime now = FileTimeToDateTime(status->ModifiedUnixSeconds, utcOffsetSeconds);
    // A files-list file stores dates clamped to the MS-DOS range: a record loaded from one
    // holds the clamped value of a file dated outside it.
    if (now != date && DosToDateTime(DateTimeToDos(now)) != date)
        return kFileChangedText;
    return {};
}

} // namespace quorvane
