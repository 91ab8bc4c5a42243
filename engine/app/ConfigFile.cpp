#include "app/ConfigFile.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace quorvane {
namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    throw std::runtime_error("Unable to find the configuration folder: neither XDG_CONFIG_HOME "
                             "nor HOME is set");
}

std::string ConfigHome() {
    // Relative values are to be ignored, as the XDG base directory rules say.
    if (const char* configHome = std::getenv("XDG_CONFIG_HOME"); configHome && *configHome == '/')
        return configHome;
    std::string home = HomeFolder();
    if (!home.ends_with('/'))
        home += '/';
    return home + ".config";
}

std::string ConfigFolder() {
    std::string folder = ConfigHome();
    if (!folder.ends_with('/'))
        folder += '/';
    return folder + "Brindlecot/";
}

} // namespace

std::string ConfigFilePath() {
    const std::string folder = ConfigFolder();
    std::error_code ignored; // see the header: a failure shows at the first write
    std::filesystem::create_directories(folder, ignored);
    return folder + "quorvane.ini";
}

std::string ConfigFileLocation() {
    return ConfigFolder() + "quorvane.ini";
}

} // namespace quorvane
