#include "reports/ProfileList.h"

#include <algorithm>

#include "platform/TextCompare.h"

namespace quorvane {

std::vector<std::string> TSavedProfiles::Shown() const {
    const auto count = std::min(FNames.size(), kShownCount);
    return {FNames.begin(), FNames.begin() + static_cast<std::ptrdiff_t>(count)};
}

void TSavedProfiles::MoveToTop(std::string_view fileName) {
    const auto found = std::find_if(FNames.begin(), FNames.end(), [&](const std::string& name) {
        return SameTextNoCase(name, fileName);
    });
    if (found != FNames.end())
        FNames.erase(found);
    FNames.insert(FNames.begin(), std::string(fileName));
}

void TSavedProfiles::Delete(std::size_t index) {
    if (index < FNames.size())
        FNames.erase(FNames.begin() + static_cast<std::ptrdiff_t>(index));
}

TSavedProfiles TSavedProfiles::ReadFrom(const TIniFile& ini) {
    return TSavedProfiles(ini.ReadSection(kSection));
}

void TSavedProfiles::WriteTo(TIniFile& ini) const {
    ini.EraseSection(kSection);
    for (const std::string& name : Shown())
        if (TIniFile::CanStoreKey(name))
            ini.WriteString(kSection, name, "");
}

} // namespace quorvane
