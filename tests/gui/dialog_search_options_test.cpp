#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/FolderCheckModel.h"
#include "dialogs/ScriptedPrompts.h"
#include "dialogs/SearchOpts.h"
#include "platform/AtomicFile.h"
#include "reports/Profile.h"
#include "testsupport/GuiTest.h"

namespace quorvane {
namespace {

using test::Engine;
using test::Find;
using TList = std::vector<std::string>;

// The child folder `name` once the tree has listed it (expanding the parent as the view would).
QModelIndex WaitForChild(TFolderCheckModel& model, const QModelIndex& parent, const QString& name) {
    if (model.canFetchMore(parent))
        model.fetchMore(parent);
    // The callers check the index: an invalid one says the folder never came.
    static_cast<void>(
        QTest::qWaitFor([&] { return model.ChildIndex(parent, name).isValid(); }, 5000));
    return model.ChildIndex(parent, name);
}

bool IsChecked(const QModelIndex& index) {
    return index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

} // namespace

class TSearchOptionsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FHome;
    QTemporaryDir FConfig;
    QTemporaryDir FProfiles;
    QString Home(const char* relative = "") const {
        return FHome.path() + QString::fromLatin1(relative);
    }
    QString ProfileFile(const char* name) const {
        return FProfiles.path() + QStringLiteral("/") + QString::fromLatin1(name);
    }
    TFolderTreeRoots Roots() const { return FolderTreeRootsOfThisMachine(Engine(FHome.path())); }

private slots:
    void initTestCase() {
        QVERIFY(FHome.isValid() && FConfig.isValid() && FProfiles.isValid());
        qputenv("HOME", FHome.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", FConfig.path().toUtf8());
        for (const char* folder : {"/Music/Live", "/Music/Studio", "/Docs", "/.hidden"})
            QVERIFY(QDir().mkpath(Home(folder)));
        QVERIFY(QFile::link(Home("/Music"), Home("/LinkToMusic")));
        QFile file(Home("/notes.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void treeShowsRealFoldersOnly() {
        TFolderCheckModel model(Roots());
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy listed(model.FileSystemModel(), &QFileSystemModel::directoryLoaded);
        const QModelIndex home = model.HomeIndex();
        QCOMPARE(home.data().toString(), QStringLiteral("Home"));
        QVERIFY(WaitForChild(model, home, QStringLiteral("Music")).isValid());
        QTRY_VERIFY(std::any_of(listed.begin(), listed.end(), [&](const QList<QVariant>& args) {
            return args[0] == FHome.path();
        }));
        QTRY_COMPARE(model.rowCount(home), 2); // Music and Docs: no file, no link, no hidden folder
        QVERIFY(model.ChildIndex(home, QStringLiteral("Docs")).isValid());
        QVERIFY(!model.ChildIndex(home, QStringLiteral("LinkToMusic")).isValid());
        QVERIFY(!model.ChildIndex(home, QStringLiteral(".hidden")).isValid());

        // "Computer" has no check box; "/" comes first under it, without virtual file systems.
        const QModelIndex computer = model.ComputerIndex();
        QVERIFY(!computer.data(Qt::CheckStateRole).isValid());
        QVERIFY(!(model.flags(computer) & Qt::ItemIsUserCheckable));
        const QModelIndex slash = model.index(0, 0, computer);
        QCOMPARE(slash.data(TFolderCheckModel::kPathRole).toString(), QStringLiteral("/"));
        QVERIFY(WaitForChild(model, slash, QStringLiteral("usr")).isValid());
        QVERIFY(WaitForChild(model, slash, QStringLiteral("etc")).isValid());
        const TFolderTreeRoots roots = Roots();
        for (const std::string& mountPoint : roots.VirtualMountPoints)
            if (QString::fromStdString(mountPoint).count(QLatin1Char('/')) == 1)
                QVERIFY2(
                    !model.ChildIndex(slash, QString::fromStdString(mountPoint).mid(1)).isValid(),
                    mountPoint.c_str());
    }

    void checkedFolderWithUncheckedSubfolderAndBack() {
        TFolderCheckModel model(Roots());
        QSignalSpy changed(&model, &TFolderCheckModel::CheckMarkChanged);
        const QModelIndex music = WaitForChild(model, model.HomeIndex(), QStringLiteral("Music"));
        QVERIFY(model.setData(music, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(changed.count(), 1);
        // Folders listed after the mark was set start checked.
        const QModelIndex live = WaitForChild(model, music, QStringLiteral("Live"));
        QVERIFY(IsChecked(live));
        QVERIFY(IsChecked(WaitForChild(model, music, QStringLiteral("Studio"))));
        QVERIFY(model.setData(live, Qt::Unchecked, Qt::CheckStateRole));

        TList include, exclude;
        model.CollectFolders(include, exclude);
        QCOMPARE(include, TList{Engine(Home("/Music"))});
        QCOMPARE(exclude, TList{Engine(Home("/Music/Live/"))});

        TFolderCheckModel fresh(Roots());
        const QList<QModelIndex> marked = fresh.ApplyFolders(include, exclude);
        QCOMPARE(marked.size(), 2);
        QCOMPARE(marked[0].data(TFolderCheckModel::kPathRole).toString(), Home("/Music"));
        QVERIFY(IsChecked(marked[0]));
        QVERIFY(!IsChecked(marked[1]));
        QVERIFY(IsChecked(WaitForChild(fresh, marked[0], QStringLiteral("Studio"))));
        TList include2, exclude2;
        fresh.CollectFolders(include2, exclude2);
        QCOMPARE(include2, include);
        QCOMPARE(exclude2, exclude);
    }

    void singleCheckedRootGivesItsPathOnce() {
        TFolderCheckModel model(Roots());
        const QModelIndex slash = model.index(0, 0, model.ComputerIndex());
        WaitForChild(model, slash, QStringLiteral("usr"));
        QVERIFY(model.setData(slash, Qt::Checked, Qt::CheckStateRole));
        TList include, exclude;
        model.CollectFolders(include, exclude);
        QCOMPARE(include, TList{"/"});
        QVERIFY(exclude.empty());
    }

    void masksAreAddedWithoutCaseDuplicates() {
        TFrmSearchOptions dialog;
        auto* edit = Find<QLineEdit>(dialog, "edtIncludeFile");
        auto* add = Find<QPushButton>(dialog, "btnAddIncFiles");
        auto* list = Find<QListWidget>(dialog, "lbxIncludeFile");
        add->click(); // empty edit: nothing
        QCOMPARE(list->count(), 0);
        QVERIFY(!dialog.Modified());
        edit->setText(QStringLiteral("*.TXT"));
        add->click();
        edit->setText(QStringLiteral("*.txt"));
        add->click();
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("*.TXT"));
        QCOMPARE(edit->text(), QStringLiteral("*.txt"));
        QVERIFY(dialog.Modified());

        auto* exclude = Find<QListWidget>(dialog, "lbxExcludeFile");
        Find<QLineEdit>(dialog, "edtExcludeFile")->setText(QStringLiteral("~*"));
        Find<QPushButton>(dialog, "btnAddExcFiles")->click();
        auto* remove = Find<QPushButton>(dialog, "btnRemExcFiles");
        exclude->clearSelection();
        remove->click(); // nothing selected: nothing removed
        QCOMPARE(exclude->count(), 1);
        exclude->item(0)->setSelected(true);
        exclude->setCurrentRow(0);
        remove->click();
        QCOMPARE(exclude->count(), 0);
    }

    void startWithNoMasksAndAnEmptyTree() {
        QWidget main;
        main.setWindowTitle(QStringLiteral("Quorvane 2.0"));
        TFrmSearchOptions dialog(&main);
        SearchCriteria criteria;
        criteria.IncludeFolders = {"/"};
        criteria.IncludeFiles = {};
        dialog.SetCriteria(criteria);
        dialog.show();
        Find<QPushButton>(dialog, "btnStart")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        const SearchCriteria result = dialog.Criteria();
        QVERIFY(result.IncludeFolders.empty()); // the search then says there is nothing to search
        QCOMPARE(result.IncludeFiles, TList{"*.*"});
        QCOMPARE(Find<QListWidget>(dialog, "lbxIncludeFile")->count(), 0);
    }

    void changedMarkOnStart_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("modify");
        QTest::addColumn<QString>("expected");
        const QString profile = QStringLiteral("Quorvane 2.0 - photos");
        QTest::newRow("plain caption never")
            << QStringLiteral("Quorvane 2.0") << true << QStringLiteral("Quorvane 2.0");
        QTest::newRow("profile, changed")
            << profile << true << profile + QStringLiteral(" (changed)");
        QTest::newRow("profile, unchanged") << profile << false << profile;
        QTest::newRow("already marked") << profile + QStringLiteral(" (changed)") << true
                                        << profile + QStringLiteral(" (changed)");
    }

    void changedMarkOnStart() {
        QFETCH(QString, caption);
        QFETCH(bool, modify);
        QFETCH(QString, expected);
        QWidget main;
        main.setWindowTitle(caption);
        TFrmSearchOptions dialog(&main);
        dialog.show();
        if (modify)
            Find<QCheckBox>(dialog, "cbxShowZeroBytes")->toggle();
        Find<QPushButton>(dialog, "btnStart")->click();
        QCOMPARE(main.windowTitle(), expected);
        if (!modify)
            return;
        // Modified stays set: another change and "&Start" add no second mark.
        dialog.show();
        Find<QCheckBox>(dialog, "cbxIncludeSysFiles")->toggle();
        Find<QPushButton>(dialog, "btnStart")->click();
        QCOMPARE(main.windowTitle(), expected);
    }

    void modifiedFollowsTheUserAndTheHandedInOptions() {
        TFrmSearchOptions dialog;
        SearchCriteria criteria;
        criteria.CompareMode = cmMD5; // set from outside: not a change
        dialog.SetCriteria(criteria);
        QVERIFY(!dialog.Modified());
        QCOMPARE(Find<QComboBox>(dialog, "cbCompare")->currentIndex(), int(cmMD5));
        criteria.GroupOrder = goSize; // a grouping handed in is one
        dialog.SetCriteria(criteria);
        QVERIFY(dialog.Modified());

        dialog.SaveProfile(ProfileFile("modified.qvp")); // clears it
        QVERIFY(!dialog.Modified());
        Find<QComboBox>(dialog, "cbCompare")->setCurrentIndex(cmCrc);
        QVERIFY(dialog.Modified());
        dialog.SaveProfile(ProfileFile("modified.qvp"));
        const QModelIndex home = dialog.FolderModel()->HomeIndex();
        dialog.FolderModel()->setData(home, Qt::Checked, Qt::CheckStateRole);
        QVERIFY(dialog.Modified());
    }

    void profileFromTheDialogReadsInTheMainWindowAndBack() {
        QWidget main;
        TFrmSearchOptions dialog(&main);
        SearchCriteria criteria;
        criteria.IncludeFolders = {Engine(Home("/Music")), Engine(Home("/Docs"))};
        criteria.ExcludeFolders = {Engine(Home("/Music/Live/"))};
        criteria.IncludeFiles = {"*.mp3", "*.flac"};
        criteria.ExcludeFiles = {"~*"};
        criteria.IncludeSysFolders = true;
        criteria.ShowZeroBytes = true;
        criteria.CompareMode = cmMD4;
        criteria.GroupOrder = goNameSizeDate;
        dialog.SetCriteria(criteria);
        const QString file = ProfileFile("music.qvp");
        dialog.SaveProfile(file);
        QCOMPARE(main.windowTitle(), QStringLiteral("Quorvane 2.0 - music"));

        const SearchCriteria read =
            LoadProfile(Engine(file), SearchCriteria{}, "/nonexistent.ini", {"/"}).Criteria;
        QCOMPARE(read.IncludeFolders, criteria.IncludeFolders);
        QCOMPARE(read.ExcludeFolders, criteria.ExcludeFolders);
        QCOMPARE(read.IncludeFiles, criteria.IncludeFiles);
        QCOMPARE(read.ExcludeFiles, criteria.ExcludeFiles);
        QCOMPARE(read.IncludeSysFolders, true);
        QCOMPARE(read.IncludeSysFiles, false);
        QCOMPARE(read.ShowZeroBytes, true);
        QCOMPARE(read.CompareMode, cmMD4);
        QCOMPARE(read.GroupOrder, goNameSizeDate);

        // The main window's writer, the dialog's reader: lists, options and the tree's marks.
        TFrmSearchOptions other(&main);
        other.show(); // a showing clears the marks; the load sets them
        Find<QComboBox>(other, "cbCompare")->setCurrentIndex(cmCrc);
        SearchCriteria written = criteria;
        written.ExcludeFiles = {};
        const QString mainFile = ProfileFile("from main.qvp");
        WriteProfileFile(Engine(mainFile), written);
        other.LoadProfile(mainFile);
        QVERIFY(!other.Modified());
        QCOMPARE(main.windowTitle(), QStringLiteral("Quorvane 2.0 - from main"));
        QCOMPARE(Find<QListWidget>(other, "lbxIncludeFile")->count(), 2);
        QCOMPARE(Find<QListWidget>(other, "lbxExcludeFile")->count(), 0);
        QVERIFY(Find<QCheckBox>(other, "cbxIncludeSysFolders")->isChecked());
        QCOMPARE(Find<QComboBox>(other, "cbCompare")->currentIndex(), int(cmMD4));
        QVERIFY(other.findChildren<QRadioButton*>().at(goNameSizeDate)->isChecked());
        Find<QPushButton>(other, "btnStart")->click(); // closing records the tree's marks
        const SearchCriteria shown = other.Criteria();
        QCOMPARE(shown.IncludeFolders, (TList{Engine(Home("/Docs")), Engine(Home("/Music"))}));
        QCOMPARE(shown.ExcludeFolders, criteria.ExcludeFolders);
    }

    void aProfileWithoutCompareModeKeepsTheCompareChoice() {
        TFrmSearchOptions dialog;
        Find<QComboBox>(dialog, "cbCompare")->setCurrentIndex(cmMD5);
        const QString file = ProfileFile("no compare.qvp");
        WriteFileAtomically(Engine(file), "[IncludeFiles]\n*.jpg=\n[SearchOpts]\nGroupOrder=2\n");
        dialog.LoadProfile(file);
        const SearchCriteria loaded = dialog.Criteria();
        QCOMPARE(loaded.CompareMode, cmMD5);
        QCOMPARE(loaded.GroupOrder, goSize);
        QCOMPARE(loaded.IncludeFiles, TList{"*.jpg"});
    }

    void saveAsksBeforeOverwritingAndTellsTheMainWindow() {
        TScriptedPrompts prompts;
        QWidget main;
        TFrmSearchOptions dialog(&main);
        QSignalSpy saved(&dialog, &TFrmSearchOptions::ProfileSaved);
        const QString file = ProfileFile("existing.qvp");
        WriteFileAtomically(Engine(file), "[Other]\nkept=1\n");

        prompts.Choices = {file};
        prompts.Answers = {QMessageBox::No};
        Find<QPushButton>(dialog, "btnSave")->click();
        QCOMPARE(prompts.DialogTitles, QStringList{QStringLiteral("Save profile")});
        QCOMPARE(prompts.FileDialogs[0].Filter, QStringLiteral("Quorvane profile (*.qvp)"));
        QCOMPARE(prompts.Messages.size(), 1);
        QCOMPARE(prompts.Messages[0].Text, QStringLiteral("Profile already exists. Overwrite?"));
        QCOMPARE(prompts.Messages[0].Buttons,
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(QString::fromStdString(ReadWholeFile(Engine(file))),
                 QStringLiteral("[Other]\nkept=1\n"));
        QCOMPARE(saved.count(), 0);

        prompts.Choices = {file};
        prompts.Answers = {QMessageBox::Yes};
        Find<QPushButton>(dialog, "btnSave")->click();
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved[0][0].toString(), file);
        const std::string text = ReadWholeFile(Engine(file));
        QVERIFY(text.find("[Other]\nkept=1") != std::string::npos);
        QVERIFY(text.find("[SearchOpts]") != std::string::npos);
        QCOMPARE(main.windowTitle(), QStringLiteral("Quorvane 2.0 - existing"));

        // A folder that cannot hold the file: the error names it, nothing is announced.
        prompts.Choices = {FHome.path() + QStringLiteral("/notes.txt/profile.qvp")};
        Find<QPushButton>(dialog, "btnSave")->click();
        QCOMPARE(prompts.Messages.size(), 3);
        QCOMPARE(prompts.Messages[2].Text,
                 QString::fromStdString(std::string(kCouldNotSaveProfileText)));
        QVERIFY(prompts.Messages[2].Details.contains(QStringLiteral("notes.txt/profile.qvp")));
        QCOMPARE(saved.count(), 1);

        // Cancelling the file dialog does nothing.
        Find<QPushButton>(dialog, "btnLoad")->click();
        QCOMPARE(prompts.DialogTitles.last(), QStringLiteral("Load profile"));
    }
};

} // namespace quorvane

QTEST_MAIN(quorvane::TSearchOptionsTest)
#include "dialog_search_options_test.moc"
