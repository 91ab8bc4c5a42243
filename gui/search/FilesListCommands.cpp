#include "search/FilesListCommands.h"

#include <exception>

#include <QFileInfo>

#include "app/PipelineController.h"
#include "dialogs/UserPrompts.h"

namespace quorvane {
namespace {

TFileDialogSpec FilesListDialog(const QString& title) {
    return {title, QStringLiteral("Quorvane files lists (*.qfl)"), QStringLiteral("qfl")};
}

} // namespace

TFilesListCommands::TFilesListCommands(QWidget& mainWindow, TPipelineController& controller)
    : FMainWindow(mainWindow), FController(controller) {}

void TFilesListCommands::SaveFilesListClick() {
    const QString fileName = UserPrompts().SaveFileName(
        &FMainWindow, FilesListDialog(QStringLiteral("Save files list")));
    if (fileName.isEmpty())
        return;
    if (QFileInfo::exists(fileName) &&
        !AskYesNo(&FMainWindow, QStringLiteral("Saved file already exists. Overwrite")))
        return;
    try {
        FController.SaveFilesList(ToEngine(fileName));
    } catch (const std::exception& error) {
        ShowError(&FMainWindow, QString::fromUtf8(error.what()));
    }
}

void TFilesListCommands::LoadFilesListClick() {
    const QString fileName = UserPrompts().OpenFileName(
        &FMainWindow, FilesListDialog(QStringLiteral("Load files list")));
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return;
    FController.LoadFilesList(ToEngine(fileName));
}

} // namespace quorvane
