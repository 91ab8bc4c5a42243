#include <string>

#include "platform/Utf8.h"
#include "reports/FormulaGuard.h"
#include "reports/ReportWriter.h"

namespace quorvane {
namespace {

// Values separated by ";", each in double quotes with a double quote inside doubled; lines end
// with CR LF. A group row is a line of one value, its text.
class TCsvReport final : public TReportWriter {
public:
    TCsvReport(const TReportSource& source, TAtomicFileWriter& out)
        : FSource(source), FOut(out), FColumns(ReportColumns(source.View.Layout())) {}

    void Begin() override {
        for (std::size_t i = 0; i < FColumns.size(); ++i)
            Value(ResultColumnCaption(FColumns[i]), i == 0);
        FOut.Write("\r\n");
    }

    void Line(const TReportLine& line) override {
        const TFile& file = FSource.View.File(line.Record);
        if (line.IsGroup) {
            FText.clear();
            AppendGroupText(FText, file, line.Column, FSource.Texts);
            Value(FText, true);
        } else {
            for (std::size_t i = 0; i < FColumns.size(); ++i) {
                FText.clear();
                AppendCellText(FText, file, FColumns[i], FSource.Texts);
                Value(FText, i == 0);
            }
        }
        FOut.Write("\r\n");
    }

    void End() override {}

private:
    void Value(std::string_view text, bool first) {
        FValue.clear();
        if (!first)
            FValue += ';';
        FValue += '"';
        // A spreadsheet that opens the file would run a value like "=cmd|..." as a formula.
        if (StartsLikeFormula(text))
            FValue += '\'';
        const std::size_t start = FValue.size();
        AppendValidUtf8(FValue, text);
        for (std::size_t i = FValue.find('"', start); i != std::string::npos;
             i = FValue.find('"', i + 2))
            FValue.insert(i, 1, '"');
        FValue += '"';
        FOut.Write(FValue);
    }

    const TReportSource& FSource;
    TAtomicFileWriter& FOut;
    std::vector<TResultColumn> FColumns;
    std::string FText;
    std::string FValue;
};

} // namespace

std::unique_ptr<TReportWriter> MakeCsvReport(const TReportSource& source, TAtomicFileWriter& out) {
    return std::make_unique<TCsvReport>(source, out);
}

} // namespace quorvane
