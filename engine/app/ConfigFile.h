#pragma once

#include <string>

namespace quorvane {

// The per-user configuration file: $XDG_CONFIG_HOME (or ~/.config when it is unset, empty or not
// an absolute path) + "/Brindlecot/quorvane.ini". Creates the "Brindlecot" folder, with any
// missing folders above it, when it does not exist. A folder that cannot be created is not an
// error here: reading then gives every default, and the first save reports that the file cannot
// be written. Throws std::runtime_error when neither variable gives a folder.
std::string ConfigFilePath();
// The same path without creating any folder, for a reader that must leave the disk as it is.
std::string ConfigFileLocation();

} // namespace quorvane
