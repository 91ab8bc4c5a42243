#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/AtomicFile.h"
#include "search/FilList.h"
#include "search/FilesListFormat.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

TDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return EncodeDateTime({y, mo, d, h, mi, s});
}

TEST(FilesListLine, MatchesTheDocumentedExample) {
    TFile file("/Docs", "a.txt", 1234, At(2007, 3, 15, 10, 20, 30));
    EXPECT_EQ(FormatFilesListLine(file), "00000000000004D2a.txt?/Docs/*366F528F");
}

TEST(FilesListLine, SizeAndDateFields) {
    struct Case {
        int64_t size;
        TDateTime date;
        std::string expected;
    } cases[] = {
        {0, At(2007, 3, 15, 10, 20, 30), "0000000000000000n?/f/*366F528F"},
        {INT64_MAX, At(2007, 3, 15, 10, 20, 30), "7FFFFFFFFFFFFFFFn?/f/*366F528F"},
        {-1, At(2007, 3, 15, 10, 20, 30), "FFFFFFFFFFFFFFFFn?/f/*366F528F"},
        // An odd second shares the two-second step of the even one before it.
        {1, At(2007, 3, 15, 10, 20, 31), "0000000000000001n?/f/*366F528F"},
        // Dates outside the MS-DOS range are written clamped.
        {1, At(1970, 1, 1, 0, 0, 0), "0000000000000001n?/f/*00210000"},
        {1, At(2150, 1, 1, 0, 0, 0), "0000000000000001n?/f/*FF9FBF7D"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFilesListLine(TFile("/f/", "n", c.size, c.date)), c.expected);
}

TEST(FilesListLine, ParsesEitherCaseAndAddsTheMissingDelimiter) {
    const TFile file = ParseFilesListLine("00000000000004d2a.txt?/Docs*366f528f");
    EXPECT_EQ(file.Size, 1234);
    EXPECT_EQ(file.Name, "a.txt");
    EXPECT_EQ(file.Path(), "/Docs/");
    EXPECT_EQ(file.Date, At(2007, 3, 15, 10, 20, 30));
    EXPECT_TRUE(file.Checksum.Empty());
}

TEST(FilesListLine, EscapesWhatTheSeparatorsCannotCarry) {
    const std::string names[] = {
        "what?.txt", "star*.txt",        "line\nbreak",         "carriage\rreturn",
        "100%",      "bad\xff\xfe utf8", "mixed %41?*\r\n\x80", "plain.txt",
    };
    for (const std::string& name : names) {
        const TFile original("/odd?/fol*der/\xc3(/", name, 42, At(2020, 2, 29, 23, 59, 58));
        const std::string line = FormatFilesListLine(original);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << name;
        const TFile back = ParseFilesListLine(line);
        EXPECT_EQ(back.Name, name);
        EXPECT_EQ(back.Path(), original.Path());
        EXPECT_EQ(back.Size, 42);
        EXPECT_EQ(back.Date, original.Date);
    }
    // Names the format can hold stay exactly as they are.
    EXPECT_EQ(FormatFilesListLine(TFile("/a b/", "100%.txt", 1, At(2007, 3, 15, 10, 20, 30))),
              "0000000000000001100%.txt?/a b/*366F528F");
}

TEST(FilesListLine, RejectsMalformedLines) {
    const char* lines[] = {
        "00000000000004D",                          // size cut short
        "00000000000004DXa.txt?/Docs/*366F528F",    // size not hex
        "00000000000004D2a.txt/Docs/*366F528F",     // no "?"
        "00000000000004D2a.txt?/Docs/366F528F",     // no "*"
        "00000000000004D2a.txt?/Docs/*366F52ZZ",    // date not hex
        "00000000000004D2a.txt?/Docs/*",            // no date
        "00000000000004D2a.txt?/Docs/*366F528F00",  // date too long
        "00000000000004D2a.txt?/Docs/*00000000",    // month 0
        "%00000000000004D2a%4.txt?/Docs/*366F528F", // cut escape
        "8000000000000000a.txt?/Docs/*366F528F",    // 2^63 bytes: a negative size
        "FFFFFFFFFFFFFFFEa.txt?/Docs/*366F528F",    // read as -2 bytes
        "00000000000004D2?/Docs/*366F528F",         // no name
        "00000000000004D2a.txt?*366F528F",          // no folder
        "00000000000004D2a.txt?Docs/*366F528F",     // relative folder
        "%00000000000004D2a.txt?%3F/*366F528F",     // relative, escaped
    };
    for (const char* line : lines)
        EXPECT_THROW(ParseFilesListLine(line), TFilesListLineError) << line;
}

class FilesListFile : public ::testing::Test {
protected:
    test::TTempDir dir;
};

TEST_F(FilesListFile, SavesAndLoadsInOrder) {
    TFilesList list;
    list.Add(std::make_unique<TFile>("/x/", "b", 2, At(2001, 1, 1, 1, 1, 2)));
    list.Add(std::make_unique<TFile>("/x/", "a\nb?", 0, At(2002, 2, 2, 2, 2, 2)));
    list.Add(std::make_unique<TFile>("/y/", "c", INT64_MAX, At(2003, 3, 3, 3, 3, 4)));
    list[0]->Checksum = TChecksum::FromCrc32(7);
    const std::string name = dir / "list.qfl";
    list.SaveToFile(name);

    const std::string text = ReadWholeFile(name);
    EXPECT_EQ(text.substr(0, 22), "0000000000000002b?/x/*");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    TFilesList loaded;
    loaded.Add(std::make_unique<TFile>("/old/", "gone", 1, 0));
    loaded.LoadFromFile(name);
    ASSERT_EQ(loaded.Count(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded[i]->Name, list[i]->Name);
        EXPECT_EQ(loaded[i]->Path(), list[i]->Path());
        EXPECT_EQ(loaded[i]->Size, list[i]->Size);
        EXPECT_EQ(loaded[i]->Date, list[i]->Date);
        EXPECT_TRUE(loaded[i]->Checksum.Empty());
    }
    // Records of one folder share its path text.
    EXPECT_EQ(loaded[0]->SharedPath(), loaded[1]->SharedPath());
}

TEST_F(FilesListFile, EmptyFileGivesEmptyList) {
    WriteFileAtomically(dir / "empty.qfl", "");
    TFilesList list;
    list.LoadFromFile(dir / "empty.qfl");
    EXPECT_TRUE(list.Empty());
}

TEST_F(FilesListFile, BadLineNamesTheLineAndKeepsEarlierRecords) {
    WriteFileAtomically(dir / "bad.qfl", "0000000000000001a?/x/*366F528F\r\n"
                                         "0000000000000002b?/x/*366F528F\r\n"
                                         "000000000000000Gc?/x/*366F528F\r\n"
                                         "0000000000000004d?/x/*366F528F\r\n");
    TFilesList list;
    try {
        list.LoadFromFile(dir / "bad.qfl");
        FAIL() << "a bad line must be reported";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("bad.qfl, line 3"), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(list.Count(), 2u);
}

TEST_F(FilesListFile, RepeatedRecordIsTakenOnceWithAWarning) {
    WriteFileAtomically(dir / "twice.qfl", "0000000000000001a?/x/*366F528F\r\n"
                                           "0000000000000001b?/x/*366F528F\r\n"
                                           "0000000000000001a?/x/*366F528F\r\n"
                                           "0000000000000001A?/x/*366F528F\r\n"
                                           "0000000000000001a?/y/*366F528F\r\n"
                                           "0000000000000001b?/x/*366F528F\r\n");
    TFilesList list;
    const std::string warning = list.LoadFromFile(dir / "twice.qfl");
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list[2]->Name, "A");
    EXPECT_EQ(list[3]->FullName(), "/y/a");
    EXPECT_NE(warning.find("twice.qfl"), std::string::npos) << warning;
    EXPECT_NE(warning.find("2 files"), std::string::npos) << warning;
    EXPECT_NE(warning.find("line 3: /x/a"), std::string::npos) << warning;

    WriteFileAtomically(dir / "once.qfl", "0000000000000001a?/x/*366F528F\r\n");
    EXPECT_EQ(list.LoadFromFile(dir / "once.qfl"), "");
}

TEST_F(FilesListFile, FailedSaveKeepsTheOldFile) {
    const std::string name = dir / "keep.qfl";
    WriteFileAtomically(name, "old contents");
    TFilesList list;
    list.Add(std::make_unique<TFile>("/x/", "a", 1, At(2001, 1, 1, 0, 0, 0)));
    // The folder becomes read-only for an unprivileged writer: the save must fail loudly.
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all |
                                                 std::filesystem::perms::others_read |
                                                 std::filesystem::perms::others_exec);
    const int status = test::RunAsUnprivileged([&] {
        try {
            list.SaveToFile(name);
        } catch (const std::runtime_error& error) {
            return std::string(error.what()).find(name) != std::string::npos;
        }
        return false;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(name), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
        << "no temporary file is left behind";
}

TEST(FilesList, NonOwningListLeavesRecordsAlone) {
    TFilesList owner;
    owner.Add(std::make_unique<TFile>("/x/", "a", 1, 0));
    {
        TFilesList view(false);
        view.Add(owner[0]);
        view.Delete(0);
        view.Add(owner[0]);
        view.Clear();
    }
    EXPECT_EQ(owner[0]->Name, "a");
}

TEST(FileRecord, PathAlwaysEndsWithTheDelimiter) {
    TFile file;
    EXPECT_EQ(file.Path(), "");
    file.SetPath("/home/u");
    EXPECT_EQ(file.Path(), "/home/u/");
    file.SetPath("/home/u/");
    EXPECT_EQ(file.Path(), "/home/u/");
    file.Name = "n";
    EXPECT_EQ(file.FullName(), "/home/u/n");
}

} // namespace
} // namespace quorvane
