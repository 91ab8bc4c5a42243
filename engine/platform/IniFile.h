#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniNameIndex.h"

namespace quorvane {

// A failed write of an INI file. what() is exactly "Unable to write to " + the file name, the
// text the user sees; Reason() says what the system reported.
class TIniWriteError : public std::runtime_error {
public:
    TIniWriteError(const std::string& fileName, std::string reason);
    const std::string& FileName() const { return FFileName; }
    const std::string& Reason() const { return FReason; }

private:
    std::string FFileName;
    std::string FReason;
};

// An initialisation file ("[Section]" lines, then "key=value" lines) held in memory.
//
// The constructor reads the file once; reads and writes then work on the copy, and UpdateFile()
// replaces the file in one atomic step, so a whole save writes the file once and a crash never
// leaves half of it behind. Reading follows the classic private-profile rules:
// - section and key names compare without regard to letter case (ASCII letters only: names are
//   paths and masks kept as raw bytes, and folding just A-Z never merges two different byte
//   strings in a surprising way), except the keys of sections named in CompareKeysExactly();
// - of keys that compare equal in one section, the first one is read and written;
// - names and values are trimmed of surrounding blanks; a value in matching quotes loses them;
// - a value reads back at most kMaxValueChars characters (UTF-8 characters, never split);
// - integers are decimal, or hexadecimal after "0x"/"0X"; yes/no is an integer, 0 meaning no;
//   missing or unreadable text gives the caller's default;
// - a section's key names come in file order through a buffer of kKeyNamesBufferBytes bytes;
// - lines starting with ";" are comments: skipped when reading, kept when the file is saved.
// A missing or unreadable file reads as a file without sections. Text is UTF-8. Sections and
// keys are found through hash indexes: reading takes time in proportion to the file's length and
// a lookup in proportion to the name looked up, however many sections and keys the file holds.
class TIniFile {
public:
    static constexpr std::size_t kMaxValueChars = 2047;
    static constexpr std::size_t kKeyNamesBufferBytes = 16384;

    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // The section's key names in file order, as many whole names as the key-name buffer holds
    // (each name takes its length plus a terminating zero, and the list ends with one more zero).
    std::vector<std::string> ReadSection(std::string_view section) const;
    // The key names that ReadSection() leaves out because the buffer was full, in file order:
    // empty unless the names are too long for it, so that a caller can say what it did not read.
    std::vector<std::string> KeyNamesPastBuffer(std::string_view section) const;
    bool SectionExists(std::string_view section) const;

    // Whether a text can stand as a key name: any text but the empty one. Characters the format
    // gives a meaning ("=", line breaks, "%", and blanks, "[" or ";" at the ends) are written as
    // %XX and read back as they were.
    static bool CanStoreKey(std::string_view key);
    // Whether a value can be stored: it holds no line break. (A value with surrounding blanks or
    // quotes is written inside double quotes, so that it reads back unchanged.)
    static bool CanStoreValue(std::string_view value);

    // Sets the value, adding the section at the end of the file and the key at the end of its
    // section when missing; names are trimmed of blanks. An existing key keeps its place and
    // spelling. Throws std::invalid_argument for a key or value that CanStoreKey/CanStoreValue
    // refuses.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);

    // From now on the keys of this section compare byte for byte, in reads and writes alike, also
    // once it is erased and written again. For sections whose keys are folder paths: on Linux
    // "/data/Photos/" and "/data/photos/" are two folders, and both must be kept.
    void CompareKeysExactly(std::string_view section);

    // Replaces the file with the text in memory (write beside, flush, rename). Throws
    // TIniWriteError when the file cannot be written; the old file then stays as it was. A file
    // that exists but could not be read, or that the user may not write, is never replaced.
    void UpdateFile() const;

    // The file's text as UpdateFile() writes it.
    std::string Text() const;

private:
    struct TEntry {
        std::string Key;   // the comment line itself when IsComment
        std::string Value; // as written, before trimming and unquoting
        bool IsComment = false;
    };
    struct TSection {
        std::string Name;
        std::vector<TEntry> Entries;
        TIniNameIndex Keys; // the first entry of each key; comments are not in it

        auto KeyAt() const; // gives Keys the key names
        void AddEntry(TEntry entry);
        void IndexKeys(bool exact);
        // The position of the key's first entry, or TIniNameIndex::npos.
        std::size_t KeyPosition(std::string_view key) const;
        // The index of the first entry whose key name no longer fits the key-name buffer.
        std::size_t KeyNamesEnd() const;
    };

    void Parse(std::string_view text);
    const TSection* FindSection(std::string_view name) const;
    TSection* FindSection(std::string_view name);
    TSection& FindOrAddSection(std::string_view name);
    const TEntry* FindEntry(std::string_view section, std::string_view key) const;
    bool HasExactKeys(std::string_view section) const;
    auto SectionNameAt() const; // gives FSectionIndex the section names
    void IndexSections();

    std::string FFileName;
    bool FUnreadable = false;           // the file exists but could not be read
    std::vector<std::string> FPreamble; // lines before the first section, kept as they stand
    std::vector<TSection> FSections;    // in file order
    TIniNameIndex FSectionIndex;        // section name -> index in FSections
    std::vector<std::string> FExactKeySections;
};

} // namespace quorvane
