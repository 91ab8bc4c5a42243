#include "app/MessageDlgCheck.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>

#include "dialogs/UserPrompts.h"

namespace quorvane {

namespace {

// The text's own lines, each kept whole: the box then takes the width of the longest instead of
// wrapping one of them short.
QString UnbrokenLines(const QString& text) {
    QStringList lines = DisplayText(text).split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = QStringLiteral("<nobr>") + line.toHtmlEscaped() + QStringLiteral("</nobr>");
    return lines.join(QStringLiteral("<br>"));
}

} // namespace

bool MessageDlgCheck(QWidget* mainWindow, const QString& text, const QString& checkText,
                     const QString& caption, bool flag) {
    QMessageBox box(QMessageBox::NoIcon, caption, UnbrokenLines(text), QMessageBox::Ok, mainWindow);
    box.setTextFormat(Qt::RichText);
    box.setIconPixmap(QApplication::windowIcon().pixmap(32, 32));
    QCheckBox* check = nullptr;
    if (!checkText.isEmpty()) {
        check = new QCheckBox(checkText, &box);
        check->setChecked(flag);
        box.setCheckBox(check);
    }
    box.exec();
    return check ? check->isChecked() : flag;
}

} // namespace quorvane
