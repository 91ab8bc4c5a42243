#include "app/Wait.h"

#include <QFrame>
#include <QLabel>

#include "app/LoopAnimation.h"

namespace quorvane {

TFrmWait::TFrmWait(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(340, 139);
    setAttribute(Qt::WA_ShowWithoutActivating);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);

    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setLineWidth(2);
    bevel->setGeometry(9, 9, 321, 121);
    Animate1 = new TLoopAnimation(this);
    Animate1->move(50, 31);
    Label1 = new QLabel(this);
    Label1->setGeometry(22, 95, 297, 13);
    Label1->setAlignment(Qt::AlignCenter);
}

void TFrmWait::SetText(const QString& text) {
    Label1->setText(text);
}

QString TFrmWait::Text() const {
    return Label1->text();
}

bool TFrmWait::Animating() const {
    return Animate1->Running();
}

void TFrmWait::PlaceOver(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    move(frame.left() + (frame.width() - width()) / 2,
         frame.top() + (frame.height() - height()) / 2);
}

void TFrmWait::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Animate1->Start();
}

void TFrmWait::hideEvent(QHideEvent* event) {
    Animate1->Stop();
    QWidget::hideEvent(event);
}

} // namespace quorvane
