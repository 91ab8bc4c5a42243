#include "search/FilesListFormat.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "platform/HexText.h"
#include "platform/Utf8.h"

namespace quorvane {
namespace {

constexpr char kEscapedLineMarker = '%';
// Besides "%" and bytes that are not UTF-8: the separators, and the line breaks.
constexpr std::string_view kEscapedCharacters = "?*\r\n";

bool FieldNeedsEscaping(std::string_view text) {
    return text.find_first_of(kEscapedCharacters) != std::string_view::npos || !IsValidUtf8(text);
}

std::optional<uint64_t> ParseHex(std::string_view text) {
    uint64_t value = 0;
    if (text.empty())
        return std::nullopt;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const std::optional<char> byte = PercentByteAt(text.substr(i));
        if (!byte)
            throw TFilesListLineError("the escape sequence at byte " + std::to_string(i + 1) +
                                      " is not % and two hexadecimal digits");
        out += *byte;
        i += 2;
    }
    return out;
}

} // namespace

std::string FormatFilesListLine(const TFile& file) {
    std::string line;
    const bool escaped = FieldNeedsEscaping(file.Name) || FieldNeedsEscaping(file.Path());
    line.reserve(16 + file.Name.size() + file.Path().size() + 10 + (escaped ? 16 : 0));
    if (escaped)
        line += kEscapedLineMarker;
    AppendHex(line, static_cast<uint64_t>(file.Size), 16);
    if (escaped) {
        AppendPercentEscaped(line, file.Name, kEscapedCharacters);
        line += '?';
        AppendPercentEscaped(line, file.Path(), kEscapedCharacters);
    } else {
        line += file.Name;
        line += '?';
        line += file.Path();
    }
    line += '*';
    AppendHex(line, DateTimeToDos(file.Date), 8);
    return line;
}

TFile ParseFilesListLine(std::string_view line) {
    const bool escaped = !line.empty() && line.front() == kEscapedLineMarker;
    if (escaped)
        line.remove_prefix(1);

    const auto size = line.size() >= 16 ? ParseHex(line.substr(0, 16)) : std::nullopt;
    if (!size)
        throw TFilesListLineError("the size is not a 16-digit hexadecimal number");
    if (*size > static_cast<uint64_t>(INT64_MAX)) // it would read as a negative size
        throw TFilesListLineError("the size is 2^63 bytes or more");
    line.remove_prefix(16);

    const auto question = line.find('?');
    if (question == std::string_view::npos)
        throw TFilesListLineError("the name is not ended by \"?\"");
    const std::string_view name = line.substr(0, question);
    line.remove_prefix(question + 1);

    const auto star = line.find('*');
    if (star == std::string_view::npos)
        throw TFilesListLineError("the folder is not ended by \"*\"");
    const std::string_view folder = line.substr(0, star);
    line.remove_prefix(star + 1);

    const auto dos = line.size() <= 8 ? ParseHex(line) : std::nullopt;
    if (!dos)
        throw TFilesListLineError("the date is not an 8-digit hexadecimal number");
    const auto date = DosToDateTime(static_cast<uint32_t>(*dos));
    if (!date)
        throw TFilesListLineError("the date is not a valid MS-DOS date and time");

    // Checked before unescaping: the writer never escapes "/".
    if (name.empty())
        throw TFilesListLineError("the name is empty");
    if (folder.empty())
        throw TFilesListLineError("the folder is empty");
    if (folder.front() != '/')
        throw TFilesListLineError("the folder is not an absolute path");

    TFile file;
    file.Size = static_cast<int64_t>(*size);
    file.Date = *date;
    if (escaped) {
        file.Name = Unescape(name);
        file.SetPath(Unescape(folder));
    } else {
        file.Name = std::string(name);
        file.SetPath(folder);
    }
    return file;
}

} // namespace quorvane
