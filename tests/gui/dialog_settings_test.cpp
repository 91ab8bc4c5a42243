#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "dialogs/ScriptedPrompts.h"
#include "dialogs/Settings.h"
#include "testsupport/GuiTest.h"

namespace quorvane {
using test::Engine;
using test::Find;

class TSettingsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FDir;

    QString Folder(const char* name) const {
        return FDir.path() + QStringLiteral("/") + QString::fromLatin1(name);
    }
    static void Add(TFrmSettings& dialog, const QString& typed, bool subfolders) {
        Find<QLineEdit>(dialog, "edtIncludeFolder")->setText(typed);
        Find<QCheckBox>(dialog, "cbSubFolders")->setChecked(subfolders);
        Find<QPushButton>(dialog, "btnAdd")->click();
    }
    static QStringList GridFolders(const TFrmSettings& dialog) {
        auto* grid = Find<QTableWidget>(dialog, "grdProtectedFolders");
        QStringList folders;
        for (int row = 0; row < grid->rowCount(); ++row)
            folders << grid->item(row, 0)->text();
        return folders;
    }

private slots:
    void initTestCase() {
        QVERIFY(FDir.isValid());
        for (const char* name : {"Data", "data", "Photos"})
            QVERIFY(QDir().mkpath(Folder(name)));
    }

    void settingsGoInAndComeBack() {
        TFrmSettings dialog;
        TSettings settings;
        settings.UseSkin = false;
        settings.BlockDelete = true;
        settings.SeparateGroups = false;
        settings.CopyOnDblClick = true;
        settings.ProtectedFolders = {{"/usr/", true}, {Engine(Folder("Photos/")), false}};
        dialog.SetSettings(settings);
        const QList<QRadioButton*> doubleClick = dialog.findChildren<QRadioButton*>();
        QCOMPARE(doubleClick.size(), 2);
        QCOMPARE(doubleClick[1]->text(), QStringLiteral("Copy cell value to clipboard"));
        QVERIFY(doubleClick[1]->isChecked());
        auto* grid = Find<QTableWidget>(dialog, "grdProtectedFolders");
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Folder"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Sub"));
        QCOMPARE(grid->item(1, 1)->checkState(), Qt::Unchecked);
        QVERIFY(!(grid->item(0, 0)->flags() & Qt::ItemIsEditable));

        TSettings back;
        dialog.ApplyTo(back);
        QCOMPARE(back.UseSkin, false);
        QCOMPARE(back.BlockDelete, true);
        QCOMPARE(back.SeparateGroups, false);
        QCOMPARE(back.CopyOnDblClick, true);
        QCOMPARE(back.ProtectedFolders.size(), 2u);
        QCOMPARE(back.ProtectedFolders[1].Subfolders, false);

        // "Sub" toggled in the grid: the folder is protected alone.
        grid->item(0, 1)->setCheckState(Qt::Unchecked);
        settings.CopyOnDblClick = false;
        dialog.ApplyTo(back);
        QCOMPARE(back.ProtectedFolders[0].Subfolders, false);
        QCOMPARE(back.CopyOnDblClick, true); // still the dialog's choice

        // A new showing is filled afresh: the edits of the last one are gone.
        dialog.SetSettings(settings);
        dialog.ApplyTo(back);
        QCOMPARE(back.ProtectedFolders[0].Subfolders, true);
        QCOMPARE(back.CopyOnDblClick, false);
    }

    void addingFindsTheRowWithoutCaseAndAsksBeforeReplacing() {
        TScriptedPrompts prompts;
        TFrmSettings dialog;
        dialog.FillProtectedFolders({});

        Add(dialog, Folder("Data"), true); // no trailing delimiter
        QCOMPARE(GridFolders(dialog), QStringList{Folder("Data/")});
        QCOMPARE(Find<QLineEdit>(dialog, "edtIncludeFolder")->text(), Folder("Data"));

        prompts.Answers = {QMessageBox::No};
        Add(dialog, Folder("data/"), false);
        QCOMPARE(prompts.Messages.size(), 1);
        QCOMPARE(prompts.Messages[0].Text,
                 QStringLiteral("Directory already exists.\r\nReplace settings?"));
        QCOMPARE(prompts.Messages[0].Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(dialog.ReadProtectedFolders()[0].Subfolders, true);

        prompts.Answers = {QMessageBox::Yes};
        Add(dialog, Folder("DATA/../Data//"), false);
        QCOMPARE(GridFolders(dialog), QStringList{Folder("Data/")});
        QCOMPARE(dialog.ReadProtectedFolders()[0].Subfolders, false);

        Add(dialog, Folder("Missing"), true);
        QCOMPARE(prompts.Messages.last().Text, QStringLiteral("Folder does not exist"));
        QCOMPARE(prompts.Messages.last().Icon, QMessageBox::Critical);
        Add(dialog, QString(), true);
        QCOMPARE(prompts.Messages.size(), 3);
        QCOMPARE(GridFolders(dialog).size(), 1);
    }

    void removingASystemFolderNeedsAYes() {
        TScriptedPrompts prompts;
        TFrmSettings dialog;
        dialog.FillProtectedFolders({{"/usr/", true}, {Engine(Folder("Photos/")), true}});
        auto* grid = Find<QTableWidget>(dialog, "grdProtectedFolders");
        auto* remove = Find<QPushButton>(dialog, "ttnRemove");

        grid->setCurrentCell(-1, -1);
        remove->click(); // no row: nothing
        QCOMPARE(GridFolders(dialog).size(), 2);

        grid->setCurrentCell(1, 0);
        remove->click();
        QCOMPARE(GridFolders(dialog), QStringList{QStringLiteral("/usr/")});
        QVERIFY(prompts.Messages.isEmpty());

        grid->setCurrentCell(0, 0);
        remove->click(); // the default answer is No
        QCOMPARE(prompts.Messages.size(), 1);
        const auto& question = prompts.Messages[0];
        QCOMPARE(question.Title, QStringLiteral("Quorvane"));
        QCOMPARE(question.Icon, QMessageBox::Question);
        QCOMPARE(question.DefaultButton, QMessageBox::No);
        QCOMPARE(question.Text,
                 QStringLiteral("You are removing a system directory from your protected "
                                "folders.\rDoing so, files in that folder can be deleted and that "
                                "could trash your system.\rAre you sure you want to remove it?"));
        QCOMPARE(GridFolders(dialog).size(), 1);

        prompts.Answers = {QMessageBox::Yes};
        remove->click();
        QVERIFY(GridFolders(dialog).isEmpty());
    }

    void chooseDirectoryStartsAtTheTypedFolder() {
        TScriptedPrompts prompts;
        TFrmSettings dialog;
        auto* edit = Find<QLineEdit>(dialog, "edtIncludeFolder");
        edit->setText(Folder("Photos"));
        prompts.Choices = {Folder("Data")};
        Find<QToolButton>(dialog, "spbtnFolders")->click();
        QCOMPARE(prompts.DialogTitles, QStringList{QStringLiteral("Choose directory")});
        QCOMPARE(prompts.FolderStarts, QStringList{Folder("Photos")});
        QCOMPARE(edit->text(), Folder("Data"));

        edit->setText(Folder("Missing"));
        Find<QToolButton>(dialog, "spbtnFolders")->click(); // cancelled
        QCOMPARE(prompts.FolderStarts.last(), QString());
        QCOMPARE(edit->text(), Folder("Missing"));
    }
};

} // namespace quorvane

QTEST_MAIN(quorvane::TSettingsTest)
#include "dialog_settings_test.moc"
