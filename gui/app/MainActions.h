#pragma once

#include <array>

#include "actions/ActionMenus.h"
#include "duplicates/CompareMode.h"
#include "duplicates/GroupOrder.h"

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace quorvane {

// The main window's commands with their captions, shortcuts, icons and hints, and the menus, tool
// bar and grid context menu that show them. Built once; the main window connects the handlers.
struct TMainActions {
    // File
    QAction* NewSearch = nullptr;
    QAction* Search = nullptr;       // "&Start search", the cancel command while busy
    QMenu* RecentProfiles = nullptr; // "S&earch"
    QMenu* GroupFiles = nullptr;     // "&Group files"
    QActionGroup* OrderGroup = nullptr;
    std::array<QAction*, 5> Order{}; // Order0 .. Order4, indexed by TGroupOrder
    QAction* SaveFilesList = nullptr;
    QAction* LoadFilesList = nullptr;
    QAction* SaveList = nullptr;  // "Sa&ve list..."
    QAction* PrintList = nullptr; // "&Print list..."
    QAction* SaveProfile = nullptr;
    QAction* LoadProfile = nullptr;
    QAction* Exit = nullptr;
    // Edit
    QAction* CheckFirst = nullptr;
    QAction* CheckInDir = nullptr;
    QAction* SelectAll = nullptr;
    QAction* CheckAll = nullptr;
    QAction* UncheckAll = nullptr;
    QAction* ToggleChecks = nullptr;
    QAction* CheckSelected = nullptr;
    QAction* UncheckSelected = nullptr;
    QAction* ToggleSelectionChecks = nullptr;
    QMenu* CompareContents = nullptr;  // "Com&pare contents"
    std::array<QAction*, 3> Compare{}; // CRC, MD4, MD5; their tag is the TCompareMode
    QAction* Settings = nullptr;
    // Filter: "Create filter...", a separator, then the stored filters (added by the filter
    // commands)
    QMenu* FilterMenu = nullptr;
    QAction* CreateFilter = nullptr;
    QAction* FilterData = nullptr; // the tool-bar button "Filter data"
    // Action
    TFileActionItems FileActions;
    // Help
    QAction* HelpContents = nullptr;
    QAction* About = nullptr;
    QAction* CheckForUpdates = nullptr;
    // Tool bar
    QToolBar* ToolBar = nullptr;
    QToolButton* GroupButton = nullptr; // "Group files"
    // The grid's context menu
    QMenu* GridMenu = nullptr;
    TShellItems Shell;
    QMenu* GridCompare = nullptr;
    std::array<QAction*, 3> GridCompareItems{};
    QAction* GridCheckFirst = nullptr; // "Check first file in each group"
};

// The tag of a compare-contents item.
TCompareMode CompareModeOf(const QAction* action);
// The tag of a group-order action.
TGroupOrder GroupOrderOf(const QAction* action);

TMainActions BuildMainActions(QMainWindow& window);

// The Search action's two faces: idle ("Start search") and busy ("Cancel search").
void ShowSearchAsIdle(QAction& search);
void ShowSearchAsBusy(QAction& search);
bool SearchShowsBusy(const QAction& search);

} // namespace quorvane
