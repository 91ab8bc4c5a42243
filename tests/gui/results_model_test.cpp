// The results model and the grid's lines over engine results built in memory: the Qt model
// contracts (QAbstractItemModelTester), the tree's shape per group order, the lines as a
// depth-first walk of the tree, and what the cells say.
#include <QAbstractItemModelTester>
#include <QTest>

#include "results/CellText.h"
#include "results/ResultGrid.h"
#include "results/ResultLayout.h"
#include "results/ResultLinesModel.h"
#include "results/ResultsModel.h"

using namespace quorvane;
using namespace Qt::StringLiterals;

namespace {

struct TFixtureFile {
    const char* Name;
    int64_t Size;
    uint32_t Group;
    bool Checkable;
};

// Seven files in three duplicate groups; c.txt cannot be checked.
const TFixtureFile kFiles[] = {
    {"a.txt", 100, 1, true},  {"a.txt", 100, 1, true},  {"b.txt", 5000, 2, true},
    {"b.txt", 5000, 2, true}, {"b.txt", 5000, 2, true}, {"c.txt", 100, 3, false},
    {"c.txt", 100, 3, false},
};

// Every index of the tree in depth-first order, as (depth, index) pairs.
void WalkTree(const QAbstractItemModel& model, const QModelIndex& parent, int depth,
              QList<QPair<int, QModelIndex>>& out) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        out.append({depth, index});
        WalkTree(model, index, depth + 1, out);
    }
}

} // namespace

class ResultsModelTest : public QObject {
    Q_OBJECT

private:
    TFilesList FFiles;
    TResultGrid FResults;

    void Load(TGroupOrder order, bool separateGroups, bool checksums = false) {
        std::vector<TResultRow> rows;
        for (uint32_t position = 0; position < FFiles.Count(); ++position)
            rows.push_back({position, kFiles[position].Group, kFiles[position].Checkable});
        FResults.Load(FFiles, std::move(rows),
                      ClassifiedLayout(order, separateGroups, false, checksums));
    }

private slots:
    void initTestCase() {
        for (const TFixtureFile& file : kFiles)
            FFiles.Add(new TFile("/data/", file.Name, file.Size, EncodeDateTime({2020, 5, 17})));
    }

    void Shape_data() {
        QTest::addColumn<int>("order");
        QTest::addColumn<bool>("separate");
        QTest::addColumn<bool>("checksums");
        QTest::addColumn<QStringList>("lines");
        // A line is "G<level>:<text>" for a group row and "F:<name>" for a file row.
        QTest::newRow("name/size")
            << int(goNameSize) << true << false
            << QStringList{u"G0:a.txt"_s, u"G1:Size: 100"_s,   u"F:a.txt"_s,      u"F:a.txt"_s,
                           u"G0:b.txt"_s, u"G1:Size: 5,000"_s, u"F:b.txt"_s,      u"F:b.txt"_s,
                           u"F:b.txt"_s,  u"G0:c.txt"_s,       u"G1:Size: 100"_s, u"F:c.txt"_s,
                           u"F:c.txt"_s};
        QTest::newRow("size") << int(goSize) << true << false
                              << QStringList{u"G0:Size: 5,000"_s, u"F:b.txt"_s,      u"F:b.txt"_s,
                                             u"F:b.txt"_s,        u"G0:Size: 100"_s, u"F:a.txt"_s,
                                             u"F:a.txt"_s,        u"F:c.txt"_s,      u"F:c.txt"_s};
        QTest::newRow("flat") << int(goNameSize) << false << false
                              << QStringList{u"F:b.txt"_s, u"F:b.txt"_s, u"F:b.txt"_s, u"F:a.txt"_s,
                                             u"F:a.txt"_s, u"F:c.txt"_s, u"F:c.txt"_s};
        QStringList fourLevels;
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
            const int count = name[0] == 'b' ? 3 : 2;
            fourLevels << u"G0:"_s + QLatin1String(name)
                       << (name[0] == 'b' ? u"G1:Size: 5,000"_s : u"G1:Size: 100"_s)
                       << u"G2:Date: "_s + DateText(EncodeDateTime({2020, 5, 17}))
                       << u"G3:CheckSum: "_s;
            for (int file = 0; file < count; ++file)
                fourLevels << u"F:"_s + QLatin1String(name);
        }
        QTest::newRow("name/size/date/checksum")
            << int(goNameSizeDate) << true << true << fourLevels;
    }

    void Shape() {
        QFETCH(int, order);
        QFETCH(bool, separate);
        QFETCH(bool, checksums);
        QFETCH(QStringList, lines);
        Load(static_cast<TGroupOrder>(order), separate, checksums);
        TResultsModel tree(FResults);
        TResultLinesModel flat(tree);
        QAbstractItemModelTester treeTester(&tree,
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester flatTester(&flat,
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        tree.Reload();

        QStringList shown;
        for (int line = 0; line < flat.rowCount(); ++line) {
            const QModelIndex index = flat.index(line, 0);
            const TResultItem item = flat.Item(index);
            if (item.Kind == TResultItem::ikGroup)
                shown << QStringLiteral("G%1:%2").arg(item.Level).arg(index.data().toString());
            else
                shown << QStringLiteral("F:") + flat.index(line, rcName).data().toString();
        }
        QCOMPARE(shown, lines);

        // The lines are the tree walked depth first, and each maps back to its own line.
        QList<QPair<int, QModelIndex>> walk;
        WalkTree(tree, {}, 0, walk);
        QCOMPARE(walk.size(), flat.rowCount());
        for (int line = 0; line < walk.size(); ++line) {
            const QModelIndex proxy = flat.index(line, 2);
            QCOMPARE(flat.mapToSource(proxy).siblingAtColumn(0), walk[line].second);
            QCOMPARE(flat.mapFromSource(walk[line].second.siblingAtColumn(2)), proxy);
            QCOMPARE(flat.Lines().LineOf(flat.Item(proxy)), std::size_t(line));
        }
    }

    void CellsOfAFileRow() {
        // A flat list: the largest files first.
        Load(goNameSizeDate, false);
        TResultsModel tree(FResults);
        tree.Reload();
        FResults.Checks().CheckAll();
        const QModelIndex first = tree.index(0, rcName);
        QCOMPARE(first.data().toString(), u"b.txt"_s);
        QCOMPARE(first.siblingAtColumn(rcSize).data().toString(), u"5,000"_s);
        QCOMPARE(first.siblingAtColumn(rcSize).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(first.siblingAtColumn(rcPath).data().toString(), u"/data/"_s);
        QVERIFY(first.siblingAtColumn(rcChecked).data().toString().isEmpty());
        QVERIFY(first.siblingAtColumn(rcDate).data().toString().contains(u"17"_s));
        QCOMPARE(tree.headerData(rcCheckSum, Qt::Horizontal).toString(), u"CheckSum"_s);
        // Checked: a ticked box for a checked row, no box for one that cannot be checked.
        QCOMPARE(first.data(CheckRole).toInt(), 1);
        QCOMPARE(tree.index(6, 0).data(CheckRole).toInt(), -1);
        // The group stripes alternate from the lighter colour on.
        const bool stripes[] = {false, false, false, true, true, false, false};
        for (int row = 0; row < 7; ++row)
            QCOMPARE(tree.index(row, 0).data(StripeRole).toBool(), stripes[row]);
    }

    void DetachedShowsNothingUntilReloaded() {
        Load(goNameSize, true);
        TResultsModel tree(FResults);
        TResultLinesModel flat(tree);
        tree.Reload();
        QCOMPARE(flat.rowCount(), 13);
        tree.Detach();
        QCOMPARE(tree.rowCount(), 0);
        QCOMPARE(flat.rowCount(), 0);
        FResults.Load(FFiles, {}, GroupOrderLayout(goNameSize, true)); // rewritten meanwhile
        QCOMPARE(flat.rowCount(), 0);
        tree.Reload();
        QCOMPARE(flat.rowCount(), 0);
    }
};

QTEST_MAIN(ResultsModelTest)
#include "results_model_test.moc"
