#pragma once

#include <QDialog>
#include <QString>

#include "search/SearchCriteria.h"

namespace quorvane {

// The modal dialog "Search options": folders to search in a check-box folder tree, file masks,
// options, grouping and content comparison. Created once by the main window and kept for the
// run; the main window hands in its criteria with SetCriteria, shows the dialog with exec() and,
// when that returns QDialog::Accepted ("&Start"), takes them back with Criteria().
//
// Saving and loading profiles from the dialog sets the title of the parent's window (the main
// window) to the profile's caption; "&Start" marks that title " (changed)" when the dialog was
// modified since.
class TFrmSearchOptions : public QDialog {
    Q_OBJECT

public:
    explicit TFrmSearchOptions(QWidget* parent = nullptr);
    ~TFrmSearchOptions() override;

    void SetCriteria(const SearchCriteria& criteria);
    // The dialog's values; no include masks read as the single mask "*.*".
    SearchCriteria Criteria() const;

signals:
    // A profile was saved from the dialog under this file name.
    void ProfileSaved(const QString& fileName);
};

} // namespace quorvane
