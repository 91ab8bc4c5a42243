#include "reports/BiffRecords.h"

#include <algorithm>

#include "platform/Utf8.h"
#include "reports/LittleEndian.h"

namespace quorvane {

std::size_t BeginBiffRecord(std::string& out, TBiffRecord type) {
    const std::size_t start = out.size();
    AppendLe16(out, type);
    AppendLe16(out, 0);
    return start;
}

void EndBiffRecord(std::string& out, std::size_t start) {
    const std::size_t length = out.size() - start - 4;
    out[start + 2] = static_cast<char>(length & 0xFF);
    out[start + 3] = static_cast<char>(length >> 8);
}

void AppendBiffString(std::string& out, std::string_view utf8, bool shortLength,
                      std::size_t maxUnits) {
    if (utf8.size() <= maxUnits &&
        std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
        // ASCII, as most names are: one byte a character as it stands.
        if (shortLength)
            out += static_cast<char>(utf8.size());
        else
            AppendLe16(out, static_cast<uint32_t>(utf8.size()));
        out += '\0';
        out += utf8;
        return;
    }
    thread_local std::u16string units; // kept between calls: one per cell
    units.clear();
    bool latin1 = true;
    ForEachCodePoint(utf8, [&](int32_t c) {
        if (c >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(c);
        }
        latin1 = latin1 && c < 0x100;
    });
    if (units.size() > maxUnits) {
        units.resize(maxUnits);
        if (!units.empty() && units.back() >= 0xD800 && units.back() < 0xDC00)
            units.pop_back();
    }
    if (shortLength)
        out += static_cast<char>(units.size());
    else
        AppendLe16(out, static_cast<uint32_t>(units.size()));
    out += static_cast<char>(latin1 ? 0 : 1);
    for (char16_t unit : units) {
        if (latin1)
            out += static_cast<char>(unit);
        else
            AppendLe16(out, unit);
    }
}

} // namespace quorvane
