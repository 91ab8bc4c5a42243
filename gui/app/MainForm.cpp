#include "app/MainForm.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "actions/FileActionCommands.h"
#include "actions/ShellCommands.h"
#include "app/ConfigFile.h"
#include "app/ErrorHandler.h"
#include "app/HelpWindow.h"
#include "app/IconTheme.h"
#include "app/Look.h"
#include "app/MainFormView.h"
#include "app/PipelineMessages.h"
#include "app/Resources.h"
#include "app/Wait.h"
#include "dialogs/About.h"
#include "dialogs/SearchOpts.h"
#include "dialogs/Settings.h"
#include "dialogs/UpdateCheck.h"
#include "dialogs/UserPrompts.h"
#include "platform/IniFile.h"
#include "platform/Mounts.h"
#include "reports/ReportCommands.h"
#include "results/CheckCommands.h"
#include "results/FilterBar.h"
#include "results/FilterCommands.h"
#include "results/ResultLinesModel.h"
#include "results/ResultsModel.h"
#include "results/ResultsView.h"
#include "search/FilesListCommands.h"
#include "search/ProfileCommands.h"

namespace quorvane {
namespace {

constexpr int kFirstPanelWidth = 100;
constexpr int kSearchProgressMs = 50;

QScreen* PrimaryScreen() {
    return QGuiApplication::primaryScreen();
}

} // namespace

TMainForm::TMainForm(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), FArguments(std::move(arguments)) {
    InitResources();
    ChooseIconTheme();
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(FromEngine(std::string(kProgramCaption)));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorvane.svg")));
    QGuiApplication::setWindowIcon(windowIcon());
    SetHelpContext(this, hcMainWindow);

    FWait = new TFrmWait(this);
    FConfigFile = ConfigFilePath();
    FView = std::make_unique<TMainFormView>(*this);
    FController = std::make_unique<TPipelineController>(FMainThread, *FView, FSettings);
    BuildFrame();
    ReadSettings();
    FSearchOptions = new TFrmSearchOptions(this);
    SetHelpContext(FSearchOptions, hcSearchOptions);
    FFrmSettings = new TFrmSettings(this);
    SetHelpContext(FFrmSettings, hcSettings);
    ConnectCommands();
    // The grid takes its layout (and the summary its zeros) from the empty list.
    FController->ClassifyFiles();
}

TMainForm::~TMainForm() {
    FormDestroy();
    // The grid reads the controller's results: it goes first.
    delete FGrid;
    delete FLines;
    delete FModel;
}

void TMainForm::BuildFrame() {
    FActions = BuildMainActions(*this);
    FModel = new TResultsModel(FController->Results(), this);
    // A comparison writes checksum texts into the records while their rows show.
    FModel->SetChecksumsInFlux([this] { return FController->WorkerRunning(); });
    FLines = new TResultLinesModel(*FModel, this);
    FGrid = new TResultsView(*FLines, this);
    FGrid->SetContextMenu(FActions.GridMenu);
    // The filter bar sits under the grid.
    auto* centre = new QWidget(this);
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(FGrid, 1);
    auto* filterBar = new TFilterBar(centre);
    column->addWidget(filterBar);
    setCentralWidget(centre);

    for (QLabel*& panel : FStatusPanels) {
        panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
    }
    FStatusPanels[spFirst]->setFixedWidth(kFirstPanelWidth);
    FStatusPanels[spSecond]->setMinimumWidth(1);
    statusBar()->addWidget(FStatusPanels[spFirst]);
    statusBar()->addWidget(FStatusPanels[spSecond], 1);
    statusBar()->setSizeGripEnabled(true);

    FSearchProgressTimer.setInterval(kSearchProgressMs);
    connect(&FSearchProgressTimer, &QTimer::timeout, this, &TMainForm::PollSearchProgress);

    FHelp = std::make_unique<THelpWindow>();
    qApp->installEventFilter(new THelpKey(*FHelp, this));
    FChecks = std::make_unique<TCheckCommands>(*this, FController->Results(), *FGrid);
    FFilesLists = std::make_unique<TFilesListCommands>(*this, *FController);
    FReports = std::make_unique<TReportCommands>(*this, FController->Results(), *FActions.SaveList,
                                                 *FActions.PrintList);
    FProfiles = new TProfileCommands(*this, FSettings, FConfigFile, *FActions.RecentProfiles);
    FFilters = new TFilterCommands(
        {this, FConfigFile, &FController->Results(), FModel, [this] { FView->ProcessMessages(); },
         [this] { return MayChangeResults(); },
         [this] {
             ResultsChanged();
             SetStatusText(spSecond, FromEngine(FController->Results().SummaryText()));
         }},
        FActions, *filterBar);
    FShell = new TShellCommands(*this, FController->Results(), *FGrid, FActions.Shell);
    FFileActions =
        new TFileActionCommands(*this, *FController, FSettings, *FWait, *FGrid,
                                FActions.FileActions, [this] { return MayChangeResults(); });
}

void TMainForm::ReadSettings() {
    TSettingsEnvironment environment;
    const QRect screen = PrimaryScreen()->geometry();
    environment.Screen = TScreenSize{screen.width(), screen.height()};
    environment.SystemFolders = SystemFolders();
    environment.FixedDriveRoots = FixedDriveRoots();
    try {
        LoadSettings(FConfigFile, FSettings, environment);
    } catch (const TIniWriteError& error) {
        // Every setting is read; only the default filters could not be written back.
        ShowError(this, FromEngine(error.what()), FromEngine(error.Reason()));
    }
    ApplyLook(FSettings.UseSkin);
    PlaceWindow();
    FProfiles->RebuildProfilesMenu();
    FFilters->RebuildFilterMenu();
    MarkGroupOrder(FSettings.Criteria.GroupOrder);
}

void TMainForm::PlaceWindow() {
    if (!FSettings.Window)
        return;
    // The stored place is the normal geometry (without the frame), relative to the work area.
    const QRect area = PrimaryScreen()->availableGeometry();
    setGeometry(area.left() + FSettings.Window->Left, area.top() + FSettings.Window->Top,
                FSettings.Window->Width, FSettings.Window->Height);
}

void TMainForm::ConnectCommands() {
    const auto on = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, handler);
    };
    // The check commands work on the rows: never while a step is rewriting them.
    const auto check = [this, &on](QAction* action, void (TCheckCommands::*command)()) {
        on(action, [this, command] {
            if (MayChangeResults())
                (FChecks.get()->*command)();
        });
    };
    on(FActions.NewSearch, [this] { NewSearchExecute(); });
    on(FActions.Search, [this] { SearchExecute(); });
    for (QAction* order : FActions.Order)
        on(order, [this, order] { OrderExecute(GroupOrderOf(order)); });
    on(FActions.SaveFilesList, [this] {
        if (MayChangeResults())
            FFilesLists->SaveFilesListClick();
    });
    on(FActions.LoadFilesList, [this] {
        if (MayChangeResults())
            FFilesLists->LoadFilesListClick();
    });
    on(FActions.SaveList, [this] {
        if (MayChangeResults())
            FReports->SaveListExecute();
    });
    on(FActions.PrintList, [this] {
        if (MayChangeResults())
            FReports->PrintListExecute();
    });
    on(FActions.SaveProfile, [this] { FProfiles->SaveProfileClick(); });
    on(FActions.LoadProfile, [this] {
        if (MayChangeResults())
            FProfiles->LoadProfileClick();
    });
    on(FActions.Exit, [this] { close(); });

    check(FActions.CheckFirst, &TCheckCommands::CheckFirst);
    check(FActions.GridCheckFirst, &TCheckCommands::CheckFirst);
    check(FActions.CheckInDir, &TCheckCommands::CheckInDir);
    check(FActions.CheckAll, &TCheckCommands::CheckAll);
    check(FActions.UncheckAll, &TCheckCommands::UncheckAll);
    check(FActions.ToggleChecks, &TCheckCommands::ToggleChecks);
    check(FActions.CheckSelected, &TCheckCommands::CheckSelected);
    check(FActions.UncheckSelected, &TCheckCommands::UncheckSelected);
    check(FActions.ToggleSelectionChecks, &TCheckCommands::ToggleSelectionChecks);
    on(FActions.SelectAll, [this] { FGrid->selectAll(); });
    for (const auto& items : {FActions.Compare, FActions.GridCompareItems})
        for (QAction* item : items)
            on(item, [this, item] { MD51Click(CompareModeOf(item)); });
    on(FActions.Settings, [this] { SettingsExecute(); });

    on(FActions.HelpContents, [this] { HelpContentsExecute(); });
    on(FActions.About, [this] { AboutExecute(); });
    on(FActions.CheckForUpdates, [this] { CheckForUpdatesExecute(); });

    connect(FGrid, &TResultsView::CellClicked, this, [this](TResultColumn column) {
        if (MayChangeResults())
            FChecks->CellClick(column);
    });
    connect(FGrid, &TResultsView::DoubleClicked, this, &TMainForm::GridDoubleClick);

    connect(FProfiles, &TProfileCommands::CaptionChanged, this, &QWidget::setWindowTitle);
    connect(FProfiles, &TProfileCommands::GroupOrderLoaded, this, &TMainForm::MarkGroupOrder);
    connect(FProfiles, &TProfileCommands::SearchRequested, this, &TMainForm::StartSearch);
    connect(FSearchOptions, &TFrmSearchOptions::ProfileSaved, FProfiles,
            &TProfileCommands::ProfileSaved);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    // After the window is on the screen, so that a dialog opens over it.
    QTimer::singleShot(0, this, &TMainForm::FormShow);
}

void TMainForm::FormShow() {
    if (IsFirstShow(FConfigFile)) {
        try {
            MarkFirstShown(FConfigFile);
        } catch (const TIniWriteError& error) {
            ShowError(this, FromEngine(error.what()), FromEngine(error.Reason()));
        }
        NewSearchExecute();
        return;
    }
    // A first argument that names no file is passed over without a word.
    if (!FArguments.isEmpty() && QFileInfo(FArguments.first()).isFile()) {
        FProfiles->LoadProfile(FArguments.first());
        StartSearch();
    }
}

void TMainForm::FormDestroy() {
    if (FDestroyed)
        return;
    FDestroyed = true;
    FSearchProgressTimer.stop();
    FController->Shutdown();
    TWindowPlacement placement;
    // The geometry the window returns to when not maximised, in the same terms PlaceWindow
    // places it in: a frame position mixed with an inner one would move it at every start.
    const QRect normal = normalGeometry();
    const QRect area = (screen() ? screen() : PrimaryScreen())->availableGeometry();
    placement.Left = normal.left() - area.left();
    placement.Top = normal.top() - area.top();
    placement.Width = normal.width();
    placement.Height = normal.height();
    placement.Maximized = isMaximized();
    FSettings.Window = placement;
    try {
        SaveSettings(FConfigFile, FSettings);
    } catch (const TIniWriteError& error) {
        ShowError(nullptr, FromEngine(error.what()), FromEngine(error.Reason()));
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (FController->WorkerRunning()) {
        // The window stays, the wait form saying why, until the worker has stopped: a program
        // that runs on with nothing on screen looks hung.
        FWait->SetText(FromEngine(std::string(kFinishingText)));
        ShowWaitForm();
        FController->Shutdown();
    }
    FWait->hide();
    FHelp->close();
    QMainWindow::closeEvent(event);
}

void TMainForm::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (FWait->isVisible())
        FWait->PlaceOver(*this);
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized()) {
        if (FWait->isVisible()) {
            FWait->hide();
            FWaitHiddenByMinimize = true;
        }
    } else if (FWaitHiddenByMinimize) {
        FWaitHiddenByMinimize = false;
        if (SearchShowsBusy(*FActions.Search))
            ShowWaitForm();
    }
}

void TMainForm::ActivateFromSecondInstance() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

QString TMainForm::StatusText(TStatusPanel panel) const {
    return FStatusPanels[panel]->text();
}

void TMainForm::SetCommandsEnabled(bool idle) {
    for (QAction* command :
         {FActions.NewSearch, FActions.Settings, FActions.SaveProfile, FActions.LoadProfile,
          FActions.SaveFilesList, FActions.LoadFilesList, FActions.CheckFirst,
          FActions.GridCheckFirst, FActions.CheckInDir,
          // These too would work on rows that a step may be rewriting, or start a second worker.
          FActions.CheckAll, FActions.UncheckAll, FActions.ToggleChecks, FActions.CheckSelected,
          FActions.UncheckSelected, FActions.ToggleSelectionChecks})
        command->setEnabled(idle);
    FActions.FilterData->setEnabled(idle);
    FActions.OrderGroup->setEnabled(idle);
    FActions.GroupFiles->setEnabled(idle);
    FActions.GroupButton->setEnabled(idle);
    FActions.CompareContents->setEnabled(idle);
    FActions.GridCompare->setEnabled(idle);
    FProfiles->SetIdle(idle);
    FReports->SaveListUpdate(idle);
    FGrid->viewport()->update();
    if (idle) {
        ShowSearchAsIdle(*FActions.Search);
        FWait->hide();
        FWaitHiddenByMinimize = false;
        FGrid->SetContextMenu(FActions.GridMenu);
        FSearchProgressTimer.stop();
    } else {
        ShowSearchAsBusy(*FActions.Search);
        FGrid->SetContextMenu(nullptr);
        FSearchProgressTimer.start();
    }
    FFileActions->UpdateEnabled();
}

void TMainForm::ShowWaitForm() {
    if (isMinimized()) {
        FWaitHiddenByMinimize = true;
        return;
    }
    FWait->PlaceOver(*this);
    FWait->show();
}

void TMainForm::SetStatusText(TStatusPanel panel, const QString& text) {
    FStatusPanels[panel]->setText(text);
    if (panel == spSecond) {
        // A folder the search reported before this text is out of date now.
        std::string stale;
        FController->SearchProgress().TakeStatus(stale);
    }
}

void TMainForm::PollSearchProgress() {
    std::string folder;
    if (FController->Busy() && FController->SearchProgress().TakeStatus(folder))
        FStatusPanels[spSecond]->setText(FromEngine(folder));
}

void TMainForm::ResultsChanged() {
    // A cancelled regrouping gives back the results of the group order before it.
    MarkGroupOrder(FSettings.Criteria.GroupOrder);
    FModel->Reload();
    FGrid->ApplyLayout(FController->Results().View().Layout());
    FReports->SaveListUpdate(!SearchShowsBusy(*FActions.Search));
    FGrid->FocusFirstRow();
}

bool TMainForm::MayChangeResults() const {
    return !FView->InsideStep();
}

void TMainForm::NewSearchExecute() {
    if (!MayChangeResults())
        return;
    FSearchOptions->SetCriteria(FSettings.Criteria);
    if (FSearchOptions->exec() != QDialog::Accepted)
        return;
    FSettings.Criteria = FSearchOptions->Criteria();
    MarkGroupOrder(FSettings.Criteria.GroupOrder);
    StartSearch();
}

void TMainForm::SearchExecute() {
    // Inside a step the pipeline is still at work on the list: a cancel (or a start) waits.
    if (MayChangeResults())
        FController->SearchExecute();
}

void TMainForm::StartSearch() {
    if (MayChangeResults())
        FController->StartSearch();
}

void TMainForm::OrderExecute(TGroupOrder order) {
    if (!MayChangeResults() || !FController->ChangeGroupOrder(order))
        MarkGroupOrder(FSettings.Criteria.GroupOrder); // refused: the mark stays where it was
}

void TMainForm::MD51Click(TCompareMode mode) {
    if (MayChangeResults())
        FController->CompareContents(mode, FGrid->SelectedRecords());
}

void TMainForm::SettingsExecute() {
    // A cancelled worker that has not ended yet would refuse the regrouping the new settings need.
    if (!MayChangeResults() || FController->WorkerRunning())
        return;
    FFrmSettings->SetSettings(FSettings);
    if (FFrmSettings->exec() != QDialog::Accepted)
        return;
    FFrmSettings->ApplyTo(FSettings);
    ApplyLook(FSettings.UseSkin);
    // Group the files again so that the new settings show at once.
    if (FController->Files().Empty()) {
        FModel->Detach();
        FController->ClassifyFiles();
    } else {
        FController->ChangeGroupOrder(FSettings.Criteria.GroupOrder);
    }
}

void TMainForm::AboutExecute() {
    TAboutBox about(this);
    SetHelpContext(&about, hcAbout);
    about.exec();
}

void TMainForm::CheckForUpdatesExecute() {
    if (CheckForUpdates(this))
        close();
}

void TMainForm::HelpContentsExecute() {
    FHelp->ShowTopic(hcContents, this);
}

void TMainForm::GridDoubleClick() {
    FShell->DoubleClick(FSettings.CopyOnDblClick);
}

void TMainForm::MarkGroupOrder(TGroupOrder order) {
    if (order >= goNameSize && order <= goNameSizeDate)
        FActions.Order[order]->setChecked(true);
}

} // namespace quorvane
