#pragma once

#include <cstdint>

#include <QString>

#include "platform/DateTime.h"
#include "results/ResultColumns.h"
#include "search/FilList.h"

namespace quorvane {

// How the grid shows the values of a file row and of a group row.

// The column captions; "Checked" has one although its header draws none.
QString ColumnCaption(TResultColumn column);
// A size with the locale's thousands separators and no decimals: 1,234,567.
QString SizeText(int64_t size);
// A file date in the user's locale, to the second.
QString DateText(TDateTime date);
// The text of a cell of a file row (empty for Checked).
QString CellText(const TFile& file, TResultColumn column);
// A group row: the column's caption, a colon and the value; a Name group row just the name (it
// draws its icon beside it).
QString GroupText(const TFile& file, TResultColumn column);
// A value as "Copy cell value" puts it on the clipboard: sizes as plain digits; the Checked value
// as "False", or empty when the row cannot be checked.
QString CopyText(const TFile& file, TResultColumn column, bool checkable);

} // namespace quorvane
