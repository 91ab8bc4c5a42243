#pragma once

class QAction;
class QPrinter;
class QWidget;

namespace quorvane {

class TResultGrid;

// "Sa&ve list..." and "&Print list...": the save dialog and the print dialog around the engine's
// exporters and the printed list. Both commands are available while the results hold a record.
class TReportCommands {
public:
    TReportCommands(QWidget& mainWindow, const TResultGrid& results, QAction& saveList,
                    QAction& printList);

    // Enables both commands by the SaveListUpdate rule, or disables them while the window is busy.
    void SaveListUpdate(bool idle);
    static bool HasRecords(const TResultGrid& results);

    // Asks for a file and writes the results list in the format of its extension; a name with any
    // other extension writes nothing. A file that cannot be written is reported by name.
    void SaveListExecute();
    // Shows the print dialog and prints the results list on the chosen printer.
    void PrintListExecute();
    // Prints on a printer already set up; a printer that cannot start is reported.
    void PrintList(QPrinter& printer);

private:
    QWidget& FMainWindow;
    const TResultGrid& FResults;
    QAction& FSaveList;
    QAction& FPrintList;
};

} // namespace quorvane
