#include "app/MessageDlgCheck.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>

#include "dialogs/UserPrompts.h"

namespace quorvane {

bool MessageDlgCheck(QWidget* mainWindow, const QString& text, const QString& checkText,
                     const QString& caption, bool flag) {
    const QString shown = DisplayText(text);
    QMessageBox box(QMessageBox::NoIcon, caption, shown, QMessageBox::Ok, mainWindow);
    // The text's own lines stay whole: the box takes the width of the longest instead of
    // wrapping one of them short.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        int longest = 0;
        for (const QString& line : shown.split(QLatin1Char('\n')))
            longest = std::max(longest, label->fontMetrics().horizontalAdvance(line));
        label->setMinimumWidth(longest + 1);
    }
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
