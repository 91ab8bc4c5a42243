#pragma once

#include <memory>

#include "platform/AtomicFileWriter.h"
#include "reports/ReportLines.h"
#include "results/Summary.h"

namespace quorvane {

// What a saved list is made of: the rows as the grid shows them, their summary, and how values
// read.
struct TReportSource {
    const TResultView& View;
    TSummary Summary;
    TReportTexts Texts;
};

// One format's writer: Begin, then every line in display order, then End. Writes through the
// streaming file writer, so memory stays the same whatever the number of rows.
class TReportWriter {
public:
    virtual ~TReportWriter() = default;
    virtual void Begin() = 0;
    virtual void Line(const TReportLine& line) = 0;
    virtual void End() = 0;
};

std::unique_ptr<TReportWriter> MakeCsvReport(const TReportSource& source, TAtomicFileWriter& out);
std::unique_ptr<TReportWriter> MakeTextReport(const TReportSource& source, TAtomicFileWriter& out);
std::unique_ptr<TReportWriter> MakeHtmlReport(const TReportSource& source, TAtomicFileWriter& out);
std::unique_ptr<TReportWriter> MakeXmlReport(const TReportSource& source, TAtomicFileWriter& out);
std::unique_ptr<TReportWriter> MakeXlsReport(const TReportSource& source, TAtomicFileWriter& out);

} // namespace quorvane
