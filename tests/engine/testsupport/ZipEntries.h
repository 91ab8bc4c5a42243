#pragma once

#include <map>
#include <string>

#include <zip.h>

namespace quorvane::test {

// Every entry of a zip archive with its contents, read back with libzip; empty when the archive
// cannot be opened or fails libzip's consistency check.
inline std::map<std::string, std::string> ZipEntries(const std::string& archive) {
    std::map<std::string, std::string> entries;
    int code = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!zip)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        std::string& contents = entries[zip_get_name(zip, index, ZIP_FL_ENC_RAW)];
        zip_file_t* file = zip_fopen_index(zip, index, 0);
        char buffer[4096];
        zip_int64_t got;
        while (file && (got = zip_fread(file, buffer, sizeof buffer)) > 0)
            contents.append(buffer, static_cast<std::size_t>(got));
        if (file)
            zip_fclose(file);
    }
    zip_discard(zip);
    return entries;
}

} // namespace quorvane::test
