#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QListWidget>
#include <QStringList>

class QPushButton;
class QToolButton;

namespace quorvane {

// The list of the Manage filters dialog: names can be dragged to a new place. A drag starts once
// the mouse has moved 3 pixels with the left button down, and only drags from this list are
// taken.
class TFilterNamesList : public QListWidget {
    Q_OBJECT

public:
    explicit TFilterNamesList(QWidget* parent = nullptr);

    // Moves the name at `source` to `target` (the count of names for "below the last name"):
    // above the source it goes in at the target, otherwise after the target name, or at the end.
    // The target position is selected then (nothing when it was past the last name). A list of
    // one name takes no drop.
    void DropName(int source, int target);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool TakesDrop(const QDropEvent* event) const;

    QPoint FPressPoint;
    int FPressRow = -1;
};

// "Manage filters": picks the name under which the builder stores its filter ("New" asks for a
// new one, "Save" takes the selected one) and collects names to delete. The order of the names
// here is not stored. The builder deletes the collected names whether the dialog was confirmed
// or cancelled.
class TFrmManageFilters : public QDialog {
    Q_OBJECT

public:
    TFrmManageFilters(const QStringList& names, QWidget* parent = nullptr);

    // The name chosen by "New" or "Save"; empty when none was.
    const QString& ChosenName() const { return FChosenName; }
    const QStringList& NamesToDelete() const { return FNamesToDelete; }
    TFilterNamesList* List() const { return FList; }

    void btnNewClick();
    void btnSaveClick();
    void btnDeleteClick();
    void MoveUpClick();
    void MoveDownClick();

private:
    void Choose(const QString& name);
    void MoveSelected(int step);

    TFilterNamesList* FList;
    QString FChosenName;
    QStringList FNamesToDelete;
};

} // namespace quorvane
