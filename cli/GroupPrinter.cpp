#include "GroupPrinter.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>

#include "platform/HexText.h"
#include "platform/Utf8.h"

namespace quorvane::cli {
namespace {

std::string DateText(TDateTime date) {
    const TDateTimeParts p = DecodeDateTime(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month, p.Day,
                  p.Hour, p.Minute, p.Second);
    return text;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const TUtf8Char c = Utf8CharAt(text, i);
        if (!c.Valid()) {
            out += "\\ufffd";
        } else if (c.CodePoint == '"' || c.CodePoint == '\\') {
            out += '\\';
            out += static_cast<char>(c.CodePoint);
        } else if (c.CodePoint < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c.CodePoint));
            out += escaped;
        } else {
            out.append(text.substr(i, c.Length));
        }
        i += c.Length;
    }
    return out + '"';
}

// `"key": text`, and when the text is not UTF-8 (shown with U+FFFD) also `"key_bytes": ...`
// with its exact bytes percent-encoded.
std::string JsonNameFields(std::string_view key, std::string_view text) {
    std::string out = '"' + std::string(key) + "\": " + JsonString(text);
    if (!IsValidUtf8(text)) {
        std::string bytes;
        AppendPercentEscaped(bytes, text);
        out += ", \"" + std::string(key) + "_bytes\": " + JsonString(bytes);
    }
    return out;
}

const char* BoolText(bool value) {
    return value ? "true" : "false";
}

// One group of the output: its number, its files in display order, and whether every one of
// them could not be read (then they were grouped by that alone, not by their contents).
struct TGroup {
    uint32_t Number = 0;
    std::vector<const TFile*> Files;
    bool Unreadable() const {
        return std::all_of(Files.begin(), Files.end(),
                           [](const TFile* file) { return file->Checksum.IsUnreadable(); });
    }
};

class TGroupWriter {
public:
    virtual ~TGroupWriter() = default;
    virtual void Begin() {}
    virtual void Group(const TGroup& group) = 0;
    virtual void End() {}
};

class TTextWriter final : public TGroupWriter {
public:
    TTextWriter(std::ostream& out, bool nullSeparated)
        : FOut(out), FPathEnd(nullSeparated ? '\0' : '\n'), FNullSeparated(nullSeparated) {}
    void Group(const TGroup& group) override {
        if (group.Unreadable()) // listed on stderr instead
            return;
        if (FAnyGroup && !FNullSeparated)
            FOut << '\n';
        FAnyGroup = true;
        for (const TFile* file : group.Files)
            FOut << file->FullName() << FPathEnd;
        if (FNullSeparated)
            FOut << '\0';
    }

private:
    std::ostream& FOut;
    const char FPathEnd;
    const bool FNullSeparated;
    bool FAnyGroup = false;
};

class TCsvWriter final : public TGroupWriter {
public:
    explicit TCsvWriter(std::ostream& out) : FOut(out) {}
    void Begin() override { FOut << "group,path,name,size,date,checksum,unreadable\r\n"; }
    void Group(const TGroup& group) override {
        const char* unreadable = BoolText(group.Unreadable());
        for (const TFile* file : group.Files)
            FOut << group.Number << ',' << CsvField(file->Path()) << ',' << CsvField(file->Name)
                 << ',' << file->Size << ',' << DateText(file->Date) << ',' << file->Checksum.Text()
                 << ',' << unreadable << "\r\n";
    }

private:
    std::ostream& FOut;
};

class TJsonWriter final : public TGroupWriter {
public:
    explicit TJsonWriter(std::ostream& out) : FOut(out) {}
    void Begin() override { FOut << '['; }
    void Group(const TGroup& group) override {
        FOut << (FAnyGroup ? ",\n" : "\n") << "  {\"group\": " << group.Number
             << ", \"unreadable\": " << BoolText(group.Unreadable()) << ", \"files\": [";
        FAnyGroup = true;
        for (std::size_t i = 0; i < group.Files.size(); ++i) {
            const TFile& file = *group.Files[i];
            FOut << (i == 0 ? "\n" : ",\n") << "    {" << JsonNameFields("path", file.FullName())
                 << ", " << JsonNameFields("name", file.Name) << ", \"size\": " << file.Size
                 << ", \"date\": " << JsonString(DateText(file.Date))
                 << ", \"checksum\": " << JsonString(file.Checksum.Text()) << '}';
        }
        FOut << "\n  ]}";
    }
    void End() override { FOut << (FAnyGroup ? "\n]\n" : "]\n"); }

private:
    std::ostream& FOut;
    bool FAnyGroup = false;
};

std::unique_ptr<TGroupWriter> MakeWriter(TOutputFormat format, bool nullSeparated,
                                         std::ostream& out) {
    switch (format) {
    case TOutputFormat::Csv:
        return std::make_unique<TCsvWriter>(out);
    case TOutputFormat::Json:
        return std::make_unique<TJsonWriter>(out);
    default:
        return std::make_unique<TTextWriter>(out, nullSeparated);
    }
}

} // namespace

void PrintGroups(const TResultView& view, TOutputFormat format, bool nullSeparated,
                 std::ostream& out) {
    const auto writer = MakeWriter(format, nullSeparated, out);
    writer->Begin();
    TGroup group;
    for (uint32_t record : view.PassingRecords()) {
        const uint32_t number = view.Row(record).Group;
        if (!group.Files.empty() && number != group.Number) {
            writer->Group(group);
            group.Files.clear();
        }
        group.Number = number;
        group.Files.push_back(&view.File(record));
    }
    if (!group.Files.empty())
        writer->Group(group);
    writer->End();
    out.flush();
}

std::vector<std::string> UnreadableFiles(const TResultView& view) {
    std::vector<std::string> names;
    for (uint32_t record : view.PassingRecords())
        if (view.File(record).Checksum.IsUnreadable())
            names.push_back(view.File(record).FullName());
    return names;
}

} // namespace quorvane::cli
