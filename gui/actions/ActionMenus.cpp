#include "actions/ActionMenus.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace quorvane {
namespace {

struct TFileActionText {
    const char* Name;
    const char* Caption;
    const char* Hint;
    const char* ThemeIcon;
    const char* OwnIcon;
    QKeySequence Shortcut;
};

// Delete moves to the trash, which can be undone; the permanent delete takes Shift as well, as
// in file managers.
const std::array<TFileActionText, 4> kFileActions = {{
    {"DelFile", "&Delete files", "Delete checked files", "edit-delete", "delete-files",
     QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
    {"RecycleBin", "Move to &Recycle bin", "Move checked files to Recycle bin", "user-trash",
     "recycle-bin", QKeySequence(Qt::Key_Delete)},
    {"Move", "&Move to folder", "Move checked files to folder", "folder-move", "move-files", {}},
    {"Compress",
     "Compress to &zip",
     "Compress checked files to zip",
     "package-x-generic",
     "compress-zip",
     {}},
}};

QIcon ThemeIcon(const char* theme, const char* own) {
    return QIcon::fromTheme(QLatin1String(theme),
                            QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(own))));
}

} // namespace

TFileActionItems BuildFileActionMenu(QMainWindow& window) {
    TFileActionItems items;
    items.Menu = window.menuBar()->addMenu(QStringLiteral("&Action"));
    for (std::size_t i = 0; i < kFileActions.size(); ++i) {
        const TFileActionText& text = kFileActions[i];
        auto* action = new QAction(ThemeIcon(text.ThemeIcon, text.OwnIcon),
                                   QString::fromLatin1(text.Caption), &window);
        action->setObjectName(QLatin1String(text.Name));
        action->setToolTip(QString::fromLatin1(text.Hint));
        action->setStatusTip(QString::fromLatin1(text.Hint));
        action->setShortcut(text.Shortcut);
        action->setEnabled(false); // nothing is checked yet
        items.Menu->addAction(action);
        items.Commands[i] = action;
    }
    return items;
}

void AddFileActionButtons(QToolBar& toolBar, const TFileActionItems& items) {
    for (QAction* command : items.Commands)
        toolBar.addAction(command);
    toolBar.addSeparator();
}

TShellItems AddShellItems(QMainWindow& window, QMenu& gridMenu) {
    TShellItems items;
    items.Explore = new QAction(QStringLiteral("Explore"), &window);
    items.OpenInOptiquill = new QAction(QStringLiteral("Open in Optiquill"), &window);
    items.OpenWithProgram = new QAction(QStringLiteral("Open with associated program"), &window);
    items.CopyCellValue = new QAction(QStringLiteral("Copy cell value"), &window);
    gridMenu.addActions({items.Explore, items.OpenInOptiquill, items.OpenWithProgram});
    gridMenu.addSeparator();
    gridMenu.addAction(items.CopyCellValue);
    gridMenu.addSeparator();
    return items;
}

} // namespace quorvane
