#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "results/ResultView.h"

namespace quorvane {

// One line of a saved results list: a group row or a file row, in the order the grid shows them
// with every group row expanded.
struct TReportLine {
    bool IsGroup = false;
    std::size_t Level = 0;         // group rows: nesting level, 0 the outermost
    TResultColumn Column = rcName; // group rows: the grouping column
    uint32_t Record = 0;           // file rows: the row; group rows: the row whose value it shows
};

// Calls `visit` for every line: each group row followed by what it holds, then the next. Only the
// rows that pass the filter take part.
void ForEachReportLine(const TResultView& view,
                       const std::function<void(const TReportLine&)>& visit);
// The number of lines ForEachReportLine visits.
std::size_t ReportLineCount(const TResultView& view);

// The columns a saved list holds: the visible columns of the layout in grid order, without
// "Checked".
std::vector<TResultColumn> ReportColumns(const TResultLayout& layout);

// How values read in a saved list. The date text defaults to a locale-neutral form; the window
// passes the grid's own.
struct TReportTexts {
    std::function<std::string(TDateTime)> DateText;
};

std::string_view ResultColumnCaption(TResultColumn column);
// The cell text of a file row as the grid shows it (the file system's bytes for names and paths).
void AppendCellText(std::string& out, const TFile& file, TResultColumn column,
                    const TReportTexts& texts);
// A group row's text: the column's caption, a colon and the value; a Name group row the name.
void AppendGroupText(std::string& out, const TFile& file, TResultColumn column,
                     const TReportTexts& texts);

// The widest cell text of each column over the caption and every file row, in characters.
std::vector<std::size_t> MeasureColumns(const TResultView& view,
                                        const std::vector<TResultColumn>& columns,
                                        const TReportTexts& texts);
// Characters as the reports show them: an ill-formed piece of UTF-8 counts as the one U+FFFD that
// stands for it.
std::size_t CharacterCount(std::string_view text);

} // namespace quorvane
