#pragma once

#include <QString>

class QWidget;

namespace quorvane {

// Where the update descriptor lies, compiled into the program; the server's access string goes
// with it (docs/update-descriptor.md).
inline constexpr char kUpdateDescriptorAddress[] =
    "https://updates.brindlecot.com/updates/quorvane/quorvane.upd";
inline constexpr char kUpdateAccessString[] = "Qv20Upd@Brc";

// "Check for &updates": loads the update library librenovex.so at first use (beside the
// executable, then in ../lib relative to it, then through the library path), hands it the main
// window once per run, and lets it check for and download an update. Returns true when the main
// window must close because an update is under way. When the library cannot be loaded, shows an
// error saying so and returns false.
bool CheckForUpdates(QWidget* mainWindow);
// The same against another descriptor address.
bool CheckForUpdates(QWidget* mainWindow, const QString& descriptorAddress);

} // namespace quorvane
