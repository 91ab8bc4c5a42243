#include "reports/ReportLines.h"

#include <algorithm>

#include "platform/NumberFormat.h"
#include "platform/Utf8.h"

namespace quorvane {
namespace {

void VisitGroup(const TResultView& view, std::size_t level, uint32_t index,
                const std::function<void(const TReportLine&)>& visit) {
    const TGroupTree& tree = view.Groups();
    const TGroupRow& group = tree.Level(level)[index];
    visit({true, level, tree.Column(level), group.Record});
    const uint32_t end = group.FirstChild + group.ChildCount;
    for (uint32_t child = group.FirstChild; child < end; ++child) {
        if (level + 1 < tree.LevelCount())
            VisitGroup(view, level + 1, child, visit);
        else
            visit({false, 0, rcName, view.PassingRecord(child)});
    }
}

} // namespace

void ForEachReportLine(const TResultView& view,
                       const std::function<void(const TReportLine&)>& visit) {
    const TGroupTree& tree = view.Groups();
    if (tree.LevelCount() == 0) {
        for (uint32_t record : view.PassingRecords())
            visit({false, 0, rcName, record});
        return;
    }
    const auto outerCount = static_cast<uint32_t>(tree.Level(0).size());
    for (uint32_t index = 0; index < outerCount; ++index)
        VisitGroup(view, 0, index, visit);
}

std::size_t ReportLineCount(const TResultView& view) {
    std::size_t count = view.PassingCount();
    for (std::size_t level = 0; level < view.Groups().LevelCount(); ++level)
        count += view.Groups().Level(level).size();
    return count;
}

std::vector<TResultColumn> ReportColumns(const TResultLayout& layout) {
    std::vector<TResultColumn> columns;
    for (TResultColumn column : {rcName, rcSize, rcDate, rcPath, rcCheckSum})
        if (layout[column].Visible)
            columns.push_back(column);
    return columns;
}

std::string_view ResultColumnCaption(TResultColumn column) {
    switch (column) {
    case rcChecked:
        return "Checked";
    case rcName:
        return "Name";
    case rcSize:
        return "Size";
    case rcDate:
        return "Date";
    case rcPath:
        return "Path";
    case rcCheckSum:
        return "CheckSum";
    default:
        return {};
    }
}

void AppendCellText(std::string& out, const TFile& file, TResultColumn column,
                    const TReportTexts& texts) {
    switch (column) {
    case rcName:
        out += file.Name;
        break;
    case rcSize:
        out += FormatGroupedInteger(file.Size);
        break;
    case rcDate:
        if (texts.DateText)
            out += texts.DateText(file.Date);
        else
            AppendDateTimeText(out, file.Date);
        break;
    case rcPath:
        out += file.Path();
        break;
    case rcCheckSum:
        out += file.Checksum.Text();
        break;
    default:
        break;
    }
}

void AppendGroupText(std::string& out, const TFile& file, TResultColumn column,
                     const TReportTexts& texts) {
    if (column != rcName) {
        out += ResultColumnCaption(column);
        out += ": ";
    }
    AppendCellText(out, file, column, texts);
}

std::size_t CharacterCount(std::string_view text) {
    unsigned char high = 0; // most names are ASCII: one quick pass tells
    for (char c : text)
        high |= static_cast<unsigned char>(c);
    if (high < 0x80)
        return text.size();
    std::size_t count = 0;
    ForEachCodePoint(text, [&count](int32_t) { ++count; });
    return count;
}

std::vector<std::size_t> MeasureColumns(const TResultView& view,
                                        const std::vector<TResultColumn>& columns,
                                        const TReportTexts& texts) {
    // One pass over a million rows: texts are measured where they lie, a size only once (the
    // largest is the widest), and the dates only when their text is not of a fixed width.
    std::size_t name = 0, path = 0, checksum = 0, date = 0;
    int64_t largest = 0;
    const auto shows = [&columns](TResultColumn column) {
        return std::find(columns.begin(), columns.end(), column) != columns.end();
    };
    const bool measureDates = texts.DateText && shows(rcDate);
    const bool measureChecksums = shows(rcCheckSum);
    std::string text;
    for (uint32_t record : view.PassingRecords()) {
        const TFile& file = view.File(record);
        name = std::max(name, CharacterCount(file.Name));
        path = std::max(path, CharacterCount(file.Path()));
        if (measureChecksums)
            checksum = std::max(checksum, file.Checksum.Text().size());
        largest = std::max(largest, file.Size);
        if (measureDates)
            date = std::max(date, CharacterCount(texts.DateText(file.Date)));
    }
    if (!measureDates && !view.PassingRecords().empty()) {
        AppendDateTimeText(text, 0);
        date = text.size();
    }
    std::vector<std::size_t> widths;
    for (TResultColumn column : columns) {
        std::size_t width = 0;
        switch (column) {
        case rcName:
            width = name;
            break;
        case rcSize:
            width =
                view.PassingRecords().empty() ? 0 : CharacterCount(FormatGroupedInteger(largest));
            break;
        case rcDate:
            width = date;
            break;
        case rcPath:
            width = path;
            break;
        case rcCheckSum:
            width = checksum;
            break;
        default:
            break;
        }
        widths.push_back(std::max(width, ResultColumnCaption(column).size()));
    }
    return widths;
}

} // namespace quorvane
