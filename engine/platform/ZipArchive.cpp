#include "platform/ZipArchive.h"

#include <cerrno>
#include <cstring>
#include <unordered_map>

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include "platform/FileDescriptor.h"
#include "platform/Utf8.h"

namespace quorvane {
namespace {

std::string ErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string FolderOf(const std::string& fileName) {
    const auto slash = fileName.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

// The archive and the rename that put it in place, on disk.
std::string Flush(const std::string& archive) {
    for (const std::string& name : {archive, FolderOf(archive)}) {
        TFileDescriptor fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.Get() < 0 || ::fsync(fd.Get()) != 0)
            return "Unable to write the archive " + archive + ": " + std::strerror(errno);
    }
    return {};
}

// The entries by their names as stored, byte for byte. (libzip's own lookup finds a name that is
// not UTF-8 only in its converted form.)
std::unordered_map<std::string, zip_uint64_t> EntryIndexes(zip_t* zip) {
    std::unordered_map<std::string, zip_uint64_t> indexes;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW))
            indexes.emplace(name, static_cast<zip_uint64_t>(i));
    return indexes;
}

// Reads the entry through; libzip fails the read when the data do not match the entry's CRC-32.
TZipEntryReadBack ReadBack(zip_t* zip, const std::unordered_map<std::string, zip_uint64_t>& indexes,
                           const std::string& entryName) {
    TZipEntryReadBack entry;
    const auto found = indexes.find(entryName);
    zip_stat_t status;
    zip_stat_init(&status);
    if (found == indexes.end() || zip_stat_index(zip, found->second, 0, &status) != 0 ||
        !(status.valid & ZIP_STAT_CRC)) {
        entry.Error = "missing from the written archive";
        return entry;
    }
    zip_file_t* file = zip_fopen_index(zip, found->second, 0);
    if (!file) {
        entry.Error = std::string("cannot be read back: ") + zip_strerror(zip);
        return entry;
    }
    char buffer[65536];
    zip_int64_t got;
    while ((got = zip_fread(file, buffer, sizeof buffer)) > 0)
        entry.Size += got;
    if (got < 0)
        entry.Error = std::string("cannot be read back: ") + zip_file_strerror(file);
    zip_fclose(file);
    entry.Crc = status.crc;
    return entry;
}

void ReportProgress(zip_t*, double, void* pump) {
    (*static_cast<const std::function<void()>*>(pump))();
}

} // namespace

TZipAddOutcome AddFilesToZip(const std::string& archive, const std::vector<TZipSource>& sources,
                             const std::function<void()>& pump) {
    TZipAddOutcome outcome;
    outcome.Entries.resize(sources.size());
    int code = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE, &code);
    if (!zip) {
        outcome.ArchiveError = "Unable to open the archive " + archive + ": " + ErrorText(code);
        return outcome;
    }
    const auto stored = EntryIndexes(zip);
    std::vector<std::size_t> added;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const TZipSource& source = sources[i];
        std::string& error = outcome.Entries[i].Error;
        if (stored.contains(source.EntryName)) {
            error = kAlreadyInArchiveText;
            continue;
        }
        zip_source_t* data = zip_source_file(zip, source.FileName.c_str(), 0, -1);
        const zip_flags_t encoding =
            IsValidUtf8(source.EntryName) ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_RAW;
        if (!data || zip_file_add(zip, source.EntryName.c_str(), data, encoding) < 0) {
            error = zip_strerror(zip);
            zip_source_free(data);
            continue;
        }
        added.push_back(i);
    }
    if (added.empty()) {
        zip_discard(zip);
        return outcome;
    }
    if (pump)
        zip_register_progress_callback_with_state(zip, 0.01, ReportProgress, nullptr,
                                                  const_cast<std::function<void()>*>(&pump));
    if (zip_close(zip) != 0) {
        outcome.ArchiveError = "Unable to write the archive " + archive + ": " + zip_strerror(zip);
        zip_discard(zip);
        return outcome;
    }
    outcome.ArchiveError = Flush(archive);
    if (!outcome.ArchiveError.empty())
        return outcome;

    zip = zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!zip) {
        outcome.ArchiveError =
            "Unable to read the archive " + archive + " back: " + ErrorText(code);
        return outcome;
    }
    const auto written = EntryIndexes(zip);
    for (const std::size_t i : added)
        outcome.Entries[i] = ReadBack(zip, written, sources[i].EntryName);
    zip_discard(zip);
    return outcome;
}

} // namespace quorvane
