#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QVersionNumber>

#include <optional>

namespace quorvane::renovex {

// What an update descriptor announces (format: docs/update-descriptor.md).
struct TUpdateDescriptor {
    QVersionNumber Version;
    QUrl Package;      // absolute, resolved against the descriptor's address
    QString FileName;  // the package's file name, safe to use inside a folder
    QByteArray Sha256; // the package's SHA-256, 32 bytes
    std::optional<qint64> Size;
    QString Notes;
};

// A dotted version of decimal numbers ("2.0.2.13"); null for anything else. Trailing zero
// parts are dropped, so that "2.0" and "2.0.0" are the same version.
QVersionNumber ParseVersion(const QString& text);

// Reads a descriptor fetched from `address`. On failure returns nothing and says why in
// `error` ("it has no Version line", ...).
std::optional<TUpdateDescriptor> ParseUpdateDescriptor(const QByteArray& text, const QUrl& address,
                                                       QString& error);

} // namespace quorvane::renovex
