#pragma once

#include <cctype>
#include <optional>
#include <regex>
#include <string>

namespace quorvane::test {

// A strict reader of .trashinfo files, written from the freedesktop.org Trash specification and
// not from our writer: the first line is the group header, Path and DeletionDate each appear
// once, Path holds only URL-safe ASCII and "%XX" escapes, the date has the form
// YYYY-MM-DDThh:mm:ss. Gives the decoded path, or nothing when any rule is broken.
struct TTrashInfo {
    std::string Path; // decoded, raw bytes
    std::string DeletionDate;
};

inline std::optional<TTrashInfo> ReadTrashInfo(const std::string& text) {
    static const std::regex date(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2})");
    if (text.rfind("[Trash Info]\n", 0) != 0)
        return std::nullopt;
    std::optional<std::string> encodedPath, deletionDate;
    std::size_t pos = text.find('\n') + 1;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::string line = text.substr(pos, end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            return std::nullopt;
        const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        std::optional<std::string>& slot = key == "Path" ? encodedPath : deletionDate;
        if ((key != "Path" && key != "DeletionDate") || slot)
            return std::nullopt;
        slot = value;
    }
    if (!encodedPath || !deletionDate || !std::regex_match(*deletionDate, date))
        return std::nullopt;
    TTrashInfo info{"", *deletionDate};
    for (std::size_t i = 0; i < encodedPath->size(); ++i) {
        const char c = (*encodedPath)[i];
        if (c == '%') {
            if (i + 2 >= encodedPath->size() || !std::isxdigit((*encodedPath)[i + 1]) ||
                !std::isxdigit((*encodedPath)[i + 2]))
                return std::nullopt;
            info.Path += static_cast<char>(std::stoi(encodedPath->substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else if (static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x7F) {
            return std::nullopt;
        } else {
            info.Path += c;
        }
    }
    return info;
}

} // namespace quorvane::test
