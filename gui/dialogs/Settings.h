#pragma once

#include <QDialog>

#include "app/ProtectedFoldersEditor.h"
#include "app/Settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolButton;

namespace quorvane {

// The modal dialog "Settings": skin, results options and the protected folders. Created once by
// the main window; each showing is filled afresh with SetSettings, and after exec() returned
// QDialog::Accepted (OK) ApplyTo writes the edited values back. The dialog reads and writes no
// file.
class TFrmSettings : public QDialog {
    Q_OBJECT

public:
    explicit TFrmSettings(QWidget* parent = nullptr);
    ~TFrmSettings() override;

    void SetSettings(const TSettings& settings);
    // Writes the skin switch, the two flags, the double-click choice and the protected folders.
    void ApplyTo(TSettings& settings) const;

    // The protected-folder grid: "Sub" checked means the folder's subfolders are protected too.
    void FillProtectedFolders(const TProtectedFolders& folders);
    TProtectedFolders ReadProtectedFolders() const;

private:
    void CreateControls();
    void ShowRows(int currentRow);
    void spbtnFoldersClick();
    void btnAddClick();
    void ttnRemoveClick();

    TProtectedFoldersEditor FEditor;
    bool FShowingRows = false; // the grid is being filled, not edited

    QCheckBox* cbxUseSkin = nullptr;
    QCheckBox* cbxSeparateGroups = nullptr;
    QCheckBox* cbxBlockDelete = nullptr;
    QRadioButton* rbOpenInOptiquill = nullptr; // rgDoubleClick index 0
    QRadioButton* rbCopyCell = nullptr;        // rgDoubleClick index 1
    QLineEdit* edtIncludeFolder = nullptr;
    QToolButton* spbtnFolders = nullptr;
    QCheckBox* cbSubFolders = nullptr;
    QTableWidget* grdProtectedFolders = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* ttnRemove = nullptr;
};

} // namespace quorvane
