#include "results/CellText.h"

#include <QDateTime>
#include <QLocale>

#include "dialogs/UserPrompts.h"
#include "platform/NumberFormat.h"
#include "reports/ReportLines.h"

namespace quorvane {

QString ColumnCaption(TResultColumn column) {
    return QString::fromLatin1(ResultColumnCaption(column));
}

QString SizeText(int64_t size) {
    return FromEngine(FormatGroupedInteger(size));
}

QString DateText(TDateTime date) {
    const TDateTimeParts parts = DecodeDateTime(date);
    const QDateTime value(QDate(parts.Year, parts.Month, parts.Day),
                          QTime(parts.Hour, parts.Minute, parts.Second));
    const QLocale locale;
    // The locale's short date and its time with seconds, without a time zone: file dates are
    // local times.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(value.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(value.time(), timeFormat.trimmed());
}

QString CellText(const TFile& file, TResultColumn column) {
    switch (column) {
    case rcName:
        return FromEngine(file.Name);
    case rcSize:
        return SizeText(file.Size);
    case rcDate:
        return DateText(file.Date);
    case rcPath:
        return FromEngine(file.Path());
    case rcCheckSum:
        return FromEngine(file.Checksum.Text());
    default:
        return {};
    }
}

QString GroupText(const TFile& file, TResultColumn column) {
    if (column == rcName)
        return CellText(file, rcName);
    return ColumnCaption(column) + QStringLiteral(": ") + CellText(file, column);
}

QString CopyText(const TFile& file, TResultColumn column, bool checkable) {
    switch (column) {
    case rcChecked:
        return checkable ? QStringLiteral("False") : QString();
    case rcSize:
        return QString::number(file.Size);
    default:
        return CellText(file, column);
    }
}

} // namespace quorvane
