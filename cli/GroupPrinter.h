#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "results/ResultView.h"

namespace quorvane::cli {

// Writes the rows that pass the view's filter, in display order, group by group:
// - text: one full path per line, groups separated by one empty line; with `nullSeparated`
//   every path ends with a zero byte instead and every group with one more. Groups made only of
//   files that could not be read are left out (the caller lists them on stderr);
// - csv: a header line, then group,path,name,size,date,checksum,unreadable per file (RFC 4180
//   quoting; unreadable is true or false);
// - json: an array of groups, each {"group", "unreadable", "files": [{"path", "name", "size",
//   "date", "checksum"}]}. Names are the file system's bytes; JSON, which must be Unicode, shows
//   bytes that are not UTF-8 as U+FFFD, and then adds "path_bytes" (or "name_bytes") with the
//   exact bytes, "%" and every byte that is not UTF-8 written as %XX.
void PrintGroups(const TResultView& view, TOutputFormat format, bool nullSeparated,
                 std::ostream& out);

// The full names of the grouped files that could not be read, in display order.
std::vector<std::string> UnreadableFiles(const TResultView& view);

} // namespace quorvane::cli
