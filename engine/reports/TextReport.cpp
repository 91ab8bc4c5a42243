#include <algorithm>
#include <string>

#include "platform/Utf8.h"
#include "reports/ReportWriter.h"

namespace quorvane {
namespace {

constexpr std::size_t kIndentPerLevel = 2;
constexpr std::string_view kColumnGap = "  ";

// Columns padded with spaces to the widest value, sizes right-aligned; each group row on a line
// of its own, indented by its level, and the file rows indented one level further than the
// innermost group rows, as the grid nests them. Control characters, which would break the
// layout, show as U+FFFD like bytes that are not UTF-8.
class TTextReport final : public TReportWriter {
public:
    TTextReport(const TReportSource& source, TAtomicFileWriter& out)
        : FSource(source), FOut(out), FColumns(ReportColumns(source.View.Layout())),
          FWidths(MeasureColumns(source.View, FColumns, source.Texts)),
          FFileIndent(kIndentPerLevel * source.View.Groups().LevelCount()) {}

    void Begin() override {
        FLine.assign(FFileIndent, ' ');
        for (std::size_t i = 0; i < FColumns.size(); ++i)
            Cell(i, ResultColumnCaption(FColumns[i]));
        EndLine();
    }

    void Line(const TReportLine& line) override {
        const TFile& file = FSource.View.File(line.Record);
        if (line.IsGroup) {
            FLine.assign(kIndentPerLevel * line.Level, ' ');
            FText.clear();
            AppendGroupText(FText, file, line.Column, FSource.Texts);
            AppendPrintable(FText);
        } else {
            FLine.assign(FFileIndent, ' ');
            for (std::size_t i = 0; i < FColumns.size(); ++i) {
                FText.clear();
                AppendCellText(FText, file, FColumns[i], FSource.Texts);
                Cell(i, FText);
            }
        }
        EndLine();
    }

    void End() override {}

private:
    void Cell(std::size_t index, std::string_view text) {
        if (index > 0)
            FLine += kColumnGap;
        const std::size_t padding = FWidths[index] - CharacterCount(text);
        const bool last = index + 1 == FColumns.size();
        if (FColumns[index] == rcSize)
            FLine.append(padding, ' ');
        AppendPrintable(text);
        if (FColumns[index] != rcSize && !last)
            FLine.append(padding, ' ');
    }

    void AppendPrintable(std::string_view text) {
        if (std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) {
            FLine += text; // plain ASCII, as most names are
            return;
        }
        ForEachCodePoint(text, [this](int32_t c) {
            if (c < 0x80 && c >= 0x20 && c != 0x7F)
                FLine += static_cast<char>(c);
            else
                AppendUtf8(FLine, c < 0x20 || c == 0x7F ? 0xFFFD : c);
        });
    }

    void EndLine() {
        FLine += '\n';
        FOut.Write(FLine);
    }

    const TReportSource& FSource;
    TAtomicFileWriter& FOut;
    std::vector<TResultColumn> FColumns;
    std::vector<std::size_t> FWidths;
    std::size_t FFileIndent;
    std::string FLine;
    std::string FText;
};

} // namespace

std::unique_ptr<TReportWriter> MakeTextReport(const TReportSource& source, TAtomicFileWriter& out) {
    return std::make_unique<TTextReport>(source, out);
}

} // namespace quorvane
