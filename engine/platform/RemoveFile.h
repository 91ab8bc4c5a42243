#pragma once

#include <string>

namespace quorvane {

// Removes the name from its folder (the delete action; no trash). Empty on success, otherwise
// the system's reason.
std::string RemoveFile(const std::string& fullName);

} // namespace quorvane
