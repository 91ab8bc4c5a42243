// Result filters on the real main window, offscreen, over a temporary configuration folder and
// real files: the Filter menu, the filter bar, the filter builder with its condition editor and
// its strip, Manage filters, and cells dragged from the grid.
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/MainForm.h"
#include "app/StoredFilters.h"
#include "dialogs/ScriptedPrompts.h"
#include "platform/DateTime.h"
#include "platform/IniFile.h"
#include "results/CellDrag.h"
#include "results/ConditionTreeEditor.h"
#include "results/CriteriaStreamHex.h"
#include "results/DefaultFilters.h"
#include "results/FilterBar.h"
#include "results/FilterBuilder.h"
#include "results/FilterCommands.h"
#include "results/FilterEvaluator.h"
#include "results/FilterValueEditors.h"
#include "results/ManageFilters.h"
#include "results/ResultLinesModel.h"
#include "results/ResultsView.h"

using namespace quorvane;
using namespace Qt::StringLiterals;

namespace {

constexpr int kTimeoutMs = 20000;

void WriteFile(const QString& name, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(name).path());
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// Runs `answer` on the first modal dialog that opens, then closes it if it is still open.
class TModalAnswer : public QObject {
public:
    explicit TModalAnswer(std::function<void(QWidget&)> answer) : FAnswer(std::move(answer)) {
        connect(&FTimer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || Answered)
                return;
            Answered = true;
            FAnswer(*modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
                dialog->reject();
        });
        FTimer.start(20);
    }
    bool Answered = false;

private:
    QTimer FTimer;
    std::function<void(QWidget&)> FAnswer;
};

QString HexOf(const TFilterGroup& criteria) {
    return QString::fromStdString(EncodeStoredFilter(criteria));
}

// Sets a condition widget's column and operator by their captions.
void Pick(TConditionWidget& condition, const QString& column, const QString& op) {
    QComboBox* columns = condition.ColumnBox();
    columns->setCurrentIndex(columns->findText(column));
    QComboBox* operators = condition.OperatorBox();
    const int index = operators->findText(op);
    QVERIFY2(index >= 0, qPrintable(column + u' ' + op));
    operators->setCurrentIndex(index);
}

// Types a value into a value editor the way the user would.
void Enter(TValueEditor& editor, const QVariant& value) {
    if (auto* line = editor.findChild<QLineEdit*>();
        line && !editor.findChild<QAbstractSpinBox*>()) {
        line->clear();
        QTest::keyClicks(line, value.toString());
    } else if (auto* size = editor.findChild<QDoubleSpinBox*>()) {
        size->setValue(value.toDouble());
    } else if (auto* date = editor.findChild<QDateTimeEdit*>()) {
        date->setDateTime(value.toDateTime());
    } else {
        QFAIL("no editor");
    }
}

} // namespace

class FiltersTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FConfig;
    std::unique_ptr<QTemporaryDir> FTree;
    std::unique_ptr<TScriptedPrompts> FPrompts;

    QString Tree(const QString& relative = {}) const { return FTree->path() + u"/"_s + relative; }
    std::string ConfigFile() const {
        return (FConfig->path() + u"/Brindlecot/quorvane.ini"_s).toStdString();
    }
    void WriteConfig(const QByteArray& filters = {}) {
        WriteFile(QString::fromStdString(ConfigFile()),
                  "[Config]\nFirstShow=0\n" + (filters.isEmpty() ? "" : "[Filters]\n" + filters));
    }

    std::unique_ptr<TMainForm> MakeForm() {
        auto form = std::make_unique<TMainForm>();
        form->Settings().Criteria.IncludeFolders = {Tree().toStdString()};
        form->Settings().Criteria.CompareMode = cmNone;
        form->Settings().DontShowCompareMessage = true;
        return form;
    }

    static void Search(TMainForm& form) {
        form.Actions().Search->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!form.Controller().WorkerRunning() && !form.Controller().Busy(),
                                 kTimeoutMs);
    }

    // The files the grid shows, by path below the tree, sorted.
    QStringList Shown(TMainForm& form) const {
        const TResultView& view = form.Controller().Results().View();
        QStringList shown;
        for (uint32_t record : view.PassingRecords())
            shown << QString::fromStdString(view.File(record).FullName()).mid(Tree().size());
        shown.sort();
        // The grid shows the same rows.
        const auto& lines = *qobject_cast<const TResultLinesModel*>(form.Grid().model());
        int files = 0;
        for (int line = 0; line < lines.rowCount(); ++line)
            files += lines.Item(lines.index(line, 0)).Kind == TResultItem::ikFile;
        if (files != shown.size())
            return {u"grid shows %1 files"_s.arg(files)};
        return shown;
    }

    static QStringList FilterItems(TMainForm& form) {
        QStringList items;
        const QList<QAction*> actions = form.Actions().FilterMenu->actions();
        for (qsizetype i = 2; i < actions.size(); ++i)
            items << actions[i]->text();
        return items;
    }

    static QAction* FilterItem(TMainForm& form, const QString& caption) {
        for (QAction* action : form.Actions().FilterMenu->actions())
            if (action->text() == caption)
                return action;
        return nullptr;
    }

    static TFilterBar& Bar(TMainForm& form) { return *form.findChild<TFilterBar*>(); }

private slots:
    void init() {
        FConfig = std::make_unique<QTemporaryDir>();
        FTree = std::make_unique<QTemporaryDir>();
        QVERIFY(FConfig->isValid() && FTree->isValid());
        qputenv("XDG_CONFIG_HOME", FConfig->path().toUtf8());
        FPrompts = std::make_unique<TScriptedPrompts>();
        for (const char* folder : {"a", "b"}) {
            WriteFile(Tree(u"%1/report.DOC"_s.arg(QLatin1String(folder))), "doc!");
            WriteFile(Tree(u"%1/lib.dll"_s.arg(QLatin1String(folder))), "dll!!");
            WriteFile(Tree(u"%1/song.mp3"_s.arg(QLatin1String(folder))), "mp3!!!");
        }
        WriteFile(Tree(u"c/notes.txt"_s), "txt");
        WriteFile(Tree(u"d/notes.txt"_s), "txt");
    }

    void cleanup() { FPrompts.reset(); }

    void MenuShowsTenStoredFiltersThenMore() {
        QByteArray section;
        const QString eleventh = u"Eleventh"_s;
        for (const TNamedFilterText& filter : DefaultFilters())
            section += QByteArray::fromStdString(filter.Name + "=" + filter.CriteriaHex + "\n");
        const QByteArray hex = QByteArray::fromStdString(DefaultFilters()[1].CriteriaHex);
        for (const char* name : {"R&D", "Seven", "Eight", "Nine", "Ten", "Eleventh", "Twelfth"})
            section += QByteArray(name) + "=" + hex + "\n";
        WriteConfig(section);
        {
            auto form = MakeForm();
            const QStringList items = FilterItems(*form);
            QCOMPARE(items.size(), 11);
            QCOMPARE(items.first(), u"Documents"_s);
            QCOMPARE(items[5], u"R&&D"_s); // a name's "&" is no mnemonic
            QCOMPARE(items[9], u"Ten"_s);
            QCOMPARE(items.last(), u"More..."_s);
            QCOMPARE(form->Actions().FilterMenu->actions()[0]->text(), u"Create filter..."_s);
            QVERIFY(form->Actions().FilterMenu->actions()[1]->isSeparator());

            // "More..." shows the builder with the eleventh filter loaded.
            TFrmFilterBuilder& builder = form->Filters().Builder();
            form->show();
            builder.show();
            builder.hide();
            builder.Editor().Clear();
            FilterItem(*form, u"More..."_s)->trigger();
            QVERIFY(builder.isVisible());
            QCOMPARE(HexOf(builder.Editor().Criteria()), QString::fromLatin1(hex));
            // The showing reads the names again and selects none.
            QCOMPARE(builder.FilterList().count(), 12);
            QCOMPARE(builder.FilterList().itemText(10), eleventh);
            QCOMPARE(builder.FilterList().currentIndex(), -1);
            builder.hide();
        }
        TIniFile ini(ConfigFile());
        ini.DeleteKey("Filters", "Eleventh");
        ini.DeleteKey("Filters", "Twelfth");
        ini.UpdateFile();
        auto form = MakeForm();
        QCOMPARE(FilterItems(*form).size(), 10);
        QVERIFY(!FilterItems(*form).contains(u"More..."_s));
        QVERIFY(form->Actions().FilterData->toolTip() == u"Filter data"_s);
    }

    void StoredFiltersFromTheMenuAndTheFilterBar() {
        WriteConfig();
        auto form = MakeForm();
        form->Settings().BlockDelete = false; // rows need no comparison to be checked
        Search(*form);
        const QStringList all = Shown(*form);
        QCOMPARE(all.size(), 8);
        QVERIFY(!Bar(*form).isVisibleTo(form.get()));

        FilterItem(*form, u"Documents"_s)->trigger();
        QCOMPARE(Shown(*form), (QStringList{u"a/report.DOC"_s, u"b/report.DOC"_s, u"c/notes.txt"_s,
                                            u"d/notes.txt"_s}));
        QCOMPARE(form->StatusText(spSecond), u"4 files (14 bytes) in 2 groups"_s);
        QVERIFY(!form->Filters().Builder().isVisible());
        QVERIFY(Bar(*form).isVisibleTo(form.get()));
        QVERIFY(Bar(*form).Switch()->isChecked());
        QVERIFY(Bar(*form).Text()->toolTip().startsWith(
            u"Name like *.txt or Name like *.doc or Name like *.xls"_s));

        // "Not Support files" shows exactly what "Support files" hides.
        FilterItem(*form, u"Support files"_s)->trigger();
        const QStringList support = Shown(*form);
        QCOMPARE(support, (QStringList{u"a/lib.dll"_s, u"b/lib.dll"_s}));
        FilterItem(*form, u"Not Support files"_s)->trigger();
        QStringList together = Shown(*form) + support;
        together.sort();
        QCOMPARE(together, all);

        // The check commands and the checked list follow the rows that pass; the bar's check
        // box switches the filter off and on and the marks stay.
        form->Actions().CheckAll->trigger();
        QCOMPARE(form->Controller().Results().Checks().CheckedList().size(), 6u);
        Bar(*form).Switch()->click();
        QCOMPARE(Shown(*form), all);
        QCOMPARE(form->StatusText(spSecond), u"8 files (36 bytes) in 4 groups"_s);
        QCOMPARE(form->Controller().Results().Checks().CheckedList().size(), 6u);
        QVERIFY(Bar(*form).isVisibleTo(form.get()));
        Bar(*form).Switch()->click();
        QCOMPARE(Shown(*form).size(), 6);
        QVERIFY(FPrompts->Messages.isEmpty());

        // A new search keeps the filter.
        Search(*form);
        QCOMPARE(Shown(*form).size(), 6);
    }

    void AFilterThatHidesEveryRow() {
        WriteConfig();
        auto form = MakeForm();
        form->Settings().BlockDelete =
            false; // the rows of a search without comparison can be checked
        Search(*form);
        const auto& fileActions = form->Actions().FileActions.Commands;
        form->Actions().CheckAll->trigger();
        for (QAction* action : fileActions)
            QVERIFY(action->isEnabled());
        TFrmFilterBuilder& builder = form->Filters().Builder();
        builder.show();
        TConditionWidget* condition = builder.Editor().Root()->AddCondition();
        Pick(*condition, u"Size"_s, u"is greater than"_s);
        Enter(*condition->Operands()->Editors()[0], 1000);
        builder.findChild<QPushButton*>(u"btnApply"_s)->click();
        QVERIFY(builder.isVisible());
        QCOMPARE(Shown(*form), QStringList());
        QCOMPARE(form->StatusText(spSecond), u"0 files (0 bytes) in 0 groups"_s);
        QCOMPARE(Bar(*form).Text()->toolTip(), u"Size is greater than 1,000"_s);
        // The marks stay on the hidden rows, but no file action may reach them.
        QVERIFY(form->Controller().Results().Checks().CheckedList().empty());
        for (QAction* action : fileActions)
            QVERIFY(!action->isEnabled());
        form->Actions().CheckAll->trigger();
        QVERIFY(form->Controller().Results().Checks().CheckedList().empty());

        // OK applies and closes; the conditions stay for the next showing.
        condition->OperatorBox()->setCurrentIndex(
            condition->OperatorBox()->findText(u"is less than"_s));
        builder.findChild<QPushButton*>(u"btnOK"_s)->click();
        QVERIFY(!builder.isVisible());
        QCOMPARE(Shown(*form).size(), 8);
        form->Actions().FilterData->trigger();
        QVERIFY(builder.isVisible());
        QCOMPARE(builder.FilterList().currentIndex(), -1);
        QCOMPARE(builder.Editor().Root()->Items().size(), 1);
    }

    void ADamagedStoredFilterIsReportedAndChangesNothing() {
        WriteConfig(
            "Cut=FFFFFFFF0102000000\nBadDate=FFFFFFFF00010000000006020000007A2A0300000006027A2A\n");
        auto form = MakeForm();
        Search(*form);
        FilterItem(*form, u"Documents"_s)->trigger();
        const QStringList documents = Shown(*form);
        for (const QString& name : {u"Cut"_s, u"BadDate"_s}) {
            FPrompts->Messages.clear();
            FilterItem(*form, name)->trigger();
            QCOMPARE(FPrompts->Messages.size(), 1);
            QVERIFY2(FPrompts->Messages[0].Text.startsWith(
                         u"The filter \"%1\" cannot be used: "_s.arg(name)),
                     qPrintable(FPrompts->Messages[0].Text));
            QCOMPARE(Shown(*form), documents);
            QVERIFY(Bar(*form).Text()->toolTip().startsWith(u"Name like *.txt"_s));
        }
        QVERIFY(FPrompts->Messages[0].Text.contains(u"dates cannot be matched as text"_s));
        // A filter that cannot be read leaves the builder's conditions as they were.
        const QString held = HexOf(form->Filters().Builder().Editor().Criteria());
        FPrompts->Messages.clear();
        FilterItem(*form, u"Cut"_s)->trigger();
        QVERIFY(FPrompts->Messages[0].Text.contains(u"at byte 5"_s));
        QCOMPARE(HexOf(form->Filters().Builder().Editor().Criteria()), held);
    }

    void SavingUnderANewNameAppendsAndStoresTheSameBytesAgain() {
        WriteConfig();
        auto form = MakeForm();
        TFrmFilterBuilder& builder = form->Filters().Builder();
        builder.show();
        // A nested filter: Name like *.iso OR NOT (Size between 10 and 20 AND Date > 2024-01-01).
        TGroupWidget* root = builder.Editor().Root();
        root->OperatorBox()->setCurrentIndex(1);
        TConditionWidget* name = root->AddCondition();
        Enter(*name->Operands()->Editors()[0], u"*.iso"_s);
        TGroupWidget* nested = root->AddGroup();
        nested->OperatorBox()->setCurrentIndex(2);
        TConditionWidget* size = nested->AddCondition();
        Pick(*size, u"Size"_s, u"is between"_s);
        Enter(*size->Operands()->Editors()[0], 10);
        Enter(*size->Operands()->Editors()[1], 20000);
        TConditionWidget* date = nested->AddCondition();
        Pick(*date, u"Date"_s, u"is greater than"_s);
        Enter(*date->Operands()->Editors()[0], QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
        const QString built = HexOf(builder.Editor().Criteria());

        FPrompts->Inputs = {u"Mine"_s};
        TModalAnswer answer(
            [](QWidget& modal) { modal.findChild<QPushButton*>(u"btnNew"_s)->click(); });
        builder.findChild<QPushButton*>(u"btnSave"_s)->click();
        QVERIFY(answer.Answered);
        QCOMPARE(FPrompts->InputPrompts, QStringList{u"Filter name|Enter filter name:"_s});
        const std::vector<std::string> names = StoredFilterNames(ConfigFile());
        QCOMPARE(QString::fromStdString(names.back()), u"Mine"_s);
        QCOMPARE(FilterItems(*form).last(), u"Mine"_s);
        QCOMPARE(builder.FilterList().currentText(), u"Mine"_s);
        QCOMPARE(QString::fromStdString(TIniFile(ConfigFile()).ReadString("Filters", "Mine", "")),
                 built);

        // Loaded and stored again ("Save" over the selected name): the same bytes.
        builder.Editor().Clear();
        builder.SelectFilter(builder.FilterList().findText(u"Mine"_s));
        FPrompts->Answers = {QMessageBox::Yes};
        TModalAnswer again([](QWidget& modal) {
            auto* list = modal.findChild<QListWidget*>(u"lbxFilters"_s);
            list->setCurrentRow(list->count() - 1);
            modal.findChild<QPushButton*>(u"btnSave"_s)->click();
        });
        builder.findChild<QPushButton*>(u"btnSave"_s)->click();
        QVERIFY(again.Answered);
        QCOMPARE(FPrompts->Messages.last().Text, u"Confirm overwrite of filter\"Mine\"?"_s);
        QCOMPARE(QString::fromStdString(TIniFile(ConfigFile()).ReadString("Filters", "Mine", "")),
                 built);
        QCOMPARE(StoredFilterNames(ConfigFile()).size(), names.size());
    }

    void StoringTooLongAFilterIsRefused() {
        WriteConfig();
        auto form = MakeForm();
        TFrmFilterBuilder& builder = form->Filters().Builder();
        builder.show();
        TConditionWidget* condition = builder.Editor().Root()->AddCondition();
        Pick(*condition, u"Path"_s, u"equals"_s);
        Enter(*condition->Operands()->Editors()[0], QString(510, u'x'));
        const QByteArray before = [this] {
            QFile file(QString::fromStdString(ConfigFile()));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        FPrompts->Inputs = {u"Long"_s};
        TModalAnswer answer(
            [](QWidget& modal) { modal.findChild<QPushButton*>(u"btnNew"_s)->click(); });
        builder.findChild<QPushButton*>(u"btnSave"_s)->click();
        QCOMPARE(FPrompts->Messages.size(), 1);
        // 9 + 1 + 1 + 4 + 510 + 4 + 1 + 4 + 510 = 1044 bytes.
        QVERIFY2(FPrompts->Messages[0].Text.contains(u"make it at least 21 bytes shorter"_s),
                 qPrintable(FPrompts->Messages[0].Text));
        QFile file(QString::fromStdString(ConfigFile()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QVERIFY(!FilterItems(*form).contains(u"Long"_s));
    }

    void DeletingADefaultFilterLastsUntilTheNextStart() {
        WriteConfig();
        {
            auto form = MakeForm();
            TFrmFilterBuilder& builder = form->Filters().Builder();
            builder.show();
            FPrompts->Answers = {QMessageBox::Yes};
            TModalAnswer answer([](QWidget& modal) {
                auto* list = modal.findChild<QListWidget*>(u"lbxFilters"_s);
                list->setCurrentRow(0);
                modal.findChild<QPushButton*>(u"btnDelete"_s)->click();
                modal.findChild<QPushButton*>(u"btnCancel"_s)->click();
            });
            builder.findChild<QPushButton*>(u"btnSave"_s)->click();
            QVERIFY(answer.Answered);
            QCOMPARE(FPrompts->Messages[0].Text, u"Confirm delete of filter\"Documents\"?"_s);
            QVERIFY(!FilterItems(*form).contains(u"Documents"_s));
            QCOMPARE(builder.FilterList().findText(u"Documents"_s), -1);
            QCOMPARE(TIniFile(ConfigFile()).ReadString("Filters", "Documents", "none"), "none");
        }
        auto again = MakeForm();
        QCOMPARE(FilterItems(*again).last(), u"Documents"_s);
        QCOMPARE(TIniFile(ConfigFile()).ReadString("Filters", "Documents", ""),
                 DefaultFilters()[0].CriteriaHex);
    }

    void ManageFiltersKeepsItselfOpenUntilANameIsChosen() {
        TFrmManageFilters manage({u"One"_s, u"Two"_s, u"Three"_s});
        manage.show();
        QCOMPARE(manage.windowTitle(), u"Manage filters"_s);
        manage.btnSaveClick(); // nothing selected
        QCOMPARE(FPrompts->Messages.last().Text, u"Please, select a filter name to save"_s);
        QCOMPARE(FPrompts->Messages.last().Icon, QMessageBox::Critical);
        manage.List()->setCurrentRow(1);
        for (QMessageBox::StandardButton no : {QMessageBox::No, QMessageBox::Cancel}) {
            FPrompts->Answers = {no};
            manage.btnSaveClick();
            QVERIFY(manage.isVisible());
            QVERIFY(manage.ChosenName().isEmpty());
        }
        FPrompts->Inputs = {QString(), u"two"_s};
        FPrompts->Answers = {QMessageBox::No};
        manage.btnNewClick(); // empty
        manage.btnNewClick(); // exists, not overwritten
        QCOMPARE(FPrompts->Messages.last().Text, u"Filter name already exists, overwrite?"_s);
        QVERIFY(manage.isVisible());

        // Moving: up and down stop at the ends; a drop inserts at a place above, after one below.
        manage.List()->setCurrentRow(0);
        manage.MoveUpClick();
        manage.MoveDownClick();
        const auto names = [&manage] {
            QStringList listed;
            for (int row = 0; row < manage.List()->count(); ++row)
                listed << manage.List()->item(row)->text();
            return listed;
        };
        QCOMPARE(names(), (QStringList{u"Two"_s, u"One"_s, u"Three"_s}));
        QCOMPARE(manage.List()->currentRow(), 1);
        manage.List()->DropName(2, 0);
        QCOMPARE(names(), (QStringList{u"Three"_s, u"Two"_s, u"One"_s}));
        QCOMPARE(manage.List()->currentRow(), 0);
        manage.List()->DropName(0, 1);
        QCOMPARE(names(), (QStringList{u"Two"_s, u"Three"_s, u"One"_s}));
        manage.List()->DropName(0, 3);
        QCOMPARE(names(), (QStringList{u"Three"_s, u"One"_s, u"Two"_s}));
        QVERIFY(manage.List()->selectedItems().isEmpty());

        // A deleted name chosen again by "New" is stored, not deleted afterwards.
        manage.List()->setCurrentRow(0);
        FPrompts->Answers = {QMessageBox::Yes};
        manage.btnDeleteClick();
        QCOMPARE(manage.NamesToDelete(), QStringList{u"Three"_s});
        FPrompts->Inputs = {u"three"_s};
        manage.btnNewClick();
        QCOMPARE(manage.result(), int(QDialog::Accepted));
        QCOMPARE(manage.ChosenName(), u"three"_s);
        QVERIFY(manage.NamesToDelete().isEmpty());
    }

    void ADraggedPathCellFiltersItsFolder() {
        WriteConfig();
        auto form = MakeForm();
        form->resize(900, 600);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        Search(*form);
        TResultsView& grid = form->Grid();
        const auto& lines = *qobject_cast<const TResultLinesModel*>(grid.model());
        int line = 0;
        while (lines.Item(lines.index(line, 0)).Kind != TResultItem::ikFile ||
               !lines.index(line, rcPath).data().toString().endsWith(u"/a/"_s))
            ++line;
        grid.scrollTo(lines.index(line, rcPath));
        QTest::mousePress(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(lines.index(line, rcPath)).center());
        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {},
                            grid.visualRect(lines.index(line, rcPath)).center());
        const std::optional<TFilterCondition> condition = grid.ConditionAtLastPress();
        QVERIFY(condition);
        QCOMPARE(condition->Column, TFilterColumn::Path);
        QCOMPARE(condition->Operator, TFilterOperator::Equal);
        QCOMPARE(QString::fromStdString(condition->DisplayText), Tree(u"a/"_s));

        TFrmFilterBuilder& builder = form->Filters().Builder();
        builder.show();
        const std::unique_ptr<QMimeData> data(CellDragData(*condition));
        QVERIFY(!builder.Editor().DropCell(*data, &builder)); // only drags from the grid
        QVERIFY(builder.Editor().DropCell(*data, &grid));
        QCOMPARE(Shown(*form).size(), 8); // nothing applied yet
        builder.findChild<QPushButton*>(u"btnApply"_s)->click();
        QCOMPARE(Shown(*form), (QStringList{u"a/lib.dll"_s, u"a/report.DOC"_s, u"a/song.mp3"_s}));
        QCOMPARE(form->StatusText(spSecond), u"3 files (15 bytes) in 3 groups"_s);

        // The Checked column carries nothing.
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(lines.index(0, rcChecked)).center());
        if (!grid.isColumnHidden(rcChecked))
            QVERIFY(!grid.ConditionAtLastPress() ||
                    lines.Item(lines.index(0, 0)).Kind != TResultItem::ikFile);
    }

    void TabReachesEveryControlAndDeleteRemovesTheFocusedCondition() {
        TConditionTreeEditor editor;
        editor.resize(540, 300);
        TConditionWidget* first = editor.Root()->AddCondition();
        TGroupWidget* nested = editor.Root()->AddGroup();
        TConditionWidget* second = nested->AddCondition();
        Pick(*second, u"Size"_s, u"is between"_s);
        editor.show();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        editor.Root()->OperatorBox()->setFocus();
        QSet<QWidget*> reached;
        for (int press = 0; press < 40; ++press) {
            reached << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget* control : {first->ColumnBox(), first->OperatorBox(), second->ColumnBox(),
                                 second->OperatorBox(), nested->OperatorBox()})
            QVERIFY(reached.contains(control));
        for (TValueEditor* value : second->Operands()->Editors())
            QVERIFY(reached.contains(value->findChild<QDoubleSpinBox*>()));
        QVERIFY(reached.contains(first->findChild<QToolButton*>()));

        second->OperatorBox()->setFocus();
        QTest::keyClick(second->OperatorBox(), Qt::Key_Delete);
        QTRY_COMPARE(nested->Items().size(), 0);
        first->ColumnBox()->setFocus();
        QTest::keyClick(first->ColumnBox(), Qt::Key_Delete);
        QTRY_COMPARE(editor.Root()->Items().size(), 1);
        QCOMPARE(editor.Criteria().Items.size(), 1u);
    }

    void EveryOperatorBuiltInTheEditorEvaluatesAsTheEngineSays() {
        const TDateTime when = EncodeDateTime({2024, 3, 5, 10, 20, 30});
        const TFilterRowValues row{"report.txt", 5'000'000'000, when, "/home/u/docs/"};
        const QDateTime at(QDate(2024, 3, 5), QTime(10, 20, 30));
        const QDateTime day(QDate(2024, 3, 5), QTime(0, 0));
        struct TCase {
            QString Column;
            QString Operator;
            QVariantList Values;
            bool Passes;
        };
        const TCase cases[] = {
            {u"Name"_s, u"equals"_s, {u"REPORT.TXT"_s}, true},
            {u"Name"_s, u"does not equal"_s, {u"report.txt"_s}, false},
            {u"Name"_s, u"is less than"_s, {u"s"_s}, true},
            {u"Name"_s, u"is less than or equal to"_s, {u"REPORT.TXT"_s}, true},
            {u"Name"_s, u"is greater than"_s, {u"report.txt"_s}, false},
            {u"Name"_s, u"is greater than or equal to"_s, {u"S"_s}, false},
            {u"Name"_s, u"like"_s, {u"r*.t?t"_s}, true},
            {u"Name"_s, u"not like"_s, {u"*.doc"_s}, true},
            {u"Name"_s, u"is between"_s, {u"S"_s, u"a"_s}, true},
            {u"Name"_s, u"is not between"_s, {u"s"_s, u"z"_s}, true},
            {u"Name"_s, u"is in list"_s, {u"x"_s, u"REPORT.txt"_s}, true},
            {u"Name"_s, u"is not in list"_s, {u"x"_s, u"y"_s, u"report.txt"_s}, false},
            {u"Name"_s, u"contains"_s, {u"PORT."_s}, true},
            {u"Name"_s, u"does not contain"_s, {u"PORT."_s}, false},
            {u"Name"_s, u"begins with"_s, {u"rep"_s}, true},
            {u"Name"_s, u"ends with"_s, {u"report"_s}, false},
            {u"Name"_s, u"is empty"_s, {}, false},
            {u"Name"_s, u"is not empty"_s, {}, true},
            {u"Path"_s, u"like"_s, {u"*/docs/"_s}, true},
            {u"Size"_s, u"equals"_s, {5'000'000'000.0}, true},
            {u"Size"_s, u"does not equal"_s, {5'000'000'000.0}, false},
            {u"Size"_s, u"is less than"_s, {5'000'000'001.0}, true},
            {u"Size"_s, u"is less than or equal to"_s, {4'999'999'999.0}, false},
            {u"Size"_s, u"is greater than"_s, {2'000'000'000.0}, true},
            {u"Size"_s, u"is greater than or equal to"_s, {5'000'000'000.0}, true},
            {u"Size"_s, u"is between"_s, {1.0, 1000.0}, false},
            {u"Size"_s, u"is not between"_s, {1.0, 1000.0}, true},
            {u"Size"_s, u"is in list"_s, {7.0, 5'000'000'000.0}, true},
            {u"Size"_s, u"is not in list"_s, {7.0, 8.0}, true},
            {u"Size"_s, u"like"_s, {u"5*0"_s}, true},
            {u"Size"_s, u"not like"_s, {u"5*0"_s}, false},
            {u"Size"_s, u"contains"_s, {u"000"_s}, true},
            {u"Size"_s, u"does not contain"_s, {u"000"_s}, false},
            {u"Size"_s, u"begins with"_s, {u"6"_s}, false},
            {u"Size"_s, u"ends with"_s, {u"0"_s}, true},
            {u"Date"_s, u"equals"_s, {at}, true},
            {u"Date"_s, u"does not equal"_s, {day}, true},
            {u"Date"_s, u"is less than"_s, {day}, false},
            {u"Date"_s, u"is less than or equal to"_s, {at}, true},
            {u"Date"_s, u"is greater than"_s, {day}, true},
            {u"Date"_s, u"is greater than or equal to"_s, {day.addDays(1)}, false},
            {u"Date"_s, u"is between"_s, {day, day.addDays(1)}, true},
            {u"Date"_s, u"is not between"_s, {day, day.addDays(1)}, false},
            {u"Date"_s, u"is in list"_s, {day, at}, true},
            {u"Date"_s, u"is not in list"_s, {day}, true},
        };
        // Every operator the editor offers has a case.
        QSet<QString> covered;
        for (const TCase& c : cases)
            covered << c.Column + u'/' + c.Operator;
        for (TFilterColumn column : {TFilterColumn::Name, TFilterColumn::Size, TFilterColumn::Date})
            for (TFilterOperator op : FilterOperatorsFor(column)) {
                const QString key = QString::fromStdString(std::string(FilterColumnName(column))) +
                                    u'/' +
                                    QString::fromStdString(std::string(FilterOperatorName(op)));
                QVERIFY2(covered.contains(key), qPrintable(key));
            }

        TConditionTreeEditor editor;
        editor.show();
        for (const TCase& c : cases) {
            editor.Clear();
            TConditionWidget* condition = editor.Root()->AddCondition();
            Pick(*condition, c.Column, c.Operator);
            TOperandsEditor* operands = condition->Operands();
            while (operands->Operands() == TFilterOperands::List &&
                   operands->Editors().size() < static_cast<std::size_t>(c.Values.size()))
                operands->AddListValue();
            QCOMPARE(operands->Editors().size(), static_cast<std::size_t>(c.Values.size()));
            for (qsizetype i = 0; i < c.Values.size(); ++i)
                Enter(*operands->Editors()[static_cast<std::size_t>(i)], c.Values[i]);
            const TFilterGroup criteria = editor.Criteria();
            QVERIFY2(TFilterEvaluator(criteria).Passes(row) == c.Passes,
                     qPrintable(c.Column + u' ' + c.Operator));
            // What the editor writes reads back the same.
            QCOMPARE(DecodeStoredFilter(EncodeStoredFilter(criteria)), criteria);
        }
    }
};

QTEST_MAIN(FiltersTest)
#include "filters_test.moc"
