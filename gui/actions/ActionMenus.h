#pragma once

#include <array>

#include "actions/FileAction.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace quorvane {

// The four file actions: the "&Action" menu and its commands, indexed by TFileOperation.
struct TFileActionItems {
    QMenu* Menu = nullptr;
    std::array<QAction*, 4> Commands{}; // DelFile, RecycleBin, Move, Compress
    QAction* Command(TFileOperation operation) const {
        return Commands[static_cast<std::size_t>(operation)];
    }
};

// The items that hand the focused file or the pressed cell to other programs.
struct TShellItems {
    QAction* Explore = nullptr;
    QAction* OpenInOptiquill = nullptr;
    QAction* OpenWithProgram = nullptr;
    QAction* CopyCellValue = nullptr;
};

// Adds the "&Action" menu to the window's menu bar, after the menus already there.
TFileActionItems BuildFileActionMenu(QMainWindow& window);
// The file actions' tool-bar buttons, then a separator.
void AddFileActionButtons(QToolBar& toolBar, const TFileActionItems& items);
// The shell items and a separator, added to the grid's context menu before anything else.
TShellItems AddShellItems(QMainWindow& window, QMenu& gridMenu);

} // namespace quorvane
