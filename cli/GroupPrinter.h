#pragma once

#include <ostream>

#include "CliOptions.h"
#include "results/ResultView.h"

namespace quorvane::cli {

// Writes the rows that pass the view's filter, in display order, group by group:
// - text: one full path per line, groups separated by one empty line;
// - csv: a header line, then group,path,name,size,date,checksum per file (RFC 4180 quoting);
// - json: an array of groups, each {"group", "files": [{"path", "name", "size", "date",
// "checksum"}]}. Names are the file system's bytes; JSON, which must be Unicode, shows bytes that
// are not UTF-8 as U+FFFD.
void PrintGroups(const TResultView& view, TOutputFormat format, std::ostream& out);

} // namespace quorvane::cli
