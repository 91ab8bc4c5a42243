#pragma once

#include <QDialog>

namespace quorvane {

// The about box, filled from the version information compiled into the program. Created for one
// showing; its caption is "About " followed by the parent window's caption at creation.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

} // namespace quorvane
