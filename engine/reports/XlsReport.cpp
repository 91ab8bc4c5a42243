#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "reports/BiffRecords.h"
#include "reports/CompoundFile.h"
#include "reports/LittleEndian.h"
#include "reports/ReportWriter.h"

namespace quorvane {
namespace {

// Rows of one sheet after its header row: a BIFF8 sheet holds 65,536 rows.
constexpr uint32_t kLinesPerSheet = 65535;

// Fonts: index 4 does not exist in BIFF, so the fifth FONT record is font 5.
constexpr uint16_t kBoldFont = 5;
constexpr uint16_t kThousandsFormat = 3; // built-in "#,##0"
constexpr uint16_t kDateFormat = 164;    // the first number of a workbook's own formats
constexpr std::string_view kDateFormatText = "yyyy-mm-dd hh:mm:ss";

// Cell formats after the 15 style formats and the default cell format (15).
enum TCellXf : uint16_t {
    xfGeneral = 15,
    xfHeader,
    xfSize,
    xfDate,
    xfGroup, // one per grouping level, indented by the level
};
constexpr uint16_t kGroupLevels = 4;

// The palette entry of the group-row fill, set to the grid's group-row grey.
constexpr uint8_t kGroupFillColour = 22;
constexpr uint32_t kGroupFillRgb = 0xE0E0E0;

// The standard BIFF8 palette, entries 8 to 63.
constexpr std::array<uint32_t, 56> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

// Dates before 1 March 1900 fall on the spreadsheet's phantom 29 February 1900: they go as text.
constexpr double kFirstTrueSerialDate = 61;

// Longest text a cell record takes: a path of the longest length Linux allows fits.
constexpr std::size_t kMaxCellUnits = 4100;

void AppendXf(std::string& out, uint16_t font, uint16_t format, bool style, uint8_t alignment,
              uint8_t indent, uint8_t fill) {
    const std::size_t start = BeginBiffRecord(out, brXf);
    AppendLe16(out, font);
    AppendLe16(out, format);
    AppendLe16(out, style ? 0xFFF5 : 0x0001);   // locked; a style format has no parent
    out += static_cast<char>(alignment | 0x20); // vertical: bottom
    out += '\0';                                // no rotation
    out += static_cast<char>(indent);
    out += static_cast<char>(style ? 0x00 : 0xFC); // a cell format sets every attribute itself
    AppendLe32(out, 0);                            // no borders
    AppendLe32(out, fill ? 1u << 26 : 0u);         // solid fill
    AppendLe16(out, (fill ? fill : 0x40) | (0x41 << 7));
    EndBiffRecord(out, start);
}

void AppendFont(std::string& out, bool bold) {
    const std::size_t start = BeginBiffRecord(out, brFont);
    AppendLe16(out, 200);          // 10 points, in twentieths
    AppendLe16(out, bold ? 1 : 0); // the older bold flag, which some readers go by
    AppendLe16(out, 0x7FFF);       // automatic colour
    AppendLe16(out, bold ? 700 : 400);
    AppendLe16(out, 0);
    out.append(4, '\0'); // underline, family, character set, reserved
    AppendBiffString(out, "Arial", true);
    EndBiffRecord(out, start);
}

// A BIFF8 workbook (Excel 97 and later) in a compound file: the header row in bold, group rows
// filled grey with their text in the first column, sizes as numbers shown with thousands
// separators, dates as date cells, columns as wide as their widest value. Past 65,535 rows the
// list goes on in further sheets, each with its header row.
//
// Text cells are LABEL records written as the rows come, so the writer keeps no table of strings
// and its memory does not grow with the rows. A text cell is never a formula, whatever it
// starts with.
class TXlsReport final : public TReportWriter {
public:
    TXlsReport(const TReportSource& source, TAtomicFileWriter& out)
        : FSource(source), FFile(out, u"Workbook"), FColumns(ReportColumns(source.View.Layout())),
          FWidths(MeasureColumns(source.View, FColumns, source.Texts)) {
        const std::size_t lines = ReportLineCount(source.View);
        FSheetCount = static_cast<uint32_t>(
            std::max<std::size_t>(1, (lines + kLinesPerSheet - 1) / kLinesPerSheet));
        FLinesLeft = lines;
        for (std::size_t i = 0; i < FColumns.size(); ++i)
            if (FColumns[i] == rcDate)
                FWidths[i] = std::max(FWidths[i], kDateFormatText.size());
    }

    void Begin() override {
        WriteGlobals();
        StartSheet();
    }

    void Line(const TReportLine& line) override {
        if (FRow > kLinesPerSheet) {
            EndSheet();
            StartSheet();
        }
        const TFile& file = FSource.View.File(line.Record);
        if (line.IsGroup) {
            FText.clear();
            AppendGroupText(FText, file, line.Column, FSource.Texts);
            const auto xf = static_cast<uint16_t>(
                xfGroup + std::min<std::size_t>(line.Level, kGroupLevels - 1));
            Label(0, xf, FText);
            for (uint16_t column = 1; column < FColumns.size(); ++column)
                Blank(column, xfGroup);
        } else {
            for (uint16_t i = 0; i < FColumns.size(); ++i)
                FileCell(i, file, FColumns[i]);
        }
        Flush();
        ++FRow;
    }

    void End() override {
        EndSheet();
        FFile.Finish();
    }

private:
    void WriteGlobals() {
        Bof(0x0005);
        std::size_t start = BeginBiffRecord(FRecord, brCodePage);
        AppendLe16(FRecord, 1200); // UTF-16
        EndBiffRecord(FRecord, start);
        start = BeginBiffRecord(FRecord, brWindow1);
        for (uint32_t value : {0, 0, 0x4000, 0x2000, 0x0038, 0, 0, 1, 0x0258})
            AppendLe16(FRecord, value);
        EndBiffRecord(FRecord, start);
        start = BeginBiffRecord(FRecord, brDateMode);
        AppendLe16(FRecord, 0); // days counted from 1900
        EndBiffRecord(FRecord, start);
        for (int font = 0; font < 4; ++font)
            AppendFont(FRecord, false);
        AppendFont(FRecord, true);
        start = BeginBiffRecord(FRecord, brFormat);
        AppendLe16(FRecord, kDateFormat);
        AppendBiffString(FRecord, kDateFormatText, false);
        EndBiffRecord(FRecord, start);
        for (int style = 0; style < 15; ++style)
            AppendXf(FRecord, 0, 0, true, 0, 0, 0);
        AppendXf(FRecord, 0, 0, false, 0, 0, 0);                // xfGeneral
        AppendXf(FRecord, kBoldFont, 0, false, 0, 0, 0);        // xfHeader
        AppendXf(FRecord, 0, kThousandsFormat, false, 0, 0, 0); // xfSize
        AppendXf(FRecord, 0, kDateFormat, false, 0, 0, 0);      // xfDate
        for (uint8_t level = 0; level < kGroupLevels; ++level)
            AppendXf(FRecord, 0, 0, false, 1, level, kGroupFillColour);
        start = BeginBiffRecord(FRecord, brStyle);
        AppendLe16(FRecord, 0x8000); // built-in style "Normal" on style format 0
        FRecord += '\0';
        FRecord += '\xFF';
        EndBiffRecord(FRecord, start);
        start = BeginBiffRecord(FRecord, brPalette);
        AppendLe16(FRecord, static_cast<uint32_t>(kPalette.size()));
        for (std::size_t entry = 0; entry < kPalette.size(); ++entry) {
            const uint32_t rgb = entry + 8 == kGroupFillColour ? kGroupFillRgb : kPalette[entry];
            FRecord += static_cast<char>(rgb >> 16);
            FRecord += static_cast<char>((rgb >> 8) & 0xFF);
            FRecord += static_cast<char>(rgb & 0xFF);
            FRecord += '\0';
        }
        EndBiffRecord(FRecord, start);
        for (uint32_t sheet = 0; sheet < FSheetCount; ++sheet) {
            start = BeginBiffRecord(FRecord, brBoundSheet);
            // The sheet's position in the stream is known once it is written.
            FSheetPositions.push_back(FFile.StreamSize() + FRecord.size());
            AppendLe32(FRecord, 0);
            AppendLe16(FRecord, 0); // visible worksheet
            AppendBiffString(FRecord, SheetName(sheet), true);
            EndBiffRecord(FRecord, start);
        }
        start = BeginBiffRecord(FRecord, brEof);
        EndBiffRecord(FRecord, start);
        Flush();
    }

    std::string SheetName(uint32_t sheet) const {
        return FSheetCount == 1 ? "Results" : "Results " + std::to_string(sheet + 1);
    }

    void Bof(uint16_t kind) {
        const std::size_t start = BeginBiffRecord(FRecord, brBof);
        AppendLe16(FRecord, 0x0600); // BIFF8
        AppendLe16(FRecord, kind);
        AppendLe16(FRecord, 0x0DBB); // build
        AppendLe16(FRecord, 0x07CC); // year
        AppendLe32(FRecord, 0);
        AppendLe32(FRecord, 0x0006); // lowest version that reads the file
        EndBiffRecord(FRecord, start);
    }

    void StartSheet() {
        std::string position;
        AppendLe32(position, static_cast<uint32_t>(FFile.StreamSize()));
        FFile.Patch(FSheetPositions[FSheet], position);
        Bof(0x0010);
        for (uint16_t i = 0; i < FColumns.size(); ++i) {
            const std::size_t start = BeginBiffRecord(FRecord, brColInfo);
            AppendLe16(FRecord, i);
            AppendLe16(FRecord, i);
            // In 1/256 of a character; two characters of margin; 255 characters at most.
            AppendLe16(FRecord,
                       static_cast<uint32_t>(std::min<std::size_t>(FWidths[i] + 2, 255) * 256));
            AppendLe16(FRecord, xfGeneral);
            AppendLe32(FRecord, 0);
            EndBiffRecord(FRecord, start);
        }
        const auto lines = static_cast<uint32_t>(std::min<std::size_t>(FLinesLeft, kLinesPerSheet));
        FLinesLeft -= lines;
        const std::size_t start = BeginBiffRecord(FRecord, brDimensions);
        AppendLe32(FRecord, 0);
        AppendLe32(FRecord, lines + 1);
        AppendLe16(FRecord, 0);
        AppendLe16(FRecord, static_cast<uint32_t>(FColumns.size()));
        AppendLe16(FRecord, 0);
        EndBiffRecord(FRecord, start);
        FRow = 0;
        for (uint16_t i = 0; i < FColumns.size(); ++i)
            Label(i, xfHeader, ResultColumnCaption(FColumns[i]));
        Flush();
        FRow = 1;
    }

    void EndSheet() {
        std::size_t start = BeginBiffRecord(FRecord, brWindow2);
        // Grid lines, headings, zeros, automatic grid colour, outline symbols; the first sheet
        // is the selected and shown one.
        AppendLe16(FRecord, FSheet == 0 ? 0x06B6 : 0x00B6);
        for (int field = 0; field < 6; ++field)
            AppendLe16(FRecord, field == 2 ? 0x40 : 0);
        AppendLe32(FRecord, 0);
        EndBiffRecord(FRecord, start);
        start = BeginBiffRecord(FRecord, brEof);
        EndBiffRecord(FRecord, start);
        Flush();
        ++FSheet;
    }

    void FileCell(uint16_t column, const TFile& file, TResultColumn value) {
        switch (value) {
        case rcSize:
            Number(column, xfSize, static_cast<double>(file.Size));
            return;
        case rcDate:
            if (file.Date >= kFirstTrueSerialDate) {
                Number(column, xfDate, file.Date);
                return;
            }
            break;
        default:
            break;
        }
        FText.clear();
        AppendCellText(FText, file, value, FSource.Texts);
        if (!FText.empty())
            Label(column, xfGeneral, FText);
    }

    void CellStart(TBiffRecord type, uint16_t column, uint16_t xf, std::size_t& start) {
        start = BeginBiffRecord(FRecord, type);
        AppendLe16(FRecord, FRow);
        AppendLe16(FRecord, column);
        AppendLe16(FRecord, xf);
    }

    void Label(uint16_t column, uint16_t xf, std::string_view text) {
        std::size_t start;
        CellStart(brLabel, column, xf, start);
        AppendBiffString(FRecord, text, false, kMaxCellUnits);
        EndBiffRecord(FRecord, start);
    }

    void Number(uint16_t column, uint16_t xf, double value) {
        std::size_t start;
        CellStart(brNumber, column, xf, start);
        AppendLeDouble(FRecord, value);
        EndBiffRecord(FRecord, start);
    }

    void Blank(uint16_t column, uint16_t xf) {
        std::size_t start;
        CellStart(brBlank, column, xf, start);
        EndBiffRecord(FRecord, start);
    }

    void Flush() {
        FFile.Write(FRecord);
        FRecord.clear();
    }

    const TReportSource& FSource;
    TCompoundFileWriter FFile;
    std::vector<TResultColumn> FColumns;
    std::vector<std::size_t> FWidths;
    uint32_t FSheetCount = 1;
    std::size_t FLinesLeft = 0;
    std::vector<uint64_t> FSheetPositions; // where each sheet's stream position is recorded
    uint32_t FSheet = 0;
    uint32_t FRow = 0;
    std::string FRecord;
    std::string FText;
};

} // namespace

std::unique_ptr<TReportWriter> MakeXlsReport(const TReportSource& source, TAtomicFileWriter& out) {
    return std::make_unique<TXlsReport>(source, out);
}

} // namespace quorvane
