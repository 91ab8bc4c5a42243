#pragma once

#include <cstddef>

namespace quorvane {

// A rectangle on a printed page, in printer pixels.
struct TPrintRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TPrintRect&, const TPrintRect&) = default;
};

enum class TPrintAlign { Left, Centre, Right };

// The four printed columns: Name, Size, Date, Path.
inline constexpr int kPrintColumnCount = 4;

// Where everything goes on a page of the printed results list, in printer pixels, from the page's
// width and height and the line height of the font. Every fraction of the page is cut toward zero
// before use.
class TPrintLayout {
public:
    TPrintLayout(int pageWidth, int pageHeight, int lineHeight);

    int LineHeight() const { return FLineHeight; }
    // Rows on a page: trunc(H * 0.95 / LineHeight) - 1, and at least one, so that even a font
    // taller than the page still prints every row.
    int LinesPerPage() const;
    // The pages that `rows` rows take: at least one, which carries the header, totals and footer.
    int PageCount(std::size_t rows) const;

    // The left and right edges of the table, the header line and the footer line.
    int TableLeft() const;
    int TableRight() const;
    // The column header band and the line under it.
    TPrintRect HeaderCell(int column) const;
    int HeaderRuleY() const;
    static TPrintAlign HeaderAlign() { return TPrintAlign::Centre; }
    // The first row's top; each row is LineHeight below the one before.
    int FirstRowTop() const;
    TPrintRect RowCell(int column, int top) const;
    static TPrintAlign RowAlign(int column);
    // The band of a row's shading.
    TPrintRect RowBand(int top) const;

    int FooterRuleY() const;
    // Footer texts: the product and copyright (left), the date and time (centred), the page
    // number (right).
    TPrintRect FooterLeftCell() const;
    TPrintRect FooterCentreCell() const;
    TPrintRect FooterRightCell() const;

private:
    int X(double fraction) const;
    int Y(double fraction) const;

    int FWidth, FHeight, FLineHeight;
};

} // namespace quorvane
