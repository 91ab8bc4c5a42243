// The real main window, offscreen, over a temporary configuration folder and real files: start,
// search, cancel, regroup, check marks, files lists, recent profiles and closing mid-search.
#include <memory>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/MainForm.h"
#include "app/PipelineMessages.h"
#include "app/Wait.h"
#include "dialogs/ScriptedPrompts.h"
#include "dialogs/SearchOpts.h"
#include "platform/IniFile.h"
#include "results/DefaultFilters.h"
#include "results/ResultLinesModel.h"
#include "results/ResultsView.h"
#include "search/ProfileCommands.h"
#include "testsupport/GuiTest.h"

using namespace quorvane;
using namespace Qt::StringLiterals;
using namespace quorvane::test;

class MainWindowTest : public QObject, private TMainWindowFolders {
    Q_OBJECT

private:
    // Two groups by content among same-named files, a third copy that differs, a lone file.
    void WriteTree() {
        WriteFile(Tree(u"a/same.txt"_s), "same");
        WriteFile(Tree(u"b/same.txt"_s), "same");
        WriteFile(Tree(u"c/same.txt"_s), "emas");
        WriteFile(Tree(u"a/pair.bin"_s), "pair!");
        WriteFile(Tree(u"b/pair.bin"_s), "pair!");
        WriteFile(Tree(u"a/alone.txt"_s), "alone");
    }

    std::unique_ptr<TMainForm> MakeForm(TCompareMode mode = cmCrc) {
        return NewMainForm(Tree().toStdString(), mode);
    }

    // The grid's lines: "G:<group text>" for the outermost group rows, "F:<path below the tree>"
    // for file rows. Files that tie on every key keep the order of the walk, which is the file
    // system's: within a group they are listed sorted.
    QStringList Lines(TMainForm& form) const {
        const auto& lines = GridLines(form);
        QStringList shown;
        qsizetype groupStart = 0;
        for (int line = 0; line < lines.rowCount(); ++line) {
            const TResultItem item = lines.Item(lines.index(line, 0));
            if (item.Kind == TResultItem::ikGroup && item.Level == 0) {
                shown << u"G:"_s + lines.index(line, 0).data().toString();
                groupStart = shown.size();
            } else if (item.Kind == TResultItem::ikFile) {
                shown << u"F:"_s + (lines.index(line, rcPath).data().toString() +
                                    lines.index(line, rcName).data().toString())
                                       .mid(Tree().size());
                std::sort(shown.begin() + groupStart, shown.end());
            }
        }
        return shown;
    }

    static std::vector<uint32_t> Checked(TMainForm& form) {
        return form.Controller().Results().Checks().CheckedList();
    }

    // The records of the file rows, by path below the tree.
    QHash<QString, uint32_t> Records(TMainForm& form) const {
        QHash<QString, uint32_t> records;
        const TResultView& view = form.Controller().Results().View();
        for (uint32_t record = 0; record < view.RowCount(); ++record)
            records.insert(QString::fromStdString(view.File(record).FullName()).mid(Tree().size()),
                           record);
        return records;
    }

private slots:
    void init() {
        QVERIFY(OpenFolders());
        WriteTree();
    }

    void cleanup() { CloseFolders(); }

    void FirstStart() {
        {
            TModalCloser closer;
            TMainForm form;
            QCOMPARE(form.size(), QSize(750, 560));
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
            QCOMPARE(form.pos(), area.topLeft() + QPoint((screen.width() - 750) / 2,
                                                         (screen.height() - 560) / 2));
            QCOMPARE(form.windowTitle(), u"Quorvane 2.0"_s);
            QCOMPARE(form.StatusText(spSecond), u"0 files (0 bytes) in 0 groups"_s);
            for (const char* folder : {"/usr/", "/etc/", "/boot/"}) {
                const auto& protectedFolders = form.Settings().ProtectedFolders;
                QVERIFY2(std::any_of(protectedFolders.begin(), protectedFolders.end(),
                                     [&](const TProtectedFolder& entry) {
                                         return entry.Path == folder && entry.Subfolders;
                                     }),
                         folder);
            }
            const TIniFile ini(ConfigFile().toStdString());
            for (const TNamedFilterText& filter : DefaultFilters())
                QCOMPARE(ini.ReadString("Filters", filter.Name, ""), filter.CriteriaHex);

            // The first show opens the search options by themselves, once.
            form.show();
            QTRY_COMPARE_WITH_TIMEOUT(closer.Seen, QStringList{u"quorvane::TFrmSearchOptions"_s},
                                      kTimeoutMs);
            QVERIFY(!IsFirstShow(ConfigFile().toStdString()));
            QVERIFY(Idle(form));
        }
        TModalCloser closer;
        TMainForm again;
        again.show();
        QTest::qWait(200);
        QVERIFY(closer.Seen.isEmpty());
    }

    void SearchShowsGroupsSummaryAndIdle() {
        WriteShownConfig();
        auto form = MakeForm();
        // Searching without comparison warns first; ticking "Don't show ..." silences it.
        form->Settings().Criteria.CompareMode = cmNone;
        form->Settings().DontShowCompareMessage = false;
        TModalCloser closer([](QWidget& modal) {
            if (auto* box = qobject_cast<QMessageBox*>(&modal); box && box->checkBox())
                box->checkBox()->setChecked(true);
        });
        form->Actions().Search->trigger();
        QCOMPARE(closer.Seen, QStringList{u"QMessageBox"_s});
        QVERIFY(form->Settings().DontShowCompareMessage);
        QCOMPARE(form->Actions().Search->text(), u"Cancel search"_s);
        QVERIFY(!form->Actions().NewSearch->isEnabled());
        QVERIFY(!form->Actions().GroupButton->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);

        QCOMPARE(Lines(*form), (QStringList{u"G:pair.bin"_s, u"F:a/pair.bin"_s, u"F:b/pair.bin"_s,
                                            u"G:same.txt"_s, u"F:a/same.txt"_s, u"F:b/same.txt"_s,
                                            u"F:c/same.txt"_s}));
        QCOMPARE(form->StatusText(spSecond), u"5 files (22 bytes) in 2 groups"_s);
        QCOMPARE(form->StatusText(spFirst), QString());
        QCOMPARE(form->Actions().Search->text(), u"Start search"_s);
        QVERIFY(form->Actions().NewSearch->isEnabled());
        QVERIFY(form->Actions().GroupButton->isEnabled());
        QVERIFY(!form->WaitForm().isVisible());
        QCOMPARE(form->Grid().ContextMenu(), form->Actions().GridMenu);
        QVERIFY(FPrompts->Messages.isEmpty());
    }

    void NewSearchTakesTheDialogsCriteriaAndSearches() {
        WriteShownConfig();
        auto form = MakeForm();
        TModalCloser closer([](QWidget& modal) {
            auto* grouping = modal.findChild<QGroupBox*>(u"rgGrouping"_s);
            QVERIFY(grouping);
            grouping->findChildren<QRadioButton*>()[goSize]->setChecked(true);
            modal.findChild<QAbstractButton*>(u"btnStart"_s)->click();
        });
        form->Actions().NewSearch->trigger();
        QCOMPARE(closer.Seen, QStringList{u"quorvane::TFrmSearchOptions"_s});
        QCOMPARE(form->Settings().Criteria.GroupOrder, goSize);
        QVERIFY(form->Actions().Order[goSize]->isChecked());
        // The search started with the dialog's criteria: its folder tree had no folder ticked.
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QVERIFY(form->Settings().Criteria.IncludeFolders.empty());
        QCOMPARE(FPrompts->Messages.size(), 1);
        QCOMPARE(FPrompts->Messages[0].Text,
                 QString::fromLatin1(kNoFoldersText.data(), kNoFoldersText.size()));
    }

    void SettingsAppliedAndTheFilesGroupedAgain() {
        WriteShownConfig();
        auto form = MakeForm();
        Search(*form);
        QVERIFY(Lines(*form).contains(u"G:pair.bin"_s));
        TModalCloser closer([](QWidget& modal) {
            modal.findChild<QCheckBox*>(u"cbxSeparateGroups"_s)->setChecked(false);
            qobject_cast<QDialog*>(&modal)->accept();
        });
        form->Actions().Settings->trigger();
        QCOMPARE(closer.Seen, QStringList{u"quorvane::TFrmSettings"_s});
        QVERIFY(!form->Settings().SeparateGroups);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        // A flat list now: no group rows, the same files.
        const QStringList lines = Lines(*form);
        QCOMPARE(lines.size(), 4);
        QVERIFY(std::all_of(lines.begin(), lines.end(),
                            [](const QString& line) { return line.startsWith(u"F:"_s); }));
        QCOMPARE(form->StatusText(spSecond), u"4 files (18 bytes) in 2 groups"_s);
    }

    void CancelDuringSearch() {
        WriteShownConfig();
        auto form = MakeForm();
        form->Actions().Search->trigger();
        QVERIFY(form->Controller().Busy());
        form->Actions().Search->trigger(); // the cancel command while busy
        QCOMPARE(form->Actions().Search->text(), u"Start search"_s);
        QVERIFY(!form->WaitForm().isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!form->Controller().WorkerRunning(), kTimeoutMs);
        QTest::qWait(100);
        QVERIFY(form->Controller().Files().Empty());
        QCOMPARE(form->Grid().model()->rowCount(), 0);
        QVERIFY(FPrompts->Messages.isEmpty());
        QVERIFY(Idle(*form));
    }

    void NoDuplicatesFound() {
        WriteShownConfig();
        auto form = MakeForm();
        form->Settings().Criteria.IncludeFiles = {"alone.txt"};
        Search(*form);
        QCOMPARE(FPrompts->Messages.size(), 1);
        QCOMPARE(FPrompts->Messages[0].Text, u"No duplicate files found"_s);
        QCOMPARE(FPrompts->Messages[0].Icon, QMessageBox::Information);
        QCOMPARE(form->Grid().model()->rowCount(), 0);
        QCOMPARE(form->StatusText(spSecond), u"0 files (0 bytes) in 0 groups"_s);
    }

    void GroupOrderChangeRegroupsWithoutANewWalk() {
        WriteShownConfig();
        auto form = MakeForm(cmNone);
        Search(*form);
        QCOMPARE(form->StatusText(spSecond), u"5 files (22 bytes) in 2 groups"_s);
        WriteFile(Tree(u"d/new.txt"_s), "same"); // not seen: there is no new walk

        form->Actions().Order[goSize]->trigger();
        QVERIFY2(!form->Actions().Order[goName]->isEnabled(), "no second sort while one runs");
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(form->Settings().Criteria.GroupOrder, goSize);
        QVERIFY(form->Actions().Order[goSize]->isChecked());
        QCOMPARE(form->Controller().Files().Count(), 6u);
        QCOMPARE(Lines(*form), (QStringList{u"G:Size: 5"_s, u"F:a/alone.txt"_s, u"F:a/pair.bin"_s,
                                            u"F:b/pair.bin"_s, u"G:Size: 4"_s, u"F:a/same.txt"_s,
                                            u"F:b/same.txt"_s, u"F:c/same.txt"_s}));
        QCOMPARE(form->StatusText(spSecond), u"6 files (27 bytes) in 2 groups"_s);
    }

    void CompareContentsOfTheSelectedGroups() {
        WriteShownConfig();
        auto form = MakeForm(cmNone);
        Search(*form);
        // Name and size alone put the three same.txt files together.
        QVERIFY(Lines(*form).contains(u"F:c/same.txt"_s));
        const auto& lines = GridLines(*form);
        const TResultView& view = form->Controller().Results().View();
        const uint32_t record = Records(*form)[u"a/same.txt"_s];
        form->Grid().selectionModel()->select(
            lines.IndexOf(TResultItem::File(static_cast<uint32_t>(view.DisplayPosition(record))),
                          0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        form->Actions().Compare[cmMD5 - cmCrc]->trigger();
        QVERIFY(!form->Actions().CompareContents->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        // The selected group was read: c/same.txt differs and drops out; pair.bin was not read.
        QCOMPARE(Lines(*form),
                 (QStringList{u"G:pair.bin"_s, u"F:a/pair.bin"_s, u"F:b/pair.bin"_s,
                              u"G:same.txt"_s, u"F:a/same.txt"_s, u"F:b/same.txt"_s}));
        for (TFile* file : form->Controller().Files().Items())
            QCOMPARE(file->Checksum.Text().size(), file->Name == "same.txt" ? 32u : 0u);
    }

    void CheckCommands() {
        WriteShownConfig();
        auto form = MakeForm();
        // Files in b/ cannot be checked.
        form->Settings().ProtectedFolders.push_back({Tree(u"b/"_s).toStdString(), true});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        Search(*form);
        const QHash<QString, uint32_t> records = Records(*form);
        const std::vector<uint32_t> checkable = {records[u"a/pair.bin"_s],
                                                 records[u"a/same.txt"_s]};
        const auto sorted = [](std::vector<uint32_t> list) {
            std::sort(list.begin(), list.end());
            return list;
        };
        const TMainActions& actions = form->Actions();

        actions.CheckAll->trigger();
        QCOMPARE(sorted(Checked(*form)), sorted(checkable));
        actions.UncheckAll->trigger();
        QVERIFY(Checked(*form).empty());
        actions.ToggleChecks->trigger();
        QCOMPARE(sorted(Checked(*form)), sorted(checkable));
        actions.ToggleChecks->trigger();
        QVERIFY(Checked(*form).empty());
        actions.CheckFirst->trigger(); // the protected first rows are passed over
        QCOMPARE(sorted(Checked(*form)), sorted(checkable));
        actions.UncheckAll->trigger();

        // In a folder: starting at the focused row's folder, only that folder's own files.
        FPrompts->Choices = {Tree(u"a"_s)};
        actions.CheckInDir->trigger();
        QCOMPARE(FPrompts->DialogTitles.last(), u"Select directory"_s);
        const TResultView& view = form->Controller().Results().View();
        QCOMPARE(FPrompts->FolderStarts.last(),
                 QString::fromStdString(
                     view.File(static_cast<uint32_t>(form->Grid().FocusedRecord())).Path()));
        QCOMPARE(sorted(Checked(*form)), sorted(checkable));
        actions.UncheckAll->trigger();

        // The selection commands skip group rows and rows that cannot be checked.
        form->Grid().selectAll();
        actions.CheckSelected->trigger();
        QCOMPARE(sorted(Checked(*form)), sorted(checkable));
        actions.UncheckSelected->trigger();
        QVERIFY(Checked(*form).empty());
        form->Grid().clearSelection();
        const auto& lines = GridLines(*form);
        const QModelIndex aPair =
            lines.IndexOf(TResultItem::File(static_cast<uint32_t>(
                              form->Controller().Results().View().DisplayPosition(checkable[0]))),
                          rcChecked);
        form->Grid().selectionModel()->select(aPair, QItemSelectionModel::Select |
                                                         QItemSelectionModel::Rows);
        actions.ToggleSelectionChecks->trigger();
        QCOMPARE(Checked(*form), std::vector<uint32_t>{checkable[0]});
        actions.UncheckAll->trigger();

        // A click on the Checked cell marks a checkable row and does nothing on a protected one.
        const auto clickChecked = [&](uint32_t record) {
            const auto position =
                static_cast<uint32_t>(form->Controller().Results().View().DisplayPosition(record));
            const QRect cell =
                form->Grid().visualRect(lines.IndexOf(TResultItem::File(position), rcChecked));
            QTest::mouseClick(form->Grid().viewport(), Qt::LeftButton, {}, cell.center());
        };
        clickChecked(records[u"b/pair.bin"_s]);
        QVERIFY(Checked(*form).empty());
        QCOMPARE(form->Grid().FocusedRecord(), int64_t(records[u"b/pair.bin"_s]));
        clickChecked(checkable[0]);
        QCOMPARE(Checked(*form), std::vector<uint32_t>{checkable[0]});
        clickChecked(checkable[0]);
        QVERIFY(Checked(*form).empty());
    }

    void FilesListSavedAndLoadedBack() {
        WriteShownConfig();
        auto form = MakeForm();
        Search(*form);
        const QStringList before = Lines(*form);
        const QString list = Tree(u"result.qfl"_s);
        FPrompts->Choices = {list};
        form->Actions().SaveFilesList->trigger();
        QCOMPARE(FPrompts->FileDialogs.last().Title, u"Save files list"_s);
        QCOMPARE(FPrompts->FileDialogs.last().Filter, u"Quorvane files lists (*.qfl)"_s);
        QVERIFY(QFileInfo(list).size() > 0);

        // Saving over it asks first; No leaves it as it was.
        WriteFile(list, "kept");
        FPrompts->Choices = {list};
        FPrompts->Answers = {QMessageBox::No};
        form->Actions().SaveFilesList->trigger();
        QCOMPARE(FPrompts->Messages.last().Text, u"Saved file already exists. Overwrite"_s);
        QFile kept(list);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("kept"));
        kept.close();
        FPrompts->Choices = {list};
        FPrompts->Answers = {QMessageBox::Yes};
        form->Actions().SaveFilesList->trigger();

        // Loaded back into a new window: the same groups, without a walk.
        form.reset();
        QFile::remove(Tree(u"c/same.txt"_s));
        auto loaded = MakeForm();
        FPrompts->Choices = {list};
        loaded->Actions().LoadFilesList->trigger();
        QCOMPARE(FPrompts->FileDialogs.last().Title, u"Load files list"_s);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*loaded), kTimeoutMs);
        QCOMPARE(Lines(*loaded), before);
        QCOMPARE(loaded->Controller().Files().Count(), 6u);
    }

    void FilesThatCouldNotBeOpenedAreNamedInABoxThatFitsTheScreen() {
        WriteShownConfig();
        for (int pair = 0; pair < 30; ++pair)
            for (const char* folder : {"x", "y"})
                WriteFile(Tree(u"%1/f%2.bin"_s.arg(QLatin1String(folder)).arg(pair)), "copy");
        auto form = MakeForm(cmNone);
        form->Settings().Criteria.IncludeFolders = {Tree(u"x"_s).toStdString(),
                                                    Tree(u"y"_s).toStdString()};
        Search(*form);
        const QString list = Tree(u"gone.qfl"_s);
        FPrompts->Choices = {list};
        form->Actions().SaveFilesList->trigger();
        QVERIFY(QDir(Tree(u"x"_s)).removeRecursively() && QDir(Tree(u"y"_s)).removeRecursively());

        // Compared by CRC after loading, none of the 60 files can be read.
        form->Settings().Criteria.CompareMode = cmCrc;
        FPrompts->Choices = {list};
        form->Actions().LoadFilesList->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(form->Controller().Results().View().RowCount(), 60u);
        QCOMPARE(FPrompts->Messages.size(), 1);
        QCOMPARE(FPrompts->Messages[0].Icon, QMessageBox::Critical);
        const QStringList lines = DisplayText(FPrompts->Messages[0].Text).split(u'\n');
        QCOMPARE(lines.size(), 21);
        QVERIFY(lines[0].startsWith(u"The following files could not be opened"_s));
        QCOMPARE(lines.last(), u"... and 42 more"_s);
    }

    void RecentProfiles() {
        WriteShownConfig();
        auto form = MakeForm();
        // A profile saved through the File menu goes to the top of the "Search" submenu.
        const QString profile = Tree(u"mine.qvp"_s);
        FPrompts->Choices = {profile};
        form->Actions().SaveProfile->trigger();
        QCOMPARE(form->windowTitle(), u"Quorvane 2.0 - mine"_s);
        QMenu& recent = *form->Actions().RecentProfiles;
        QCOMPARE(recent.actions().size(), 1);
        QCOMPARE(recent.actions()[0]->text(), profile);

        // One that has vanished is reported and dropped; nothing else changes.
        const QString gone = Tree(u"gone.qvp"_s);
        form->Settings().SavedProfiles.MoveToTop(gone.toStdString());
        form->Profiles().RebuildProfilesMenu();
        recent.actions()[0]->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(FPrompts->Messages.size(), 1, kTimeoutMs);
        QCOMPARE(FPrompts->Messages[0].Text, u"Profile "_s + gone + u" no longer exists"_s);
        QCOMPARE(FPrompts->Messages[0].Icon, QMessageBox::Critical);
        QCOMPARE(recent.actions().size(), 1);
        QCOMPARE(recent.actions()[0]->text(), profile);
        QVERIFY(Idle(*form));

        // One that exists is loaded and searched at once.
        form->Settings().Criteria.IncludeFolders = {"/nonexistent-folder/"};
        recent.actions()[0]->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(form->Controller().Busy() || form->Grid().model()->rowCount() > 0,
                                 kTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(form->Settings().Criteria.IncludeFolders,
                 std::vector<std::string>{Tree().toStdString()});
        QCOMPARE(form->StatusText(spSecond), u"4 files (18 bytes) in 2 groups"_s);
    }

    void ClosingDuringASearchAwaitsTheWorkerAndSavesTheCriteria() {
        WriteShownConfig();
        // Enough files that the walk is still going when the window closes.
        for (int folder = 0; folder < 40; ++folder)
            for (int file = 0; file < 50; ++file)
                WriteFile(Tree(u"many/%1/f%2.txt"_s.arg(folder).arg(file)),
                          QByteArray::number(file));
        auto form = MakeForm();
        form->show();
        form->Actions().Search->trigger();
        QVERIFY(form->Controller().WorkerRunning());
        form->close();
        form->FormDestroy();
        QVERIFY(!form->Controller().WorkerRunning());
        form.reset();

        const TIniFile ini(ConfigFile().toStdString());
        QCOMPARE(ini.ReadSection("IncludeFolders"), std::vector<std::string>{Tree().toStdString()});
        QCOMPARE(ini.ReadInteger("SearchOpts", "CompareMode", -1), int(cmCrc));
        auto next = std::make_unique<TMainForm>();
        QCOMPARE(next->Settings().Criteria.IncludeFolders,
                 std::vector<std::string>{Tree().toStdString()});
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
