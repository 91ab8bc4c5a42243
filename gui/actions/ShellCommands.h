#pragma once

#include <optional>
#include <string>

#include <QObject>

#include "actions/ActionMenus.h"
#include "actions/DesktopEntry.h"

class QWidget;

namespace quorvane {

class TResultGrid;
class TResultsView;

// The grid's hand-over of a file to other programs: "Explore" (the file manager shows the file),
// "Open in Optiquill" (the sibling tool's desktop entry, read once here), "Open with associated
// program", and "Copy cell value". File names go out byte for byte: as percent-encoded file URIs,
// or as single arguments of a program started without a shell.
class TShellCommands : public QObject {
    Q_OBJECT

public:
    // Connects the items; hides "Open in Optiquill" when the tool has no desktop entry.
    TShellCommands(QWidget& mainWindow, const TResultGrid& results, TResultsView& grid,
                   const TShellItems& items);

    // Each works on the focused row and does nothing without one.
    void Explore();
    void OpenInOptiquill();
    void OpenWithAssociatedProgram();
    // The value of the cell (or group row) under the last press onto the clipboard.
    void CopyCellValue();
    // The grid's double click: copies the cell value when `copyOnDoubleClick`, else opens the
    // file in Optiquill.
    void DoubleClick(bool copyOnDoubleClick);

    bool HasOptiquill() const { return FOptiquill.has_value(); }

private:
    std::optional<std::string> FocusedFullName() const;
    void OpenFolder(const std::string& folder);

    QWidget& FMainWindow;
    const TResultGrid& FResults;
    TResultsView& FGrid;
    std::optional<TDesktopCommand> FOptiquill;
};

} // namespace quorvane
