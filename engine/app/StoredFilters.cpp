#include "app/StoredFilters.h"

#include <algorithm>

#include "app/Settings.h"
#include "platform/IniFile.h"
#include "results/CriteriaStreamHex.h"
#include "results/DefaultFilters.h"

namespace quorvane {
namespace {

// Key names compare as the configuration file compares them: A-Z alike in either case.
bool SameAsciiNoCase(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&fold](char x, char y) { return fold(x) == fold(y); });
}

TFilterGroup Decode(std::string_view name, const std::string& hex) {
    try {
        return DecodeStoredFilter(hex);
    } catch (const TFilterError& error) {
        throw StoredFilterError(name, error);
    }
}

bool HasKey(const TIniFile& ini, std::string_view name) {
    const std::vector<std::string> names = ini.ReadSection(kFiltersSection);
    return std::any_of(names.begin(), names.end(),
                       [name](const std::string& stored) { return SameAsciiNoCase(stored, name); });
}

} // namespace

std::vector<std::string> StoredFilterNames(const std::string& configFile) {
    return TIniFile(configFile).ReadSection(kFiltersSection);
}

TFilterGroup LoadStoredFilter(const std::string& configFile, std::string_view name) {
    const TIniFile ini(configFile);
    if (!HasKey(ini, name))
        throw StoredFilterError(name, TFilterError("There is no stored filter of that name"));
    return Decode(name, ini.ReadString(kFiltersSection, name, ""));
}

TFilterGroup LoadStoredFilterOrDefault(const std::string& configFile, std::string_view name) {
    const TIniFile ini(configFile);
    std::string hex = ini.ReadString(kFiltersSection, name, "");
    if (hex.empty()) {
        for (const TNamedFilterText& filter : DefaultFilters())
            if (SameAsciiNoCase(filter.Name, name))
                return Decode(filter.Name, filter.CriteriaHex);
        if (!HasKey(ini, name))
            throw StoredFilterError(name, TFilterError("There is no stored filter of that name"));
    }
    return Decode(name, hex);
}

void StoreFilter(const std::string& configFile, std::string_view name,
                 const TFilterGroup& criteria) {
    std::string hex;
    try {
        hex = EncodeStoredFilter(criteria);
    } catch (const TFilterError& error) {
        throw StoredFilterError(name, error);
    }
    TIniFile ini(configFile);
    ini.WriteString(kFiltersSection, name, hex);
    ini.UpdateFile();
}

void DeleteStoredFilters(const std::string& configFile, const std::vector<std::string>& names) {
    if (names.empty())
        return;
    TIniFile ini(configFile);
    for (const std::string& name : names)
        ini.DeleteKey(kFiltersSection, name);
    ini.UpdateFile();
}

TFilterError StoredFilterError(std::string_view name, const TFilterError& error) {
    std::string reason = error.what();
    if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z')
        reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
    return TFilterError("The filter \"" + std::string(name) + "\" cannot be used: " + reason);
}

} // namespace quorvane
