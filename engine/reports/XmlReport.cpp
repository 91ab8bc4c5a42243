#include <string>

#include "reports/MarkupText.h"
#include "reports/ReportWriter.h"

namespace quorvane {
namespace {

// <results files=".." bytes=".." groups="..">, then one <group> element per group row holding its
// grouping value as a child element and what it groups, and one <file> element per file row with
// the visible columns as child elements. Values are written for programs to read: sizes as plain
// digits, dates as ISO 8601 local times (2024-05-31T23:59:58).
class TXmlReport final : public TReportWriter {
public:
    TXmlReport(const TReportSource& source, TAtomicFileWriter& out)
        : FSource(source), FOut(out), FColumns(ReportColumns(source.View.Layout())) {}

    void Begin() override {
        const TSummary& summary = FSource.Summary;
        FOut.Write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<results files=\"" +
                   std::to_string(summary.Files) + "\" bytes=\"" + std::to_string(summary.Bytes) +
                   "\" groups=\"" + std::to_string(summary.Groups) + "\">\n");
    }

    void Line(const TReportLine& line) override {
        const TFile& file = FSource.View.File(line.Record);
        FLine.clear();
        const std::size_t level = line.IsGroup ? line.Level : FSource.View.Groups().LevelCount();
        CloseGroups(level);
        Indent(level);
        if (line.IsGroup) {
            FLine += "<group>";
            Value(file, line.Column);
            FLine += '\n';
            ++FOpenGroups;
        } else {
            FLine += "<file>";
            for (TResultColumn column : FColumns)
                Value(file, column);
            FLine += "</file>\n";
        }
        FOut.Write(FLine);
    }

    void End() override {
        FLine.clear();
        CloseGroups(0);
        FLine += "</results>\n";
        FOut.Write(FLine);
    }

private:
    void CloseGroups(std::size_t level) {
        while (FOpenGroups > level) {
            --FOpenGroups;
            Indent(FOpenGroups);
            FLine += "</group>\n";
        }
    }

    void Indent(std::size_t level) { FLine.append(2 * (level + 1), ' '); }

    void Value(const TFile& file, TResultColumn column) {
        const std::string_view name = ResultColumnCaption(column);
        FLine += '<';
        FLine += name;
        FLine += '>';
        switch (column) {
        case rcSize:
            FLine += std::to_string(file.Size);
            break;
        case rcDate:
            AppendDateTimeText(FLine, file.Date, 'T');
            break;
        default:
            FText.clear();
            AppendCellText(FText, file, column, FSource.Texts);
            AppendMarkupText(FLine, FText);
            break;
        }
        FLine += "</";
        FLine += name;
        FLine += '>';
    }

    const TReportSource& FSource;
    TAtomicFileWriter& FOut;
    std::vector<TResultColumn> FColumns;
    std::size_t FOpenGroups = 0;
    std::string FLine;
    std::string FText;
};

} // namespace

std::unique_ptr<TReportWriter> MakeXmlReport(const TReportSource& source, TAtomicFileWriter& out) {
    return std::make_unique<TXmlReport>(source, out);
}

} // namespace quorvane
