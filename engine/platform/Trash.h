#pragma once

#include <string>

namespace quorvane {

// Moves a file into the trash of the freedesktop.org Trash specification, so that a file
// manager can show it and put it back: the home trash ($XDG_DATA_HOME/Trash, by default
// ~/.local/share/Trash) for a file on that file system, else the trash at the top folder of the
// file's own file system ($topdir/.Trash/$uid when $topdir/.Trash is a real folder with the
// sticky bit, else $topdir/.Trash-$uid). The file is only ever renamed, never copied: a file
// whose file system offers no usable trash stays where it is.
//
// The .trashinfo file (the original path, percent-encoded, and the local deletion date) is
// written and flushed to disk before the file moves, so that a crash never leaves a trashed
// file without a way back. Missing trash folders are created (0700). Empty on success,
// otherwise why the file stays.
std::string MoveToTrash(const std::string& fullName);

// The home trash folder, without a trailing "/": $XDG_DATA_HOME/Trash when the variable holds an
// absolute path, else ~/.local/share/Trash.
std::string HomeTrashFolder();

} // namespace quorvane
