#include "results/FilterValueEditors.h"

#include <cmath>

#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "dialogs/UserPrompts.h"
#include "platform/DateTime.h"
#include "results/FilterError.h"
#include "results/FilterOperands.h"

namespace quorvane {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// Whole numbers up to 2^53 keep every digit in the spin box's double.
constexpr double kLargestSize = 9007199254740992.0;

QHBoxLayout* TightRow(QWidget* owner) {
    auto* row = new QHBoxLayout(owner);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    return row;
}

class TTextValueEditor final : public TValueEditor {
public:
    explicit TTextValueEditor(QWidget* parent) : TValueEditor(parent), FEdit(new QLineEdit(this)) {
        TightRow(this)->addWidget(FEdit);
        setFocusProxy(FEdit);
        connect(FEdit, &QLineEdit::textEdited, this, &TValueEditor::Changed);
    }
    TFilterValue Value() const override { return ToEngine(FEdit->text()); }
    QString Text() const override { return FEdit->text(); }
    void SetValue(const TFilterValue& value) override {
        FEdit->setText(FromEngine(FilterValueToText(value)));
    }

private:
    QLineEdit* FEdit;
};

class TSizeValueEditor final : public TValueEditor {
public:
    explicit TSizeValueEditor(QWidget* parent)
        : TValueEditor(parent), FSpin(new QDoubleSpinBox(this)) {
        FSpin->setDecimals(0);
        FSpin->setRange(0, kLargestSize);
        FSpin->setGroupSeparatorShown(true);
        FSpin->setMinimumWidth(120);
        TightRow(this)->addWidget(FSpin);
        setFocusProxy(FSpin);
        connect(FSpin, &QDoubleSpinBox::valueChanged, this, &TValueEditor::Changed);
    }
    TFilterValue Value() const override {
        return FilterValueFromInt64(std::llround(FSpin->value()));
    }
    QString Text() const override { return FSpin->textFromValue(FSpin->value()); }
    void SetValue(const TFilterValue& value) override {
        try {
            const TSizeOperand size = SizeOperand(value);
            FSpin->setValue(size.IsWhole ? static_cast<double>(size.Whole) : size.Real);
        } catch (const TFilterError&) {
            // Not a size: the editor keeps what it shows.
        }
    }

private:
    QDoubleSpinBox* FSpin;
};

class TDateValueEditor final : public TValueEditor {
public:
    explicit TDateValueEditor(QWidget* parent)
        : TValueEditor(parent), FEdit(new QDateTimeEdit(this)) {
        FEdit->setCalendarPopup(true);
        FEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        FEdit->setDateTime(QDateTime(QDate::currentDate(), QTime(0, 0)));
        TightRow(this)->addWidget(FEdit);
        setFocusProxy(FEdit);
        connect(FEdit, &QDateTimeEdit::dateTimeChanged, this, &TValueEditor::Changed);
    }
    TFilterValue Value() const override {
        const QDateTime when = FEdit->dateTime();
        return TFilterDate{
            EncodeDateTime({when.date().year(), when.date().month(), when.date().day(),
                            when.time().hour(), when.time().minute(), when.time().second()})};
    }
    QString Text() const override { return FEdit->text(); }
    void SetValue(const TFilterValue& value) override {
        try {
            const TDateTimeParts parts =
                DecodeDateTime(static_cast<double>(DateOperandSeconds(value)) / kSecondsPerDay);
            FEdit->setDateTime(QDateTime(QDate(parts.Year, parts.Month, parts.Day),
                                         QTime(parts.Hour, parts.Minute, parts.Second)));
        } catch (const TFilterError&) {
            // Not a date: the editor keeps what it shows.
        }
    }

private:
    QDateTimeEdit* FEdit;
};

QToolButton* SmallButton(const QString& text, const QString& hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(hint);
    return button;
}

} // namespace

TValueEditor* NewValueEditor(TFilterColumn column, TFilterOperator op, QWidget* parent) {
    if (IsTextPatternOperator(op))
        return new TTextValueEditor(parent);
    switch (column) {
    case TFilterColumn::Size:
        return new TSizeValueEditor(parent);
    case TFilterColumn::Date:
        return new TDateValueEditor(parent);
    default:
        return new TTextValueEditor(parent);
    }
}

TOperandsEditor::TOperandsEditor(TFilterColumn column, TFilterOperator op, QWidget* parent)
    : QWidget(parent), FColumn(column), FOperator(op), FOperands(FilterOperandsOf(op)) {
    auto* row = TightRow(this);
    FEditorsLayout = new QHBoxLayout;
    FEditorsLayout->setSpacing(4);
    row->addLayout(FEditorsLayout, 1);
    switch (FOperands) {
    case TFilterOperands::None:
        break;
    case TFilterOperands::One:
        setFocusProxy(AddEditor());
        break;
    case TFilterOperands::Two:
        setFocusProxy(AddEditor());
        FEditorsLayout->addWidget(new QLabel(QStringLiteral("and"), this));
        AddEditor();
        break;
    case TFilterOperands::List: {
        setFocusProxy(AddEditor());
        QToolButton* add = SmallButton(QStringLiteral("+"), QStringLiteral("Add a value"), this);
        QToolButton* remove =
            SmallButton(QStringLiteral("-"), QStringLiteral("Remove the last value"), this);
        row->addWidget(add);
        row->addWidget(remove);
        connect(add, &QToolButton::clicked, this, &TOperandsEditor::AddListValue);
        connect(remove, &QToolButton::clicked, this, &TOperandsEditor::RemoveListValue);
        break;
    }
    }
}

TValueEditor* TOperandsEditor::AddEditor() {
    TValueEditor* editor = NewValueEditor(FColumn, FOperator, this);
    FEditorsLayout->addWidget(editor, 1);
    FEditors.push_back(editor);
    connect(editor, &TValueEditor::Changed, this, &TOperandsEditor::Changed);
    return editor;
}

void TOperandsEditor::AddListValue() {
    AddEditor()->setFocus();
    emit Changed();
}

void TOperandsEditor::RemoveListValue() {
    if (FEditors.size() < 2)
        return;
    delete FEditors.back();
    FEditors.pop_back();
    emit Changed();
}

TFilterValue TOperandsEditor::Value() const {
    if (FOperands == TFilterOperands::None)
        return TFilterNull{};
    if (FOperands == TFilterOperands::One)
        return FEditors.front()->Value();
    TFilterValueList values;
    for (const TValueEditor* editor : FEditors)
        values.push_back(editor->Value());
    return values;
}

std::string TOperandsEditor::Text() const {
    const QString separator =
        FOperands == TFilterOperands::Two ? QStringLiteral(" and ") : QStringLiteral(", ");
    QStringList texts;
    for (const TValueEditor* editor : FEditors)
        texts << editor->Text();
    return ToEngine(texts.join(separator));
}

void TOperandsEditor::SetValue(const TFilterValue& value) {
    if (FOperands == TFilterOperands::None)
        return;
    if (!value.Is<TFilterValueList>()) {
        FEditors.front()->SetValue(value);
        return;
    }
    const TFilterValueList& values = value.As<TFilterValueList>();
    if (FOperands == TFilterOperands::List)
        while (FEditors.size() < values.size())
            AddEditor();
    for (std::size_t i = 0; i < values.size() && i < FEditors.size(); ++i)
        FEditors[i]->SetValue(values[i]);
}

} // namespace quorvane
