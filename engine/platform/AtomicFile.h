#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// Replaces the file with the given contents so that readers see either the old file or the new
// one, never a part: the text goes to a temporary file beside it, is flushed to disk, and is then
// renamed over the target. On failure the old file is left whole and std::runtime_error names
// the file and the reason.
void WriteFileAtomically(const std::string& fileName, std::string_view contents);

// Reads a whole file. Throws std::runtime_error naming the file when it cannot be read.
std::string ReadWholeFile(const std::string& fileName);

} // namespace quorvane
