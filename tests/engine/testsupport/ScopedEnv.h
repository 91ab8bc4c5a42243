#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace quorvane::test {

// Sets an environment variable (or unsets it, for no value) for the life of the object, then
// puts the old value back.
class TScopedEnv {
public:
    TScopedEnv(const char* name, const std::optional<std::string>& value) : FName(name) {
        if (const char* old = std::getenv(name))
            FOld = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    TScopedEnv(const TScopedEnv&) = delete;
    TScopedEnv& operator=(const TScopedEnv&) = delete;
    ~TScopedEnv() {
        if (FOld)
            ::setenv(FName, FOld->c_str(), 1);
        else
            ::unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

} // namespace quorvane::test
