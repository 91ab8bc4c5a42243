#include "reports/PrintLayout.h"

#include <algorithm>

namespace quorvane {
namespace {

struct TColumnEdges {
    double HeaderLeft, HeaderRight, RowRight;
};

// Name, Size, Date, Path. The size column's values end a little left of its header's edge.
constexpr TColumnEdges kColumns[kPrintColumnCount] = {
    {0.025, 0.174, 0.174}, {0.175, 0.274, 0.27}, {0.275, 0.474, 0.474}, {0.475, 0.975, 0.975}};

} // namespace

TPrintLayout::TPrintLayout(int pageWidth, int pageHeight, int lineHeight)
    : FWidth(pageWidth), FHeight(pageHeight), FLineHeight(std::max(lineHeight, 1)) {}

int TPrintLayout::X(double fraction) const {
    return static_cast<int>(FWidth * fraction);
}

int TPrintLayout::Y(double fraction) const {
    return static_cast<int>(FHeight * fraction);
}

int TPrintLayout::LinesPerPage() const {
    return std::max(static_cast<int>(FHeight * 0.95 / FLineHeight) - 1, 1);
}

int TPrintLayout::PageCount(std::size_t rows) const {
    const auto perPage = static_cast<std::size_t>(LinesPerPage());
    return static_cast<int>(std::max<std::size_t>((rows + perPage - 1) / perPage, 1));
}

int TPrintLayout::TableLeft() const {
    return X(0.025);
}

int TPrintLayout::TableRight() const {
    return X(0.975);
}

TPrintRect TPrintLayout::HeaderCell(int column) const {
    const int top = Y(0.024);
    return {X(kColumns[column].HeaderLeft), top, X(kColumns[column].HeaderRight),
            top + FLineHeight};
}

int TPrintLayout::HeaderRuleY() const {
    return Y(0.025) + FLineHeight + 10;
}

int TPrintLayout::FirstRowTop() const {
    return Y(0.025) + FLineHeight + 20;
}

TPrintRect TPrintLayout::RowCell(int column, int top) const {
    return {X(kColumns[column].HeaderLeft), top, X(kColumns[column].RowRight), top + FLineHeight};
}

TPrintAlign TPrintLayout::RowAlign(int column) {
    return column == 1 ? TPrintAlign::Right : TPrintAlign::Left;
}

TPrintRect TPrintLayout::RowBand(int top) const {
    return {TableLeft(), top, TableRight(), top + FLineHeight};
}

int TPrintLayout::FooterRuleY() const {
    return Y(0.975) + 5;
}

TPrintRect TPrintLayout::FooterLeftCell() const {
    const int top = Y(0.975) + 15;
    return {X(0.025), top, X(0.8), top + FLineHeight};
}

TPrintRect TPrintLayout::FooterCentreCell() const {
    const int top = Y(0.975) + 15;
    return {X(0.025), top, X(0.975), top + FLineHeight};
}

TPrintRect TPrintLayout::FooterRightCell() const {
    const int top = Y(0.975) + 15;
    return {X(0.5), top, X(0.975), top + FLineHeight};
}

} // namespace quorvane
