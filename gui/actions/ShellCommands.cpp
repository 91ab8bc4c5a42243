#include "actions/ShellCommands.h"

#include <cstring>

#include <QAction>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include "actions/FileUri.h"
#include "dialogs/UserPrompts.h"
#include "platform/DetachedProcess.h"
#include "results/ResultGrid.h"
#include "results/ResultsView.h"

namespace quorvane {
namespace {

// Long enough for a file manager that D-Bus first has to start.
constexpr int kShowItemsTimeoutMs = 10000;

QUrl UrlOf(const std::string& fullName) {
    return QUrl::fromEncoded(FileUri(fullName).toLatin1(), QUrl::StrictMode);
}

} // namespace

TShellCommands::TShellCommands(QWidget& mainWindow, const TResultGrid& results, TResultsView& grid,
                               const TShellItems& items)
    : QObject(&mainWindow), FMainWindow(mainWindow), FResults(results), FGrid(grid),
      FOptiquill(FindDesktopCommand(QStringLiteral("optiquill.desktop"))) {
    items.OpenInOptiquill->setVisible(FOptiquill.has_value());
    connect(items.Explore, &QAction::triggered, this, &TShellCommands::Explore);
    connect(items.OpenInOptiquill, &QAction::triggered, this, &TShellCommands::OpenInOptiquill);
    connect(items.OpenWithProgram, &QAction::triggered, this,
            &TShellCommands::OpenWithAssociatedProgram);
    connect(items.CopyCellValue, &QAction::triggered, this, &TShellCommands::CopyCellValue);
}

std::optional<std::string> TShellCommands::FocusedFullName() const {
    const int64_t record = FGrid.FocusedRecord();
    if (record < 0)
        return std::nullopt;
    return FResults.View().File(static_cast<uint32_t>(record)).FullName();
}

void TShellCommands::Explore() {
    const std::optional<std::string> fullName = FocusedFullName();
    if (!fullName)
        return;
    const std::string folder = fullName->substr(0, fullName->rfind('/') + 1);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        OpenFolder(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{FileUri(*fullName)} << QString();
    // Asynchronous, so that a file manager that is slow to start never freezes the window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kShowItemsTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, folder](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (finished->isError())
                    OpenFolder(folder);
            });
}

void TShellCommands::OpenFolder(const std::string& folder) {
    QDesktopServices::openUrl(UrlOf(folder));
}

void TShellCommands::OpenInOptiquill() {
    const std::optional<std::string> fullName = FocusedFullName();
    if (!fullName || !FOptiquill)
        return;
    const std::vector<std::string> arguments = CommandLineFor(*FOptiquill, *fullName);
    if (const int error = StartDetached(arguments))
        UserPrompts().Message(&FMainWindow, QMessageBox::Critical, QStringLiteral("Error"),
                              QStringLiteral("Error executing Optiquill"), QMessageBox::Ok,
                              QMessageBox::Ok,
                              FromEngine(arguments.front()) + QStringLiteral(": ") +
                                  QString::fromLocal8Bit(std::strerror(error)));
}

void TShellCommands::OpenWithAssociatedProgram() {
    if (const std::optional<std::string> fullName = FocusedFullName())
        QDesktopServices::openUrl(UrlOf(*fullName));
}

void TShellCommands::CopyCellValue() {
    if (const std::optional<QString> value = FGrid.ValueAtLastPress())
        QGuiApplication::clipboard()->setText(*value);
}

void TShellCommands::DoubleClick(bool copyOnDoubleClick) {
    if (copyOnDoubleClick)
        CopyCellValue();
    else
        OpenInOptiquill();
}

} // namespace quorvane
