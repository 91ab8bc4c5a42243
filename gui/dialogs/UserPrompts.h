#pragma once

#include <optional>

#include <QMessageBox>
#include <QString>

class QWidget;

namespace quorvane {

// A file dialog for profiles and the like.
struct TFileDialogSpec {
    QString Title;
    QString Filter;        // "Quorvane profile (*.qvp)"
    QString DefaultSuffix; // added to a typed name without one
    QString Start{};       // the folder shown first, or a file name proposed in its folder
};

// Every question and message the dialogs put to the user. The default shows Qt's dialogs; tests
// install their own answers with SetUserPrompts so that no modal box waits for a click.
class TUserPrompts {
public:
    virtual ~TUserPrompts() = default;

    // A standard message box; returns the button chosen. Texts may hold "\r\n" or "\r" line
    // breaks. `details`, when given, is shown as the box's informative text.
    virtual QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton,
                                                const QString& details = {});
    // Empty when the user cancelled. Neither asks about overwriting nor requires an existing
    // file by itself.
    virtual QString SaveFileName(QWidget* parent, const TFileDialogSpec& spec);
    virtual QString OpenFileName(QWidget* parent, const TFileDialogSpec& spec);
    // A folder (folders only, no button for new ones); empty when cancelled.
    virtual QString ExistingFolder(QWidget* parent, const QString& title, const QString& start);
    // The standard input box, starting empty; nothing when the user cancelled.
    virtual std::optional<QString> InputText(QWidget* parent, const QString& title,
                                             const QString& prompt);
};

// The prompts in use.
TUserPrompts& UserPrompts();
// Replaces them; null brings back Qt's dialogs. The caller keeps ownership.
void SetUserPrompts(TUserPrompts* prompts);

// The shorthands the dialogs use, with the titles of the standard boxes.
void ShowError(QWidget* parent, const QString& text, const QString& details = {});
bool AskYesNo(QWidget* parent, const QString& text);
QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text);

// The text with "\r\n" and lone "\r" line breaks turned into "\n", as Qt's labels expect.
QString DisplayText(const QString& text);
// A message listing many files keeps its first lines and says how many more there are, so that
// the box and its button stay on the screen.
QString FitForScreen(const QString& text);

// Byte-string paths and texts of the engine (UTF-8) as Qt text, and back.
QString FromEngine(const std::string& text);
std::string ToEngine(const QString& text);

} // namespace quorvane
