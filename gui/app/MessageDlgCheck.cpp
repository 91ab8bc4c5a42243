#include "app/MessageDlgCheck.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>

#include "dialogs/UserPrompts.h"

namespace quorvane {

bool MessageDlgCheck(QWidget* mainWindow, const QString& text, const QString& checkText,
                     const QString& caption, bool flag) {
    QMessageBox box(QMessageBox::NoIcon, caption, DisplayText(text), QMessageBox::Ok, mainWindow);
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
