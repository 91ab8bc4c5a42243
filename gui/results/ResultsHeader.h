#pragma once

#include <QHeaderView>

namespace quorvane {

// The grid's column headers: white bold captions on the grid's blue, the "Checked" header blue
// without a caption.
class TResultsHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit TResultsHeader(QWidget* parent = nullptr);

    // How wide a section must be to show its caption whole.
    int CaptionWidth(int logicalIndex) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;
};

} // namespace quorvane
