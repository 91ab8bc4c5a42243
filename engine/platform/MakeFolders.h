#pragma once

#include <string>

namespace quorvane {

// Creates the folder and every missing folder above it (with `mode` less the umask), as a move
// into a new folder tree needs. Empty on success or when the folder exists; otherwise a text
// naming the folder that could not be made and why.
std::string MakeFolders(const std::string& folder, unsigned mode = 0777);

} // namespace quorvane
