#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

#include "search/SearchCriteria.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

namespace quorvane {

class TFolderCheckModel;
class TFolderSortModel;

// The modal dialog "Search options": folders to search in a check-box folder tree, file masks,
// options, grouping and content comparison. Created once by the main window and kept for the
// run; the main window hands in its criteria with SetCriteria, shows the dialog with exec() and,
// when that returns QDialog::Accepted ("&Start"), takes them back with Criteria().
//
// Saving and loading profiles from the dialog sets the title of the parent's window (the main
// window) to the profile's caption; "&Start" marks that title " (changed)" when the dialog was
// modified since.
//
// The folder lists: showing the dialog clears the tree's marks (the lists keep what was handed
// in, the tree does not show it); closing it by any button replaces both lists with the tree's
// marks (CollectFolders), so "&Start" with nothing checked hands back no include folders.
class TFrmSearchOptions : public QDialog {
    Q_OBJECT

public:
    explicit TFrmSearchOptions(QWidget* parent = nullptr);
    ~TFrmSearchOptions() override;

    void SetCriteria(const SearchCriteria& criteria);
    // The dialog's values; no include masks read as the single mask "*.*".
    SearchCriteria Criteria() const;

    // Writes the dialog as a profile. Throws TIniWriteError when the file cannot be written.
    void SaveProfile(const QString& fileName);
    // Reads a profile into the dialog and shows its folders in the tree. Options the file does
    // not hold keep the dialog's values; empty lists take their defaults.
    void LoadProfile(const QString& fileName);

    // Whether the user changed something since the last profile save or load in the dialog.
    bool Modified() const { return FModified; }
    TFolderCheckModel* FolderModel() const { return FFolders; }

signals:
    // A profile was saved from the dialog under this file name.
    void ProfileSaved(const QString& fileName);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void CreateControls();
    void Connect();
    void SetModified();
    // The dialog's values as they stand, the include masks as listed.
    SearchCriteria DialogValues() const;
    void ShowValues(const SearchCriteria& criteria);
    void CollectFolders();
    void ApplyFolders();
    void SetMainCaption(const QString& caption);
    QString MainCaption() const;

    void AddMask(QLineEdit* edit, QListWidget* list);
    void RemoveMask(QListWidget* list);
    void btnStartClick();
    void btnLoadClick();
    void btnSaveClick();

    std::vector<std::string> FIncludeFolders;
    std::vector<std::string> FExcludeFolders;
    bool FModified = false;
    bool FSettingCompare = false; // the compare choice set from outside does not modify

    TFolderCheckModel* FFolders = nullptr;
    TFolderSortModel* FSortedFolders = nullptr;
    QTreeView* tvFolders = nullptr;
    QCheckBox* cbxIncludeSysFolders = nullptr;
    QLineEdit* edtIncludeFile = nullptr;
    QPushButton* btnAddIncFiles = nullptr;
    QListWidget* lbxIncludeFile = nullptr;
    QPushButton* btnRemIncFiles = nullptr;
    QLineEdit* edtExcludeFile = nullptr;
    QPushButton* btnAddExcFiles = nullptr;
    QListWidget* lbxExcludeFile = nullptr;
    QPushButton* btnRemExcFiles = nullptr;
    QCheckBox* cbxIncludeSysFiles = nullptr;
    QButtonGroup* rgGrouping = nullptr;
    QComboBox* cbCompare = nullptr;
    QCheckBox* cbxShowZeroBytes = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnLoad = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace quorvane
