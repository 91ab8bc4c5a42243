#include "results/ManageFilters.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/UserPrompts.h"

namespace quorvane {
namespace {

constexpr int kDragDistance = 3;
const char* const kNameMime = "application/x-quorvane-filter-name";

QToolButton* ArrowButton(Qt::ArrowType arrow, const QString& hint, const QString& name,
                         QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setObjectName(name);
    return button;
}

} // namespace

// --- TFilterNamesList ---

TFilterNamesList::TFilterNamesList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("lbxFilters"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
}

void TFilterNamesList::DropName(int source, int target) {
    const int names = count();
    if (names < 2 || source < 0 || source >= names || target < 0 || target > names)
        return;
    // Inserting after the target and then deleting the old place leaves the name at the target
    // position whichever way it moves.
    QListWidgetItem* item = takeItem(source);
    if (target < names)
        insertItem(target, item);
    else
        addItem(item);
    if (target < names) {
        setCurrentRow(target);
    } else {
        clearSelection();
        setCurrentItem(nullptr);
    }
}

void TFilterNamesList::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    FPressPoint = event->position().toPoint();
    const QModelIndex pressed = indexAt(FPressPoint);
    FPressRow = pressed.isValid() ? pressed.row() : -1;
}

void TFilterNamesList::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || FPressRow < 0 ||
        (event->position().toPoint() - FPressPoint).manhattanLength() < kDragDistance) {
        QListWidget::mouseMoveEvent(event);
        return;
    }
    const int row = FPressRow;
    FPressRow = -1;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kNameMime), QByteArray::number(row));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

bool TFilterNamesList::TakesDrop(const QDropEvent* event) const {
    return event->source() == this && event->mimeData()->hasFormat(QString::fromLatin1(kNameMime));
}

void TFilterNamesList::dragEnterEvent(QDragEnterEvent* event) {
    if (TakesDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFilterNamesList::dragMoveEvent(QDragMoveEvent* event) {
    if (TakesDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFilterNamesList::dropEvent(QDropEvent* event) {
    if (!TakesDrop(event)) {
        event->ignore();
        return;
    }
    const int source = event->mimeData()->data(QString::fromLatin1(kNameMime)).toInt();
    const QModelIndex under = indexAt(event->position().toPoint());
    DropName(source, under.isValid() ? under.row() : count());
    event->acceptProposedAction();
}

// --- TFrmManageFilters ---

TFrmManageFilters::TFrmManageFilters(const QStringList& names, QWidget* parent)
    : QDialog(parent), FList(new TFilterNamesList(this)) {
    setObjectName(QStringLiteral("TFrmManageFilters"));
    setWindowTitle(QStringLiteral("Manage filters"));
    FList->addItems(names);

    auto* label = new QLabel(QStringLiteral("Filters"), this);
    label->setBuddy(FList);
    QToolButton* up =
        ArrowButton(Qt::UpArrow, QStringLiteral("Move item up"), QStringLiteral("spbtnUp"), this);
    QToolButton* down = ArrowButton(Qt::DownArrow, QStringLiteral("Move item down"),
                                    QStringLiteral("spbtnDown"), this);
    const auto button = [this](const QString& caption, const QString& name) {
        auto* made = new QPushButton(caption, this);
        made->setObjectName(name);
        made->setAutoDefault(false);
        return made;
    };
    QPushButton* add = button(QStringLiteral("New"), QStringLiteral("btnNew"));
    QPushButton* save = button(QStringLiteral("Save"), QStringLiteral("btnSave"));
    QPushButton* remove = button(QStringLiteral("Delete"), QStringLiteral("btnDelete"));
    QPushButton* cancel = button(QStringLiteral("Cancel"), QStringLiteral("btnCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(FList, 1, 0, 5, 1);
    auto* arrows = new QVBoxLayout;
    arrows->addWidget(up);
    arrows->addWidget(down);
    arrows->addStretch();
    grid->addLayout(arrows, 1, 1, 5, 1);
    grid->addWidget(add, 1, 2);
    grid->addWidget(save, 2, 2);
    grid->addWidget(remove, 3, 2);
    grid->addWidget(cancel, 4, 2);
    grid->setRowStretch(5, 1);
    setFixedSize(281, 216);

    connect(add, &QPushButton::clicked, this, &TFrmManageFilters::btnNewClick);
    connect(save, &QPushButton::clicked, this, &TFrmManageFilters::btnSaveClick);
    connect(remove, &QPushButton::clicked, this, &TFrmManageFilters::btnDeleteClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(up, &QToolButton::clicked, this, &TFrmManageFilters::MoveUpClick);
    connect(down, &QToolButton::clicked, this, &TFrmManageFilters::MoveDownClick);
}

void TFrmManageFilters::Choose(const QString& name) {
    FChosenName = name;
    // Storing a name and then deleting it would lose the filter just stored.
    FNamesToDelete.removeIf([&name](const QString& deleted) {
        return deleted.compare(name, Qt::CaseInsensitive) == 0;
    });
    accept();
}

void TFrmManageFilters::btnNewClick() {
    const std::optional<QString> answer = UserPrompts().InputText(
        this, QStringLiteral("Filter name"), QStringLiteral("Enter filter name:"));
    // The configuration file keeps key names without surrounding blanks.
    const QString name = answer ? answer->trimmed() : QString();
    if (name.isEmpty())
        return;
    for (int row = 0; row < FList->count(); ++row) {
        if (FList->item(row)->text().compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (!AskYesNo(this, QStringLiteral("Filter name already exists, overwrite?")))
            return;
        break;
    }
    Choose(name);
}

void TFrmManageFilters::btnSaveClick() {
    QListWidgetItem* selected = FList->currentItem();
    if (!selected || !selected->isSelected()) {
        ShowError(this, QStringLiteral("Please, select a filter name to save"));
        return;
    }
    const QString name = selected->text();
    // No keeps the dialog open, as Cancel does: there is no name to store under.
    if (AskYesNoCancel(this, QStringLiteral("Confirm overwrite of filter\"%1\"?").arg(name)) ==
        QMessageBox::Yes)
        Choose(name);
}

void TFrmManageFilters::btnDeleteClick() {
    QListWidgetItem* selected = FList->currentItem();
    if (!selected || !selected->isSelected())
        return;
    const QString name = selected->text();
    if (!AskYesNo(this, QStringLiteral("Confirm delete of filter\"%1\"?").arg(name)))
        return;
    FNamesToDelete << name;
    delete FList->takeItem(FList->row(selected));
}

void TFrmManageFilters::MoveSelected(int step) {
    QListWidgetItem* selected = FList->currentItem();
    if (!selected || !selected->isSelected())
        return;
    const int row = FList->row(selected);
    const int to = row + step;
    if (to < 0 || to >= FList->count())
        return;
    FList->insertItem(to, FList->takeItem(row));
    FList->setCurrentRow(to);
}

void TFrmManageFilters::MoveUpClick() {
    MoveSelected(-1);
}

void TFrmManageFilters::MoveDownClick() {
    MoveSelected(+1);
}

} // namespace quorvane
