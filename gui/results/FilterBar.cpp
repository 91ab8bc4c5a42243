#include "results/FilterBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "results/ResultColors.h"

namespace quorvane {

TFilterBar::TFilterBar(QWidget* parent)
    : QWidget(parent), FSwitch(new QCheckBox(this)), FText(new QLabel(this)),
      FCustomize(new QToolButton(this)) {
    setObjectName(QStringLiteral("FilterBar"));
    setAutoFillBackground(true);
    QPalette look = palette();
    look.setColor(QPalette::Window, TResultColors::FilterBar());
    look.setColor(QPalette::WindowText, TResultColors::Text());
    setPalette(look);
    FSwitch->setToolTip(QStringLiteral("Switch the filter off and on"));
    FSwitch->setAccessibleName(QStringLiteral("Filter on"));
    FText->setTextFormat(Qt::PlainText);
    FText->setMinimumWidth(1);
    FCustomize->setText(QStringLiteral("Customize..."));
    FCustomize->setToolTip(QStringLiteral("Open the filter builder"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(FSwitch);
    row->addWidget(FText, 1);
    row->addWidget(FCustomize);
    connect(FSwitch, &QCheckBox::clicked, this, &TFilterBar::Switched);
    connect(FCustomize, &QToolButton::clicked, this, &TFilterBar::CustomizeClicked);
    hide();
}

void TFilterBar::ShowFilter(const QString& text, bool active) {
    FFullText = text;
    FSwitch->setChecked(active);
    FText->setToolTip(text);
    ElideText();
    setVisible(!text.isEmpty());
}

void TFilterBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ElideText();
}

void TFilterBar::ElideText() {
    FText->setText(
        FText->fontMetrics().elidedText(FFullText, Qt::ElideRight, std::max(FText->width(), 1)));
}

} // namespace quorvane
