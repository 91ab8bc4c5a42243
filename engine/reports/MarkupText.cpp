#include "reports/MarkupText.h"

#include <algorithm>

#include "platform/Utf8.h"

namespace quorvane {

void AppendMarkupText(std::string& out, std::string_view text) {
    if (std::all_of(text.begin(), text.end(), [](char c) {
            return c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '>' && c != '"';
        })) {
        out += text; // nothing to escape, as in most names
        return;
    }
    ForEachCodePoint(text, [&out](int32_t c) {
        switch (c) {
        case '&':
            out += "&amp;";
            return;
        case '<':
            out += "&lt;";
            return;
        case '>':
            out += "&gt;";
            return;
        case '"':
            out += "&quot;";
            return;
        case '\t':
            out += "&#9;";
            return;
        case '\n':
            out += "&#10;";
            return;
        case '\r':
            out += "&#13;";
            return;
        default:
            break;
        }
        if (c < 0x20 || c == 0xFFFE || c == 0xFFFF)
            c = 0xFFFD;
        if (c < 0x80)
            out += static_cast<char>(c);
        else
            AppendUtf8(out, c);
    });
}

} // namespace quorvane
