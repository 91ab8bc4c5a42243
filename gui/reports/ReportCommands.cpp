#include "reports/ReportCommands.h"

#include <exception>

#include <QAction>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>

#include "dialogs/UserPrompts.h"
#include "reports/ExportList.h"
#include "reports/ListPrinter.h"
#include "results/CellText.h"
#include "results/ResultGrid.h"

namespace quorvane {
namespace {

TFileDialogSpec SaveResultsDialog() {
    // Qt reads the patterns of a filter separated by spaces.
    return {QStringLiteral("Save results"),
            QStringLiteral("Excel files (*.xls);;HTML files (*.htm *.html);;XML files (*.xml);;"
                           "Text files (*.txt);;CSV files (*.csv)"),
            QStringLiteral("xls")};
}

// Long work on the main thread: the wait cursor says so.
class TWaitCursor {
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

TReportCommands::TReportCommands(QWidget& mainWindow, const TResultGrid& results, QAction& saveList,
                                 QAction& printList)
    : FMainWindow(mainWindow), FResults(results), FSaveList(saveList), FPrintList(printList) {
    SaveListUpdate(true);
}

bool TReportCommands::HasRecords(const TResultGrid& results) {
    return results.View().RowCount() > 0;
}

void TReportCommands::SaveListUpdate(bool idle) {
    const bool enabled = idle && HasRecords(FResults);
    FSaveList.setEnabled(enabled);
    FPrintList.setEnabled(enabled);
}

void TReportCommands::SaveListExecute() {
    const QString fileName = UserPrompts().SaveFileName(&FMainWindow, SaveResultsDialog());
    if (fileName.isEmpty())
        return;
    const TReportSource source{FResults.View(), FResults.Summary(), {[](TDateTime date) {
                                   return ToEngine(DateText(date));
                               }}};
    try {
        TWaitCursor wait;
        ExportList(source, ToEngine(fileName));
    } catch (const std::exception& error) {
        ShowError(&FMainWindow, QString::fromUtf8(error.what()));
    }
}

void TReportCommands::PrintListExecute() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &FMainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintList(printer);
}

void TReportCommands::PrintList(QPrinter& printer) {
    try {
        TWaitCursor wait;
        PrintResultsList(printer, FResults);
    } catch (const std::exception& error) {
        ShowError(&FMainWindow, QString::fromUtf8(error.what()));
    }
}

} // namespace quorvane
