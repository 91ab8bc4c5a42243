#pragma once

#include <cstdint>
#include <string>

namespace quorvane {

// Whole numbers as the user reads them: digits grouped by thousands with the number locale's
// separator ("1,234,567" in English, "1.234.567" in German). Digits are always ASCII.
//
// The number locale is the user's from the environment; the C and POSIX locales use the neutral
// root locale (a comma every three digits). Safe to call from any thread.
std::string FormatGroupedInteger(int64_t value);

// Selects the number locale by ICU name ("de", "fr_CH", ...). An empty name means the user's
// locale, the default. Affects every thread from its next call.
void SetNumberLocale(const std::string& localeName);

} // namespace quorvane
