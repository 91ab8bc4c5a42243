#include "dialogs/UpdateCheck.h"

#include <QCoreApplication>
#include <QLibrary>

#include <memory>

#include "../../renovex/RenovexApi.h"
#include "app/VersionInfo.h"
#include "dialogs/UserPrompts.h"

namespace quorvane {
namespace {

const QString kLibraryFile = QStringLiteral("librenovex.so");

// The update library, loaded once per run.
struct TUpdateLibrary {
    QLibrary Library;
    TSetApplicationHandleFunction SetApplicationHandle = nullptr;
    TCheckAndUpdateFunction CheckAndUpdate = nullptr;
    bool HandleSet = false;
};

std::unique_ptr<TUpdateLibrary> updateLibrary;

// Loads the library, or says why it could not in `error`.
TUpdateLibrary* LoadUpdateLibrary(QString& error) {
    if (updateLibrary)
        return updateLibrary.get();
    auto loaded = std::make_unique<TUpdateLibrary>();
    // Found through the program's run path.
    loaded->Library.setFileName(kLibraryFile);
    if (!loaded->Library.load()) {
        error = loaded->Library.errorString();
        return nullptr;
    }
    loaded->SetApplicationHandle = reinterpret_cast<TSetApplicationHandleFunction>(
        loaded->Library.resolve("SetApplicationHandle"));
    loaded->CheckAndUpdate =
        reinterpret_cast<TCheckAndUpdateFunction>(loaded->Library.resolve("CheckAndUpdate"));
    if (!loaded->SetApplicationHandle || !loaded->CheckAndUpdate) {
        error = QStringLiteral("%1 does not provide SetApplicationHandle and CheckAndUpdate")
                    .arg(loaded->Library.fileName());
        loaded->Library.unload();
        return nullptr;
    }
    updateLibrary = std::move(loaded);
    return updateLibrary.get();
}

} // namespace

bool CheckForUpdates(QWidget* mainWindow) {
    return CheckForUpdates(mainWindow, QString::fromLatin1(kUpdateDescriptorAddress));
}

bool CheckForUpdates(QWidget* mainWindow, const QString& descriptorAddress) {
    QString error;
    TUpdateLibrary* library = LoadUpdateLibrary(error);
    if (!library) {
        ShowError(mainWindow,
                  QStringLiteral("The update library %1 could not be loaded, so updates cannot be "
                                 "checked.")
                      .arg(kLibraryFile),
                  error);
        return false;
    }
    if (!library->HandleSet) {
        library->SetApplicationHandle(mainWindow, nullptr);
        library->HandleSet = true;
    }
    // The library compares the descriptor's version with the application's.
    QCoreApplication::setApplicationVersion(FromEngine(VersionValue("FileVersion")));
    return library->CheckAndUpdate(descriptorAddress.toUtf8().constData(), kUpdateAccessString);
}

} // namespace quorvane
