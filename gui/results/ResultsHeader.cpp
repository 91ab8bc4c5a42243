#include "results/ResultsHeader.h"

#include <QPainter>

#include "results/ResultColors.h"
#include "results/ResultColumns.h"

namespace quorvane {
namespace {

QFont CaptionFont(QFont font) {
    font.setBold(true);
    return font;
}

constexpr int kCaptionPadding = 4;

} // namespace

TResultsHeader::TResultsHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(false);
    setSectionsMovable(false);
    setHighlightSections(false);
    // The area right of the last column, when there is one, in the headers' blue.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, TResultColors::Header());
    palette.setColor(QPalette::Button, TResultColors::Header());
    setPalette(palette);
    setAutoFillBackground(true);
}

void TResultsHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    painter->fillRect(rect, TResultColors::Header());
    // A lighter edge between captions.
    painter->setPen(TResultColors::Header().lighter(140));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    if (logicalIndex != rcChecked) {
        painter->setPen(TResultColors::HeaderText());
        painter->setFont(CaptionFont(font()));
        const QRect textRect = rect.adjusted(kCaptionPadding, 0, -kCaptionPadding, 0);
        const auto alignment = static_cast<Qt::Alignment>(
            model()
                ? model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole).toInt()
                : int(Qt::AlignLeft | Qt::AlignVCenter));
        const QString caption =
            model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
        painter->drawText(
            textRect, int(alignment),
            painter->fontMetrics().elidedText(caption, Qt::ElideRight, textRect.width()));
    }
    painter->restore();
}

int TResultsHeader::CaptionWidth(int logicalIndex) const {
    if (!model())
        return 0;
    const QString caption = model()->headerData(logicalIndex, orientation()).toString();
    return QFontMetrics(CaptionFont(font())).horizontalAdvance(caption) + 2 * kCaptionPadding + 1;
}

QSize TResultsHeader::sectionSizeFromContents(int logicalIndex) const {
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    size.setHeight(QFontMetrics(CaptionFont(font())).height() + 2 * kCaptionPadding);
    return size;
}

} // namespace quorvane
