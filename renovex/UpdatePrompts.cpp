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

// The text with every address or path held together: the line breaker would split one after
// its slashes, dots or hyphens, so a word joiner (invisible) follows each of them there.
QString KeepAddressesWhole(const QString& text) {
    QStringList words = text.split(QLatin1Char(' '));
    for (QString& word : words) {
        if (!word.contains(QLatin1Char('/')))
            continue;
        QString joined;
        for (const QChar character : word) {
            joined += character;
            if (QStringLiteral("/.-?&=").contains(character))
                joined += QChar(0x2060);
        }
        word = joined;
    }
    return words.join(QLatin1Char(' '));
}

void Inform(QWidget* parent, int kind, const QString& text) {
    if (hook) {
        hook->ShowMessage(hook->Context, kind, text.toUtf8().constData());
        return;
    }
    const QMessageBox::Icon icon = kind == RenovexError     ? QMessageBox::Critical
                                   : kind == RenovexWarning ? QMessageBox::Warning
                                                            : QMessageBox::Information;
    QMessageBox box(icon, Title(), KeepAddressesWhole(text), QMessageBox::Ok, parent);
    box.exec();
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
