#include "UpdatePrompts.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

#include <optional>

namespace quorvane::renovex {
namespace {

std::optional<TRenovexPrompts> hook;

QString Title() {
    return QGuiApplication::applicationDisplayName();
}

} // namespace

void SetPromptHook(const TRenovexPrompts* prompts) {
    if (prompts)
        hook = *prompts;
    else
        hook.reset();
}

void Inform(QWidget* parent, int kind, const QString& text) {
    if (hook) {
        hook->ShowMessage(hook->Context, kind, text.toUtf8().constData());
        return;
    }
    switch (kind) {
    case RenovexError:
        QMessageBox::critical(parent, Title(), text);
        break;
    case RenovexWarning:
        QMessageBox::warning(parent, Title(), text);
        break;
    default:
        QMessageBox::information(parent, Title(), text);
        break;
    }
}

bool Ask(QWidget* parent, const QString& question) {
    if (hook)
        return hook->Ask(hook->Context, question.toUtf8().constData()) != 0;
    return QMessageBox::question(parent, Title(), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

QString ChooseFolder(QWidget* parent, const QString& title) {
    if (hook) {
        const char* folder = hook->ChooseFolder(hook->Context, title.toUtf8().constData());
        return folder ? QString::fromUtf8(folder) : QString();
    }
    return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}

} // namespace quorvane::renovex
