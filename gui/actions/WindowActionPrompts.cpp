#include "actions/WindowActionPrompts.h"

#include <QGuiApplication>
#include <QWidget>

#include "dialogs/UserPrompts.h"

namespace quorvane {

bool TWindowActionPrompts::ConfirmOverwrite(const std::string& target) {
    const bool waitShown = FWaitForm.isVisible();
    FWaitForm.hide(); // it stays on top and would cover the question
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const QMessageBox::StandardButton answer =
        UserPrompts().Message(&FMainWindow, QMessageBox::Question, QStringLiteral("Confirm"),
                              FromEngine(target) + QStringLiteral(" already exists, overwrite?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    QGuiApplication::restoreOverrideCursor();
    if (waitShown)
        FWaitForm.show();
    return answer == QMessageBox::Yes;
}

} // namespace quorvane
