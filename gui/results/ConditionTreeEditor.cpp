#include "results/ConditionTreeEditor.h"

#include <algorithm>

#include <QComboBox>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/UserPrompts.h"
#include "results/CellDrag.h"
#include "results/FilterColumnOperators.h"
#include "results/FilterValueEditors.h"
#include "results/ResultsView.h"

namespace quorvane {
namespace {

constexpr int kNestingIndent = 24;

QColor EditorBackground() {
    return {213, 222, 242};
}

QToolButton* RemoveButton(const QString& hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("\u2715"));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

TFilterCondition NewCondition() {
    return {TFilterOperator::Like, "", TFilterColumn::Name, std::string()};
}

} // namespace

// --- TConditionWidget ---

TConditionWidget::TConditionWidget(QWidget* parent)
    : QFrame(parent), FRow(new QHBoxLayout(this)), FColumn(new QComboBox(this)),
      FOperator(new QComboBox(this)) {
    FRow->setContentsMargins(0, 0, 0, 0);
    FRow->setSpacing(4);
    for (int code = static_cast<int>(TFilterColumn::Name);
         code <= static_cast<int>(TFilterColumn::Path); ++code)
        FColumn->addItem(
            FromEngine(std::string(FilterColumnName(static_cast<TFilterColumn>(code)))), code);
    FColumn->setAccessibleName(QStringLiteral("Column"));
    FOperator->setAccessibleName(QStringLiteral("Operator"));
    FRow->addWidget(FColumn);
    FRow->addWidget(FOperator);
    QToolButton* remove = RemoveButton(QStringLiteral("Remove condition"), this);
    FRow->addWidget(remove);
    FRow->addStretch();
    setFocusProxy(FColumn);
    FillOperators(TFilterOperator::Like);
    RebuildOperands();

    connect(FColumn, &QComboBox::currentIndexChanged, this, [this] {
        if (FFilling)
            return;
        FillOperators(Operator());
        RebuildOperands();
        Edited();
    });
    connect(FOperator, &QComboBox::currentIndexChanged, this, [this] {
        if (FFilling)
            return;
        // The value carries over to the new operator's editor as far as it fits.
        const TFilterValue value = FOperands->Value();
        RebuildOperands();
        FOperands->SetValue(value);
        Edited();
    });
    connect(remove, &QToolButton::clicked, this, &TConditionWidget::RemoveRequested);
}

TFilterColumn TConditionWidget::Column() const {
    return static_cast<TFilterColumn>(FColumn->currentData().toInt());
}

TFilterOperator TConditionWidget::Operator() const {
    return static_cast<TFilterOperator>(FOperator->currentData().toInt());
}

void TConditionWidget::FillOperators(TFilterOperator wanted) {
    FFilling = true;
    FOperator->clear();
    std::vector<TFilterOperator> offered = FilterOperatorsFor(Column());
    // A stored condition may use an operator the column does not offer: it still shows.
    if (std::find(offered.begin(), offered.end(), wanted) == offered.end() && FLoaded)
        offered.push_back(wanted);
    for (TFilterOperator op : offered)
        FOperator->addItem(FromEngine(std::string(FilterOperatorName(op))), static_cast<int>(op));
    const int index = FOperator->findData(static_cast<int>(wanted));
    FOperator->setCurrentIndex(index >= 0 ? index : 0);
    FFilling = false;
}

void TConditionWidget::RebuildOperands() {
    auto* operands = new TOperandsEditor(Column(), Operator(), this);
    if (FOperands) {
        FRow->replaceWidget(FOperands, operands);
        delete FOperands;
    } else {
        FRow->insertWidget(2, operands, 1);
    }
    FOperands = operands;
    FRow->setStretchFactor(FOperands, 1);
    setTabOrder(FOperator, FOperands);
    connect(FOperands, &TOperandsEditor::Changed, this, &TConditionWidget::Edited);
}

void TConditionWidget::Edited() {
    FLoaded.reset();
    emit Changed();
}

void TConditionWidget::SetCondition(const TFilterCondition& condition) {
    FLoaded = condition;
    FFilling = true;
    FColumn->setCurrentIndex(FColumn->findData(static_cast<int>(condition.Column)));
    FFilling = false;
    FillOperators(condition.Operator);
    RebuildOperands();
    FOperands->SetValue(condition.Value);
    // Showing the value is no edit.
    FLoaded = condition;
}

TFilterCondition TConditionWidget::Condition() const {
    if (FLoaded)
        return *FLoaded;
    return {Operator(), FOperands->Text(), Column(), FOperands->Value()};
}

void TConditionWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit RemoveRequested();
        return;
    }
    QFrame::keyPressEvent(event);
}

// --- TGroupWidget ---

TGroupWidget::TGroupWidget(bool root, QWidget* parent)
    : QFrame(parent), FOperator(new QComboBox(this)), FItems(new QVBoxLayout) {
    if (!root)
        setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(root ? 0 : 4, root ? 0 : 4, root ? 0 : 4, root ? 0 : 4);
    auto* header = new QHBoxLayout;
    for (const char* caption : {"AND", "OR", "NOT AND", "NOT OR"})
        FOperator->addItem(QString::fromLatin1(caption));
    FOperator->setAccessibleName(QStringLiteral("Group operator"));
    FOperator->setToolTip(QStringLiteral("How the items of the group combine"));
    auto* addCondition = new QPushButton(QStringLiteral("Add &condition"), this);
    auto* addGroup = new QPushButton(QStringLiteral("Add &group"), this);
    header->addWidget(FOperator);
    header->addWidget(addCondition);
    header->addWidget(addGroup);
    if (!root) {
        QToolButton* remove = RemoveButton(QStringLiteral("Remove group"), this);
        header->addWidget(remove);
        connect(remove, &QToolButton::clicked, this, &TGroupWidget::RemoveRequested);
    }
    header->addStretch();
    layout->addLayout(header);
    FItems->setContentsMargins(kNestingIndent, 0, 0, 0);
    FItems->setSpacing(4);
    layout->addLayout(FItems);
    setFocusProxy(FOperator);

    connect(FOperator, &QComboBox::currentIndexChanged, this, &TGroupWidget::Changed);
    connect(addCondition, &QPushButton::clicked, this, [this] {
        AddCondition()->setFocus();
        emit Changed();
    });
    connect(addGroup, &QPushButton::clicked, this, [this] {
        AddGroup()->setFocus();
        emit Changed();
    });
}

void TGroupWidget::Adopt(QWidget* item) {
    FItems->addWidget(item);
    item->show();
}

TConditionWidget* TGroupWidget::AddCondition() {
    auto* condition = new TConditionWidget(this);
    condition->SetCondition(NewCondition());
    connect(condition, &TConditionWidget::Changed, this, &TGroupWidget::Changed);
    connect(condition, &TConditionWidget::RemoveRequested, this,
            [this, condition] { Remove(condition); });
    Adopt(condition);
    return condition;
}

TGroupWidget* TGroupWidget::AddGroup() {
    auto* group = new TGroupWidget(false, this);
    connect(group, &TGroupWidget::Changed, this, &TGroupWidget::Changed);
    connect(group, &TGroupWidget::RemoveRequested, this, [this, group] { Remove(group); });
    Adopt(group);
    return group;
}

void TGroupWidget::Remove(QWidget* item) {
    const QList<QWidget*> items = Items();
    const qsizetype at = items.indexOf(item);
    // The focus goes on to the next item, else the previous one, else the group's operator.
    QWidget* next = at + 1 < items.size() ? items[at + 1] : at > 0 ? items[at - 1] : FOperator;
    FItems->removeWidget(item);
    item->hide();
    item->deleteLater();
    next->setFocus();
    emit Changed();
}

QList<QWidget*> TGroupWidget::Items() const {
    QList<QWidget*> items;
    for (int i = 0; i < FItems->count(); ++i)
        if (QWidget* widget = FItems->itemAt(i)->widget())
            items << widget;
    return items;
}

void TGroupWidget::SetGroup(const TFilterGroup& group) {
    FOperator->setCurrentIndex(static_cast<int>(group.Operator));
    for (const TFilterItem& item : group.Items) {
        if (const auto* condition = std::get_if<TFilterCondition>(&item.Node))
            AddCondition()->SetCondition(*condition);
        else
            AddGroup()->SetGroup(std::get<TFilterGroup>(item.Node));
    }
}

TFilterGroup TGroupWidget::Group() const {
    TFilterGroup group{static_cast<TFilterGroupOperator>(FOperator->currentIndex()), {}};
    for (QWidget* item : Items()) {
        if (auto* condition = qobject_cast<TConditionWidget*>(item))
            group.Items.emplace_back(condition->Condition());
        else if (auto* nested = qobject_cast<TGroupWidget*>(item))
            group.Items.emplace_back(nested->Group());
    }
    return group;
}

// --- TConditionTreeEditor ---

TConditionTreeEditor::TConditionTreeEditor(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    QPalette look = palette();
    look.setColor(QPalette::Window, EditorBackground());
    setPalette(look);
    viewport()->setAutoFillBackground(true);
    setAcceptDrops(true);
    NewRoot();
}

bool TConditionTreeEditor::FromResultsGrid(const QMimeData& data, const QObject* source) {
    return qobject_cast<const TResultsView*>(source) && CarriesCell(data);
}

bool TConditionTreeEditor::DropCell(const QMimeData& data, const QObject* source) {
    if (!FromResultsGrid(data, source))
        return false;
    const std::optional<TFilterCondition> condition = DroppedCellCondition(data);
    if (!condition)
        return false;
    setUpdatesEnabled(false);
    AddCondition(*condition);
    setUpdatesEnabled(true);
    return true;
}

void TConditionTreeEditor::dragEnterEvent(QDragEnterEvent* event) {
    if (FromResultsGrid(*event->mimeData(), event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TConditionTreeEditor::dragMoveEvent(QDragMoveEvent* event) {
    if (FromResultsGrid(*event->mimeData(), event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TConditionTreeEditor::dropEvent(QDropEvent* event) {
    if (DropCell(*event->mimeData(), event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TConditionTreeEditor::NewRoot() {
    auto* holder = new QWidget;
    holder->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(holder);
    FRoot = new TGroupWidget(true, holder);
    layout->addWidget(FRoot);
    layout->addStretch();
    connect(FRoot, &TGroupWidget::Changed, this, &TConditionTreeEditor::Changed);
    setWidget(holder); // deletes the former root with its holder
    setFocusProxy(FRoot);
}

void TConditionTreeEditor::SetCriteria(const TFilterGroup& criteria) {
    NewRoot();
    FRoot->SetGroup(criteria);
    emit Changed();
}

TFilterGroup TConditionTreeEditor::Criteria() const {
    return FRoot->Group();
}

void TConditionTreeEditor::Clear() {
    SetCriteria({});
}

void TConditionTreeEditor::AddCondition(const TFilterCondition& condition) {
    FRoot->AddCondition()->SetCondition(condition);
    emit Changed();
}

} // namespace quorvane
