#include "reports/ExportList.h"

namespace quorvane {
namespace {

std::unique_ptr<TReportWriter> MakeReport(TReportFormat format, const TReportSource& source,
                                          TAtomicFileWriter& out) {
    switch (format) {
    case TReportFormat::Xls:
        return MakeXlsReport(source, out);
    case TReportFormat::Csv:
        return MakeCsvReport(source, out);
    case TReportFormat::Text:
        return MakeTextReport(source, out);
    case TReportFormat::Html:
        return MakeHtmlReport(source, out);
    case TReportFormat::Xml:
    default:
        return MakeXmlReport(source, out);
    }
}

} // namespace

void WriteReport(const TReportSource& source, TReportFormat format, const std::string& fileName) {
    TAtomicFileWriter out(fileName);
    const std::unique_ptr<TReportWriter> report = MakeReport(format, source, out);
    report->Begin();
    ForEachReportLine(source.View, [&report](const TReportLine& line) { report->Line(line); });
    report->End();
    out.Commit();
}

std::string ExportList(const TReportSource& source, std::string_view chosenName) {
    const std::optional<TReportTarget> target = ChooseReportTarget(chosenName);
    if (!target)
        return {};
    WriteReport(source, target->Format, target->FileName);
    return target->FileName;
}

} // namespace quorvane
