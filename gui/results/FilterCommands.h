#pragma once

#include <functional>
#include <string>

#include <QObject>

#include "results/BatchWork.h"
#include "results/GridFilter.h"

class QMenu;
class QWidget;

namespace quorvane {

class TFilterBar;
class TFrmFilterBuilder;
class TResultsModel;
struct TMainActions;

// The main window's result filters: the Filter menu (the stored filters, up to ten, then
// "More..."), the tool-bar button and "Create filter..." that show the filter builder, the filter
// bar under the grid, and applying criteria to the grid.
//
// Applying goes through the engine's grid filter with the window's event pump between batches
// and the wait cursor showing, so a million rows do not freeze the window; the grid shows no rows
// while they are recounted. A filter that cannot be used is reported and changes nothing.
class TFilterCommands : public QObject {
    Q_OBJECT

public:
    struct THost {
        QWidget* Window = nullptr;
        std::string ConfigFile;
        TResultGrid* Results = nullptr;
        TResultsModel* Model = nullptr;
        // Lets events through inside a long step (the window refuses result changes meanwhile).
        TPump Pump;
        // Whether the results may change now (not inside such a step).
        std::function<bool()> MayChangeResults;
        // The rows were recounted: show them and the summary.
        std::function<void()> RowsRecounted;
    };

    TFilterCommands(THost host, const TMainActions& actions, TFilterBar& bar);

    // Applies the criteria to the grid; false when they were not applied (refused now, or a
    // condition cannot be used, which has been reported, naming the stored filter if one is
    // given).
    bool ApplyCriteria(const TFilterGroup& criteria, std::string_view storedName = {});
    // Clicks on the Filter menu's items: apply a stored filter without showing the builder, or
    // ("More...") show the builder with the eleventh stored filter loaded.
    void ApplyStoredFilter(const std::string& name);
    void MoreClick();
    // Shows the builder above the main window.
    void ShowBuilder();
    // Reads the stored filters' names into the Filter menu again (at start, after the default
    // filters are written, and after every save in the builder).
    void RebuildFilterMenu();

    TFrmFilterBuilder& Builder() const { return *FBuilder; }
    const TGridFilter& Filter() const { return FFilter; }

private:
    void SetFilterActive(bool active);
    void ShowFilterBar();

    THost FHost;
    QMenu* FMenu;
    TFilterBar& FBar;
    TGridFilter FFilter;
    TFrmFilterBuilder* FBuilder;
};

} // namespace quorvane
