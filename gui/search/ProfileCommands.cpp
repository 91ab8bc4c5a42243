#include "search/ProfileCommands.h"

#include <QFileInfo>
#include <QMenu>

#include "dialogs/UserPrompts.h"
#include "platform/Mounts.h"
#include "reports/Profile.h"

namespace quorvane {
namespace {

TFileDialogSpec ProfileDialog(const QString& title) {
    return {title, QStringLiteral("Quorvane profile (*.qvp)"), QStringLiteral("qvp")};
}

} // namespace

TProfileCommands::TProfileCommands(QWidget& mainWindow, TSettings& settings, std::string configFile,
                                   QMenu& recentProfiles)
    : QObject(&mainWindow), FMainWindow(mainWindow), FSettings(settings),
      FConfigFile(std::move(configFile)), FRecentProfiles(recentProfiles) {}

void TProfileCommands::SaveProfileClick() {
    const QString fileName =
        UserPrompts().SaveFileName(&FMainWindow, ProfileDialog(QStringLiteral("Save profile")));
    if (fileName.isEmpty())
        return;
    if (QFileInfo::exists(fileName) &&
        AskYesNoCancel(&FMainWindow, QStringLiteral("Profile already exists. Overwrite?")) !=
            QMessageBox::Yes)
        return;
    const TProfileSaveResult result =
        SaveProfile(ToEngine(fileName), FSettings.Criteria, FConfigFile);
    if (!result.Saved)
        ShowError(&FMainWindow, FromEngine(std::string(kCouldNotSaveProfileText)));
    else if (result.Caption)
        emit CaptionChanged(FromEngine(*result.Caption));
    // The list takes the name even when the file could not be written.
    ProfileSaved(fileName);
}

void TProfileCommands::LoadProfileClick() {
    const QString fileName =
        UserPrompts().OpenFileName(&FMainWindow, ProfileDialog(QStringLiteral("Load profile")));
    if (!fileName.isEmpty())
        LoadProfile(fileName);
}

void TProfileCommands::LoadProfile(const QString& fileName) {
    TProfileLoadResult result = quorvane::LoadProfile(ToEngine(fileName), FSettings.Criteria,
                                                      FConfigFile, FixedDriveRoots());
    FSettings.Criteria = std::move(result.Criteria);
    emit GroupOrderLoaded(FSettings.Criteria.GroupOrder);
    if (result.Caption)
        emit CaptionChanged(FromEngine(*result.Caption));
    if (!result.UnreadEntries.empty())
        ShowError(&FMainWindow,
                  FromEngine(UnreadProfileEntriesText(ToEngine(fileName), result.UnreadEntries)));
}

void TProfileCommands::ProfileSaved(const QString& fileName) {
    FSettings.SavedProfiles.MoveToTop(ToEngine(fileName));
    RebuildProfilesMenu();
}

void TProfileCommands::ProfileMenuItemClick(std::size_t index) {
    if (index >= FSettings.SavedProfiles.Names().size())
        return;
    const std::string fileName = FSettings.SavedProfiles.Names()[index];
    if (!QFileInfo(FromEngine(fileName)).isFile()) {
        ShowError(&FMainWindow, FromEngine(ProfileNoLongerExistsText(fileName)));
        FSettings.SavedProfiles.Delete(index);
        RebuildProfilesMenu();
        return;
    }
    LoadProfile(FromEngine(fileName));
    FSettings.SavedProfiles.MoveToTop(fileName);
    RebuildProfilesMenu();
    emit SearchRequested();
}

void TProfileCommands::RebuildProfilesMenu() {
    FRecentProfiles.clear();
    const std::vector<std::string> shown = FSettings.SavedProfiles.Shown();
    for (std::size_t index = 0; index < shown.size(); ++index) {
        QString caption = FromEngine(shown[index]);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = FRecentProfiles.addAction(caption);
        // Queued: the click rebuilds this menu, which deletes the item that was clicked.
        connect(
            item, &QAction::triggered, this, [this, index] { ProfileMenuItemClick(index); },
            Qt::QueuedConnection);
    }
    FRecentProfiles.setEnabled(FIdle && !shown.empty());
}

void TProfileCommands::SetIdle(bool idle) {
    FIdle = idle;
    FRecentProfiles.setEnabled(FIdle && !FRecentProfiles.isEmpty());
}

} // namespace quorvane
