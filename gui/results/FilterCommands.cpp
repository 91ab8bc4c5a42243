#include "results/FilterCommands.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>

#include <optional>

#include "app/MainActions.h"
#include "app/StoredFilters.h"
#include "dialogs/UserPrompts.h"
#include "results/ConditionTreeEditor.h"
#include "results/FilterBar.h"
#include "results/FilterBuilder.h"
#include "results/ResultsModel.h"

namespace quorvane {
namespace {

constexpr std::size_t kMenuFilters = 10;
// The Filter menu's own items before the stored filters: "Create filter..." and a separator.
constexpr int kFixedMenuItems = 2;

// The wait cursor for as long as it lives, also when an error escapes.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

QString MenuCaption(const QString& name) {
    // A "&" in a name is part of it, not a mnemonic.
    return QString(name).replace(u'&', QStringLiteral("&&"));
}

} // namespace

TFilterCommands::TFilterCommands(THost host, const TMainActions& actions, TFilterBar& bar)
    : QObject(host.Window), FHost(std::move(host)), FMenu(actions.FilterMenu), FBar(bar),
      FFilter(*FHost.Results),
      FBuilder(new TFrmFilterBuilder(
          FHost.ConfigFile,
          [this](const TFilterGroup& criteria) { return ApplyCriteria(criteria); }, FHost.Window)) {
    connect(actions.CreateFilter, &QAction::triggered, this, &TFilterCommands::ShowBuilder);
    connect(actions.FilterData, &QAction::triggered, this, &TFilterCommands::ShowBuilder);
    connect(&FBar, &TFilterBar::CustomizeClicked, this, &TFilterCommands::ShowBuilder);
    connect(&FBar, &TFilterBar::Switched, this, &TFilterCommands::SetFilterActive);
    connect(FBuilder, &TFrmFilterBuilder::FiltersChanged, this,
            &TFilterCommands::RebuildFilterMenu);
}

bool TFilterCommands::ApplyCriteria(const TFilterGroup& criteria, std::string_view storedName) {
    if (!FHost.MayChangeResults())
        return false;
    std::optional<QString> failure;
    {
        const TWaitCursor wait;
        FHost.Model->Detach();
        try {
            FFilter.Apply(criteria, FHost.Pump);
        } catch (const TFilterError& error) {
            failure = FromEngine(storedName.empty() ? error.what()
                                                    : StoredFilterError(storedName, error).what());
        }
        FHost.RowsRecounted();
    }
    ShowFilterBar();
    if (failure) {
        ShowError(FHost.Window, *failure);
        return false;
    }
    return true;
}

void TFilterCommands::SetFilterActive(bool active) {
    if (FHost.MayChangeResults()) {
        const TWaitCursor wait;
        FHost.Model->Detach();
        FFilter.SetActive(active, FHost.Pump);
        FHost.RowsRecounted();
    }
    ShowFilterBar();
}

void TFilterCommands::ShowFilterBar() {
    FBar.ShowFilter(FFilter.HasFilter() ? FromEngine(FFilter.Text()) : QString(), FFilter.Active());
}

void TFilterCommands::ApplyStoredFilter(const std::string& name) {
    // Not even the builder's conditions change while a step is at work on the results.
    if (!FHost.MayChangeResults())
        return;
    try {
        FBuilder->Load(name);
    } catch (const TFilterError& error) {
        ShowError(FHost.Window, FromEngine(error.what()));
        return;
    }
    ApplyCriteria(FBuilder->Editor().Criteria(), name);
}

void TFilterCommands::MoreClick() {
    FBuilder->SelectFilter(static_cast<int>(kMenuFilters));
    ShowBuilder();
}

void TFilterCommands::ShowBuilder() {
    FBuilder->show();
    FBuilder->raise();
    FBuilder->activateWindow();
}

void TFilterCommands::RebuildFilterMenu() {
    const QList<QAction*> items = FMenu->actions();
    for (qsizetype i = kFixedMenuItems; i < items.size(); ++i) {
        FMenu->removeAction(items[i]);
        delete items[i];
    }
    const std::vector<std::string> names = StoredFilterNames(FHost.ConfigFile);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i == kMenuFilters) {
            connect(FMenu->addAction(QStringLiteral("More...")), &QAction::triggered, this,
                    &TFilterCommands::MoreClick);
            break;
        }
        QAction* item = FMenu->addAction(MenuCaption(FromEngine(names[i])));
        connect(item, &QAction::triggered, this,
                [this, name = names[i]] { ApplyStoredFilter(name); });
    }
}

} // namespace quorvane
