// The main window as a new user finds it, offscreen, over a temporary configuration folder and
// real files: a cancelled regrouping keeps the results, the columns fit their values, the empty
// grid of a new search shows the new layout, the normal placement survives a maximised close,
// and closing during a sort keeps the window until the worker has stopped.
#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "app/MainForm.h"
#include "app/PipelineMessages.h"
#include "app/Wait.h"
#include "dialogs/ScriptedPrompts.h"
#include "platform/IniFile.h"
#include "results/CellText.h"
#include "results/ResultLayout.h"
#include "results/ResultLinesModel.h"
#include "results/ResultsDelegate.h"
#include "results/ResultsHeader.h"
#include "results/ResultsView.h"

using namespace quorvane;
using namespace Qt::StringLiterals;

namespace {

constexpr int kTimeoutMs = 20000;
// Sizes too wide for the Size column's nominal share at the default window size.
constexpr qint64 kBigSize = 20'000'000'000;

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

class WindowFitTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FConfig;
    std::unique_ptr<QTemporaryDir> FTree;
    std::unique_ptr<TScriptedPrompts> FPrompts;

    QString Tree(const QString& relative = {}) const { return FTree->path() + u"/"_s + relative; }
    QString ConfigFile() const { return FConfig->path() + u"/Brindlecot/quorvane.ini"_s; }

    static void WriteFile(const QString& name, const QByteArray& contents, qint64 size = -1) {
        QDir().mkpath(QFileInfo(name).path());
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        if (size >= 0)
            QVERIFY(file.resize(size)); // sparse: nothing is written
    }

    // Past its first show, groups not separated, no comparison; the window at its default size.
    std::unique_ptr<TMainForm> MakeForm() {
        WriteFile(ConfigFile(), "[Config]\nFirstShow=0\n");
        auto form = std::make_unique<TMainForm>();
        TSettings& settings = form->Settings();
        settings.Criteria.IncludeFolders = {Tree().toStdString()};
        settings.Criteria.CompareMode = cmNone;
        settings.DontShowCompareMessage = true;
        settings.SeparateGroups = false;
        return form;
    }

    static bool Idle(TMainForm& form) {
        return !form.Controller().WorkerRunning() && !form.Controller().Busy();
    }

    static void Search(TMainForm& form) {
        form.Actions().Search->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(form), kTimeoutMs);
    }

    static const TResultLinesModel& Lines(TMainForm& form) {
        return *qobject_cast<const TResultLinesModel*>(form.Grid().model());
    }

    // Every line's text, with the checksums, for comparing results before and after.
    static QStringList Shown(TMainForm& form) {
        const TResultLinesModel& lines = Lines(form);
        QStringList shown;
        for (int line = 0; line < lines.rowCount(); ++line) {
            QStringList cells;
            for (int column = rcName; column < kGridColumnCount; ++column)
                cells << lines.index(line, column).data().toString();
            shown << cells.join(u'|');
        }
        return shown;
    }

    // Selects the first row of the small files, whose contents are quick to compare.
    static void SelectSmallFile(TMainForm& form) {
        const TResultView& view = form.Controller().Results().View();
        uint32_t record = 0;
        while (record < view.RowCount() && view.File(record).Size > 4)
            ++record;
        QVERIFY(record < view.RowCount());
        form.Grid().selectionModel()->select(
            Lines(form).IndexOf(
                TResultItem::File(static_cast<uint32_t>(view.DisplayPosition(record))), 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // No caption and no size, date or checksum of any line is cut, and the columns fit the grid.
    static void ExpectNothingCut(TMainForm& form, const char* step) {
        TResultsView& grid = form.Grid();
        const auto& header = static_cast<const TResultsHeader&>(*grid.horizontalHeader());
        const TResultLinesModel& lines = Lines(form);
        int total = 0;
        for (int column = 0; column < kGridColumnCount; ++column) {
            if (grid.isColumnHidden(column))
                continue;
            total += grid.columnWidth(column);
            if (column == rcChecked)
                continue;
            QVERIFY2(
                header.CaptionWidth(column) <= grid.columnWidth(column),
                qPrintable(u"%1: caption of column %2"_s.arg(QLatin1String(step)).arg(column)));
            if (column == rcName || column == rcPath)
                continue;
            for (int line = 0; line < lines.rowCount(); ++line) {
                const QString text = lines.index(line, column).data().toString();
                const int needed =
                    grid.fontMetrics().horizontalAdvance(text) + 2 * TResultsDelegate::kTextPadding;
                QVERIFY2(needed <= grid.columnWidth(column),
                         qPrintable(u"%1: \"%2\" needs %3 pixels of %4"_s.arg(QLatin1String(step))
                                        .arg(text)
                                        .arg(needed)
                                        .arg(grid.columnWidth(column))));
            }
        }
        QVERIFY2(total <= grid.viewport()->width(), step);
    }

    // Name and Path, never held at their floor here, keep the proportion 150 : 279.
    static void ExpectNominalShares(TMainForm& form, const char* step) {
        const double ratio =
            double(form.Grid().columnWidth(rcName)) / form.Grid().columnWidth(rcPath);
        QVERIFY2(std::abs(ratio - 150.0 / 279.0) < 0.03,
                 qPrintable(u"%1: Name / Path = %2"_s.arg(QLatin1String(step)).arg(ratio)));
    }

private slots:
    void init() {
        FConfig = std::make_unique<QTemporaryDir>();
        FTree = std::make_unique<QTemporaryDir>();
        QVERIFY(FConfig->isValid() && FTree->isValid());
        qputenv("XDG_CONFIG_HOME", FConfig->path().toUtf8());
        FPrompts = std::make_unique<TScriptedPrompts>();
        WriteFile(Tree(u"a/big.iso"_s), {}, kBigSize);
        WriteFile(Tree(u"b/big.iso"_s), {}, kBigSize);
        WriteFile(Tree(u"a/same.txt"_s), "same");
        WriteFile(Tree(u"b/same.txt"_s), "same");
    }

    void cleanup() { FPrompts.reset(); }

    void CancelledRegroupingKeepsTheResults() {
        auto form = MakeForm();
        Search(*form);
        const QStringList before = Shown(*form);
        QCOMPARE(before.size(), 4);
        const QString summary = form->StatusText(spSecond);

        form->Actions().Order[goSize]->trigger();
        form->Actions().Search->trigger(); // the cancel command while busy
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(Shown(*form), before);
        QCOMPARE(form->StatusText(spSecond), summary);
        QCOMPARE(form->Settings().Criteria.GroupOrder, goNameSize);
        QVERIFY(form->Actions().Order[goNameSize]->isChecked());
        QVERIFY(form->Grid().isColumnHidden(rcCheckSum));
        QCOMPARE(FPrompts->Messages.size(), 1);
        QCOMPARE(FPrompts->Messages[0].Text, FromView(kCompareCancelledText));
    }

    void ColumnsKeepTheirSharesAndCutNoValue() {
        auto form = MakeForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->size(), QSize(750, 560));
        TResultsView& grid = form->Grid();
        Search(*form);
        ExpectNothingCut(*form, "search");
        ExpectNominalShares(*form, "search");

        // The user's width stays through a regrouping that shows the same columns.
        const int userWidth = grid.columnWidth(rcName) + 40;
        grid.horizontalHeader()->resizeSection(rcName, userWidth);
        QVERIFY(form->Controller().ChangeGroupOrder(goSizeName));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QCOMPARE(grid.columnWidth(rcName), userWidth);

        // CheckSum appears: other columns, the nominal shares again, room for an MD5 text.
        SelectSmallFile(*form);
        form->Actions().Compare[cmMD5 - cmCrc]->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QVERIFY(!grid.isColumnHidden(rcCheckSum));
        ExpectNothingCut(*form, "compared");
        ExpectNominalShares(*form, "compared");
        const std::array<int, kGridColumnCount> widths = [&] {
            std::array<int, kGridColumnCount> w{};
            for (int column = 0; column < kGridColumnCount; ++column)
                w[column] = grid.columnWidth(column);
            return w;
        }();

        // Regrouped and with the settings applied again, the columns stay as they were.
        QVERIFY(form->Controller().ChangeGroupOrder(goName));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        for (int column = 0; column < kGridColumnCount; ++column)
            QCOMPARE(grid.columnWidth(column), widths[column]);
        ExpectNothingCut(*form, "regrouped");

        // Groups separated, by name: Size and Date shown beside Path.
        form->Settings().SeparateGroups = true;
        QVERIFY(form->Controller().ChangeGroupOrder(goName));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QVERIFY(grid.isColumnHidden(rcName) && !grid.isColumnHidden(rcSize));
        ExpectNothingCut(*form, "separated");
    }

    void NewSearchShowsTheNewLayoutsColumns() {
        auto form = MakeForm();
        Search(*form);
        SelectSmallFile(*form);
        form->Actions().Compare[cmMD5 - cmCrc]->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
        QVERIFY(!form->Grid().isColumnHidden(rcCheckSum));

        form->Settings().SeparateGroups = true;
        form->Settings().Criteria.GroupOrder = goSize;
        form->Actions().Search->trigger();
        QVERIFY(form->Controller().Busy());
        QCOMPARE(form->Grid().model()->rowCount(), 0);
        const TResultLayout expected = ClassifiedLayout(goSize, true, true, false);
        for (int column = 0; column < kGridColumnCount; ++column)
            QCOMPARE(!form->Grid().isColumnHidden(column), expected.Columns[column].Visible);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(*form), kTimeoutMs);
    }

    void NormalPlacementSurvivesAMaximisedClose_data() {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("normal") << false;
        QTest::newRow("maximised") << true;
    }

    void NormalPlacementSurvivesAMaximisedClose() {
        QFETCH(bool, maximised);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect normal(area.left() + 60, area.top() + 40, 700, 500);
        {
            auto form = MakeForm();
            form->setGeometry(normal);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            if (maximised) {
                form->showMaximized();
                QTRY_VERIFY(form->isMaximized() && form->geometry() != normal);
            }
            form->close();
            form->FormDestroy();
        }
        const TIniFile ini(ConfigFile().toStdString());
        QCOMPARE(ini.ReadBool("Settings", "Maximized", !maximised), maximised);
        // The next start opens in the normal placement, not maximised.
        auto next = std::make_unique<TMainForm>();
        next->show();
        QVERIFY(QTest::qWaitForWindowExposed(next.get()));
        QVERIFY(!next->isMaximized());
        QCOMPARE(next->geometry(), normal);
    }

    void ClosingDuringASortKeepsTheWindowUntilTheWorkerStopped() {
        auto form = MakeForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        Search(*form);
        QVERIFY(form->Controller().ChangeGroupOrder(goSize));
        QVERIFY(form->Controller().WorkerRunning());
        form->close();
        QVERIFY(!form->Controller().WorkerRunning());
        QVERIFY(!form->isVisible());
        QCOMPARE(form->WaitForm().Text(), FromView(kFinishingText));
        QCOMPARE(form->StatusText(spFirst), FromView(kFinishingText));
    }
};

QTEST_MAIN(WindowFitTest)
#include "window_fit_test.moc"
