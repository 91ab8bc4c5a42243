#include "dialogs/UserPrompts.h"

#include <QFileDialog>
#include <QInputDialog>

namespace quorvane {
namespace {

// A message box taller than this many lines would not fit on the screen.
constexpr qsizetype kMostMessageLines = 25;
constexpr qsizetype kListedLines = 20;

TUserPrompts defaultPrompts;
TUserPrompts* currentPrompts = &defaultPrompts;

QString RunFileDialog(QWidget* parent, const TFileDialogSpec& spec, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, spec.Title, spec.Start, spec.Filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(spec.DefaultSuffix);
    // The callers ask about an existing file themselves.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QMessageBox::StandardButton TUserPrompts::Message(QWidget* parent, QMessageBox::Icon icon,
                                                  const QString& title, const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton,
                                                  const QString& details) {
    QMessageBox box(icon, title, DisplayText(text), buttons, parent);
    box.setDefaultButton(defaultButton);
    if (!details.isEmpty())
        box.setInformativeText(DisplayText(details));
    const int result = box.exec();
    return static_cast<QMessageBox::StandardButton>(result);
}

QString TUserPrompts::SaveFileName(QWidget* parent, const TFileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptSave);
}

QString TUserPrompts::OpenFileName(QWidget* parent, const TFileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptOpen);
}

QString TUserPrompts::ExistingFolder(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

std::optional<QString> TUserPrompts::InputText(QWidget* parent, const QString& title,
                                               const QString& prompt) {
    bool ok = false;
    QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, {}, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

TUserPrompts& UserPrompts() {
    return *currentPrompts;
}

void SetUserPrompts(TUserPrompts* prompts) {
    currentPrompts = prompts ? prompts : &defaultPrompts;
}

void ShowError(QWidget* parent, const QString& text, const QString& details) {
    UserPrompts().Message(parent, QMessageBox::Critical, QStringLiteral("Error"), text,
                          QMessageBox::Ok, QMessageBox::Ok, details);
}

bool AskYesNo(QWidget* parent, const QString& text) {
    return UserPrompts().Message(parent, QMessageBox::Question, QStringLiteral("Confirm"), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text) {
    return UserPrompts().Message(parent, QMessageBox::Question, QStringLiteral("Confirm"), text,
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                 QMessageBox::Yes);
}

QString DisplayText(const QString& text) {
    QString display = text;
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    display.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return display;
}

QString FitForScreen(const QString& text) {
    QStringList lines = DisplayText(text).split(QLatin1Char('\n'));
    if (lines.size() <= kMostMessageLines)
        return text;
    const qsizetype more = lines.size() - kListedLines;
    lines.resize(kListedLines);
    lines << QStringLiteral("... and %1 more").arg(more);
    return lines.join(QLatin1Char('\n'));
}

QString FromEngine(const std::string& text) {
    return QString::fromStdString(text);
}

std::string ToEngine(const QString& text) {
    return text.toStdString();
}

} // namespace quorvane
