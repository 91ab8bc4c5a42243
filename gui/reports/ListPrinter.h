#pragma once

#include "reports/PrintLayout.h"

class QPaintDevice;
class QPrinter;
class QString;

namespace quorvane {

class TResultGrid;

// Prints the rows that pass the filter, in display order, as a table of name, size, date and path
// with a column header and a footer on every page and a totals line at the end. Rows whose group
// stripe flag is set are shaded. Throws std::runtime_error naming the output when the printer
// cannot start (a PDF file that cannot be written, for instance).
void PrintResultsList(QPrinter& printer, const TResultGrid& results);

// The layout of the pages on the device: its size and the print font's line height.
TPrintLayout PrintLayoutFor(QPaintDevice& device);

// The font of the printed list: Arial, 7 points, or the closest sans-serif font there is.
QString PrintFontFamily();

} // namespace quorvane
