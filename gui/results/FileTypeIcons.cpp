#include "results/FileTypeIcons.h"

#include <QHash>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quorvane {
namespace {

// The band colour of the drawn icon for a kind of file.
QColor KindColour(const QMimeType& type) {
    const QString name = type.name();
    if (name.startsWith(QLatin1String("image/")))
        return {46, 160, 67};
    if (name.startsWith(QLatin1String("audio/")))
        return {156, 39, 176};
    if (name.startsWith(QLatin1String("video/")))
        return {230, 81, 0};
    if (name.startsWith(QLatin1String("text/")))
        return {49, 106, 197};
    if (type.inherits(QStringLiteral("application/x-executable")) ||
        type.inherits(QStringLiteral("application/x-sharedlib")))
        return {90, 90, 90};
    if (type.inherits(QStringLiteral("application/zip")) ||
        type.inherits(QStringLiteral("application/x-compressed-tar")) ||
        name.contains(QLatin1String("compressed")) || name.contains(QLatin1String("archive")))
        return {170, 120, 30};
    return {120, 144, 170};
}

// A sheet with a folded corner and a coloured band.
QIcon DrawnIcon(const QColor& band) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.5, 0.5);
    sheet.lineTo(13.5, 3.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    painter.setPen(QColor(110, 110, 110));
    painter.setBrush(Qt::white);
    painter.drawPath(sheet);
    painter.drawLine(QPointF(10.5, 0.5), QPointF(10.5, 3.5));
    painter.drawLine(QPointF(10.5, 3.5), QPointF(13.5, 3.5));
    painter.fillRect(QRectF(3, 9, 10, 4), band);
    return QIcon(pixmap);
}

} // namespace

QIcon FileTypeIcon(const QString& fileName) {
    // Names that share their extensions share their icon; a name without one keys by itself
    // ("Makefile" has a type of its own).
    static QHash<QString, QIcon> icons;
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'), 1);
    const QString key = (dot < 0 ? fileName : fileName.mid(dot)).toLower();
    auto found = icons.constFind(key);
    if (found != icons.constEnd())
        return *found;
    static const QMimeDatabase database;
    // By name alone: mimeTypeForFile would look at the file.
    const QList<QMimeType> matches = database.mimeTypesForFileName(fileName);
    const QMimeType type =
        matches.isEmpty() ? database.mimeTypeForName(QStringLiteral("application/octet-stream"))
                          : matches.first();
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = DrawnIcon(KindColour(type));
    icons.insert(key, icon);
    return icon;
}

} // namespace quorvane
