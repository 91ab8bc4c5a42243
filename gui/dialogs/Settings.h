#pragma once

#include <QDialog>

#include "app/Settings.h"

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
};

} // namespace quorvane
