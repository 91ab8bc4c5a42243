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

// The text as rich text in which no address or path breaks across lines (the line breaker
// would split one at its slashes); the rest wraps at spaces as usual.
QString KeepAddressesWhole(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        QStringList words = line.split(QLatin1Char(' '));
        for (QString& word : words)
            word = word.contains(QLatin1Char('/'))
                       ? QStringLiteral("<nobr>") + word.toHtmlEscaped() + QStringLiteral("</nobr>")
                       : word.toHtmlEscaped();
        line = words.join(QLatin1Char(' '));
    }
    return lines.join(QStringLiteral("<br>"));
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
    box.setTextFormat(Qt::RichText);
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
