#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "results/FilterColumnOperators.h"
#include "results/FilterValue.h"

class QBoxLayout;

namespace quorvane {

// One value of a condition, edited the way its column shows values: text for Name and Path, a
// whole number with thousands separators for Size, a date and time picker for Date; text for the
// text patterns on any column.
class TValueEditor : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual TFilterValue Value() const = 0;
    // The value as the editor shows it.
    virtual QString Text() const = 0;
    // Shows a value of any kind as well as the column allows (a value it cannot show leaves the
    // editor as it was).
    virtual void SetValue(const TFilterValue& value) = 0;

signals:
    void Changed();
};

TValueEditor* NewValueEditor(TFilterColumn column, TFilterOperator op, QWidget* parent);

// What a condition compares with, as its operator asks: nothing, one value, two bounds side by
// side, or a list of values that grows and shrinks with its "+" and "-" buttons.
class TOperandsEditor : public QWidget {
    Q_OBJECT

public:
    TOperandsEditor(TFilterColumn column, TFilterOperator op, QWidget* parent = nullptr);

    TFilterOperands Operands() const { return FOperands; }
    // Nothing for no operands, a list of two for the bounds, a list for "in list".
    TFilterValue Value() const;
    // The display text of a condition: the value, "low and high", or the values joined by ", ".
    std::string Text() const;
    void SetValue(const TFilterValue& value);
    // The value editors, in order (for tests and the focus chain).
    const std::vector<TValueEditor*>& Editors() const { return FEditors; }
    void AddListValue();
    void RemoveListValue();

signals:
    void Changed();

private:
    TValueEditor* AddEditor();

    TFilterColumn FColumn;
    TFilterOperator FOperator;
    TFilterOperands FOperands;
    QBoxLayout* FEditorsLayout = nullptr;
    std::vector<TValueEditor*> FEditors;
};

} // namespace quorvane
