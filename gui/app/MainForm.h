#pragma once

#include <memory>
#include <string>

#include <QMainWindow>
#include <QStringList>
#include <QTimer>

#include "app/MainActions.h"
#include "app/PipelineController.h"
#include "app/PipelineView.h"
#include "app/QtMainThreadQueue.h"
#include "app/Settings.h"

class QLabel;

namespace quorvane {

class TCheckCommands;
class TFilterCommands;
class TFileActionCommands;
class TFilesListCommands;
class TFrmSearchOptions;
class TFrmSettings;
class TFrmWait;
class THelpWindow;
class TMainFormView;
class TProfileCommands;
class TReportCommands;
class TResultLinesModel;
class TResultsModel;
class TResultsView;
class TShellCommands;

// The main window: owns the settings read from the configuration file, the search pipeline with
// its results, the results grid, the wait form, the dialogs, and the commands of the menus and
// the tool bar. It shows the engine's state and turns commands into engine calls.
//
// Life cycle: the constructor is the window's creation (settings read, frame built, the empty
// list classified once for the grid's layout); the first showing opens the search options on
// the very first run, or loads and searches the profile named by the first argument; FormDestroy
// stops and awaits any worker, then writes the configuration.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(QStringList arguments = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Stops and awaits the workers, then saves the settings. Runs once; the destructor runs it
    // when the program entry did not.
    void FormDestroy();
    // A later start of the program asked for this window.
    void ActivateFromSecondInstance();

    TSettings& Settings() { return FSettings; }
    TPipelineController& Controller() { return *FController; }
    const TMainActions& Actions() const { return FActions; }
    TResultsView& Grid() { return *FGrid; }
    TFrmWait& WaitForm() { return *FWait; }
    TProfileCommands& Profiles() { return *FProfiles; }
    TReportCommands& Reports() { return *FReports; }
    TFilterCommands& Filters() { return *FFilters; }
    QString StatusText(TStatusPanel panel) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TMainFormView;

    void ReadSettings();
    void PlaceWindow();
    void BuildFrame();
    void ConnectCommands();
    void FormShow();

    // The pipeline's view of the window.
    void SetCommandsEnabled(bool idle);
    void ShowWaitForm();
    void SetStatusText(TStatusPanel panel, const QString& text);
    void ResultsChanged();
    void PollSearchProgress();

    // Whether a command may change the file list or the results now: not while a pipeline step
    // lets events through (the step is still working on them).
    bool MayChangeResults() const;

    void NewSearchExecute();
    void SearchExecute();
    void StartSearch();
    void OrderExecute(TGroupOrder order);
    void MD51Click(TCompareMode mode);
    void SettingsExecute();
    void AboutExecute();
    void CheckForUpdatesExecute();
    void HelpContentsExecute();
    void GridDoubleClick();
    void MarkGroupOrder(TGroupOrder order);

    QStringList FArguments;
    std::string FConfigFile;
    TSettings FSettings;
    TQtMainThreadQueue FMainThread;
    std::unique_ptr<TMainFormView> FView;
    std::unique_ptr<TPipelineController> FController;

    TMainActions FActions;
    TResultsModel* FModel = nullptr;
    TResultLinesModel* FLines = nullptr;
    TResultsView* FGrid = nullptr;
    TFrmWait* FWait = nullptr;
    QLabel* FStatusPanels[2] = {nullptr, nullptr};
    TFrmSearchOptions* FSearchOptions = nullptr;
    TFrmSettings* FFrmSettings = nullptr;
    std::unique_ptr<THelpWindow> FHelp;
    std::unique_ptr<TCheckCommands> FChecks;
    std::unique_ptr<TFilesListCommands> FFilesLists;
    std::unique_ptr<TReportCommands> FReports;
    TProfileCommands* FProfiles = nullptr;
    TFilterCommands* FFilters = nullptr;
    TShellCommands* FShell = nullptr;
    TFileActionCommands* FFileActions = nullptr;

    QTimer FSearchProgressTimer;
    bool FShown = false;
    bool FDestroyed = false;
    bool FWaitHiddenByMinimize = false;
};

} // namespace quorvane
