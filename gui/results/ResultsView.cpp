#include "results/ResultsView.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include "dialogs/UserPrompts.h"
#include "results/CellCondition.h"
#include "results/CellDrag.h"
#include "results/CellText.h"
#include "results/ResultColors.h"
#include "results/ResultLinesModel.h"
#include "results/ResultsDelegate.h"
#include "results/ResultsHeader.h"
#include "results/Summary.h"

namespace quorvane {
namespace {

// The grid's nominal column widths: the shares of the width the shown columns take. Checked
// keeps its width and cannot be resized.
constexpr std::array<int, kGridColumnCount> kNominalWidths = {25, 150, 79, 139, 279, 80};
constexpr int kMinimumColumnWidth = 20;

} // namespace

TResultsView::TResultsView(TResultLinesModel& lines, QWidget* parent)
    : QTableView(parent), FLines(lines), FDelegate(new TResultsDelegate(*this)),
      FWeights(kNominalWidths) {
    FDelegate->setParent(this);
    setHorizontalHeader(new TResultsHeader(this));
    setModel(&lines);
    setItemDelegate(FDelegate);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(ScrollPerPixel);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(TResultsDelegate::kRowHeight);
    rows->setDefaultSectionSize(TResultsDelegate::kRowHeight);

    QHeaderView* columns = horizontalHeader();
    columns->setMinimumSectionSize(kNominalWidths[rcChecked]);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionResizeMode(rcChecked, QHeaderView::Fixed);
    // The columns fill the width by FitColumns: a stretching last section would undo its shares.
    columns->setStretchLastSection(false);
    setColumnWidth(rcChecked, kNominalWidths[rcChecked]);
    connect(columns, &QHeaderView::sectionResized, this, [this](int, int, int) {
        if (FFitting)
            return;
        // The user's widths become the shares kept when the grid changes size.
        for (int column = rcName; column < kGridColumnCount; ++column)
            if (!isColumnHidden(column))
                FWeights[column] = std::max(columnWidth(column), kMinimumColumnWidth);
        FUserWidths = true;
    });

    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, TResultColors::EmptyArea());
    setPalette(palette);

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (ItemAt(index).Kind == TResultItem::ikFile)
            emit CellClicked(static_cast<TResultColumn>(index.column()));
    });
    connect(&lines, &QAbstractItemModel::modelReset, this, [this] { ClearSearch(); });
}

TResultItem TResultsView::ItemAt(const QModelIndex& index) const {
    return FLines.Item(index);
}

void TResultsView::ApplyLayout(const TResultLayout& layout) {
    FSeparateGroups = layout.SeparateGroups;
    std::array<bool, kGridColumnCount> shown{};
    for (int column = 0; column < kGridColumnCount; ++column)
        shown[column] = layout.Columns[column].Visible;
    if (shown != FShownColumns) {
        // Other columns: the user's widths no longer fit them.
        FWeights = kNominalWidths;
        FUserWidths = false;
    }
    FShownColumns = shown;
    FFitting = true; // hiding and showing sections reports resizes that are not the user's
    for (int column = 0; column < kGridColumnCount; ++column)
        setColumnHidden(column, !shown[column]);
    FFitting = false;
    MeasureFloors();
    if (!FUserWidths) {
        FitColumns();
        return;
    }
    // The user's widths stay, only widened where a value would now be cut.
    FFitting = true;
    for (int column = rcName; column < kGridColumnCount; ++column)
        if (!isColumnHidden(column) && columnWidth(column) < FFloors[column])
            setColumnWidth(column, FFloors[column]);
    FFitting = false;
}

void TResultsView::MeasureFloors() {
    const auto& header = static_cast<const TResultsHeader&>(*horizontalHeader());
    const QFontMetrics metrics = fontMetrics();
    const auto valueWidth = [&](std::initializer_list<QString> texts) {
        int widest = 0;
        for (const QString& text : texts)
            widest = std::max(widest, metrics.horizontalAdvance(text));
        // One pixel more than the text: elision must never find it a fraction too wide.
        return widest + 2 * TResultsDelegate::kTextPadding + 1;
    };
    for (int column = rcName; column < kGridColumnCount; ++column)
        FFloors[column] = std::max(kMinimumColumnWidth, header.CaptionWidth(column));
    const TResultView& view = FLines.Tree().Results().View();
    FFloors[rcSize] = std::max(FFloors[rcSize], valueWidth({SizeText(LargestSize(view))}));
    // Dates differ in width only by their month's name and the half of the day: try each.
    for (int month = 1; month <= 12; ++month)
        for (int hour : {8, 20})
            FFloors[rcDate] =
                std::max(FFloors[rcDate],
                         valueWidth({DateText(EncodeDateTime({2000, month, 28, hour, 58, 58}))}));
    // The widest hexadecimal digit, 32 times: an MD4 or MD5 text.
    QString digest;
    for (const QChar digit : QStringLiteral("0123456789abcdef")) {
        const QString run(32, digit);
        if (metrics.horizontalAdvance(run) > metrics.horizontalAdvance(digest))
            digest = run;
    }
    FFloors[rcCheckSum] = std::max(FFloors[rcCheckSum], valueWidth({digest}));
}

void TResultsView::FitColumns() {
    std::vector<int> shown;
    for (int column = rcName; column < kGridColumnCount; ++column)
        if (!isColumnHidden(column))
            shown.push_back(column);
    if (shown.empty())
        return;
    FFittedWidth = viewport()->width();
    const bool checkedShown = !isColumnHidden(rcChecked);
    const int available =
        std::max(0, viewport()->width() - (checkedShown ? kNominalWidths[rcChecked] : 0));
    // Columns share the width by their weights; one whose share is below its floor takes the
    // floor, and the others share the rest, until every share holds.
    std::array<int, kGridColumnCount> width{};
    std::array<bool, kGridColumnCount> atFloor{};
    for (bool settled = false; !settled;) {
        settled = true;
        int room = available;
        int weight = 0;
        for (int column : shown) {
            if (atFloor[column])
                room -= FFloors[column];
            else
                weight += FWeights[column];
        }
        room = std::max(room, 0);
        for (int column : shown) {
            if (atFloor[column])
                continue;
            width[column] = weight > 0 ? room * FWeights[column] / weight : 0;
            if (width[column] < FFloors[column]) {
                atFloor[column] = true;
                settled = false;
            }
        }
    }
    int used = 0;
    int lastShared = -1;
    for (int column : shown) {
        if (atFloor[column])
            width[column] = FFloors[column];
        else
            lastShared = column;
        used += width[column];
    }
    // What rounding left over goes to the last column that shares the width.
    if (lastShared >= 0 && used < available)
        width[lastShared] += available - used;
    FFitting = true;
    for (int column : shown)
        setColumnWidth(column, width[column]);
    FFitting = false;
}

void TResultsView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    // A scroll bar that comes or goes changes the height alone: the columns stay.
    if (viewport()->width() != FFittedWidth)
        FitColumns();
}

int TResultsView::RowLeft() const {
    int left = INT_MAX;
    for (int column = 0; column < kGridColumnCount; ++column)
        if (!isColumnHidden(column))
            left = std::min(left, columnViewportPosition(column));
    return left == INT_MAX ? 0 : left;
}

int TResultsView::RowRight() const {
    int right = 0;
    for (int column = 0; column < kGridColumnCount; ++column)
        if (!isColumnHidden(column))
            right = std::max(right, columnViewportPosition(column) + columnWidth(column));
    return right;
}

int64_t TResultsView::FocusedRecord() const {
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return -1;
    return FLines.Tree().RecordOf(ItemAt(current));
}

std::vector<uint32_t> TResultsView::SelectedRecords() const {
    std::vector<uint32_t> records;
    const TResultView& view = FLines.Tree().Results().View();
    const TResultLines& lines = FLines.Lines();
    // The file rows of a run of lines are a run of positions.
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        const uint32_t end = lines.FirstFileFrom(static_cast<std::size_t>(range.bottom()) + 1);
        for (uint32_t position = lines.FirstFileFrom(static_cast<std::size_t>(range.top()));
             position < end; ++position)
            records.push_back(view.PassingRecord(position));
    }
    return records;
}

void TResultsView::FocusFirstRow() {
    if (FLines.rowCount() == 0)
        return;
    const QModelIndex first = FLines.IndexOf(TResultItem::File(0), rcPath);
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
}

void TResultsView::RedrawChecks() {
    viewport()->update();
    emit ChecksChanged();
}

std::optional<TResultsView::TPressedCell> TResultsView::PressedCell() const {
    const QModelIndex index = indexAt(FLastPress);
    if (!index.isValid())
        return std::nullopt;
    const TResultItem item = ItemAt(index);
    const TResultView& view = FLines.Tree().Results().View();
    if (item.Kind == TResultItem::ikFile) {
        const uint32_t record = view.PassingRecord(item.Index);
        return TPressedCell{&view.File(record), static_cast<TResultColumn>(index.column()),
                            view.Row(record).Checkable};
    }
    const TGroupTree& groups = view.Groups();
    return TPressedCell{&view.File(groups.Level(item.Level)[item.Index].Record),
                        groups.Column(item.Level), true};
}

std::optional<QString> TResultsView::ValueAtLastPress() const {
    const std::optional<TPressedCell> cell = PressedCell();
    if (!cell)
        return std::nullopt;
    return CopyText(*cell->File, cell->Column, cell->Checkable);
}

std::optional<TFilterCondition> TResultsView::ConditionAtLastPress() const {
    const std::optional<TPressedCell> cell = PressedCell();
    if (!cell)
        return std::nullopt;
    return CellEqualsCondition(cell->Column, *cell->File);
}

void TResultsView::mouseMoveEvent(QMouseEvent* event) {
    // Inside the grid a move with the button down selects rows; carried out of the grid, it drags
    // the pressed cell's value (into the filter builder).
    if ((event->buttons() & Qt::LeftButton) &&
        !viewport()->rect().contains(event->position().toPoint())) {
        if (const std::optional<TFilterCondition> condition = ConditionAtLastPress()) {
            auto* drag = new QDrag(this);
            drag->setMimeData(CellDragData(*condition));
            drag->exec(Qt::CopyAction);
            return;
        }
    }
    QTableView::mouseMoveEvent(event);
}

void TResultsView::mousePressEvent(QMouseEvent* event) {
    FLastPress = event->position().toPoint();
    QTableView::mousePressEvent(event);
}

void TResultsView::mouseDoubleClickEvent(QMouseEvent* event) {
    FLastPress = event->position().toPoint();
    QTableView::mouseDoubleClickEvent(event);
    emit DoubleClicked();
}

void TResultsView::contextMenuEvent(QContextMenuEvent* event) {
    if (!FContextMenu)
        return;
    const QPoint point = event->reason() == QContextMenuEvent::Mouse
                             ? event->pos()
                             : visualRect(currentIndex()).center();
    // Only a data cell opens the menu, and only with a focused row.
    const QModelIndex index = indexAt(point);
    if (!index.isValid() || ItemAt(index).Kind != TResultItem::ikFile || FocusedRecord() < 0)
        return;
    FContextMenu->exec(viewport()->mapToGlobal(point));
}

void TResultsView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update(); // selected rows change colour with the focus
}

void TResultsView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    ClearSearch();
    viewport()->update();
}

void TResultsView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!FSearchMoving)
        ClearSearch();
}

void TResultsView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    // A command that selects rows ends the incremental search as moving the focus does.
    if (!FSearchMoving)
        ClearSearch();
}

void TResultsView::ClearSearch() {
    if (FMatchedPosition < 0 && FTyped.isEmpty())
        return;
    FTyped.clear();
    FMatchedPosition = -1;
    viewport()->update();
}

int TResultsView::SearchMatchLength(const TResultItem& item) const {
    if (FMatchedPosition < 0)
        return 0;
    const auto position = static_cast<uint32_t>(FMatchedPosition);
    if (item.Kind == TResultItem::ikFile)
        return item.Index == position ? static_cast<int>(FTyped.size()) : 0;
    const TGroupTree& groups = FLines.Tree().Results().View().Groups();
    if (groups.Column(item.Level) != rcName)
        return 0;
    return FLines.Lines().GroupAt(position, item.Level) == item.Index
               ? static_cast<int>(FTyped.size())
               : 0;
}

void TResultsView::keyboardSearch(const QString& search) {
    if (search.isEmpty() || FLines.rowCount() == 0) {
        ClearSearch();
        return;
    }
    // Typing goes on from what was found until the focus moves elsewhere.
    const QString typed = FMatchedPosition >= 0 ? FTyped + search : search;
    const int64_t position = FLines.Tree().Results().View().FindNamePrefix(ToEngine(typed));
    if (position < 0)
        return; // nothing begins so: the row found last stays
    const int column = currentIndex().isValid() ? currentIndex().column() : rcPath;
    const QModelIndex target =
        FLines.IndexOf(TResultItem::File(static_cast<uint32_t>(position)), column);
    FSearchMoving = true;
    setCurrentIndex(target);
    FSearchMoving = false;
    scrollTo(target);
    FTyped = typed;
    FMatchedPosition = position;
    viewport()->update();
}

void TResultsView::keyPressEvent(QKeyEvent* event) {
    if (FMatchedPosition >= 0 && event->key() == Qt::Key_Escape) {
        ClearSearch();
        return;
    }
    if (FMatchedPosition >= 0 && event->key() == Qt::Key_Backspace) {
        const QString shorter = FTyped.left(FTyped.size() - 1);
        ClearSearch();
        if (!shorter.isEmpty())
            keyboardSearch(shorter);
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace quorvane
