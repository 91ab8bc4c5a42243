#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// Appends text as the character data of an HTML or XML document: "&", "<", ">" and '"' escaped,
// bytes that are not UTF-8 and characters XML 1.0 cannot carry (control characters other than
// tab, line feed and carriage return; U+FFFE, U+FFFF) as U+FFFD, and tab, line feed and carriage
// return as character references so that a parser keeps them as they are.
void AppendMarkupText(std::string& out, std::string_view text);

} // namespace quorvane
