#include "app/Look.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace quorvane {
namespace {

QPalette SkinPalette() {
    const QColor window(236, 242, 250);
    const QColor base(255, 255, 255);
    const QColor pale(217, 234, 247);
    const QColor light(164, 196, 235);
    const QColor blue(49, 106, 197);
    const QColor dark(28, 62, 120);
    QPalette palette(window);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, dark);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, pale);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Button, pale);
    palette.setColor(QPalette::ButtonText, dark);
    palette.setColor(QPalette::Highlight, blue);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, base);
    palette.setColor(QPalette::Midlight, pale);
    palette.setColor(QPalette::Mid, light);
    palette.setColor(QPalette::Dark, blue);
    palette.setColor(QPalette::Shadow, dark);
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::Link, blue);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, light.darker(130));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, light.darker(130));
    palette.setColor(QPalette::Disabled, QPalette::Text, light.darker(130));
    return palette;
}

} // namespace

void ApplyLook(bool useSkin) {
    static const QString desktopStyle = QApplication::style()->name();
    if (useSkin) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(SkinPalette());
    } else {
        QApplication::setStyle(QStyleFactory::create(desktopStyle));
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
}

} // namespace quorvane
