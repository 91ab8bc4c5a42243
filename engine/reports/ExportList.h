#pragma once

#include <string>

#include "reports/ReportTarget.h"
#include "reports/ReportWriter.h"

namespace quorvane {

// Writes the rows that pass the filter, as the grid shows them (every group row expanded, the
// visible columns without "Checked"), to the file in the format. The file is replaced only once
// the whole report is on disk; on failure an earlier file stays as it was and std::runtime_error
// names the file and the reason.
void WriteReport(const TReportSource& source, TReportFormat format, const std::string& fileName);

// The save command: chooses the format and the name by the extension (ChooseReportTarget) and
// writes the report. Returns the name written, or empty when the extension selects no format
// (nothing is written).
std::string ExportList(const TReportSource& source, std::string_view chosenName);

} // namespace quorvane
