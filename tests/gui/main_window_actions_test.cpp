// The main window's file actions and shell hand-over, offscreen, over real files in a temporary
// folder: the Action menu and its states, the questions before an action, what an action leaves
// behind, and the grid's context menu handing files to other programs.
#include <filesystem>
#include <fstream>
#include <memory>

#include <QClipboard>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include "actions/FileUri.h"
#include "actions/WindowActionPrompts.h"
#include "app/MainForm.h"
#include "app/Wait.h"
#include "dialogs/ScriptedPrompts.h"
#include "results/ResultLinesModel.h"
#include "results/ResultsView.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;
using namespace Qt::StringLiterals;

namespace {

constexpr int kTimeoutMs = 20000;

// Written through the raw bytes of the name: QFile cannot name a file that is not UTF-8.
void WriteFile(const std::string& name, const std::string& contents) {
    std::filesystem::create_directories(name.substr(0, name.rfind('/')));
    std::ofstream(name, std::ios::binary) << contents;
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& name) {
    return ::access(name.c_str(), F_OK) == 0;
}

// A name a shell would misread, with bytes that are not UTF-8.
const std::string kHostileName = "it's \"q\" $(touch pwned), x\n\xe9\xff.txt";

} // namespace

class MainWindowActionsTest : public QObject {
    Q_OBJECT

public slots:
    void RecordUrl(const QUrl& url) { FOpenedUrls << url; }

private:
    std::unique_ptr<QTemporaryDir> FConfig;
    std::unique_ptr<QTemporaryDir> FTree;
    std::unique_ptr<QTemporaryDir> FData;
    std::unique_ptr<TScriptedPrompts> FPrompts;
    QList<QUrl> FOpenedUrls;

    std::string Tree(const std::string& relative = {}) const {
        return FTree->path().toStdString() + "/" + relative;
    }
    std::string Data(const std::string& relative) const {
        return FData->path().toStdString() + "/" + relative;
    }

    // Three copies of same.txt, two of pair.bin, two of a 12,345-byte file with a hostile name.
    void WriteTree() {
        for (const char* folder : {"a/", "b/", "c/"})
            WriteFile(Tree(folder) + "same.txt", "same");
        for (const char* folder : {"a/", "b/"}) {
            WriteFile(Tree(folder) + "pair.bin", "pair!");
            WriteFile(Tree(folder) + kHostileName, std::string(12345, 'h'));
        }
    }

    // The sibling tool's desktop entry in the XDG data home, as read when a window is made.
    void InstallOptiquill(const std::string& exec) {
        WriteFile(Data("home/applications/optiquill.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Optiquill\nExec=" + exec + "\n");
    }

    // A stand-in for the tool that writes its arguments, each ended by a NUL, beside itself.
    std::string WriteRecorder() {
        const std::string path = Data("bin/optiquill");
        WriteFile(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done"
                        " > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }

    static std::vector<std::string> AwaitRecord(const std::string& recorder) {
        const std::string out = recorder + ".out";
        if (!QTest::qWaitFor([&] { return Exists(out); }, kTimeoutMs))
            return {};
        std::vector<std::string> arguments;
        std::string contents = ReadFile(out);
        for (std::size_t start = 0, end; (end = contents.find('\0', start)) != std::string::npos;
             start = end + 1)
            arguments.push_back(contents.substr(start, end - start));
        ::unlink(out.c_str());
        return arguments;
    }

    std::unique_ptr<TMainForm> MakeForm() {
        auto form = std::make_unique<TMainForm>();
        form->Settings().Criteria.IncludeFolders = {Tree()};
        form->Settings().Criteria.CompareMode = cmCrc;
        form->Settings().DontShowCompareMessage = true;
        return form;
    }

    static bool Idle(TMainForm& form) {
        return !form.Controller().WorkerRunning() && !form.Controller().Busy();
    }

    static void Search(TMainForm& form) {
        form.Actions().Search->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(form), kTimeoutMs);
    }

    // The records of the file rows, by name below the tree.
    std::map<std::string, uint32_t> Records(TMainForm& form) const {
        std::map<std::string, uint32_t> records;
        const TResultView& view = form.Controller().Results().View();
        for (uint32_t record = 0; record < view.RowCount(); ++record)
            records[view.File(record).FullName().substr(Tree().size())] = record;
        return records;
    }

    QModelIndex Cell(TMainForm& form, const std::string& relative, TResultColumn column) const {
        const auto& lines = *qobject_cast<const TResultLinesModel*>(form.Grid().model());
        const uint32_t record = Records(form).at(relative);
        return lines.IndexOf(TResultItem::File(static_cast<uint32_t>(
                                 form.Controller().Results().View().DisplayPosition(record))),
                             column);
    }

    // Ticks the files as a user would: selects their rows and chooses "Check selected".
    void Check(TMainForm& form, const std::vector<std::string>& relatives) const {
        form.Grid().clearSelection();
        for (const std::string& relative : relatives)
            form.Grid().selectionModel()->select(Cell(form, relative, rcName),
                                                 QItemSelectionModel::Select |
                                                     QItemSelectionModel::Rows);
        form.Actions().CheckSelected->trigger();
        form.Grid().clearSelection();
    }

    static QAction* Command(TMainForm& form, TFileOperation operation) {
        return form.Actions().FileActions.Command(operation);
    }

    static bool CommandsEnabled(TMainForm& form) {
        const auto& commands = form.Actions().FileActions.Commands;
        const bool first = commands[0]->isEnabled();
        for (QAction* command : commands)
            if (command->isEnabled() != first)
                qFatal("the file actions disagree about being enabled");
        return first;
    }

private slots:
    void init() {
        FConfig = std::make_unique<QTemporaryDir>();
        FTree = std::make_unique<QTemporaryDir>();
        FData = std::make_unique<QTemporaryDir>();
        QVERIFY(FConfig->isValid() && FTree->isValid() && FData->isValid());
        qputenv("XDG_CONFIG_HOME", FConfig->path().toUtf8());
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(Data("home")));
        qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(Data("system")));
        WriteFile(FConfig->path().toStdString() + "/Brindlecot/quorvane.ini",
                  "[Config]\nFirstShow=0\n");
        FPrompts = std::make_unique<TScriptedPrompts>();
        FOpenedUrls.clear();
        WriteTree();
    }

    void cleanup() {
        FPrompts.reset();
        // QDir cannot name what is not UTF-8: the tree goes through its bytes.
        std::filesystem::remove_all(Tree());
        QDesktopServices::unsetUrlHandler(u"file"_s);
    }

    void ActionMenuAndToolBar() {
        auto form = MakeForm();
        QStringList menus;
        for (QAction* menu : form->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, (QStringList{u"File"_s, u"Edit"_s, u"F&ilter"_s, u"&Action"_s, u"Help"_s}));

        const TFileActionItems& items = form->Actions().FileActions;
        QCOMPARE(items.Menu->actions(),
                 (QList<QAction*>(items.Commands.begin(), items.Commands.end())));
        const QStringList expected[] = {
            {u"DelFile"_s, u"&Delete files"_s, u"Delete checked files"_s, u"Shift+Del"_s},
            {u"RecycleBin"_s, u"Move to &Recycle bin"_s, u"Move checked files to Recycle bin"_s,
             u"Del"_s},
            {u"Move"_s, u"&Move to folder"_s, u"Move checked files to folder"_s, QString()},
            {u"Compress"_s, u"Compress to &zip"_s, u"Compress checked files to zip"_s, QString()},
        };
        for (std::size_t i = 0; i < items.Commands.size(); ++i) {
            const QAction& command = *items.Commands[i];
            QCOMPARE((QStringList{command.objectName(), command.text(), command.toolTip(),
                                  command.shortcut().toString()}),
                     expected[i]);
            QVERIFY(!command.icon().isNull());
        }
        // On the tool bar, side by side in the same order.
        const QList<QAction*> bar = form->Actions().ToolBar->actions();
        const qsizetype first = bar.indexOf(items.Commands[0]);
        QVERIFY(first >= 0);
        QCOMPARE(bar.mid(first, 4), items.Menu->actions());
    }

    void EnabledWhileFilesAreCheckedAndNothingRuns() {
        auto form = MakeForm();
        QVERIFY(!CommandsEnabled(*form));
        Search(*form);
        QVERIFY2(!CommandsEnabled(*form), "nothing is checked");
        Check(*form, {"a/same.txt"});
        QVERIFY(CommandsEnabled(*form));
        form->Actions().UncheckAll->trigger();
        QVERIFY(!CommandsEnabled(*form));

        // A comparison keeps the rows and their marks on the screen while it reads the files.
        Check(*form, {"a/same.txt"});
        form->Grid().selectionModel()->select(Cell(*form, "a/same.txt", rcName),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
        form->Actions().Compare[cmMD5 - cmCrc]->trigger();
        QVERIFY(!CommandsEnabled(*form));
        FPrompts->Answers = {QMessageBox::Yes};
        Command(*form, TFileOperation::Delete)->trigger();
        QVERIFY(FPrompts->Messages.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QVERIFY2(!CommandsEnabled(*form), "the rebuilt rows carry no marks");
        QVERIFY(Exists(Tree("a/same.txt")));
    }

    void DeleteConfirmations() {
        auto form = MakeForm();
        Search(*form);
        Check(*form, {"a/same.txt"});
        const QString one =
            u"Confirm delete of "_s + QString::fromStdString(Tree("a/same.txt")) + u"?"_s;

        // No, or closing the box, leaves everything as it was. Only the trash can be undone:
        // the permanent delete proposes No. Both are reached from the grid by their keys.
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->Grid().setFocus();
        for (const TFileOperation operation : {TFileOperation::Delete, TFileOperation::Recycle}) {
            FPrompts->Answers = {QMessageBox::No};
            QTest::keyClick(&form->Grid(), Qt::Key_Delete,
                            operation == TFileOperation::Delete ? Qt::ShiftModifier
                                                                : Qt::NoModifier);
            QCOMPARE(FPrompts->Messages.size(), 1);
            const TScriptedPrompts::TMessage asked = FPrompts->Messages.takeLast();
            QCOMPARE(asked.Text, one);
            QCOMPARE(asked.Icon, QMessageBox::Question);
            QCOMPARE(asked.Buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(asked.DefaultButton,
                     operation == TFileOperation::Delete ? QMessageBox::No : QMessageBox::Yes);
            QVERIFY(FPrompts->Messages.isEmpty());
            QVERIFY(Exists(Tree("a/same.txt")));
            QCOMPARE(form->Controller().Results().Checks().CheckedList().size(), 1u);
        }

        // Yes deletes the one file; its group keeps the other two.
        FPrompts->Answers = {QMessageBox::Yes};
        Command(*form, TFileOperation::Delete)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(FPrompts->Messages.size(), 1);
        QVERIFY(!Exists(Tree("a/same.txt")));
        std::map<std::string, uint32_t> records = Records(*form);
        QVERIFY(!records.contains("a/same.txt"));
        QVERIFY(records.contains("b/same.txt") && records.contains("c/same.txt"));
        QVERIFY(!CommandsEnabled(*form));

        // Two files give their count; the group left with one file leaves the grid.
        FPrompts->Messages.clear();
        Check(*form, {"b/same.txt", "a/pair.bin"});
        FPrompts->Answers = {QMessageBox::Yes};
        Command(*form, TFileOperation::Delete)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(FPrompts->Messages.size(), 1);
        QCOMPARE(FPrompts->Messages[0].Text, u"Confirm delete of 2 files?"_s);
        QVERIFY(!Exists(Tree("b/same.txt")) && !Exists(Tree("a/pair.bin")));
        QVERIFY(Exists(Tree("c/same.txt")) && Exists(Tree("b/pair.bin")));
        records = Records(*form);
        QCOMPARE(records.size(), 2u); // the two hostile-named files
        QVERIFY(records.contains("a/" + kHostileName));
    }

    // Checking every file of a group asks once more, proposing No.
    void LastCopyGuard() {
        auto form = MakeForm();
        Search(*form);
        Check(*form, {"a/pair.bin", "b/pair.bin", "a/same.txt"});
        FPrompts->Answers = {QMessageBox::Yes, QMessageBox::No};
        Command(*form, TFileOperation::Delete)->trigger();
        QCOMPARE(FPrompts->Messages.size(), 2);
        QCOMPARE(FPrompts->Messages[0].Text, u"Confirm delete of 3 files?"_s);
        const TScriptedPrompts::TMessage& guard = FPrompts->Messages[1];
        QCOMPARE(
            guard.Text,
            u"1 group would lose its last copy: all of its files are checked.\nGo on anyway?"_s);
        QCOMPARE(guard.Icon, QMessageBox::Warning);
        QCOMPARE(guard.DefaultButton, QMessageBox::No);
        QVERIFY(Exists(Tree("a/pair.bin")) && Exists(Tree("b/pair.bin")) &&
                Exists(Tree("a/same.txt")));
        QCOMPARE(form->Controller().Results().Checks().CheckedList().size(), 3u);

        // Two whole groups give their count; Yes to both questions deletes them.
        Check(*form, {"a/" + kHostileName, "b/" + kHostileName});
        FPrompts->Messages.clear();
        FPrompts->Answers = {QMessageBox::Yes, QMessageBox::Yes};
        Command(*form, TFileOperation::Delete)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(FPrompts->Messages.size(), 2);
        QVERIFY(FPrompts->Messages[1].Text.startsWith(
            u"2 groups would lose their last copy: all of their files are checked."_s));
        QVERIFY(!Exists(Tree("a/pair.bin")) && !Exists(Tree("b/" + kHostileName)));
        QVERIFY(Exists(Tree("b/same.txt")));
    }

    // A file that changed since the search is not touched, keeps its row, and is named in one
    // message after the others were acted on.
    void AChangedFileKeepsItsRowAndIsReported() {
        auto form = MakeForm();
        Search(*form);
        Check(*form, {"a/same.txt", "b/same.txt"});
        WriteFile(Tree("b/same.txt"), "changed since");
        FPrompts->Answers = {QMessageBox::Yes};
        Command(*form, TFileOperation::Delete)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QVERIFY(!Exists(Tree("a/same.txt")));
        QCOMPARE(ReadFile(Tree("b/same.txt")), std::string("changed since"));
        const std::map<std::string, uint32_t> records = Records(*form);
        QVERIFY(records.contains("b/same.txt") && records.contains("c/same.txt"));
        QCOMPARE(FPrompts->Messages.size(), 2);
        const TScriptedPrompts::TMessage& report = FPrompts->Messages[1];
        QCOMPARE(report.Icon, QMessageBox::Critical);
        const QStringList lines = report.Text.split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], u"The following files were not deleted:"_s);
        QVERIFY2(lines[1].startsWith(QString::fromStdString(Tree("b/same.txt")) + u": "_s),
                 qPrintable(lines[1]));
        QVERIFY(!form->WaitForm().isVisible());
    }

    // The destination folder starts where the last move went and is kept, with a "/"; the file
    // lands below it in its own folder path, and a target that exists is replaced only on Yes.
    void MoveAsksForTheDestinationFolder() {
        auto form = MakeForm();
        Search(*form);
        std::filesystem::create_directories(Tree("last"));
        std::filesystem::create_directories(Tree("spare"));
        form->Settings().MoveDir = Tree("last/");
        Check(*form, {"a/same.txt", "b/same.txt"});
        Command(*form, TFileOperation::Move)->trigger(); // cancelled
        QCOMPARE(FPrompts->DialogTitles, QStringList{u"Destination folder"_s});
        QCOMPARE(FPrompts->FolderStarts, QStringList{QString::fromStdString(Tree("last/"))});
        QCOMPARE(form->Settings().MoveDir, Tree("last/"));
        QVERIFY(Exists(Tree("a/same.txt")));

        // b/same.txt's target is there already: No keeps both, and is no failure.
        const std::string target = Tree("spare") + Tree("a/same.txt");
        const std::string taken = Tree("spare") + Tree("b/same.txt");
        WriteFile(taken, "taken");
        FPrompts->Choices = {QString::fromStdString(Tree("spare"))};
        FPrompts->Answers = {QMessageBox::No};
        Command(*form, TFileOperation::Move)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(form->Settings().MoveDir, Tree("spare/"));
        QCOMPARE(FPrompts->Messages.size(), 1);
        QCOMPARE(FPrompts->Messages[0].Text,
                 QString::fromStdString(taken) + u" already exists, overwrite?"_s);
        QCOMPARE(ReadFile(target), std::string("same"));
        QVERIFY(!Exists(Tree("a/same.txt")));
        QCOMPARE(ReadFile(taken), std::string("taken"));
        const std::map<std::string, uint32_t> records = Records(*form);
        QVERIFY(!records.contains("a/same.txt"));
        QVERIFY(records.contains("b/same.txt") && records.contains("c/same.txt"));

        // A folder that is gone is not offered again.
        std::filesystem::remove_all(Tree("spare"));
        form->Actions().CheckAll->trigger();
        Command(*form, TFileOperation::Move)->trigger();
        QCOMPARE(FPrompts->FolderStarts.last(), QString());
    }

    // A move that cannot be done (the destination's folder tree cannot be made: a file stands
    // where a folder must go) leaves the file and its row, and says why.
    void AFailedMoveKeepsTheRowAndIsReported() {
        auto form = MakeForm();
        Search(*form);
        WriteFile(Tree("blocked"), "a file, not a folder");
        Check(*form, {"a/pair.bin"});
        FPrompts->Choices = {QString::fromStdString(Tree("blocked"))};
        Command(*form, TFileOperation::Move)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QVERIFY(Exists(Tree("a/pair.bin")));
        QVERIFY(Records(*form).contains("a/pair.bin"));
        QCOMPARE(FPrompts->Messages.size(), 1);
        QCOMPARE(FPrompts->Messages[0].Icon, QMessageBox::Critical);
        const QStringList lines = FPrompts->Messages[0].Text.split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], u"The following files were not moved:"_s);
        QVERIFY(lines[1].startsWith(QString::fromStdString(Tree("a/pair.bin")) + u": "_s));
    }

    // The trash of the (temporary) XDG data home takes the file with its .trashinfo; compress
    // writes the archive and then deletes the source.
    void RecycleAndCompressRealFiles() {
        auto form = MakeForm();
        Search(*form);
        Check(*form, {"a/same.txt"});
        FPrompts->Answers = {QMessageBox::Yes};
        Command(*form, TFileOperation::Recycle)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(FPrompts->Messages.size(), 1);
        QVERIFY(!Exists(Tree("a/same.txt")));
        QCOMPARE(ReadFile(Data("home/Trash/files/same.txt")), std::string("same"));
        QVERIFY(Exists(Data("home/Trash/info/same.txt.trashinfo")));

        Check(*form, {"b/same.txt"});
        FPrompts->Choices = {QString::fromStdString(Tree("kept.zip"))};
        Command(*form, TFileOperation::Compress)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(FPrompts->Messages.size(), 1); // no question beyond the archive's name
        QVERIFY(!Exists(Tree("b/same.txt")));
        QVERIFY(QFileInfo(QString::fromStdString(Tree("kept.zip"))).size() > 0);
        QVERIFY(!Records(*form).contains("b/same.txt"));
        QVERIFY(!Records(*form).contains("c/same.txt")); // its group is left with one file
    }

    void CompressAsksForTheArchive() {
        auto form = MakeForm();
        Search(*form);
        form->Settings().ZipFile = Tree("last.zip");
        Check(*form, {"a/pair.bin", "b/pair.bin"});
        Command(*form, TFileOperation::Compress)->trigger(); // cancelled
        QCOMPARE(FPrompts->FileDialogs.size(), 1);
        const TFileDialogSpec& dialog = FPrompts->FileDialogs[0];
        QCOMPARE((QStringList{dialog.Title, dialog.Filter, dialog.DefaultSuffix, dialog.Start}),
                 (QStringList{u"Compress files"_s, u"Zip files (*.zip)"_s, u"zip"_s,
                              QString::fromStdString(Tree("last.zip"))}));
        QVERIFY(FPrompts->Messages.isEmpty());

        // The archive is kept; a whole group checked asks the last-copy question, and No
        // touches nothing.
        FPrompts->Choices = {QString::fromStdString(Tree("new.zip"))};
        FPrompts->Answers = {QMessageBox::No};
        Command(*form, TFileOperation::Compress)->trigger();
        QCOMPARE(form->Settings().ZipFile, Tree("new.zip"));
        QCOMPARE(FPrompts->Messages.size(), 1);
        QVERIFY(FPrompts->Messages[0].Text.startsWith(u"1 group would lose its last copy"_s));
        QVERIFY(!Exists(Tree("new.zip")));
        QVERIFY(Exists(Tree("a/pair.bin")) && Exists(Tree("b/pair.bin")));
    }

    void OverwriteQuestion() {
        QWidget window;
        TFrmWait wait(&window);
        wait.show();
        TWindowActionPrompts prompts(window, wait);
        FPrompts->Answers = {QMessageBox::Yes};
        QVERIFY(prompts.ConfirmOverwrite("/spare/a b\xff.txt"));
        QCOMPARE(FPrompts->Messages[0].Text, u"/spare/a b\uFFFD.txt already exists, overwrite?"_s);
        QCOMPARE(FPrompts->Messages[0].Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(FPrompts->Messages[0].DefaultButton, QMessageBox::No);
        QVERIFY2(wait.isVisible(), "the wait form comes back after the question");
        QVERIFY2(!prompts.ConfirmOverwrite("/spare/b.txt"), "closing the box keeps the file");
    }

    void GridContextMenu() {
        auto form = MakeForm();
        QStringList items;
        for (QAction* item : form->Actions().GridMenu->actions().mid(0, 7))
            items << (item->isSeparator() ? u"-"_s : item->text());
        QCOMPARE(items, (QStringList{u"Explore"_s, u"Open in Optiquill"_s,
                                     u"Open with associated program"_s, u"-"_s,
                                     u"Copy cell value"_s, u"-"_s, u"Compare contents"_s}));
        QVERIFY2(!form->Actions().Shell.OpenInOptiquill->isVisible(), "no desktop entry");

        // Without the tool, a double click (copy off) does nothing.
        form->Settings().CopyOnDblClick = false;
        Search(*form);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QGuiApplication::clipboard()->setText(u"before"_s);
        QTest::mouseDClick(form->Grid().viewport(), Qt::LeftButton, {},
                           form->Grid().visualRect(Cell(*form, "a/pair.bin", rcPath)).center());
        QCOMPARE(QGuiApplication::clipboard()->text(), u"before"_s);
        QVERIFY(FPrompts->Messages.isEmpty());
    }

    // The tool gets the exact bytes of the name as one argument, from the menu and from a
    // double click.
    void OpenInOptiquillPassesTheExactName() {
        const std::string recorder = WriteRecorder();
        InstallOptiquill(recorder + " --view %f");
        auto form = MakeForm();
        QVERIFY(form->Actions().Shell.OpenInOptiquill->isVisible());
        form->Settings().CopyOnDblClick = false;
        Search(*form);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const std::string fullName = Tree("b/" + kHostileName);

        form->Grid().setCurrentIndex(Cell(*form, "b/" + kHostileName, rcPath));
        form->Actions().Shell.OpenInOptiquill->trigger();
        QCOMPARE(AwaitRecord(recorder), (std::vector<std::string>{"--view", fullName}));

        QTest::mouseDClick(
            form->Grid().viewport(), Qt::LeftButton, {},
            form->Grid().visualRect(Cell(*form, "b/" + kHostileName, rcPath)).center());
        QCOMPARE(AwaitRecord(recorder), (std::vector<std::string>{"--view", fullName}));
        QVERIFY(!Exists(Data("home/pwned")) && !Exists(Tree("pwned")));
        QVERIFY(FPrompts->Messages.isEmpty());
    }

    void OptiquillThatCannotStartIsReported() {
        InstallOptiquill(Data("bin/missing-optiquill"));
        auto form = MakeForm();
        Search(*form);
        form->Grid().setCurrentIndex(Cell(*form, "a/pair.bin", rcPath));
        form->Actions().Shell.OpenInOptiquill->trigger();
        QCOMPARE(FPrompts->Messages.size(), 1);
        const TScriptedPrompts::TMessage& error = FPrompts->Messages[0];
        QCOMPARE((QStringList{error.Title, error.Text}),
                 (QStringList{u"Error"_s, u"Error executing Optiquill"_s}));
        QCOMPARE(error.Icon, QMessageBox::Critical);
        QCOMPARE(error.Buttons, QMessageBox::Ok);
        QVERIFY(error.Details.startsWith(QString::fromStdString(Data("bin/missing-optiquill"))));
    }

    // With no file manager to ask, Explore opens the file's folder; "Open with associated
    // program" opens the file. Both URIs carry the name's bytes exactly.
    void ExploreAndOpenHandOverExactUris() {
        if (QDBusConnection::sessionBus().isConnected())
            QSKIP("a session bus runs here: Explore asks its file manager");
        QDesktopServices::setUrlHandler(u"file"_s, this, "RecordUrl");
        auto form = MakeForm();
        Search(*form);
        form->Grid().setCurrentIndex(Cell(*form, "a/" + kHostileName, rcPath));
        form->Actions().Shell.Explore->trigger();
        form->Actions().Shell.OpenWithProgram->trigger();
        QCOMPARE(FOpenedUrls.size(), 2);
        QCOMPARE(FOpenedUrls[0].toEncoded(), FileUri(Tree("a/")).toLatin1());
        QCOMPARE(FOpenedUrls[1].toEncoded(), FileUri(Tree("a/" + kHostileName)).toLatin1());
        QVERIFY(FOpenedUrls[1].toEncoded().endsWith("/a/it%27s%20%22q%22%20%24%28touch%20pwned"
                                                    "%29%2C%20x%0A%E9%FF.txt"));
    }

    void CopyCellValueGivesSizesAsPlainDigits() {
        auto form = MakeForm();
        // Grouped by name alone, the grid shows the sizes in a column of their own.
        form->Settings().Criteria.GroupOrder = goName;
        Search(*form);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QModelIndex size = Cell(*form, "a/" + kHostileName, rcSize);
        QCOMPARE(size.data().toString(), u"12,345"_s);
        QTest::mousePress(form->Grid().viewport(), Qt::RightButton, {},
                          form->Grid().visualRect(size).center());
        form->Actions().Shell.CopyCellValue->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"12345"_s);

        // The double click copies when the setting says so.
        form->Settings().CopyOnDblClick = true;
        QTest::mouseDClick(form->Grid().viewport(), Qt::LeftButton, {},
                           form->Grid().visualRect(Cell(*form, "a/pair.bin", rcSize)).center());
        QCOMPARE(QGuiApplication::clipboard()->text(), u"5"_s);
        // On a group row it copies the group's value.
        const auto& lines = *qobject_cast<const TResultLinesModel*>(form->Grid().model());
        int groupLine = Cell(*form, "a/pair.bin", rcPath).row();
        // The outermost group row above it: the name's.
        while (lines.Item(lines.index(groupLine, 0)).Kind != TResultItem::ikGroup ||
               lines.Item(lines.index(groupLine, 0)).Level != 0)
            --groupLine;
        const QModelIndex group = lines.index(groupLine, rcPath);
        QTest::mouseDClick(form->Grid().viewport(), Qt::LeftButton, {},
                           form->Grid().visualRect(group).center());
        QCOMPARE(QGuiApplication::clipboard()->text(), u"pair.bin"_s);
    }
};

QTEST_MAIN(MainWindowActionsTest)
#include "main_window_actions_test.moc"
