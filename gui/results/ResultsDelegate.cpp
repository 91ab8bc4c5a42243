#include "results/ResultsDelegate.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "results/ResultColors.h"
#include "results/ResultLinesModel.h"
#include "results/ResultRoles.h"
#include "results/ResultsView.h"

namespace quorvane {
namespace {

constexpr int kGroupIndent = 14; // per grouping level
constexpr int kIconLeft = 5;
constexpr int kIconTop = 1;
constexpr int kNameTextLeft = 25;
constexpr int kNameTextTop = 2;

bool IsGroupOfNames(const QModelIndex& index) {
    return index.siblingAtColumn(0).data(GroupColumnRole).toInt() == rcName;
}

} // namespace

TResultsDelegate::TResultsDelegate(const TResultsView& view)
    : QStyledItemDelegate(nullptr), FView(view) {}

QSize TResultsDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const QString text = index.data().toString();
    return {option.fontMetrics.horizontalAdvance(text) + 2 * kTextPadding, kRowHeight};
}

void TResultsDelegate::DrawCheckGlyph(QPainter* painter, const QPoint& topLeft, bool ticked) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF box(topLeft.x() + 1.5, topLeft.y() + 1.5, kGlyphSize - 3, kGlyphSize - 3);
    painter->setPen(QPen(QColor(28, 62, 120), 1));
    painter->setBrush(Qt::white);
    painter->drawRoundedRect(box, 2, 2);
    if (ticked) {
        QPen tick(QColor(20, 110, 40), 2.2);
        tick.setCapStyle(Qt::RoundCap);
        tick.setJoinStyle(Qt::RoundJoin);
        painter->setPen(tick);
        const QPointF points[] = {{box.left() + 2.5, box.center().y() + 0.2},
                                  {box.left() + 5.3, box.bottom() - 2.8},
                                  {box.right() - 2.3, box.top() + 2.8}};
        painter->drawPolyline(points, 3);
    }
    painter->restore();
}

TResultsDelegate::TCellLook TResultsDelegate::LookOf(const QStyleOptionViewItem& option,
                                                     const QModelIndex& index,
                                                     const TResultItem& item) const {
    const QColor text = option.palette.color(QPalette::Text);
    if (option.state & QStyle::State_Selected) {
        if (FView.hasFocus())
            return {TResultColors::Selected(), TResultColors::SelectedText()};
        return {TResultColors::SelectedUnfocused(), text};
    }
    if (item.Kind == TResultItem::ikGroup)
        return {TResultColors::GroupRow(), text};
    if (!FView.SeparateGroups() && index.data(StripeRole).toBool())
        return {TResultColors::StripedRow(), text};
    return {TResultColors::DataRow(), TResultColors::Text()};
}

void TResultsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const auto* lines = qobject_cast<const TResultLinesModel*>(index.model());
    if (!lines)
        return;
    const TResultItem item = lines->Item(index);
    const TCellLook look = LookOf(option, index, item);
    painter->save();
    painter->fillRect(option.rect, look.Background);
    if (item.Kind == TResultItem::ikGroup)
        PaintGroupCell(painter, option, index, item, look);
    else
        PaintFileCell(painter, option, index, item, look);
    painter->restore();
}

QRect TResultsDelegate::FileTextRect(const QRect& cell) const {
    return cell.adjusted(kTextPadding, 0, -kTextPadding, 0);
}

void TResultsDelegate::PaintFileCell(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index, const TResultItem& item,
                                     const TCellLook& look) const {
    const QRect& cell = option.rect;
    if (index.column() == rcChecked) {
        const int check = index.data(CheckRole).toInt();
        if (check < 0)
            return; // this row cannot be checked: no box
        const QPoint topLeft((cell.left() + cell.left() + cell.width() - kGlyphSize) / 2,
                             (cell.top() + cell.top() + cell.height() - kGlyphSize) / 2);
        DrawCheckGlyph(painter, topLeft, check > 0);
        return;
    }
    const QString text = index.data().toString();
    const QRect textRect = FileTextRect(cell);
    const auto alignment = static_cast<Qt::Alignment>(index.data(Qt::TextAlignmentRole).toInt());
    const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width());
    const int matched = index.column() == rcName ? FView.SearchMatchLength(item) : 0;
    if (matched > 0) {
        const int width = option.fontMetrics.horizontalAdvance(shown.left(matched));
        const QRect highlight(textRect.left(), cell.top() + 1, width, cell.height() - 2);
        painter->fillRect(highlight, TResultColors::SearchMatch());
        painter->setPen(look.Text);
        painter->drawText(textRect, int(alignment), shown);
        painter->setClipRect(highlight, Qt::IntersectClip);
        painter->setPen(TResultColors::Text());
        painter->drawText(textRect, int(alignment), shown);
        return;
    }
    painter->setPen(look.Text);
    painter->drawText(textRect, int(alignment), shown);
}

QRect TResultsDelegate::GroupTextRect(const QRect& cell, const QModelIndex& index) const {
    const int level = index.siblingAtColumn(0).data(GroupLevelRole).toInt();
    const int left = FView.RowLeft() + level * kGroupIndent;
    return QRect(left, cell.top(), FView.RowRight() - left, cell.height());
}

void TResultsDelegate::PaintGroupCell(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index, const TResultItem& item,
                                      const TCellLook& look) const {
    const QModelIndex first = index.siblingAtColumn(0);
    const QString text = first.data().toString();
    const QRect row = GroupTextRect(option.rect, index);
    painter->setClipRect(option.rect, Qt::IntersectClip);
    painter->setPen(look.Text);
    if (!IsGroupOfNames(index)) {
        const QRect textRect = row.adjusted(kIconLeft, 0, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                          option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
        return;
    }
    const QIcon icon = qvariant_cast<QIcon>(first.data(Qt::DecorationRole));
    icon.paint(painter,
               QRect(row.left() + kIconLeft, row.top() + kIconTop, kGlyphSize, kGlyphSize));
    const QRect textRect = row.adjusted(kNameTextLeft, kNameTextTop, 0, 0);
    const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width());
    const int matched = FView.SearchMatchLength(item);
    if (matched > 0) {
        const QRect highlight(textRect.left(), textRect.top(),
                              option.fontMetrics.horizontalAdvance(shown.left(matched)),
                              option.fontMetrics.height());
        painter->fillRect(highlight, TResultColors::SearchMatch());
    }
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, shown);
}

bool TResultsDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const auto* lines = qobject_cast<const TResultLinesModel*>(index.model());
    if (!lines)
        return false;
    const bool group = lines->Item(index).Kind == TResultItem::ikGroup;
    const QString text =
        group ? index.siblingAtColumn(0).data().toString() : index.data().toString();
    QRect textRect = group ? GroupTextRect(option.rect, index) : FileTextRect(option.rect);
    if (group)
        textRect.adjust(IsGroupOfNames(index) ? kNameTextLeft : kIconLeft, 0, 0, 0);
    // A hint only for a text that is cut off.
    if (text.isEmpty() || option.fontMetrics.horizontalAdvance(text) <= textRect.width()) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), text, view, option.rect);
    return true;
}

} // namespace quorvane
