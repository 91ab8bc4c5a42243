#include "dialogs/ResizableDialog.h"

#include <QDialog>
#include <QLayout>

namespace quorvane {

void MakeResizable(QDialog& dialog) {
    dialog.setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    dialog.setSizeGripEnabled(true);
    if (QLayout* layout = dialog.layout())
        layout->setSizeConstraint(QLayout::SetMinimumSize);
}

} // namespace quorvane
