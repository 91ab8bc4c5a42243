#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

enum class TReportFormat { Xls, Csv, Text, Html, Xml };

// Which report a chosen file name asks for, and the name it is written under.
struct TReportTarget {
    TReportFormat Format;
    std::string FileName;
};

// The extension of the name (from its last dot on, in the name part only) compared without
// regard to case with ".xls", ".csv", ".txt", ".htm", ".html" and ".xml", in this order. The
// spreadsheet and the text report are written with the lower-case extension "xls" or "txt"; the
// others keep the extension as typed. Empty for any other extension: nothing is to be written.
std::optional<TReportTarget> ChooseReportTarget(std::string_view fileName);

} // namespace quorvane
