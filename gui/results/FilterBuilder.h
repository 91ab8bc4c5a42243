#pragma once

#include <functional>
#include <string>

#include <QDialog>

#include "results/FilterTree.h"

class QComboBox;
class QPushButton;

namespace quorvane {

class TConditionTreeEditor;

// The filter builder ("Filter builder"): the condition-tree editor above a strip with the stored
// filters' names ("Filters:"), "Save", OK, Cancel and "Apply". Created at start-up, hidden, and
// kept for the whole run, so its conditions stay while it is closed. It stays above the main
// window without blocking it.
//
// Each showing reads the stored names into the list and selects none; picking a name loads it
// (nothing is applied), picking none clears the conditions. "Save" opens Manage filters, stores
// the conditions under the name chosen there, deletes the names deleted there, reads the names
// again and tells the main window (FiltersChanged) to rebuild its Filter menu.
class TFrmFilterBuilder : public QDialog {
    Q_OBJECT

public:
    // Applies criteria to the grid; false when they were not applied (the user has been told).
    using TApply = std::function<bool(const TFilterGroup&)>;

    TFrmFilterBuilder(std::string configFile, TApply apply, QWidget* mainWindow);

    // Loads the stored filter into the editor. Throws TFilterError, naming the filter, when it is
    // missing or cannot be read: the editor then keeps its conditions.
    void Load(const std::string& name);
    // Stores the editor's conditions under the name. Throws TFilterError (too long to be read
    // back; nothing written) or TIniWriteError.
    void Store(const std::string& name);
    // Applies the editor's conditions; false when they were not applied.
    bool Apply();

    TConditionTreeEditor& Editor() const { return *FEditor; }
    QComboBox& FilterList() const { return *FList; }
    // Selects the entry at `index` of the list (nothing when there is no such entry), then runs
    // the list-selection step: the entry's filter is loaded, or the conditions are cleared.
    void SelectFilter(int index);

signals:
    void FiltersChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ReadNames(const QString& select);
    void ListSelected();
    void btnSaveClick();
    void btnOKClick();

    std::string FConfigFile;
    TApply FApply;
    TConditionTreeEditor* FEditor;
    QComboBox* FList;
};

} // namespace quorvane
