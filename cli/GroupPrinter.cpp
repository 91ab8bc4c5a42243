#include "GroupPrinter.h"

#include <cstdio>
#include <memory>
#include <string_view>

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

class TGroupWriter {
public:
    virtual ~TGroupWriter() = default;
    virtual void Begin() {}
    virtual void GroupStart(uint32_t group, bool first) = 0;
    virtual void File(uint32_t group, const TFile& file, bool firstInGroup) = 0;
    virtual void GroupEnd() {}
    virtual void End(bool anyGroup) = 0;
};

class TTextWriter final : public TGroupWriter {
public:
    explicit TTextWriter(std::ostream& out) : FOut(out) {}
    void GroupStart(uint32_t, bool first) override {
        if (!first)
            FOut << '\n';
    }
    void File(uint32_t, const TFile& file, bool) override { FOut << file.FullName() << '\n'; }
    void End(bool) override {}

private:
    std::ostream& FOut;
};

class TCsvWriter final : public TGroupWriter {
public:
    explicit TCsvWriter(std::ostream& out) : FOut(out) {}
    void Begin() override { FOut << "group,path,name,size,date,checksum\r\n"; }
    void GroupStart(uint32_t, bool) override {}
    void File(uint32_t group, const TFile& file, bool) override {
        FOut << group << ',' << CsvField(file.Path()) << ',' << CsvField(file.Name) << ','
             << file.Size << ',' << DateText(file.Date) << ',' << file.Checksum.Text() << "\r\n";
    }
    void End(bool) override {}

private:
    std::ostream& FOut;
};

class TJsonWriter final : public TGroupWriter {
public:
    explicit TJsonWriter(std::ostream& out) : FOut(out) {}
    void Begin() override { FOut << '['; }
    void GroupStart(uint32_t group, bool first) override {
        FOut << (first ? "\n" : ",\n") << "  {\"group\": " << group << ", \"files\": [";
    }
    void File(uint32_t, const TFile& file, bool firstInGroup) override {
        FOut << (firstInGroup ? "\n" : ",\n") << "    {\"path\": " << JsonString(file.FullName())
             << ", \"name\": " << JsonString(file.Name) << ", \"size\": " << file.Size
             << ", \"date\": " << JsonString(DateText(file.Date))
             << ", \"checksum\": " << JsonString(file.Checksum.Text()) << '}';
    }
    void GroupEnd() override { FOut << "\n  ]}"; }
    void End(bool anyGroup) override { FOut << (anyGroup ? "\n]\n" : "]\n"); }

private:
    std::ostream& FOut;
};

std::unique_ptr<TGroupWriter> MakeWriter(TOutputFormat format, std::ostream& out) {
    switch (format) {
    case TOutputFormat::Csv:
        return std::make_unique<TCsvWriter>(out);
    case TOutputFormat::Json:
        return std::make_unique<TJsonWriter>(out);
    default:
        return std::make_unique<TTextWriter>(out);
    }
}

} // namespace

void PrintGroups(const TResultView& view, TOutputFormat format, std::ostream& out) {
    const auto writer = MakeWriter(format, out);
    writer->Begin();
    bool anyGroup = false;
    uint32_t currentGroup = 0;
    for (uint32_t record : view.PassingRecords()) {
        const uint32_t group = view.Row(record).Group;
        const bool startsGroup = !anyGroup || group != currentGroup;
        if (startsGroup) {
            if (anyGroup)
                writer->GroupEnd();
            writer->GroupStart(group, !anyGroup);
            anyGroup = true;
            currentGroup = group;
        }
        writer->File(group, view.File(record), startsGroup);
    }
    if (anyGroup)
        writer->GroupEnd();
    writer->End(anyGroup);
    out.flush();
}

} // namespace quorvane::cli
