#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/IniFile.h"

namespace quorvane {

// The recently saved profiles, most recent first. Names compare without regard to letter case.
// In memory the list is never cut; only its first kShownCount names are shown and stored.
class TSavedProfiles {
public:
    static constexpr std::size_t kShownCount = 5;
    static constexpr std::string_view kSection = "SavedProfiles";

    TSavedProfiles() = default;
    explicit TSavedProfiles(std::vector<std::string> names) : FNames(std::move(names)) {}

    const std::vector<std::string>& Names() const { return FNames; }
    // The names the recent-profiles menu shows, in order (item i stands for Names()[i]).
    std::vector<std::string> Shown() const;

    // Puts the file name first. An entry already there in any letter case moves to the top and
    // takes this spelling, since on this system it is the spelling that names the saved file.
    void MoveToTop(std::string_view fileName);
    void Delete(std::size_t index);

    // The section's key names in file order.
    static TSavedProfiles ReadFrom(const TIniFile& ini);
    // Erases the section and writes the shown names as keys with empty values, in list order.
    void WriteTo(TIniFile& ini) const;

private:
    std::vector<std::string> FNames;
};

} // namespace quorvane
