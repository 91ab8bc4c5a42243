#include "platform/LocaleChoice.h"

#include <string_view>

namespace quorvane {

void TLocaleChoice::Set(const std::string& name) {
    {
        std::lock_guard lock(FMutex);
        FName = name;
    }
    FGeneration.fetch_add(1, std::memory_order_acq_rel);
}

icu::Locale TLocaleChoice::Get() const {
    icu::Locale locale;
    {
        std::lock_guard lock(FMutex);
        locale = FName.empty() ? icu::Locale::getDefault() : icu::Locale(FName.c_str());
    }
    if (std::string_view(locale.getName()) == "en_US_POSIX")
        return icu::Locale::getRoot();
    return locale;
}

} // namespace quorvane
