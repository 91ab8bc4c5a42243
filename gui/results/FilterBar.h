#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QToolButton;

namespace quorvane {

// The bar under the results grid while there is a filter: a check box that switches the filter
// off and on, the filter in words, and a button that opens the filter builder.
class TFilterBar : public QWidget {
    Q_OBJECT

public:
    explicit TFilterBar(QWidget* parent = nullptr);

    // Shows the filter's text with the box ticked when it is on; an empty text hides the bar.
    void ShowFilter(const QString& text, bool active);

    QCheckBox* Switch() const { return FSwitch; }
    QLabel* Text() const { return FText; }
    QToolButton* Customize() const { return FCustomize; }

signals:
    void Switched(bool active);
    void CustomizeClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ElideText();

    QCheckBox* FSwitch;
    QLabel* FText;
    QToolButton* FCustomize;
    QString FFullText;
};

} // namespace quorvane
