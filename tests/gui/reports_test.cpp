// Saving and printing the results list: the commands of the main window over a real search, and
// the printed pages as PDF files read back with pdftotext and rendered with pdftoppm.
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "app/MainForm.h"
#include "dialogs/ScriptedPrompts.h"
#include "reports/ListPrinter.h"
#include "reports/ReportCommands.h"
#include "results/ResultGrid.h"
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

QByteArray ReadFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(kTimeoutMs);
    // Compatibility forms read as their letters: the text layout may draw "fi" as one glyph.
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

int PageCount(const QString& pdf) {
    const QString info = Run(u"pdfinfo"_s, {pdf});
    const qsizetype at = info.indexOf(u"Pages:"_s);
    return at < 0 ? -1 : info.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

// Results written by hand: `groups` groups of two files each, a flat list or separated groups.
struct TPrintFixture {
    TFilesList Files;
    TResultGrid Grid;

    TPrintFixture(int groups, bool separateGroups) {
        std::vector<TResultRow> rows;
        for (int group = 0; group < groups; ++group)
            for (int copy = 0; copy < 2; ++copy) {
                Files.Add(std::make_unique<TFile>("/data/" + std::to_string(copy) + "/",
                                                  "file" + std::to_string(group), 1000000 - group,
                                                  EncodeDateTime({2024, 1, 2, 3, 4, 6})));
                rows.push_back({static_cast<uint32_t>(Files.Count() - 1),
                                static_cast<uint32_t>(group + 1), true});
            }
        Grid.Load(Files, rows, ClassifiedLayout(goNameSize, separateGroups, false, false));
    }
};

std::unique_ptr<QPrinter> PdfPrinter(const QString& file) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    return printer;
}

} // namespace

class ReportsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FConfig;
    std::unique_ptr<QTemporaryDir> FTree;
    std::unique_ptr<TScriptedPrompts> FPrompts;

    QString Tree(const QString& relative = {}) const { return FTree->path() + u"/"_s + relative; }

    std::unique_ptr<TMainForm> SearchedForm() {
        WriteFile(FConfig->path() + u"/Brindlecot/quorvane.ini"_s, "[Config]\nFirstShow=0\n");
        WriteFile(Tree(u"a/same.txt"_s), "same");
        WriteFile(Tree(u"b/same.txt"_s), "same");
        auto form = std::make_unique<TMainForm>();
        form->Settings().Criteria.IncludeFolders = {Tree().toStdString()};
        form->Settings().DontShowCompareMessage = true;
        form->Actions().Search->trigger();
        (void)QTest::qWaitFor(
            [&] { return !form->Controller().WorkerRunning() && !form->Controller().Busy(); },
            kTimeoutMs);
        return form;
    }

    QString Print(TResultGrid& grid, const QString& name) {
        const QString pdf = FTree->filePath(name);
        PrintResultsList(*PdfPrinter(pdf), grid);
        return pdf;
    }

private slots:
    void init() {
        FConfig = std::make_unique<QTemporaryDir>();
        FTree = std::make_unique<QTemporaryDir>();
        QVERIFY(FConfig->isValid() && FTree->isValid());
        qputenv("XDG_CONFIG_HOME", FConfig->path().toUtf8());
        FPrompts = std::make_unique<TScriptedPrompts>();
    }

    void cleanup() { FPrompts.reset(); }

    void CommandsAreThereOnlyWhileTheResultsHoldARecord() {
        WriteFile(FConfig->path() + u"/Brindlecot/quorvane.ini"_s, "[Config]\nFirstShow=0\n");
        TMainForm empty;
        const TMainActions& actions = empty.Actions();
        QCOMPARE(actions.SaveList->text(), u"Sa&ve list..."_s);
        QCOMPARE(actions.PrintList->text(), u"&Print list..."_s);
        QCOMPARE(actions.SaveList->toolTip(), u"Save results list to a file"_s);
        QCOMPARE(actions.PrintList->toolTip(), u"Print results list"_s);
        QVERIFY(actions.ToolBar->actions().contains(actions.SaveList));
        QVERIFY(actions.ToolBar->actions().contains(actions.PrintList));
        QVERIFY(!actions.SaveList->isEnabled());
        QVERIFY(!actions.PrintList->isEnabled());

        const auto form = SearchedForm();
        QVERIFY(form->Actions().SaveList->isEnabled());
        QVERIFY(form->Actions().PrintList->isEnabled());
    }

    void SaveListWritesTheFormatOfTheExtension() {
        const auto form = SearchedForm();
        // A CSV name typed in capitals keeps them.
        FPrompts->Choices = {Tree(u"list.CSV"_s)};
        form->Actions().SaveList->trigger();
        const TFileDialogSpec& dialog = FPrompts->FileDialogs.last();
        QCOMPARE(dialog.Title, u"Save results"_s);
        QCOMPARE(dialog.DefaultSuffix, u"xls"_s);
        QCOMPARE(
            dialog.Filter.split(u";;"_s),
            QStringList({u"Excel files (*.xls)"_s, u"HTML files (*.htm *.html)"_s,
                         u"XML files (*.xml)"_s, u"Text files (*.txt)"_s, u"CSV files (*.csv)"_s}));
        const QByteArray csv = ReadFile(Tree(u"list.CSV"_s));
        QVERIFY2(csv.startsWith("\"Date\";\"Path\"\r\n\"same.txt\"\r\n\"Size: 4\"\r\n"), csv);
        QVERIFY(csv.contains(";\"" + Tree(u"a/"_s).toUtf8() + "\"\r\n"));
        QVERIFY(!csv.contains("Checked"));
        QVERIFY(!form->Grid().isColumnHidden(rcChecked));

        // A spreadsheet name gets the lower-case extension; any other extension writes nothing
        // and says nothing.
        FPrompts->Choices = {Tree(u"list.XLS"_s), Tree(u"list.doc"_s)};
        form->Actions().SaveList->trigger();
        form->Actions().SaveList->trigger();
        QVERIFY(ReadFile(Tree(u"list.xls"_s)).startsWith("\xD0\xCF\x11\xE0"));
        QVERIFY(!QFileInfo::exists(Tree(u"list.doc"_s)));
        QVERIFY(!QFileInfo::exists(Tree(u"list.XLS"_s)));
        QVERIFY(FPrompts->Messages.isEmpty());

        // A file that cannot be written is named in an error box.
        FPrompts->Choices = {Tree(u"missing/list.xml"_s)};
        form->Actions().SaveList->trigger();
        QCOMPARE(FPrompts->Messages.size(), 1);
        QVERIFY2(FPrompts->Messages.last().Text.contains(Tree(u"missing/list.xml"_s)),
                 qPrintable(FPrompts->Messages.last().Text));
    }

    void PrintToAPdfFileThroughThePrintDialog() {
        const auto form = SearchedForm();
        const QString pdf = Tree(u"dialog.pdf"_s);
        QStringList seen;
        // Answer the print dialog as a user would: print to a PDF file of this name.
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen << dialog->windowTitle();
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
                if (edit->objectName() == u"filename"_s)
                    edit->setText(pdf);
            for (QComboBox* printers : dialog->findChildren<QComboBox*>())
                if (printers->objectName() == u"printers"_s)
                    printers->setCurrentIndex(printers->count() - 1); // "Print to File (PDF)"
            dialog->accept();
        });
        answer.start(20);
        form->Actions().PrintList->trigger();
        answer.stop();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(PageCount(pdf), 1);
        QVERIFY(Run(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}).contains(u"same.txt"_s));
    }

    void PagesBreakAfterLinesPerPageRows() {
        QTemporaryDir dir;
        const int perPage =
            PrintLayoutFor(*PdfPrinter(dir.filePath(u"probe.pdf"_s))).LinesPerPage();
        QVERIFY(perPage > 10);
        // Exactly a page of rows: groups of two, the last row hidden when the count is odd.
        const int groups = (perPage + 1) / 2;
        TPrintFixture full(groups, true);
        if (perPage % 2 == 1)
            full.Grid.SetFilter(
                [last = uint32_t(2 * groups - 1)](const TResultRow& row, const TFile&) {
                    return row.FilePosition != last;
                });
        QCOMPARE(full.Grid.View().PassingCount(), std::size_t(perPage));
        const QString one = Print(full.Grid, u"one.pdf"_s);
        QCOMPARE(PageCount(one), 1);
        const QString text = Run(u"pdftotext"_s, {u"-layout"_s, one, u"-"_s});
        QVERIFY2(text.contains(u"Page 1 of 1"_s), qPrintable(text));
        QVERIFY(text.contains(u"%1 files"_s.arg(perPage)));
        QVERIFY(text.contains(u"Quorvane"_s) && text.contains(u"Brindlecot"_s));

        TPrintFixture more(perPage / 2 + 1, true);
        const QString two = Print(more.Grid, u"two.pdf"_s);
        QCOMPARE(PageCount(two), 2);
        const QString second = Run(u"pdftotext"_s, {u"-f"_s, u"2"_s, u"-layout"_s, two, u"-"_s});
        QVERIFY2(second.contains(u"Page 2 of 2"_s), qPrintable(second));
        const QString first = Run(u"pdftotext"_s, {u"-l"_s, u"1"_s, u"-layout"_s, two, u"-"_s});
        QVERIFY2(first.contains(u"Page 1 of 2"_s), qPrintable(first));
        QVERIFY(!first.contains(u"files"_s) && second.contains(u"files"_s));
    }

    void AFilterThatHidesEveryRowPrintsOneEmptyPage() {
        TPrintFixture fixture(3, false);
        fixture.Grid.SetFilter([](const TResultRow&, const TFile&) { return false; });
        const QString pdf = Print(fixture.Grid, u"empty.pdf"_s);
        QCOMPARE(PageCount(pdf), 1);
        const QString text = Run(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        QVERIFY2(text.contains(u"0 files"_s) && text.contains(u"Page 1 of 1"_s), qPrintable(text));
        QVERIFY(text.contains(u"Name"_s) && text.contains(u"Path"_s));
    }

    void StripedRowsAloneAreShaded() {
        // Groups separated: the stripe flags still alternate by group, and shade the printout.
        TPrintFixture fixture(3, true);
        QTemporaryDir dir;
        const QString pdf = Print(fixture.Grid, u"shade.pdf"_s);
        const auto probe = PdfPrinter(dir.filePath(u"probe.pdf"_s));
        const TPrintLayout layout = PrintLayoutFor(*probe);
        // The page's printable area starts inside its margins.
        const QPointF origin = probe->pageRect(QPrinter::DevicePixel).topLeft();
        QCOMPARE(Run(u"pdftoppm"_s, {u"-r"_s, u"100"_s, u"-png"_s, u"-singlefile"_s, pdf,
                                     FTree->filePath(u"shade"_s)}),
                 QString());
        const QImage page(FTree->filePath(u"shade.png"_s));
        QVERIFY(!page.isNull());
        const double scale = 100.0 / 1200.0; // the PDF printer draws at 1200 dots per inch
        // A point near the right end of the band, past the short paths: shading, never text.
        const auto colourAt = [&](int top) {
            const double right = layout.RowBand(top).Right - layout.LineHeight();
            const auto x = static_cast<int>((origin.x() + right) * scale);
            const auto y = static_cast<int>((origin.y() + top + layout.LineHeight() / 2.0) * scale);
            return page.pixelColor(x, y);
        };
        const QColor shading(217, 234, 247);
        const auto near = [](const QColor& a, const QColor& b) {
            return qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3 &&
                   qAbs(a.blue() - b.blue()) <= 3;
        };
        const int first = layout.FirstRowTop();
        const int line = layout.LineHeight();
        // Rows: group 1 (plain), group 2 (shaded), group 3 (plain); then the totals line.
        const bool expected[] = {false, false, true, true, false, false};
        for (int row = 0; row < 6; ++row)
            QVERIFY2(near(colourAt(first + row * line), expected[row] ? shading : Qt::white),
                     qPrintable(u"row %1: %2"_s.arg(row).arg(colourAt(first + row * line).name())));
        QVERIFY(near(colourAt(first + 7 * line), Qt::white)); // totals
        QVERIFY(near(colourAt(layout.HeaderCell(1).Top), Qt::white));
    }
};

QTEST_MAIN(ReportsTest)
#include "reports_test.moc"
