#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quorvane {

// The version information compiled into the program, read by the about box and handed to the
// update check as the running version.
struct TVersionEntry {
    std::string_view Key;
    std::string_view Value;
};

// The keys the about box reads, in the order it reads them. PubDate is one of them but carries
// no value.
inline constexpr std::array<std::string_view, 12> kVersionKeys = {
    "CompanyName",    "FileDescription", "FileVersion",      "InternalName",
    "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductName",
    "ProductVersion", "Comments",        "Author",           "PubDate"};

// The values the program carries, in kVersionKeys order, one for each key that has one.
const std::array<TVersionEntry, 11>& VersionEntries();

// The value of the key (compared without regard to letter case); empty when it has none.
std::string VersionValue(std::string_view key);

// The about box's fixed publication note.
inline constexpr std::string_view kPublicationNote = "Published by Brindlecot";

} // namespace quorvane
