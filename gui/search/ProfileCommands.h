#pragma once

#include <cstddef>
#include <string>

#include <QObject>
#include <QString>

#include "app/Settings.h"

class QMenu;
class QWidget;

namespace quorvane {

// The main window's search profiles: "Save search &criteria...", "Loa&d search criteria...",
// the profile saved from the search options dialog, and the recent-profiles submenu "S&earch",
// whose items load a profile and search with it at once.
class TProfileCommands : public QObject {
    Q_OBJECT

public:
    TProfileCommands(QWidget& mainWindow, TSettings& settings, std::string configFile,
                     QMenu& recentProfiles);

    void SaveProfileClick();
    void LoadProfileClick();
    // The main window's reader: the file's criteria become the current ones.
    void LoadProfile(const QString& fileName);
    // A profile was saved under this name elsewhere: it goes to the top of the recent profiles.
    void ProfileSaved(const QString& fileName);
    void ProfileMenuItemClick(std::size_t index);
    // One item for each of the first recent profiles, the full file name as its caption.
    void RebuildProfilesMenu();
    // The submenu is enabled only while the program is idle and it has items.
    void SetIdle(bool idle);

signals:
    void CaptionChanged(const QString& caption);
    void GroupOrderLoaded(TGroupOrder order);
    // A recent profile was loaded: search with it.
    void SearchRequested();

private:
    QWidget& FMainWindow;
    TSettings& FSettings;
    std::string FConfigFile;
    QMenu& FRecentProfiles;
    bool FIdle = true;
};

} // namespace quorvane
