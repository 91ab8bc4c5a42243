#pragma once

class QWidget;

namespace quorvane {

// "Check for &updates": loads the update library librenovex.so at first use (beside the
// executable, then in ../lib relative to it, then through the library path), hands it the main
// window once per run, and lets it check for and download an update. Returns true when the main
// window must close because an update is under way. When the library cannot be loaded, shows an
// error saying so and returns false.
bool CheckForUpdates(QWidget* mainWindow);

} // namespace quorvane
