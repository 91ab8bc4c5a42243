#include "app/MainActions.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace quorvane {
namespace {

const char* const kTagProperty = "quorvaneTag";

QIcon Icon(const char* name) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

QAction* NewAction(QObject* owner, const QString& caption, const char* icon = nullptr,
                   const QString& hint = {}, const QString& longHint = {}) {
    auto* action = new QAction(caption, owner);
    if (icon)
        action->setIcon(Icon(icon));
    if (!hint.isEmpty())
        action->setToolTip(hint);
    if (!longHint.isEmpty())
        action->setStatusTip(longHint);
    return action;
}

QAction* TaggedAction(QObject* owner, const QString& caption, int tag) {
    QAction* action = NewAction(owner, caption);
    action->setProperty(kTagProperty, tag);
    return action;
}

void BuildGroupOrders(QMainWindow& window, TMainActions& actions) {
    const QString captions[] = {QStringLiteral("&Name/Size"), QStringLiteral("N&ame"),
                                QStringLiteral("&Size"), QStringLiteral("Si&ze/Name"),
                                QStringLiteral("Name/Size/&Date")};
    actions.OrderGroup = new QActionGroup(&window);
    actions.OrderGroup->setExclusive(true);
    for (int order = goNameSize; order <= goNameSizeDate; ++order) {
        QAction* action = TaggedAction(&window, captions[order], order);
        action->setObjectName(QStringLiteral("Order%1").arg(order));
        action->setCheckable(true);
        actions.OrderGroup->addAction(action);
        actions.Order[order] = action;
    }
    actions.Order[goNameSize]->setChecked(true);
    actions.GroupFiles = new QMenu(QStringLiteral("&Group files"), &window);
    actions.GroupFiles->setIcon(Icon("group-files"));
    actions.GroupFiles->addActions(actions.OrderGroup->actions());
}

void BuildCompareItems(QObject* owner, const QString (&captions)[3], std::array<QAction*, 3>& items,
                       QMenu& menu) {
    for (int mode = cmCrc; mode <= cmMD5; ++mode) {
        items[mode - cmCrc] = TaggedAction(owner, captions[mode - cmCrc], mode);
        menu.addAction(items[mode - cmCrc]);
    }
}

void BuildFileMenu(QMainWindow& window, TMainActions& actions) {
    actions.NewSearch = NewAction(&window, QStringLiteral("&New search..."), "new-search",
                                  QStringLiteral("Change parameters for search"));
    actions.Search = NewAction(&window, QStringLiteral("&Start search"), "start-search",
                               QStringLiteral("Start search with current options"));
    actions.Search->setObjectName(QStringLiteral("Search"));
    actions.RecentProfiles = new QMenu(QStringLiteral("S&earch"), &window);
    actions.RecentProfiles->setEnabled(false);
    BuildGroupOrders(window, actions);
    actions.SaveFilesList = NewAction(&window, QStringLiteral("Save &files list..."), "files-save");
    actions.LoadFilesList = NewAction(&window, QStringLiteral("&Load files list..."), "files-open");
    actions.SaveList = NewAction(&window, QStringLiteral("Sa&ve list..."), "save-list",
                                 QStringLiteral("Save results list to a file"));
    actions.PrintList = NewAction(&window, QStringLiteral("&Print list..."), "print-list",
                                  QStringLiteral("Print results list"));
    actions.SaveProfile =
        NewAction(&window, QStringLiteral("Save search &criteria..."), "criteria-save");
    actions.LoadProfile =
        NewAction(&window, QStringLiteral("Loa&d search criteria..."), "criteria-open");
    actions.Exit = NewAction(&window, QStringLiteral("E&xit"), "exit", QStringLiteral("Exit"),
                             QStringLiteral("Quits the application"));

    QMenu* file = window.menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(actions.NewSearch);
    file->addAction(actions.Search);
    file->addMenu(actions.RecentProfiles);
    file->addMenu(actions.GroupFiles);
    file->addSeparator();
    file->addAction(actions.SaveFilesList);
    file->addAction(actions.LoadFilesList);
    file->addSeparator();
    file->addAction(actions.SaveList);
    file->addAction(actions.PrintList);
    file->addSeparator();
    file->addAction(actions.SaveProfile);
    file->addAction(actions.LoadProfile);
    file->addSeparator();
    file->addAction(actions.Exit);
}

void BuildEditMenu(QMainWindow& window, TMainActions& actions) {
    actions.CheckFirst = NewAction(&window, QStringLiteral("Check &first in groups"));
    actions.CheckInDir = NewAction(&window, QStringLiteral("Check files in &directory..."));
    actions.SelectAll = NewAction(&window, QStringLiteral("Select all"));
    actions.SelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    actions.CheckAll = NewAction(&window, QStringLiteral("Check &all"), "check-all");
    actions.UncheckAll = NewAction(&window, QStringLiteral("&Uncheck all"), "uncheck-all");
    actions.ToggleChecks = NewAction(&window, QStringLiteral("&Toggle checks"), "toggle-checks");
    actions.CheckSelected = NewAction(&window, QStringLiteral("Check &selected"));
    actions.UncheckSelected = NewAction(&window, QStringLiteral("U&ncheck selected"));
    actions.ToggleSelectionChecks = NewAction(&window, QStringLiteral("To&ggle selection checks"));
    actions.Settings = NewAction(&window, QStringLiteral("Sett&ings"), "settings",
                                 QStringLiteral("Quorvane settings"));

    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("Edit"));
    edit->addAction(actions.CheckFirst);
    edit->addAction(actions.CheckInDir);
    edit->addSeparator();
    edit->addAction(actions.SelectAll);
    edit->addSeparator();
    edit->addActions({actions.CheckAll, actions.UncheckAll, actions.ToggleChecks});
    edit->addSeparator();
    edit->addActions(
        {actions.CheckSelected, actions.UncheckSelected, actions.ToggleSelectionChecks});
    edit->addSeparator();
    actions.CompareContents = edit->addMenu(Icon("compare"), QStringLiteral("Com&pare contents"));
    const QString captions[3] = {QStringLiteral("&CRC"), QStringLiteral("MD&4"),
                                 QStringLiteral("MD&5")};
    BuildCompareItems(&window, captions, actions.Compare, *actions.CompareContents);
    edit->addSeparator();
    edit->addAction(actions.Settings);
}

void BuildFilterMenu(QMainWindow& window, TMainActions& actions) {
    actions.CreateFilter = NewAction(&window, QStringLiteral("Create filter..."), "filter");
    actions.FilterData =
        NewAction(&window, QStringLiteral("Filter data"), "filter", QStringLiteral("Filter data"));
    actions.FilterMenu = window.menuBar()->addMenu(QStringLiteral("F&ilter"));
    actions.FilterMenu->addAction(actions.CreateFilter);
    actions.FilterMenu->addSeparator();
}

void BuildHelpMenu(QMainWindow& window, TMainActions& actions) {
    actions.HelpContents = NewAction(&window, QStringLiteral("&Contents"), "help");
    actions.About =
        NewAction(&window, QStringLiteral("&About"), "about", QStringLiteral("About Quorvane"));
    actions.CheckForUpdates = NewAction(&window, QStringLiteral("Check for &updates"), "update");
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("Help"));
    help->addAction(actions.HelpContents);
    help->addAction(actions.About);
    help->addSeparator();
    help->addAction(actions.CheckForUpdates);
}

void BuildToolBar(QMainWindow& window, TMainActions& actions) {
    actions.ToolBar = window.addToolBar(QStringLiteral("Tool bar"));
    actions.ToolBar->setObjectName(QStringLiteral("ToolBar"));
    actions.ToolBar->setMovable(false);
    actions.ToolBar->setFloatable(false);
    actions.ToolBar->setIconSize(QSize(24, 24));
    actions.ToolBar->addAction(actions.NewSearch);
    actions.ToolBar->addAction(actions.Search);
    actions.ToolBar->addSeparator();
    actions.GroupButton = new QToolButton(actions.ToolBar);
    actions.GroupButton->setIcon(Icon("group-files"));
    actions.GroupButton->setToolTip(QStringLiteral("Group files"));
    actions.GroupButton->setMenu(actions.GroupFiles);
    actions.GroupButton->setPopupMode(QToolButton::MenuButtonPopup);
    // A click on the button's body opens the same menu just below the button.
    QObject::connect(actions.GroupButton, &QToolButton::clicked, actions.GroupButton,
                     [button = actions.GroupButton] {
                         button->menu()->popup(
                             button->mapToGlobal(QPoint(0, button->height() + 2)));
                     });
    actions.ToolBar->addWidget(actions.GroupButton);
    actions.ToolBar->addSeparator();
    actions.ToolBar->addAction(actions.FilterData);
    actions.ToolBar->addSeparator();
    actions.ToolBar->addAction(actions.SaveList);
    actions.ToolBar->addAction(actions.PrintList);
    actions.ToolBar->addSeparator();
    AddFileActionButtons(*actions.ToolBar, actions.FileActions);
    actions.ToolBar->addAction(actions.Settings);
    actions.ToolBar->addSeparator();
    actions.ToolBar->addAction(actions.Exit);
}

void BuildGridMenu(QMainWindow& window, TMainActions& actions) {
    actions.GridMenu = new QMenu(&window);
    actions.Shell = AddShellItems(window, *actions.GridMenu);
    actions.GridCompare = actions.GridMenu->addMenu(QStringLiteral("Compare contents"));
    const QString captions[3] = {QStringLiteral("CRC"), QStringLiteral("MD4"),
                                 QStringLiteral("MD5")};
    BuildCompareItems(&window, captions, actions.GridCompareItems, *actions.GridCompare);
    actions.GridMenu->addSeparator();
    actions.GridMenu->addActions({actions.CheckAll, actions.UncheckAll, actions.ToggleChecks});
    actions.GridMenu->addSeparator();
    actions.GridCheckFirst = NewAction(&window, QStringLiteral("Check first file in each group"));
    actions.GridMenu->addAction(actions.GridCheckFirst);
    actions.GridMenu->addAction(actions.CheckInDir);
    actions.GridMenu->addSeparator();
    actions.GridMenu->addActions(
        {actions.CheckSelected, actions.UncheckSelected, actions.ToggleSelectionChecks});
}

} // namespace

TCompareMode CompareModeOf(const QAction* action) {
    return static_cast<TCompareMode>(action->property(kTagProperty).toInt());
}

TGroupOrder GroupOrderOf(const QAction* action) {
    return static_cast<TGroupOrder>(action->property(kTagProperty).toInt());
}

TMainActions BuildMainActions(QMainWindow& window) {
    TMainActions actions;
    BuildFileMenu(window, actions);
    BuildEditMenu(window, actions);
    BuildFilterMenu(window, actions);
    actions.FileActions = BuildFileActionMenu(window);
    BuildHelpMenu(window, actions);
    BuildToolBar(window, actions);
    BuildGridMenu(window, actions);
    return actions;
}

void ShowSearchAsIdle(QAction& search) {
    search.setIcon(Icon("start-search"));
    search.setText(QStringLiteral("Start search"));
    search.setToolTip(QStringLiteral("Start search"));
    search.setProperty("quorvaneBusy", false);
}

void ShowSearchAsBusy(QAction& search) {
    search.setIcon(Icon("cancel-search"));
    search.setText(QStringLiteral("Cancel search"));
    search.setToolTip(QStringLiteral("Cancel search"));
    search.setProperty("quorvaneBusy", true);
}

bool SearchShowsBusy(const QAction& search) {
    return search.property("quorvaneBusy").toBool();
}

} // namespace quorvane
