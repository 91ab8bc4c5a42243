#pragma once

#include <optional>

#include <QFrame>
#include <QScrollArea>

#include "results/FilterTree.h"

class QComboBox;
class QMimeData;
class QHBoxLayout;
class QVBoxLayout;

namespace quorvane {

class TOperandsEditor;

// One condition: its column (Name, Size, Date, Path), an operator that fits the column, and the
// editor of what it compares with. A condition set from stored criteria is given back unchanged
// until the user edits it, so that storing it again writes the same bytes. Delete, pressed on any
// of its controls but a text field, removes it.
class TConditionWidget : public QFrame {
    Q_OBJECT

public:
    explicit TConditionWidget(QWidget* parent = nullptr);

    void SetCondition(const TFilterCondition& condition);
    TFilterCondition Condition() const;

    QComboBox* ColumnBox() const { return FColumn; }
    QComboBox* OperatorBox() const { return FOperator; }
    TOperandsEditor* Operands() const { return FOperands; }

signals:
    void Changed();
    void RemoveRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TFilterColumn Column() const;
    TFilterOperator Operator() const;
    void FillOperators(TFilterOperator wanted);
    void RebuildOperands();
    void Edited();

    QHBoxLayout* FRow;
    QComboBox* FColumn;
    QComboBox* FOperator;
    TOperandsEditor* FOperands = nullptr;
    std::optional<TFilterCondition> FLoaded;
    bool FFilling = false;
};

// A group: its operator (AND, OR, NOT AND, NOT OR) over the conditions and groups it holds, with
// buttons that add a condition or a nested group, and (except for the root) remove the group.
class TGroupWidget : public QFrame {
    Q_OBJECT

public:
    TGroupWidget(bool root, QWidget* parent = nullptr);

    void SetGroup(const TFilterGroup& group);
    TFilterGroup Group() const;
    TConditionWidget* AddCondition();
    TGroupWidget* AddGroup();
    QComboBox* OperatorBox() const { return FOperator; }
    // The condition and group widgets it holds, in order.
    QList<QWidget*> Items() const;

signals:
    void Changed();
    void RemoveRequested();

private:
    void Adopt(QWidget* item);
    void Remove(QWidget* item);

    QComboBox* FOperator;
    QVBoxLayout* FItems;
};

// The filter builder's condition tree: the root group and everything under it, scrolling when it
// grows, on the builder's blue background. It edits the engine's condition tree and gives it back
// as criteria; it decides nothing about which rows pass.
class TConditionTreeEditor : public QScrollArea {
    Q_OBJECT

public:
    explicit TConditionTreeEditor(QWidget* parent = nullptr);

    void SetCriteria(const TFilterGroup& criteria);
    TFilterGroup Criteria() const;
    void Clear();
    // Adds a condition at the end of the root group.
    void AddCondition(const TFilterCondition& condition);
    TGroupWidget* Root() const { return FRoot; }
    // A drop from `source`: only a cell dragged from the results grid is taken, and it adds its
    // "equals" condition at the end of the root group (nothing is applied). Returns whether taken.
    bool DropCell(const QMimeData& data, const QObject* source);

signals:
    void Changed();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static bool FromResultsGrid(const QMimeData& data, const QObject* source);
    void NewRoot();

    TGroupWidget* FRoot = nullptr;
};

} // namespace quorvane
