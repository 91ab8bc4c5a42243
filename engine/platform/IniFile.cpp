#include "platform/IniFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/HexText.h"

namespace quorvane {
namespace {

constexpr std::string_view kBlanks = " \t\v\f";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return TIniNameIndex::SameName(a, b, false);
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view value) {
    return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// The first `maxChars` UTF-8 characters: a cut never falls inside a multi-byte sequence.
std::string_view FirstChars(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && chars++ == maxChars)
            return text.substr(0, i);
    }
    return text;
}

// Key names are folder paths, masks and filter names, which may hold anything: "%", "=" and line
// breaks anywhere, and blanks or a "[" or ";" at the start, are written as %XX so that every name
// reads back as it was (a folder "/a=b/" must not come back as "/a").
std::string EscapeKey(std::string_view key) {
    std::string out;
    out.reserve(key.size());
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char c = key[i];
        const bool atEnd = i == 0 || i + 1 == key.size();
        const bool escape = c == '%' || c == '=' || c == '\r' || c == '\n' ||
                            (i == 0 && (c == '[' || c == ';')) ||
                            (atEnd && kBlanks.find(c) != std::string_view::npos);
        if (!escape) {
            out += c;
            continue;
        }
        AppendPercentByte(out, static_cast<unsigned char>(c));
    }
    return out;
}

// Reads %XX back; a "%" not followed by two hex digits stands for itself.
std::string UnescapeKey(std::string_view key) {
    if (key.find('%') == std::string_view::npos)
        return std::string(key); // most names: a plain copy
    std::string out;
    out.reserve(key.size());
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (const std::optional<char> byte = PercentByteAt(key.substr(i))) {
            out += *byte;
            i += 2;
        } else {
            out += key[i];
        }
    }
    return out;
}

// Decimal with an optional sign, or hexadecimal after "0x"/"0X", with optional surrounding
// blanks; anything else, or a number out of the int range, is unreadable.
bool ParseInteger(std::string_view text, int& value) {
    text = Trim(text);
    int base = 10;
    bool minusAllowed = true; // after "0x" or "+", from_chars must not take a minus sign
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
        minusAllowed = false;
    } else if (text.starts_with('+')) {
        text.remove_prefix(1);
        minusAllowed = false;
    }
    if (text.empty() || (!minusAllowed && text.front() == '-'))
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size();
}

// The file that a write must replace: the target of a symbolic link, so that a configuration
// kept elsewhere and linked into place stays linked.
std::string WriteTarget(const std::string& fileName) {
    char* resolved = ::realpath(fileName.c_str(), nullptr);
    if (!resolved)
        return fileName;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

} // namespace

TIniWriteError::TIniWriteError(const std::string& fileName, std::string reason)
    : std::runtime_error("Unable to write to " + fileName), FFileName(fileName),
      FReason(std::move(reason)) {}

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {
    if (::access(FFileName.c_str(), F_OK) != 0)
        return; // a missing file reads as empty and is created by the first UpdateFile()
    try {
        Parse(ReadWholeFile(FFileName));
    } catch (const std::runtime_error&) {
        FUnreadable = true;
    }
}

auto TIniFile::TSection::KeyAt() const {
    return [this](std::size_t i) -> std::string_view { return Entries[i].Key; };
}

void TIniFile::TSection::AddEntry(TEntry entry) {
    if (!entry.IsComment) // an earlier equal key stays the one found
        Keys.Add(entry.Key, Entries.size(), KeyAt());
    Entries.push_back(std::move(entry));
}

void TIniFile::TSection::IndexKeys(bool exact) {
    Keys = TIniNameIndex(exact);
    for (std::size_t i = 0; i < Entries.size(); ++i)
        if (!Entries[i].IsComment)
            Keys.Add(Entries[i].Key, i, KeyAt());
}

std::size_t TIniFile::TSection::KeyPosition(std::string_view key) const {
    return Keys.Find(key, KeyAt());
}

std::size_t TIniFile::TSection::KeyNamesEnd() const {
    std::size_t used = 1; // the zero that ends the list
    for (std::size_t i = 0; i < Entries.size(); ++i) {
        if (Entries[i].IsComment || Entries[i].Key.empty())
            continue;
        // Only whole names: a name cut short would stand for another folder or mask.
        used += Entries[i].Key.size() + 1;
        if (used > kKeyNamesBufferBytes)
            return i;
    }
    return Entries.size();
}

auto TIniFile::SectionNameAt() const {
    return [this](std::size_t i) -> std::string_view { return FSections[i].Name; };
}

void TIniFile::Parse(std::string_view text) {
    // Byte-order marks may open the first line that holds anything: blank lines are not kept, so
    // the file as written would otherwise start with a mark and read it as one.
    for (;;) {
        text.remove_prefix(std::min(text.size(), text.find_first_not_of(" \t\v\f\r\n")));
        if (!text.starts_with("\xEF\xBB\xBF"))
            break;
        text.remove_prefix(3);
    }
    TSection* current = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // Carriage returns at the end, among blanks or not, end the line: a file converted to
        // CRLF twice must not keep one in its values, which the file as written would then read
        // without.
        line = line.substr(0, line.find_last_not_of("\r \t\v\f") + 1);
        line = Trim(line);
        if (line.empty())
            continue; // blank lines are not kept: the writer puts one between sections
        if (line.front() == '[') {
            line.remove_prefix(1);
            // A section that appears twice continues where it first appeared.
            current = &FindOrAddSection(line.substr(0, line.find(']')));
            continue;
        }
        if (!current) {
            FPreamble.emplace_back(line);
            continue;
        }
        if (line.front() == ';') {
            current->AddEntry({std::string(line), {}, true});
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            current->AddEntry({UnescapeKey(line), {}, false});
        else
            current->AddEntry({UnescapeKey(Trim(line.substr(0, equals))),
                               std::string(Trim(line.substr(equals + 1))), false});
    }
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view name) const {
    const std::size_t found = FSectionIndex.Find(Trim(name), SectionNameAt());
    return found == TIniNameIndex::npos ? nullptr : &FSections[found];
}

TIniFile::TSection* TIniFile::FindSection(std::string_view name) {
    return const_cast<TSection*>(std::as_const(*this).FindSection(name));
}

TIniFile::TSection& TIniFile::FindOrAddSection(std::string_view name) {
    name = Trim(name);
    if (TSection* found = FindSection(name))
        return *found;
    FSectionIndex.Add(name, FSections.size(), SectionNameAt());
    TSection& section = FSections.emplace_back();
    section.Name = name;
    section.IndexKeys(HasExactKeys(name));
    return section;
}

const TIniFile::TEntry* TIniFile::FindEntry(std::string_view section, std::string_view key) const {
    const TSection* found = FindSection(section);
    if (!found)
        return nullptr;
    const std::size_t position = found->KeyPosition(key);
    return position == TIniNameIndex::npos ? nullptr : &found->Entries[position];
}

bool TIniFile::HasExactKeys(std::string_view section) const {
    return std::any_of(FExactKeySections.begin(), FExactKeySections.end(),
                       [&](const std::string& name) { return SameName(name, section); });
}

void TIniFile::IndexSections() {
    FSectionIndex.Clear();
    for (std::size_t i = 0; i < FSections.size(); ++i)
        FSectionIndex.Add(FSections[i].Name, i, SectionNameAt());
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    const TEntry* entry = FindEntry(section, key);
    if (!entry)
        return std::string(defaultValue);
    std::string_view value = entry->Value;
    if (IsQuoted(value))
        value = value.substr(1, value.size() - 2);
    return std::string(FirstChars(value, kMaxValueChars));
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    int value = 0;
    return ParseInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> names;
    if (const TSection* found = FindSection(section)) {
        const std::size_t end = found->KeyNamesEnd();
        for (std::size_t i = 0; i < end; ++i)
            if (!found->Entries[i].IsComment && !found->Entries[i].Key.empty())
                names.push_back(found->Entries[i].Key);
    }
    return names;
}

std::vector<std::string> TIniFile::KeyNamesPastBuffer(std::string_view section) const {
    std::vector<std::string> names;
    if (const TSection* found = FindSection(section)) {
        for (std::size_t i = found->KeyNamesEnd(); i < found->Entries.size(); ++i)
            if (!found->Entries[i].IsComment && !found->Entries[i].Key.empty())
                names.push_back(found->Entries[i].Key);
    }
    return names;
}

bool TIniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

bool TIniFile::CanStoreKey(std::string_view key) {
    return !key.empty();
}

bool TIniFile::CanStoreValue(std::string_view value) {
    return !HasLineBreak(value);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (!CanStoreKey(key))
        throw std::invalid_argument("The name \"" + std::string(key) + "\" cannot be stored in " +
                                    FFileName);
    if (!CanStoreValue(value))
        throw std::invalid_argument("The value of \"" + std::string(key) +
                                    "\" cannot be stored in " + FFileName);
    // Quotes keep blanks at the ends, and quotes of the value's own, through the reader's trimming
    // and unquoting.
    std::string stored(value);
    if (Trim(value).size() != value.size() || IsQuoted(value))
        stored = '"' + stored + '"';

    TSection& target = FindOrAddSection(section);
    if (const std::size_t position = target.KeyPosition(key); position != TIniNameIndex::npos)
        target.Entries[position].Value = std::move(stored);
    else
        target.AddEntry({std::string(key), std::move(stored), false});
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(std::string_view section) {
    const std::size_t found = FSectionIndex.Find(Trim(section), SectionNameAt());
    if (found == TIniNameIndex::npos)
        return;
    FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(found));
    IndexSections();
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
    TSection* target = FindSection(section);
    if (!target || target->KeyPosition(key) == TIniNameIndex::npos)
        return;
    const bool exact = target->Keys.Exact();
    std::erase_if(target->Entries, [&](const TEntry& e) {
        return !e.IsComment && TIniNameIndex::SameName(e.Key, key, exact);
    });
    target->IndexKeys(exact);
}

void TIniFile::CompareKeysExactly(std::string_view section) {
    section = Trim(section);
    if (HasExactKeys(section))
        return;
    FExactKeySections.emplace_back(section);
    if (TSection* found = FindSection(section))
        found->IndexKeys(true);
}

std::string TIniFile::Text() const {
    std::string text;
    for (const std::string& line : FPreamble)
        text += line + '\n';
    for (const TSection& section : FSections) {
        if (!text.empty())
            text += '\n';
        text.append("[").append(section.Name).append("]\n");
        for (const TEntry& entry : section.Entries) {
            if (entry.IsComment)
                text.append(entry.Key);
            else
                text.append(EscapeKey(entry.Key)).append("=").append(entry.Value);
            text += '\n';
        }
    }
    return text;
}

void TIniFile::UpdateFile() const {
    if (FUnreadable)
        throw TIniWriteError(FFileName, "the file exists but could not be read");
    const std::string target = WriteTarget(FFileName);
    // Replacing the file by a rename would get round a file the user made read-only.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
        throw TIniWriteError(FFileName, std::strerror(errno));
    try {
        WriteFileAtomically(target, Text());
    } catch (const std::runtime_error& error) {
        throw TIniWriteError(FFileName, error.what());
    }
}

} // namespace quorvane
