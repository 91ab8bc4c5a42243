#include <string>

#include "reports/MarkupText.h"
#include "reports/ReportWriter.h"

namespace quorvane {
namespace {

constexpr std::string_view kPageStart =
    "<!DOCTYPE html>\n"
    "<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Quorvane results list</title>\n"
    "<style>\n"
    "body { font-family: sans-serif; font-size: 10pt; }\n"
    "table { border-collapse: collapse; }\n"
    "th { background: #316ac5; color: #ffffff; text-align: left; padding: 2px 6px; }\n"
    "td { background: #d9eaf7; padding: 1px 6px; white-space: nowrap; }\n"
    "td.size { text-align: right; }\n"
    "tr.group td { background: #e0e0e0; font-weight: bold; }\n"
    "</style>\n</head>\n<body>\n<h1>Quorvane results list</h1>\n";

// One page with its style sheet inside: a title, the summary line, and a table with a header row,
// group rows (class "group", indented by their level) and file rows.
class THtmlReport final : public TReportWriter {
public:
    THtmlReport(const TReportSource& source, TAtomicFileWriter& out)
        : FSource(source), FOut(out), FColumns(ReportColumns(source.View.Layout())) {}

    void Begin() override {
        FOut.Write(kPageStart);
        FLine = "<p class=\"summary\">";
        AppendMarkupText(FLine, SummaryText(FSource.Summary));
        FLine += "</p>\n<table>\n<thead>\n<tr>";
        for (TResultColumn column : FColumns) {
            FLine += "<th>";
            FLine += ResultColumnCaption(column);
            FLine += "</th>";
        }
        FLine += "</tr>\n</thead>\n<tbody>\n";
        FOut.Write(FLine);
    }

    void Line(const TReportLine& line) override {
        const TFile& file = FSource.View.File(line.Record);
        FLine.clear();
        if (line.IsGroup) {
            FLine += "<tr class=\"group\"><td colspan=\"";
            FLine += std::to_string(FColumns.size());
            FLine += "\" style=\"padding-left: ";
            FLine += std::to_string(6 + 16 * line.Level);
            FLine += "px\">";
            FText.clear();
            AppendGroupText(FText, file, line.Column, FSource.Texts);
            AppendMarkupText(FLine, FText);
            FLine += "</td></tr>\n";
        } else {
            FLine += "<tr>";
            for (TResultColumn column : FColumns) {
                FLine += column == rcSize ? "<td class=\"size\">" : "<td>";
                FText.clear();
                AppendCellText(FText, file, column, FSource.Texts);
                AppendMarkupText(FLine, FText);
                FLine += "</td>";
            }
            FLine += "</tr>\n";
        }
        FOut.Write(FLine);
    }

    void End() override { FOut.Write("</tbody>\n</table>\n</body>\n</html>\n"); }

private:
    const TReportSource& FSource;
    TAtomicFileWriter& FOut;
    std::vector<TResultColumn> FColumns;
    std::string FLine;
    std::string FText;
};

} // namespace

std::unique_ptr<TReportWriter> MakeHtmlReport(const TReportSource& source, TAtomicFileWriter& out) {
    return std::make_unique<THtmlReport>(source, out);
}

} // namespace quorvane
