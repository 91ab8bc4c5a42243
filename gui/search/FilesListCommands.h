#pragma once

class QWidget;

namespace quorvane {

class TPipelineController;

// "Save &files list..." and "&Load files list...": the file dialogs and questions around the
// pipeline's files-list save and load.
class TFilesListCommands {
public:
    TFilesListCommands(QWidget& mainWindow, TPipelineController& controller);

    // Writes the main file list, asking first before it replaces a file. A file that cannot be
    // written is reported by name.
    void SaveFilesListClick();
    // Reads a files list and groups it as after a search. A name that names no file does nothing.
    void LoadFilesListClick();

private:
    QWidget& FMainWindow;
    TPipelineController& FController;
};

} // namespace quorvane
