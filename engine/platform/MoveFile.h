#pragma once

#include <functional>
#include <string>

namespace quorvane {

struct TMoveOptions {
    // The user agreed to replace the file at the target. Without it a file that appears at the
    // target meanwhile is never replaced: the move fails instead.
    bool ReplaceTarget = false;
    // Copy even within one file system, as a move across file systems does (for tests).
    bool CopyAlways = false;
    // Called after every block copied or compared, so that a front end stays responsive while
    // a large file crosses file systems. May be empty.
    std::function<void()> Pump = {};
};

// Moves a regular file to `target` (whose folder exists). Within one file system it is a
// rename. Across file systems the file is copied to a temporary name in the target folder
// (mode, owner and times kept), flushed to disk, compared with the source byte for byte, renamed
// into place, and only then is the source removed: a copy that fails is taken back and the
// source stays untouched. Empty on success, otherwise why.
std::string MoveFileTo(const std::string& source, const std::string& target,
                       const TMoveOptions& options = {});

} // namespace quorvane
