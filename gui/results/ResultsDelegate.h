#pragma once

#include <QStyledItemDelegate>

#include "results/ResultItems.h"

namespace quorvane {

class TResultsView;

// Draws the cells of the results grid: the row colours, the check boxes of the Checked column,
// the group rows (a Name group row with the icon of its file type), the characters matched by
// the incremental search, and a hint with the whole text of a cell that is cut off.
//
// A group row is one text across the whole row. The table draws it cell by cell, so each cell
// draws the row's text clipped to itself, placed from the row's left edge.
class TResultsDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit TResultsDelegate(const TResultsView& view);

    static constexpr int kRowHeight = 20;
    static constexpr int kGlyphSize = 16;
    // Room left and right of a file cell's text.
    static constexpr int kTextPadding = 3;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The 16 x 16 check box glyphs, drawn in code.
    static void DrawCheckGlyph(QPainter* painter, const QPoint& topLeft, bool ticked);

private:
    struct TCellLook {
        QColor Background;
        QColor Text;
    };
    TCellLook LookOf(const QStyleOptionViewItem& option, const QModelIndex& index,
                     const TResultItem& item) const;
    void PaintFileCell(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index, const TResultItem& item,
                       const TCellLook& look) const;
    void PaintGroupCell(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index, const TResultItem& item,
                        const TCellLook& look) const;
    // Where the text of a file cell goes, and where a group row's text starts.
    QRect FileTextRect(const QRect& cell) const;
    QRect GroupTextRect(const QRect& cell, const QModelIndex& index) const;

    const TResultsView& FView;
};

} // namespace quorvane
