#pragma once

#include <functional>
#include <string>

#include <QObject>

#include "actions/ActionMenus.h"
#include "actions/FileAction.h"

class QWidget;

namespace quorvane {

class TFrmWait;
class TPipelineController;
class TResultsView;
struct TSettings;

// The four file actions of the "&Action" menu and the tool bar: one handler for all, told apart
// by the operation. Each asks what it needs (the delete confirmation, the destination folder,
// the archive), plans the action on the checked list, asks once more when whole groups would
// lose their last copy, and has the pipeline carry it out; what failed is listed afterwards in
// one message. The commands are enabled only while files are checked and the window is idle.
class TFileActionCommands : public QObject {
    Q_OBJECT

public:
    // `mayAct` says whether a command may change the results now (not inside a pipeline step).
    TFileActionCommands(QWidget& mainWindow, TPipelineController& controller, TSettings& settings,
                        TFrmWait& waitForm, TResultsView& grid, const TFileActionItems& items,
                        std::function<bool()> mayAct);

    void Execute(TFileOperation operation);
    // Enables the commands when something is checked and nothing runs; disables them otherwise.
    void UpdateEnabled();

private:
    bool MayRun() const;
    // Each returns false when the user cancelled.
    bool ChooseDestination(TFileOperation operation, std::string& destination);
    bool ConfirmDelete(const TActionPlan& plan);
    bool ConfirmLastCopies(const TActionPlan& plan);
    void Run(const TActionPlan& plan);

    QWidget& FMainWindow;
    TPipelineController& FController;
    TSettings& FSettings;
    TFrmWait& FWaitForm;
    TFileActionItems FItems;
    std::function<bool()> FMayAct;
};

} // namespace quorvane
