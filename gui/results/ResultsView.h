#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <QTableView>

#include "results/FilterTree.h"
#include "results/ResultColumns.h"
#include "results/ResultItems.h"
#include "results/ResultLayout.h"
#include "results/ResultRoles.h"

class QMenu;

namespace quorvane {

class TResultLinesModel;
class TResultsDelegate;

// The results grid: a table of the result lines with the group rows drawn across, row
// selection, the incremental search on Name, the context menu on data cells and the columns
// sharing the grid's width. It hands the rest of the program record indexes, never model indexes.
class TResultsView : public QTableView {
    Q_OBJECT

public:
    explicit TResultsView(TResultLinesModel& lines, QWidget* parent = nullptr);

    // Shows the columns of the layout, each taking its share of the width, and no narrower than
    // its caption and, for Size, Date and CheckSum, the widest value it can show. Widths the user
    // set stay (as shares of the width) until the layout shows other columns.
    void ApplyLayout(const TResultLayout& layout);
    bool SeparateGroups() const { return FSeparateGroups; }

    // The record of the focused row, -1 when none is focused or the focus is on a group row.
    int64_t FocusedRecord() const;
    // The records of the selected file rows, in the order of the selection; group rows have none.
    std::vector<uint32_t> SelectedRecords() const;
    // Focuses the first file row without selecting it.
    void FocusFirstRow();
    // The menu that a right click on a data cell opens; none detaches it.
    void SetContextMenu(QMenu* menu) { FContextMenu = menu; }
    QMenu* ContextMenu() const { return FContextMenu; }
    // Draws the check boxes again after the check marks changed, and says that they did.
    void RedrawChecks();
    // "Copy cell value": the value of the data cell, or of the group row, under the last press of
    // a mouse button; none when that point holds neither.
    std::optional<QString> ValueAtLastPress() const;
    // What dragging from the last press point carries into the filter builder: an "equals"
    // condition on the pressed cell's (or group row's) column and value; none for other columns.
    std::optional<TFilterCondition> ConditionAtLastPress() const;

    // For the delegate: how many characters at the start of this row's name the incremental
    // search matched (0 for other rows), and the left and right edges of a row in the viewport.
    int SearchMatchLength(const TResultItem& item) const;
    int RowLeft() const;
    int RowRight() const;

    void keyboardSearch(const QString& search) override;

signals:
    // A click on a cell of a file row, after it focused the row.
    void CellClicked(TResultColumn column);
    void DoubleClicked();
    void ChecksChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;

    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    struct TPressedCell {
        const TFile* File;
        TResultColumn Column;
        bool Checkable;
    };
    // The file and column of the data cell or group row under the last press point.
    std::optional<TPressedCell> PressedCell() const;
    void MeasureFloors();
    void FitColumns();
    void ClearSearch();
    TResultItem ItemAt(const QModelIndex& index) const;

    TResultLinesModel& FLines;
    TResultsDelegate* FDelegate;
    QMenu* FContextMenu = nullptr;
    bool FSeparateGroups = true;
    // The share of the width each column takes while shown; Checked keeps its own width.
    std::array<int, kGridColumnCount> FWeights;
    // The narrowest each column may be without cutting its caption or a value.
    std::array<int, kGridColumnCount> FFloors{};
    // Which columns the applied layout shows.
    std::optional<std::array<bool, kGridColumnCount>> FShownColumns;
    int FFittedWidth = -1;    // the viewport width the columns were last fitted to
    bool FUserWidths = false; // the user has resized a column since the columns last changed
    bool FFitting = false;
    QPoint FLastPress{-1, -1};
    // The incremental search: what was typed, and the position of the row it found.
    QString FTyped;
    int64_t FMatchedPosition = -1;
    bool FSearchMoving = false; // the search itself moves the focus
};

} // namespace quorvane
