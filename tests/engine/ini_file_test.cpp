#include "platform/IniFile.h"

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/IniNameIndex.h"
#include "testsupport/TempDir.h"

namespace quorvane {
namespace {

using test::TTempDir;

// "k" followed by the number: the names of numbered test keys.
std::string Key(std::size_t i) {
    std::string key = "k";
    key += std::to_string(i);
    return key;
}

TEST(IniFileTest, SectionAndKeyNamesIgnoreLetterCaseAndBlanks) {
    TTempDir dir;
    const std::string file = dir.WriteFile("a.ini", "[Settings]\r\n  MoveDir =  /tmp/x/  \r\n"
                                                    "[settings]\r\nZipFile=a.zip\r\n");
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("SETTINGS", "movedir", "?"), "/tmp/x/");
    // A section that appears twice is one section.
    EXPECT_EQ(ini.ReadString("Settings", "ZIPFILE", "?"), "a.zip");
    EXPECT_EQ(ini.ReadString("Settings", "Missing", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadString("Nowhere", "MoveDir", "fallback"), "fallback");

    // Writing a key in another letter case replaces the value in place and keeps the spelling.
    ini.WriteString("SETTINGS", "MOVEDIR", "/srv/");
    EXPECT_EQ(ini.ReadSection("Settings"), (std::vector<std::string>{"MoveDir", "ZipFile"}));
    EXPECT_EQ(ini.ReadString("Settings", "MoveDir", ""), "/srv/");
}

TEST(IniFileTest, FirstOfEqualKeysIsReadAndWritten) {
    TTempDir dir;
    TIniFile ini(dir.WriteFile("dup.ini", "[S]\nk=first\nK=second\n[T]\nx=1\n[s]\nk=third\nj=4\n"));
    EXPECT_EQ(ini.ReadString("s", "K", "?"), "first");
    EXPECT_EQ(ini.ReadString("S", "J", "?"), "4");
    EXPECT_EQ(ini.ReadSection("S"), (std::vector<std::string>{"k", "K", "k", "j"}));
    ini.WriteString("S", "K", "new");
    EXPECT_EQ(ini.Text(), "[S]\nk=new\nK=second\nk=third\nj=4\n\n[T]\nx=1\n");
    ini.DeleteKey("S", "k"); // every one of them
    EXPECT_EQ(ini.Text(), "[S]\nj=4\n\n[T]\nx=1\n");
    ini.EraseSection("s");
    ini.WriteString("T", "X", "2");
    EXPECT_EQ(ini.Text(), "[T]\nx=2\n");
}

TEST(IniFileTest, SectionWithExactKeysKeepsNamesThatDifferInLetterCase) {
    TTempDir dir;
    const std::string file =
        dir.WriteFile("f.ini", "[Folders]\n/data/Photos/=N\n/data/photos/=\n[Other]\nKey=1\n");
    TIniFile ini(file);
    ini.CompareKeysExactly(" FOLDERS "); // after reading: the keys read are looked up anew
    EXPECT_EQ(ini.ReadString("folders", "/data/photos/", "?"), "");
    EXPECT_EQ(ini.ReadString("Folders", "/data/Photos/", "?"), "N");
    EXPECT_EQ(ini.ReadString("Folders", "/DATA/PHOTOS/", "?"), "?");
    ini.WriteString("Folders", "/DATA/PHOTOS/", "N");
    ini.DeleteKey("Folders", "/data/Photos/");
    EXPECT_EQ(ini.ReadSection("Folders"),
              (std::vector<std::string>{"/data/photos/", "/DATA/PHOTOS/"}));
    ini.WriteString("Other", "KEY", "2");
    EXPECT_EQ(ini.ReadSection("Other"), std::vector<std::string>{"Key"});

    // The rule stays with the section through an erase and new writes, into the saved file.
    ini.EraseSection("Folders");
    ini.WriteString("Folders", "/a/", "");
    ini.WriteString("Folders", "/A/", "N");
    ini.WriteString("Folders", "/a/", "");
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(file), "[Other]\nKey=2\n\n[Folders]\n/a/=\n/A/=N\n");
}

TEST(IniNameIndexTest, OnlyAsciiCapitalsFoldWhereverInANameTheyStand) {
    // Names are compared eight bytes at a time: try every pair of bytes at the start, at the end
    // of a full chunk, at the start of the next and in a short tail.
    const auto fold = [](int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    for (const std::size_t at : {std::size_t{0}, std::size_t{7}, std::size_t{8}, std::size_t{18}}) {
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                std::string x(at + 3, 'q'), y(at + 3, 'Q');
                x[at] = static_cast<char>(a);
                y[at] = static_cast<char>(b);
                ASSERT_EQ(TIniNameIndex::SameName(x, y, false), fold(a) == fold(b))
                    << a << " " << b << " at " << at;
                ASSERT_EQ(TIniNameIndex::SameName(x, y, true), false);
            }
        }
    }
    // Equal names find each other through the hash, however long.
    TIniNameIndex index;
    const std::vector<std::string> names = {"/Data/Été/Photos 2019/", "X", "", "/data/été/"};
    const auto nameAt = [&](std::size_t i) -> std::string_view { return names[i]; };
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_TRUE(index.Add(names[i], i, nameAt));
    EXPECT_EQ(index.Find("/DATA/Été/PHOTOS 2019/", nameAt), 0u);
    EXPECT_EQ(index.Find("/DATA/ÉTÉ/PHOTOS 2019/", nameAt), TIniNameIndex::npos);
    EXPECT_EQ(index.Find("x", nameAt), 1u);
    EXPECT_EQ(index.Find("", nameAt), 2u);
    EXPECT_FALSE(index.Add("x", 9, nameAt));
}

TEST(IniFileTest, IntegersAndYesNoFallBackToTheDefaultWhenUnreadable) {
    struct TCase {
        const char* Text;
        int Expected; // with the default -7
    };
    const TCase cases[] = {
        {"12", 12},
        {" 42 ", 42},
        {"-3", -3},
        {"+5", 5},
        {"0x1F", 31},
        {"0X10", 16},
        {"0x7FFFFFFF", 2147483647},
        {"0x", -7},
        {"0xZZ", -7},
        {"0x-5", -7},
        {"+-5", -7},
        {"12abc", -7},
        {"abc", -7},
        {"", -7},
        {"1.5", -7},
        {"99999999999", -7},
        {"0x100000000", -7},
        {"\"9\"", 9},
    };
    TTempDir dir;
    std::string text = "[N]\n";
    for (std::size_t i = 0; i < std::size(cases); ++i)
        text += Key(i) + "=" + cases[i].Text + "\n";
    TIniFile ini(dir.WriteFile("n.ini", text));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ini.ReadInteger("N", Key(i), -7), cases[i].Expected)
            << "value \"" << cases[i].Text << "\"";
    EXPECT_EQ(ini.ReadInteger("N", "missing", -7), -7);

    TIniFile flags(dir.WriteFile("b.ini", "[B]\none=1\nzero=0\ntwo=2\nminus=-1\nword=yes\n"));
    EXPECT_TRUE(flags.ReadBool("B", "one", false));
    EXPECT_FALSE(flags.ReadBool("B", "zero", true));
    EXPECT_TRUE(flags.ReadBool("B", "two", false));
    EXPECT_TRUE(flags.ReadBool("B", "minus", false));
    EXPECT_TRUE(flags.ReadBool("B", "word", true));
    EXPECT_FALSE(flags.ReadBool("B", "word", false));
    EXPECT_TRUE(flags.ReadBool("B", "missing", true));

    flags.WriteBool("B", "one", false);
    flags.WriteInteger("B", "two", -12);
    EXPECT_NE(flags.Text().find("one=0\n"), std::string::npos);
    EXPECT_NE(flags.Text().find("two=-12\n"), std::string::npos);
}

TEST(IniFileTest, ValuesReadBackAtMost2047CharactersWithoutSplittingOne) {
    TTempDir dir;
    const std::string ascii(3000, 'a');
    std::string wide; // 2,100 two-byte characters
    for (int i = 0; i < 2100; ++i)
        wide += "\xC3\xA9";
    TIniFile ini(dir / "long.ini");
    ini.WriteString("S", "ascii", ascii);
    ini.WriteString("S", "wide", wide);
    ini.WriteString("S", "exact", std::string(2047, 'b'));
    ini.UpdateFile();

    TIniFile back(dir / "long.ini");
    EXPECT_EQ(back.ReadString("S", "ascii", ""), std::string(2047, 'a'));
    EXPECT_EQ(back.ReadString("S", "wide", ""), wide.substr(0, 2 * 2047));
    EXPECT_EQ(back.ReadString("S", "exact", ""), std::string(2047, 'b'));
    // The file itself keeps the whole value.
    EXPECT_NE(ReadWholeFile(dir / "long.ini").find(ascii), std::string::npos);
}

TEST(IniFileTest, SectionKeyNamesComeInFileOrderThroughTheKeyNameBuffer) {
    TTempDir dir;
    TIniFile ini(dir.WriteFile("list.ini", "; leading comment\n[List]\n/b/=\n; a comment\n"
                                           "/a/=x\n\n/c/\n=orphan value\n[Other]\nz=\n"));
    EXPECT_EQ(ini.ReadSection("list"), (std::vector<std::string>{"/b/", "/a/", "/c/"}));
    EXPECT_TRUE(ini.ReadSection("Missing").empty());

    // Names of 99 bytes take 100 bytes each with their zero, and the list ends with one more
    // zero: 163 names fill 16,301 bytes, a 164th would need 16,401 of the 16,384.
    TIniFile big(dir / "big.ini");
    std::vector<std::string> names;
    for (int i = 0; i < 200; ++i) {
        std::string name = std::to_string(1000 + i);
        names.push_back(name + std::string(99 - name.size(), 'x'));
        big.WriteString("Big", names.back(), "");
    }
    EXPECT_EQ(big.ReadSection("Big"), std::vector<std::string>(names.begin(), names.begin() + 163));
    // What did not fit is not dropped in silence: the caller can name it.
    EXPECT_EQ(big.KeyNamesPastBuffer("Big"),
              std::vector<std::string>(names.begin() + 163, names.end()));
    EXPECT_TRUE(ini.KeyNamesPastBuffer("List").empty());
    EXPECT_TRUE(ini.KeyNamesPastBuffer("Missing").empty());
    // A single name longer than the buffer is never read, nor anything after it.
    const std::string huge(TIniFile::kKeyNamesBufferBytes, 'h');
    const TIniFile oversized(dir.WriteFile("huge.ini", "[H]\n" + huge + "=\nafter=\n"));
    EXPECT_TRUE(oversized.ReadSection("H").empty());
    EXPECT_EQ(oversized.KeyNamesPastBuffer("H"), (std::vector<std::string>{huge, "after"}));

    // A name that fills the buffer to its last byte is read; one byte more and it is not.
    for (std::size_t last : {std::size_t{82}, std::size_t{83}}) {
        TIniFile edge(dir / "edge.ini");
        for (int i = 0; i < 163; ++i)
            edge.WriteString("E", names[i], "");
        edge.WriteString("E", std::string(last, 'z'), ""); // 16,301 + 82 + 1 = 16,384
        EXPECT_EQ(edge.ReadSection("E").size(), last == 82 ? 164u : 163u) << last;
        EXPECT_EQ(edge.KeyNamesPastBuffer("E").size(), last == 82 ? 0u : 1u) << last;
    }
}

TEST(IniFileTest, SavingKeepsCommentsAndOtherSectionsAndErasesWhatWasErased) {
    TTempDir dir;
    const std::string file =
        dir.WriteFile("keep.ini", "\xEF\xBB\xBF; written by hand\r\n[Keep]\r\n; note\r\n"
                                  "a=1\r\n[Drop]\r\nx=\r\n[Edit]\r\nb=2\r\n");
    TIniFile ini(file);
    ini.EraseSection("DROP");
    ini.WriteString("Edit", "b", "3");
    ini.WriteString("New", "c", "4");
    ini.DeleteKey("Keep", "missing");
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(file), "; written by hand\n\n[Keep]\n; note\na=1\n\n[Edit]\nb=3\n\n"
                                   "[New]\nc=4\n");
    ini.DeleteKey("keep", "A");
    EXPECT_EQ(ini.ReadString("Keep", "a", "gone"), "gone");
}

// Found by fuzzing: a line that ends in two carriage returns (a CRLF file converted twice) kept
// one in its value, which the file as saved then read without.
TEST(IniFileTest, ExtraCarriageReturnsAtALineEndAreNotPartOfTheValue) {
    TTempDir dir;
    const std::string file =
        dir.WriteFile("cr.ini", "[Settings]\r\nUseSkin=\r\r\nMoveDir=/a\rb/\r \r\n");
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Settings", "UseSkin", "?"), "");
    EXPECT_EQ(ini.ReadString("Settings", "MoveDir", "?"), "/a\rb/");
    ini.UpdateFile();
    TIniFile saved(file);
    EXPECT_EQ(saved.ReadString("Settings", "UseSkin", "?"), "");
    EXPECT_EQ(saved.ReadString("Settings", "MoveDir", "?"), "/a\rb/");
}

// Found by fuzzing: a byte-order mark after blank lines (or after another mark) hid the section it
// opened, and the file as saved (without the blank lines) then showed it.
TEST(IniFileTest, AByteOrderMarkAfterBlankLinesOpensTheFirstLine) {
    TTempDir dir;
    const std::string file =
        dir.WriteFile("bom.ini", "\r\n\n\xEF\xBB\xBF\n\n\xEF\xBB\xBF[Filters]\r\nDocs=1\r\n");
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Filters", "Docs", "?"), "1");
    ini.UpdateFile();
    EXPECT_EQ(TIniFile(file).ReadString("Filters", "Docs", "?"), "1");
}

TEST(IniFileTest, ValuesWithOuterBlanksOrQuotesReadBackUnchanged) {
    TTempDir dir;
    const std::vector<std::string> values = {" lead", "trail ", "\"quoted\"", "'single'", "\"",
                                             "a = b", ""};
    TIniFile ini(dir / "q.ini");
    for (std::size_t i = 0; i < values.size(); ++i)
        ini.WriteString("Q", Key(i), values[i]);
    ini.UpdateFile();
    TIniFile back(dir / "q.ini");
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(back.ReadString("Q", Key(i), "?"), values[i]);
}

TEST(IniFileTest, KeyNamesOfAnyFormReadBackAsTheyWere) {
    // Folder names on Linux may hold all of these; a cut or lost one would protect another folder.
    const std::vector<std::string> keys = {"/data/a=b/", "/100%/", "/%3D/",   "[x]*.doc",
                                           ";x",         "a\nb",   "a\rb",    " padded ",
                                           "x[1]",       "#x",     "/home/u/"};
    TTempDir dir;
    TIniFile ini(dir / "k.ini");
    for (const std::string& key : keys)
        ini.WriteString("S", key, "N");
    ini.WriteString("T", "after", "1");
    ini.UpdateFile();
    const TIniFile back(dir / "k.ini");
    EXPECT_EQ(back.ReadSection("S"), keys);
    EXPECT_EQ(back.ReadString("S", "/data/a=b/", ""), "N");
    EXPECT_EQ(back.ReadInteger("T", "after", 0), 1) << "no key may open a section of its own";
    // A "%" that starts no escape, written by hand, stands for itself.
    EXPECT_EQ(TIniFile(dir.WriteFile("hand.ini", "[S]\n100% sure=1\n")).ReadSection("S"),
              std::vector<std::string>{"100% sure"});
}

TEST(IniFileTest, EmptyNamesAndValuesWithLineBreaksAreRefused) {
    EXPECT_FALSE(TIniFile::CanStoreKey(""));
    EXPECT_FALSE(TIniFile::CanStoreValue("one\ntwo"));
    EXPECT_TRUE(TIniFile::CanStoreValue(" x "));
    TTempDir dir;
    TIniFile ini(dir / "r.ini");
    EXPECT_THROW(ini.WriteString("S", "", "x"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("S", "k", "a\n[Config]\nUseSkin=0"), std::invalid_argument);
    EXPECT_EQ(ini.Text(), "");
}

TEST(IniFileTest, MissingFileReadsEmptyAndIsCreatedBySaving) {
    TTempDir dir;
    TIniFile ini(dir / "new.ini");
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_EQ(ini.ReadInteger("A", "k", 5), 5);
    ini.WriteInteger("A", "k", 6);
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(dir / "new.ini"), "[A]\nk=6\n");
}

TEST(IniFileTest, FailedWriteSaysUnableToWriteToTheFileAndLeavesItWhole) {
    TTempDir dir;
    // The folder of the file is a regular file.
    const std::string blocked = dir.WriteFile("plain") + "/quorvane.ini";
    TIniFile ini(blocked);
    ini.WriteString("A", "k", "v");
    try {
        ini.UpdateFile();
        FAIL() << "no error";
    } catch (const TIniWriteError& error) {
        EXPECT_STREQ(error.what(), ("Unable to write to " + blocked).c_str());
        EXPECT_EQ(error.FileName(), blocked);
    }

    // A folder the user may not write, and a read-only file in a folder the user may write: the
    // old file stays as it was, and no temporary file is left beside it.
    const std::string lockedDir = dir.MakeFolder("locked");
    const std::string inLocked = dir.WriteFile("locked/q.ini", "[A]\nk=old\n");
    const std::string openDir = dir.MakeFolder("open");
    const std::string readOnly = dir.WriteFile("open/q.ini", "[A]\nk=old\n");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(lockedDir.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(inLocked.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(openDir.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(readOnly.c_str(), 0644), 0);
    for (const std::string& file : {inLocked, readOnly}) {
        const int status = test::RunAsUnprivileged([&] {
            TIniFile target(file);
            target.WriteString("A", "k", "new");
            try {
                target.UpdateFile();
            } catch (const TIniWriteError& error) {
                return std::string(error.what()) == "Unable to write to " + file;
            }
            return false;
        });
        EXPECT_EQ(status, 0) << file;
        EXPECT_EQ(ReadWholeFile(file), "[A]\nk=old\n");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(openDir),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(IniFileTest, FileThatCannotBeReadIsNeverReplaced) {
    TTempDir dir;
    const std::string secret = dir.WriteFile("secret.ini", "[A]\nk=7\n");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);
    const int status = test::RunAsUnprivileged([&] {
        TIniFile ini(secret);
        if (ini.ReadInteger("A", "k", 1) != 1)
            return false;
        ini.WriteInteger("A", "other", 2);
        try {
            ini.UpdateFile();
        } catch (const TIniWriteError&) {
            return true;
        }
        return false;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(secret), "[A]\nk=7\n");
}

TEST(IniFileTest, SavingThroughALinkReplacesTheLinkedFile) {
    TTempDir dir;
    const std::string real = dir.WriteFile("dotfiles/q.ini", "[A]\nk=1\n");
    const std::string link = dir / "q.ini";
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    TIniFile ini(link);
    ini.WriteInteger("A", "k", 2);
    ini.UpdateFile();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(real), "[A]\nk=2\n");
}

} // namespace
} // namespace quorvane
