#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

#include "platform/AtomicFile.h"
#include "reports/ExportList.h"
#include "results/ResultGrid.h"
#include "testsupport/ResultRows.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::TResultRows;
using test::TTempDir;
using TSpec = TResultRows::TSpec;

TDateTime Date(int day, int second) {
    return EncodeDateTime({2024, 1, day, 3, 4, second});
}

// What a saved list should hold, written out by hand (not by the code under test), as the JSON
// that readers/check_report.py compares a report with.
struct TExpectedCell {
    enum { Text, Size, Date } Kind;
    std::string Value; // text, digits, or "YYYY-MM-DD hh:mm:ss"
};
TExpectedCell Text(std::string text) {
    return {TExpectedCell::Text, std::move(text)};
}
TExpectedCell Size(int64_t size) {
    return {TExpectedCell::Size, std::to_string(size)};
}
TExpectedCell When(std::string date) {
    return {TExpectedCell::Date, std::move(date)};
}

struct TExpectedLine {
    int GroupLevel = -1; // -1: a file row
    std::string Column;  // group rows: the grouping column
    std::vector<TExpectedCell> Cells;
};
TExpectedLine Group(int level, std::string column, TExpectedCell value) {
    return {level, std::move(column), {std::move(value)}};
}
TExpectedLine File(std::vector<TExpectedCell> cells) {
    return {-1, "", std::move(cells)};
}

struct TExpected {
    std::vector<std::string> Columns;
    std::string Summary;
    std::array<int64_t, 3> Counts{};
    int Sheets = 1;
    std::vector<TExpectedLine> Lines;
};

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + '"';
}

std::string Json(const TExpectedCell& cell) {
    switch (cell.Kind) {
    case TExpectedCell::Size:
        return "{\"size\": " + cell.Value + "}";
    case TExpectedCell::Date:
        return "{\"date\": " + Json(cell.Value) + "}";
    default:
        return "{\"text\": " + Json(cell.Value) + "}";
    }
}

void WriteJson(const TExpected& expected, const std::string& fileName) {
    std::ofstream out(fileName, std::ios::binary);
    out << "{\"columns\": [";
    for (std::size_t i = 0; i < expected.Columns.size(); ++i)
        out << (i ? ", " : "") << Json(expected.Columns[i]);
    out << "], \"summary\": " << Json(expected.Summary) << ", \"counts\": [" << expected.Counts[0]
        << ", " << expected.Counts[1] << ", " << expected.Counts[2]
        << "], \"sheets\": " << expected.Sheets << ", \"lines\": [\n";
    for (std::size_t i = 0; i < expected.Lines.size(); ++i) {
        const TExpectedLine& line = expected.Lines[i];
        out << (i ? ",\n" : "");
        if (line.GroupLevel >= 0) {
            out << "{\"group\": " << line.GroupLevel << ", \"column\": " << Json(line.Column)
                << ", \"value\": " << Json(line.Cells[0]) << "}";
            continue;
        }
        out << "{\"cells\": [";
        for (std::size_t c = 0; c < line.Cells.size(); ++c)
            out << (c ? ", " : "") << Json(line.Cells[c]);
        out << "]}";
    }
    out << "]}\n";
}

// Runs the independent reader on the report; empty when it finds what is expected, else what
// differs.
std::string CheckWithReader(const std::string& format, const std::string& report,
                            const TExpected& expected, const TTempDir& dir) {
    const std::string json = dir / "expected.json";
    WriteJson(expected, json);
    const std::string command = "/usr/bin/python3 " QUORVANE_TEST_READERS "/check_report.py " +
                                format + " '" + report + "' '" + json + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    const int status = ::pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return output.empty() ? "reader failed" : output;
    return {};
}

// Results grouped by name, then size, with groups separated: the grid shows Date and Path in the
// file rows. Names that a spreadsheet would run, that need escaping, and that are not UTF-8.
class GroupedResults : public testing::Test {
protected:
    void SetUp() override {
        Add("=cmd.txt", 500, 1, "/d1/", 1);
        Add("=cmd.txt", 500, 1, "/d2/", 2);
        Add("a \"q\" <&>.txt", 1234567, 2, "/x/", 3);
        Add("a \"q\" <&>.txt", 1234567, 2, "/y/", 4);
        Add("a \"q\" <&>.txt", 10, 3, "/x/", 5);
        Add("a \"q\" <&>.txt", 10, 3, "/z/", 6);
        Add("bad\xFF.txt", 7, 4, "/b\xC3/", 7);
        Add("bad\xFF.txt", 7, 4, "/c/", 8);
        Grid.Load(Rows.Files, Rows.Rows, ClassifiedLayout(goNameSize, true, false, false));
    }

    void Add(std::string name, int64_t size, uint32_t group, std::string folder, int day) {
        Rows.Add({folder, std::move(name), size, group, true, Date(day, 2 * day)});
    }

    TReportSource Source() const { return {Grid.View(), Grid.Summary(), {}}; }

    static TExpected Expected() {
        const std::string quoted = "a \"q\" <&>.txt";
        return {{"Date", "Path"},
                "8 files (2,470,168 bytes) in 4 groups",
                {8, 2470168, 4},
                1,
                {Group(0, "Name", Text("=cmd.txt")), Group(1, "Size", Size(500)),
                 File({When("2024-01-01 03:04:02"), Text("/d1/")}),
                 File({When("2024-01-02 03:04:04"), Text("/d2/")}), Group(0, "Name", Text(quoted)),
                 Group(1, "Size", Size(1234567)), File({When("2024-01-03 03:04:06"), Text("/x/")}),
                 File({When("2024-01-04 03:04:08"), Text("/y/")}), Group(1, "Size", Size(10)),
                 File({When("2024-01-05 03:04:10"), Text("/x/")}),
                 File({When("2024-01-06 03:04:12"), Text("/z/")}),
                 Group(0, "Name", Text("bad\xEF\xBF\xBD.txt")), Group(1, "Size", Size(7)),
                 File({When("2024-01-07 03:04:14"), Text("/b\xEF\xBF\xBD/")}),
                 File({When("2024-01-08 03:04:16"), Text("/c/")})}};
    }

    TResultRows Rows;
    TResultGrid Grid;
    TTempDir Dir;
};

TEST_F(GroupedResults, EveryFormatReadsBackWithAnIndependentReader) {
    for (const auto& [format, kind] : {std::pair{"csv", TReportFormat::Csv},
                                       {"html", TReportFormat::Html},
                                       {"xml", TReportFormat::Xml},
                                       {"xls", TReportFormat::Xls}}) {
        SCOPED_TRACE(format);
        const std::string report = Dir / (std::string("list.") + format);
        WriteReport(Source(), kind, report);
        EXPECT_EQ(CheckWithReader(format, report, Expected(), Dir), "");
    }
}

// Runs where LibreOffice is installed (Debian: libreoffice-calc-nogui), else skips: the workbook
// opens without a repair and holds the same cells.
TEST_F(GroupedResults, LibreOfficeReadsTheWorkbook) {
    if (std::system("command -v soffice > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice is not installed";
    const std::string report = Dir / "list.xls";
    WriteReport(Source(), TReportFormat::Xls, report);
    // A profile of its own in the temporary folder, so that no user's settings take part; the
    // CSV in UTF-8 (character set 76).
    const std::string command =
        "HOME='" + Dir.Path() +
        "' soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir '" +
        Dir.Path() + "lo' '" + report + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(CheckWithReader("libreoffice-csv", Dir / "lo/list.csv", Expected(), Dir), "");
}

TEST_F(GroupedResults, CsvQuotesEveryValueAndDoublesQuotes) {
    const std::string report = Dir / "list.csv";
    WriteReport(Source(), TReportFormat::Csv, report);
    const std::string text = ReadWholeFile(report);
    EXPECT_EQ(text.substr(0, 16), "\"Date\";\"Path\"\r\n\"");
    EXPECT_NE(text.find("\r\n\"'=cmd.txt\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n\"a \"\"q\"\" <&>.txt\"\r\n"), std::string::npos);
}

TEST_F(GroupedResults, TextIndentsGroupRowsAndAlignsColumns) {
    const std::string report = Dir / "list.txt";
    WriteReport(Source(), TReportFormat::Text, report);
    EXPECT_EQ(ReadWholeFile(report), "    Date                 Path\n"
                                     "=cmd.txt\n"
                                     "  Size: 500\n"
                                     "    2024-01-01 03:04:02  /d1/\n"
                                     "    2024-01-02 03:04:04  /d2/\n"
                                     "a \"q\" <&>.txt\n"
                                     "  Size: 1,234,567\n"
                                     "    2024-01-03 03:04:06  /x/\n"
                                     "    2024-01-04 03:04:08  /y/\n"
                                     "  Size: 10\n"
                                     "    2024-01-05 03:04:10  /x/\n"
                                     "    2024-01-06 03:04:12  /z/\n"
                                     "bad\xEF\xBF\xBD.txt\n"
                                     "  Size: 7\n"
                                     "    2024-01-07 03:04:14  /b\xEF\xBF\xBD/\n"
                                     "    2024-01-08 03:04:16  /c/\n");
}

TEST_F(GroupedResults, OnlyTheRowsThatPassTheFilterAreWritten) {
    Grid.SetFilter([](const TResultRow& row, const TFile&) { return row.Group != 3; });
    TExpected expected = Expected();
    expected.Lines.erase(expected.Lines.begin() + 8, expected.Lines.begin() + 11);
    expected.Summary = "6 files (2,470,148 bytes) in 3 groups";
    expected.Counts = {6, 2470148, 3};
    for (const auto& [format, kind] : {std::pair{"csv", TReportFormat::Csv},
                                       {"html", TReportFormat::Html},
                                       {"xml", TReportFormat::Xml},
                                       {"xls", TReportFormat::Xls}}) {
        SCOPED_TRACE(format);
        const std::string report = Dir / (std::string("filtered.") + format);
        WriteReport(Source(), kind, report);
        EXPECT_EQ(CheckWithReader(format, report, expected, Dir), "");
    }
}

// A flat list (groups not separated): Name, Size, Date and Path in every row; sizes past 4 GB;
// every start of a value that a spreadsheet would take for a formula.
TEST(FlatResults, SizesDatesAndFormulaLikeNamesReadBack) {
    TResultRows rows;
    const char* const names[] = {"+plus", "-minus", "@at", "\ttab", "\rreturn", "plain"};
    std::vector<TExpectedLine> lines;
    int64_t size = 5'000'000'000;
    int day = 1;
    for (const char* name : names) {
        for (int copy = 0; copy < 2; ++copy) {
            rows.Add({"/f/", name, size, static_cast<uint32_t>(day), true, Date(day, copy * 2)});
            lines.push_back(File(
                {Text(name), Size(size),
                 When("2024-01-0" + std::to_string(day) + " 03:04:0" + std::to_string(copy * 2)),
                 Text("/f/")}));
        }
        size /= 3;
        ++day;
    }
    TResultGrid grid;
    grid.Load(rows.Files, rows.Rows, ClassifiedLayout(goNameSize, false, false, false));
    TTempDir dir;
    TExpected expected{{"Name", "Size", "Date", "Path"}, grid.SummaryText(), {}, 1, lines};
    expected.Counts = {static_cast<int64_t>(grid.Summary().Files), grid.Summary().Bytes,
                       static_cast<int64_t>(grid.Summary().Groups)};
    const TReportSource source{grid.View(), grid.Summary(), {}};
    for (const auto& [format, kind] : {std::pair{"csv", TReportFormat::Csv},
                                       {"html", TReportFormat::Html},
                                       {"xml", TReportFormat::Xml},
                                       {"xls", TReportFormat::Xls}}) {
        SCOPED_TRACE(format);
        const std::string report = dir / (std::string("flat.") + format);
        WriteReport(source, kind, report);
        EXPECT_EQ(CheckWithReader(format, report, expected, dir), "");
    }
}

TEST(LargeResults, SpreadsheetContinuesOnASecondSheetPast65535Rows) {
    constexpr int kFiles = 70'000;
    TResultRows rows;
    std::vector<TExpectedLine> lines;
    for (int i = 0; i < kFiles; ++i) {
        const int64_t size = 1'000'000 - i / 2;
        const std::string name = "file" + std::to_string(i / 2) + ".dat";
        const std::string folder = "/data/" + std::to_string(i % 7) + "/";
        rows.Add({folder, name, size, static_cast<uint32_t>(i / 2 + 1), true, Date(1 + i % 28, 0)});
        char date[32];
        std::snprintf(date, sizeof date, "2024-01-%02d 03:04:00", 1 + i % 28);
        lines.push_back(File({Text(name), Size(size), When(date), Text(folder)}));
    }
    TResultGrid grid;
    grid.Load(rows.Files, rows.Rows, ClassifiedLayout(goNameSize, false, false, false));
    TTempDir dir;
    TExpected expected{{"Name", "Size", "Date", "Path"}, grid.SummaryText(), {}, 2, lines};
    const std::string report = dir / "large.xls";
    WriteReport({grid.View(), grid.Summary(), {}}, TReportFormat::Xls, report);
    EXPECT_EQ(CheckWithReader("xls", report, expected, dir), "");
}

struct TTargetCase {
    const char* Typed;
    const char* Written; // empty: nothing is written
    const char* Starts;  // how the written file begins
};

void PrintTo(const TTargetCase& c, std::ostream* out) {
    *out << c.Typed;
}

class ExtensionRules : public GroupedResults, public testing::WithParamInterface<TTargetCase> {};

TEST_P(ExtensionRules, ChooseTheFormatAndTheWrittenName) {
    const TTargetCase& c = GetParam();
    std::filesystem::create_directory(Dir / "sub.csv");
    const std::string written = ExportList(Source(), Dir / c.Typed);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Dir.Path()))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    if (*c.Written == '\0') {
        EXPECT_EQ(written, "");
        EXPECT_TRUE(files.empty());
        return;
    }
    EXPECT_EQ(written, Dir / c.Written);
    EXPECT_EQ(files, std::vector<std::string>{Dir / c.Written});
    EXPECT_EQ(ReadWholeFile(written).rfind(c.Starts, 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtensionRules,
                         testing::Values(TTargetCase{"r.xls", "r.xls", "\xD0\xCF\x11\xE0"},
                                         TTargetCase{"r.XLS", "r.xls", "\xD0\xCF\x11\xE0"},
                                         TTargetCase{"r.CSV", "r.CSV", "\"Date\";"},
                                         TTargetCase{"r.Txt", "r.txt", "    Date"},
                                         TTargetCase{"r.HTM", "r.HTM", "<!DOCTYPE html>"},
                                         TTargetCase{"r.html", "r.html", "<!DOCTYPE html>"},
                                         TTargetCase{"r.XmL", "r.XmL", "<?xml"},
                                         TTargetCase{"r.tar.csv", "r.tar.csv", "\"Date\";"},
                                         TTargetCase{"r.doc", "", ""},
                                         TTargetCase{"r.xlsx", "", ""},
                                         TTargetCase{"report", "", ""},
                                         TTargetCase{"sub.csv/report", "", ""}));

TEST_F(GroupedResults, AFailedExportLeavesTheEarlierFileAndNamesTheFile) {
    // A folder where the file should be: the rename fails after the whole report was written.
    const std::string blocked = Dir.MakeFolder("taken.xml");
    try {
        WriteReport(Source(), TReportFormat::Xml, blocked.substr(0, blocked.size() - 1));
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("taken.xml: Is a directory"), std::string::npos)
            << error.what();
    }
    // A folder the user may not write to: the earlier report stays as it was.
    const std::string folder = Dir.MakeFolder("locked");
    const std::string earlier = Dir.WriteFile("locked/list.csv", "earlier");
    ::chmod(folder.c_str(), 0555);
    const int status = test::RunAsUnprivileged([&] {
        try {
            WriteReport(Source(), TReportFormat::Csv, earlier);
        } catch (const std::runtime_error& error) {
            return std::string(error.what()).find(earlier + ": Permission denied") !=
                   std::string::npos;
        }
        return false;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(earlier), "earlier");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Dir.Path()))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left.size(), 3u) << "no temporary file stays behind";
}

} // namespace
} // namespace quorvane
