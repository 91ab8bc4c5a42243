#include "app/LoopAnimation.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>

namespace quorvane {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 50;
constexpr int kFrameMs = 40;
constexpr int kFramesPerFlight = 30; // one sheet's way from folder to folder
constexpr int kSheets = 3;           // in the air at once, evenly spaced

void DrawFolder(QPainter& painter, const QRectF& box, bool open) {
    QPainterPath back;
    back.moveTo(box.left(), box.bottom());
    back.lineTo(box.left(), box.top());
    back.lineTo(box.left() + box.width() * 0.38, box.top());
    back.lineTo(box.left() + box.width() * 0.48, box.top() + 4);
    back.lineTo(box.right(), box.top() + 4);
    back.lineTo(box.right(), box.bottom());
    back.closeSubpath();
    painter.setPen(QPen(QColor(160, 122, 16), 1.2));
    painter.setBrush(QColor(253, 233, 160));
    painter.drawPath(back);
    QPainterPath front;
    const double lip = open ? 6 : 0;
    front.moveTo(box.left(), box.bottom());
    front.lineTo(box.left() + lip, box.top() + 9);
    front.lineTo(box.right() + lip, box.top() + 9);
    front.lineTo(box.right(), box.bottom());
    front.closeSubpath();
    painter.setBrush(QColor(254, 213, 71));
    painter.drawPath(front);
}

void DrawSheet(QPainter& painter, const QPointF& centre, double angle) {
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    const QRectF sheet(-6, -8, 12, 16);
    painter.setPen(QPen(QColor(49, 95, 160), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(sheet);
    painter.setPen(QColor(164, 196, 235));
    for (int line = 0; line < 3; ++line)
        painter.drawLine(QPointF(-3.5, -4 + 3.5 * line), QPointF(3.5, -4 + 3.5 * line));
    painter.restore();
}

} // namespace

TLoopAnimation::TLoopAnimation(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    FTimer.setInterval(kFrameMs);
    connect(&FTimer, &QTimer::timeout, this, [this] {
        FFrame = (FFrame + 1) % (kFramesPerFlight * 100);
        update();
    });
}

void TLoopAnimation::Start() {
    FFrame = 0;
    FTimer.start();
}

void TLoopAnimation::Stop() {
    FTimer.stop();
}

void TLoopAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF from(6, 20, 34, 26);
    const QRectF to(kWidth - 40, 20, 34, 26);
    DrawFolder(painter, from, true);
    // Sheets on an arc from the left folder to the right one.
    for (int sheet = 0; sheet < kSheets; ++sheet) {
        const int frame = (FFrame + sheet * kFramesPerFlight / kSheets) % kFramesPerFlight;
        const double t = static_cast<double>(frame) / kFramesPerFlight;
        const double x = from.center().x() + t * (to.center().x() - from.center().x());
        const double y = 30 - 22 * std::sin(t * std::numbers::pi);
        DrawSheet(painter, QPointF(x, y), -20 + 40 * t);
    }
    DrawFolder(painter, to, false);
    // The magnifier sweeps to and fro across the middle.
    const double phase = std::sin(FFrame * 2 * std::numbers::pi / (2 * kFramesPerFlight));
    const QPointF lens(kWidth / 2.0 + 50 * phase, 14);
    painter.setPen(QPen(QColor(49, 95, 160), 2.2));
    painter.setBrush(QColor(254, 213, 71, 90));
    painter.drawEllipse(lens, 7, 7);
    painter.drawLine(lens + QPointF(5, 5), lens + QPointF(11, 11));
}

} // namespace quorvane
