#include "UpdateFlow.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSaveFile>

#include "Transfer.h"
#include "UpdateDescriptor.h"
#include "UpdatePrompts.h"

namespace quorvane::renovex {
namespace {

constexpr qint64 kMaxDescriptorBytes = 64 * 1024;
constexpr int kTransferTimeoutMs = 30'000; // without a byte arriving

QNetworkRequest Request(const QUrl& url, const QByteArray& access) {
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setRawHeader("X-Renovex-Access", access);
    request.setHeader(
        QNetworkRequest::UserAgentHeader,
        QStringLiteral("Renovex (%1 %2)")
            .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion()));
    return request;
}

bool IsSupportedAddress(const QUrl& url) {
    return url.isValid() && (url.scheme() == QStringLiteral("http") ||
                             url.scheme() == QStringLiteral("https") || url.isLocalFile());
}

QString Product() {
    return QGuiApplication::applicationDisplayName();
}

void Fail(QWidget* parent, const QString& text) {
    Inform(parent, RenovexError, text);
}

// Downloads and verifies the package; true when it lies verified at `target`.
bool DownloadPackage(QWidget* parent, QNetworkAccessManager& network, const QByteArray& access,
                     const TUpdateDescriptor& descriptor, const QString& target) {
    const QString shown = QDir::toNativeSeparators(target);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        Fail(parent, QStringLiteral("Could not write the update package to %1 (%2).")
                         .arg(shown, file.errorString()));
        return false;
    }
    const TTransferResult result =
        Transfer(network, Request(descriptor.Package, access), file, descriptor.Size, parent,
                 QStringLiteral("Downloading %1...").arg(descriptor.FileName));
    if (result.Outcome == TTransferResult::TOutcome::Cancelled)
        return false; // the unfinished file goes with `file`
    if (result.Outcome == TTransferResult::TOutcome::Failed) {
        Fail(parent, QStringLiteral("Could not download the update package %1 (%2).")
                         .arg(descriptor.Package.toDisplayString(), result.Error));
        return false;
    }
    QString mismatch;
    if (descriptor.Size && result.Size != *descriptor.Size)
        mismatch = QStringLiteral("its size (%1 bytes) differs from the %2 bytes the update "
                                  "descriptor gives")
                       .arg(result.Size)
                       .arg(*descriptor.Size);
    else if (result.Sha256 != descriptor.Sha256)
        mismatch = QStringLiteral(
            "its SHA-256 checksum does not match the one the update descriptor gives");
    if (!mismatch.isEmpty()) {
        file.cancelWriting();
        Fail(parent, QStringLiteral("The downloaded update package %1 is damaged: %2. It was "
                                    "deleted.")
                         .arg(shown, mismatch));
        return false;
    }
    if (!file.commit()) {
        Fail(parent, QStringLiteral("Could not write the update package to %1 (%2).")
                         .arg(shown, file.errorString()));
        return false;
    }
    return true;
}

} // namespace

bool RunUpdateCheck(QWidget* parent, const QString& descriptorAddress, const QByteArray& access) {
    const QUrl address(descriptorAddress, QUrl::StrictMode);
    if (!IsSupportedAddress(address)) {
        Fail(parent, QStringLiteral("Could not check for updates: \"%1\" is not an http, https or "
                                    "file address.")
                         .arg(descriptorAddress));
        return false;
    }
    const QString runningText = QCoreApplication::applicationVersion();
    const QVersionNumber running = ParseVersion(runningText);
    if (running.isNull()) {
        Fail(parent, QStringLiteral("Could not check for updates: the running version \"%1\" is "
                                    "not a version number.")
                         .arg(runningText));
        return false;
    }

    QNetworkAccessManager network;
    QByteArray text;
    QBuffer buffer(&text);
    buffer.open(QIODevice::WriteOnly);
    const TTransferResult fetched =
        Transfer(network, Request(address, access), buffer, kMaxDescriptorBytes, parent,
                 QStringLiteral("Checking for updates..."));
    if (fetched.Outcome == TTransferResult::TOutcome::Cancelled)
        return false;
    if (fetched.Outcome == TTransferResult::TOutcome::Failed) {
        Fail(parent, QStringLiteral("Could not check for updates: the update descriptor %1 could "
                                    "not be read (%2).")
                         .arg(address.toDisplayString(), fetched.Error));
        return false;
    }
    QString error;
    const auto descriptor = ParseUpdateDescriptor(text, address, error);
    if (!descriptor) {
        Fail(parent, QStringLiteral("Could not check for updates: the update descriptor %1 is not "
                                    "valid: %2.")
                         .arg(address.toDisplayString(), error));
        return false;
    }

    if (descriptor->Version <= running) {
        Inform(parent, RenovexInformation,
               QStringLiteral("You are running the latest version of %1 (%2).")
                   .arg(Product(), runningText));
        return false;
    }
    QString question =
        QStringLiteral("A newer version of %1 is available: %2 (you are running %3).")
            .arg(Product(), descriptor->Version.toString(), runningText);
    if (!descriptor->Notes.isEmpty())
        question += QStringLiteral("\n\n") + descriptor->Notes;
    if (!Ask(parent, question + QStringLiteral("\n\nDownload it now?")))
        return false;

    const QString folder =
        ChooseFolder(parent, QStringLiteral("Choose a folder for the update package"));
    if (folder.isEmpty())
        return false;
    const QString target = QDir(folder).filePath(descriptor->FileName);
    if (QFileInfo::exists(target) && !Ask(parent, QStringLiteral("%1 already exists. Replace it?")
                                                      .arg(QDir::toNativeSeparators(target))))
        return false;
    if (!DownloadPackage(parent, network, access, *descriptor, target))
        return false;
    return Ask(parent, QStringLiteral("The update package was downloaded to %1 and its checksum "
                                      "verified.\n\nClose %2 now to install it?")
                           .arg(QDir::toNativeSeparators(target), Product()));
}

} // namespace quorvane::renovex
