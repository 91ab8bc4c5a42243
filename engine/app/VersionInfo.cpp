#include "app/VersionInfo.h"

#include <algorithm>

namespace quorvane {
namespace {

bool SameAsciiNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

constexpr std::array<TVersionEntry, 11> kEntries = {{
    {"CompanyName", "Brindlecot"},
    {"FileDescription", "Quorvane"},
    {"FileVersion", "2.0.2.13"},
    {"InternalName", "Quorvane"},
    {"LegalCopyright", "Copyright (C) 2003-2024 Brindlecot"},
    {"LegalTrademarks", "Quorvane is a trademark of Brindlecot. All rights reserved."},
    {"OriginalFilename", "Quorvane"},
    {"ProductName", "Quorvane"},
    {"ProductVersion", "2.0.0.0"},
    {"Comments", "Quorvane 2.0 - Find duplicate files"},
    {"Author", "Written by the Brindlecot team"},
}};

} // namespace

const std::array<TVersionEntry, 11>& VersionEntries() {
    return kEntries;
}

std::string VersionValue(std::string_view key) {
    for (const TVersionEntry& entry : kEntries)
        if (SameAsciiNoCase(entry.Key, key))
            return std::string(entry.Value);
    return {};
}

} // namespace quorvane
