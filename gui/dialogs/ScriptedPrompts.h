#pragma once

#include <QList>
#include <QStringList>

#include "dialogs/UserPrompts.h"

namespace quorvane {

// Prompts that answer from a script and record what they were asked, installed for as long as
// the object lives: for tests, where no dialog may wait for a click.
class TScriptedPrompts : public TUserPrompts {
public:
    struct TMessage {
        QMessageBox::Icon Icon;
        QString Title;
        QString Text;
        QMessageBox::StandardButtons Buttons;
        QMessageBox::StandardButton DefaultButton;
        QString Details;
    };

    TScriptedPrompts() { SetUserPrompts(this); }
    ~TScriptedPrompts() override { SetUserPrompts(nullptr); }
    TScriptedPrompts(const TScriptedPrompts&) = delete;
    TScriptedPrompts& operator=(const TScriptedPrompts&) = delete;

    // Answers to message boxes, taken in order; when none is left, the default button.
    QList<QMessageBox::StandardButton> Answers;
    // Answers to file and folder dialogs, taken in order; when none is left, cancel.
    QStringList Choices;

    QList<TMessage> Messages;
    QStringList DialogTitles; // of the file and folder dialogs, in the order shown
    QList<TFileDialogSpec> FileDialogs;
    QStringList FolderStarts; // where the folder dialogs started
    // Answers to input boxes, taken in order; when none is left, cancel.
    QStringList Inputs;
    QStringList InputPrompts; // title and prompt of each input box, joined by "|"

    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton,
                                        const QString& details) override {
        Messages.append({icon, title, text, buttons, defaultButton, details});
        return Answers.isEmpty() ? defaultButton : Answers.takeFirst();
    }
    QString SaveFileName(QWidget*, const TFileDialogSpec& spec) override {
        FileDialogs.append(spec);
        return Choose(spec.Title);
    }
    QString OpenFileName(QWidget*, const TFileDialogSpec& spec) override {
        FileDialogs.append(spec);
        return Choose(spec.Title);
    }
    QString ExistingFolder(QWidget*, const QString& title, const QString& start) override {
        FolderStarts.append(start);
        return Choose(title);
    }

    std::optional<QString> InputText(QWidget*, const QString& title,
                                     const QString& prompt) override {
        InputPrompts.append(title + u'|' + prompt);
        if (Inputs.isEmpty())
            return std::nullopt;
        return Inputs.takeFirst();
    }

private:
    QString Choose(const QString& title) {
        DialogTitles.append(title);
        return Choices.isEmpty() ? QString() : Choices.takeFirst();
    }
};

} // namespace quorvane
