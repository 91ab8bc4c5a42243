#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QString;

namespace quorvane {

// A program's command as its desktop entry's Exec line gives it, ready to take one file.
// Arguments are bytes, passed to the program as they stand.
struct TDesktopCommand {
    static constexpr std::size_t kAtEnd = static_cast<std::size_t>(-1);

    std::vector<std::string> Arguments; // the program first
    // Where the file goes: into argument FileArgument at FileOffset, where the entry's %f, %F,
    // %u or %U stood; kAtEnd when the line has none, and the file comes last.
    std::size_t FileArgument = kAtEnd;
    std::size_t FileOffset = 0;

    bool operator==(const TDesktopCommand&) const = default;
};

// What the field codes %c, %i and %k stand for.
struct TDesktopEntryKeys {
    std::string Name;      // %c
    std::string Icon;      // %i gives "--icon" and this, when not empty
    std::string EntryPath; // %k
};

// An Exec value, its string escapes already undone, cut into arguments by the desktop-entry
// rules: spaces separate; "..." quotes a whole argument, with \" \` \$ and \\ inside; %% is a
// "%"; %f %F %u %U mark the file's place; %c %i %k are expanded; the deprecated %d %D %n %N %v
// %m are dropped. None for a line those rules reject: empty, an open quote, a field code they
// do not know, or a file's place in the program's name.
std::optional<TDesktopCommand> SplitExecLine(std::string_view exec, const TDesktopEntryKeys& keys);

// The command of a desktop entry file's text: the Exec key of its [Desktop Entry] group. None
// when the entry is hidden (Hidden=true), has no such group or no Exec line that SplitExecLine
// takes.
std::optional<TDesktopCommand> ParseDesktopEntry(std::string_view text, std::string_view entryPath);

// The command of the desktop entry `fileName` ("optiquill.desktop") as the XDG application
// folders hold it ($XDG_DATA_HOME/applications before each of $XDG_DATA_DIRS); none when no
// folder has it or it gives no command.
std::optional<TDesktopCommand> FindDesktopCommand(const QString& fileName);

// The argument list that opens one file: the command with the full name in the file's place,
// always as (part of) a single argument, byte for byte.
std::vector<std::string> CommandLineFor(const TDesktopCommand& command, std::string_view fullName);

} // namespace quorvane
