#include "results/FilterBuilder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/StoredFilters.h"
#include "dialogs/UserPrompts.h"
#include "platform/IniFile.h"
#include "results/ConditionTreeEditor.h"
#include "results/ManageFilters.h"

namespace quorvane {

TFrmFilterBuilder::TFrmFilterBuilder(std::string configFile, TApply apply, QWidget* mainWindow)
    : QDialog(mainWindow), FConfigFile(std::move(configFile)), FApply(std::move(apply)),
      FEditor(new TConditionTreeEditor(this)), FList(new QComboBox(this)) {
    setObjectName(QStringLiteral("TFrmFilterBuilder"));
    setWindowTitle(QStringLiteral("Filter builder"));
    setModal(false);
    resize(540, 448);
    setMinimumSize(540, 150);
    FEditor->setObjectName(QStringLiteral("fcFilter"));
    FList->setObjectName(QStringLiteral("cbFilters"));
    FList->setEditable(false);
    FList->setMinimumWidth(160);

    const auto button = [this](const QString& caption, const QString& name) {
        auto* made = new QPushButton(caption, this);
        made->setObjectName(name);
        made->setAutoDefault(false);
        return made;
    };
    QPushButton* save = button(QStringLiteral("Save"), QStringLiteral("btnSave"));
    QPushButton* ok = button(QStringLiteral("OK"), QStringLiteral("btnOK"));
    QPushButton* cancel = button(QStringLiteral("Cancel"), QStringLiteral("btnCancel"));
    QPushButton* applyButton = button(QStringLiteral("Apply"), QStringLiteral("btnApply"));
    auto* label = new QLabel(QStringLiteral("Filters:"), this);
    label->setBuddy(FList);

    auto* strip = new QGridLayout;
    strip->addWidget(label, 0, 0);
    strip->addWidget(FList, 1, 0);
    strip->addWidget(save, 1, 1);
    strip->setColumnStretch(2, 1);
    strip->addWidget(ok, 1, 3);
    strip->addWidget(cancel, 1, 4);
    strip->addWidget(applyButton, 1, 5);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FEditor, 1);
    layout->addLayout(strip);

    connect(FList, &QComboBox::activated, this, &TFrmFilterBuilder::ListSelected);
    connect(save, &QPushButton::clicked, this, &TFrmFilterBuilder::btnSaveClick);
    connect(ok, &QPushButton::clicked, this, &TFrmFilterBuilder::btnOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(applyButton, &QPushButton::clicked, this, &TFrmFilterBuilder::Apply);
}

void TFrmFilterBuilder::Load(const std::string& name) {
    FEditor->SetCriteria(LoadStoredFilter(FConfigFile, name));
}

void TFrmFilterBuilder::Store(const std::string& name) {
    StoreFilter(FConfigFile, name, FEditor->Criteria());
}

bool TFrmFilterBuilder::Apply() {
    return FApply(FEditor->Criteria());
}

void TFrmFilterBuilder::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ReadNames({});
}

void TFrmFilterBuilder::ReadNames(const QString& select) {
    FList->clear();
    for (const std::string& name : StoredFilterNames(FConfigFile))
        FList->addItem(FromEngine(name));
    FList->setCurrentIndex(select.isEmpty() ? -1 : FList->findText(select));
}

void TFrmFilterBuilder::SelectFilter(int index) {
    FList->setCurrentIndex(index < FList->count() ? index : -1);
    ListSelected();
}

void TFrmFilterBuilder::ListSelected() {
    if (FList->currentIndex() < 0) {
        FEditor->Clear();
        return;
    }
    try {
        Load(ToEngine(FList->currentText()));
    } catch (const TFilterError& error) {
        ShowError(this, FromEngine(error.what()));
    }
}

void TFrmFilterBuilder::btnOKClick() {
    if (Apply())
        accept();
}

void TFrmFilterBuilder::btnSaveClick() {
    QString remembered = FList->currentIndex() < 0 ? QString() : FList->currentText();
    QStringList names;
    for (int i = 0; i < FList->count(); ++i)
        names << FList->itemText(i);
    TFrmManageFilters manage(names, this);
    const bool confirmed = manage.exec() == QDialog::Accepted && !manage.ChosenName().isEmpty();
    try {
        if (confirmed) {
            Store(ToEngine(manage.ChosenName()));
            remembered = manage.ChosenName();
        }
    } catch (const TFilterError& error) {
        ShowError(this, FromEngine(error.what()));
    } catch (const TIniWriteError& error) {
        ShowError(this, FromEngine(error.what()), FromEngine(error.Reason()));
    }
    // Deletions made in the dialog count even when it was cancelled.
    try {
        std::vector<std::string> deleted;
        for (const QString& name : manage.NamesToDelete())
            deleted.push_back(ToEngine(name));
        DeleteStoredFilters(FConfigFile, deleted);
    } catch (const TIniWriteError& error) {
        ShowError(this, FromEngine(error.what()), FromEngine(error.Reason()));
    }
    ReadNames(remembered);
    emit FiltersChanged();
}

} // namespace quorvane
