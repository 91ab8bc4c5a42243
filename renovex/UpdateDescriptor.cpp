#include "UpdateDescriptor.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringList>

namespace quorvane::renovex {
namespace {

const QStringList kKnownKeys = {QStringLiteral("version"), QStringLiteral("package"),
                                QStringLiteral("sha256"), QStringLiteral("size"),
                                QStringLiteral("notes")};

bool IsSafeFileName(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

} // namespace

QVersionNumber ParseVersion(const QString& text) {
    static const QRegularExpression dotted(QStringLiteral("^\\d{1,9}(\\.\\d{1,9})*$"));
    if (!dotted.match(text).hasMatch())
        return {};
    return QVersionNumber::fromString(text).normalized();
}

std::optional<TUpdateDescriptor> ParseUpdateDescriptor(const QByteArray& text, const QUrl& address,
                                                       QString& error) {
    QMap<QString, QString> values;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            error = QStringLiteral("line %1 is not a \"key=value\" line").arg(i + 1);
            return std::nullopt;
        }
        const QString key = line.left(equals).trimmed().toLower();
        if (!kKnownKeys.contains(key))
            continue; // a later format may add keys
        if (values.contains(key)) {
            error = QStringLiteral("line %1 repeats the key %2")
                        .arg(i + 1)
                        .arg(line.left(equals).trimmed());
            return std::nullopt;
        }
        values.insert(key, line.mid(equals + 1).trimmed());
    }

    struct TRequired {
        const char* Key;
        const char* Name;
    };
    for (const TRequired required :
         {TRequired{"version", "Version"}, TRequired{"package", "Package"},
          TRequired{"sha256", "SHA256"}}) {
        if (!values.contains(QString::fromLatin1(required.Key))) {
            error = QStringLiteral("it has no %1 line").arg(QString::fromLatin1(required.Name));
            return std::nullopt;
        }
    }

    TUpdateDescriptor descriptor;
    descriptor.Version = ParseVersion(values[QStringLiteral("version")]);
    if (descriptor.Version.isNull()) {
        error = QStringLiteral("its version \"%1\" is not a version number")
                    .arg(values[QStringLiteral("version")]);
        return std::nullopt;
    }

    const QString package = values[QStringLiteral("package")];
    const QUrl packageUrl(package, QUrl::StrictMode);
    descriptor.Package = address.resolved(packageUrl);
    const QString scheme = descriptor.Package.scheme();
    if (!packageUrl.isValid() || package.isEmpty() ||
        (scheme != QStringLiteral("http") && scheme != QStringLiteral("https") &&
         scheme != QStringLiteral("file"))) {
        error = QStringLiteral("its package address \"%1\" is not an http, https or file address")
                    .arg(package);
        return std::nullopt;
    }
    // A descriptor from a server may not make us copy a file of this machine.
    if (scheme == QStringLiteral("file") && !address.isLocalFile()) {
        error = QStringLiteral("its package address \"%1\" names a local file").arg(package);
        return std::nullopt;
    }
    descriptor.FileName = descriptor.Package.fileName(QUrl::FullyDecoded);
    if (!IsSafeFileName(descriptor.FileName)) {
        error = QStringLiteral("its package address \"%1\" names no file").arg(package);
        return std::nullopt;
    }

    const QString sha256 = values[QStringLiteral("sha256")];
    static const QRegularExpression hex64(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    if (!hex64.match(sha256).hasMatch()) {
        error = QStringLiteral("its SHA256 value is not 64 hexadecimal digits");
        return std::nullopt;
    }
    descriptor.Sha256 = QByteArray::fromHex(sha256.toLatin1());

    if (values.contains(QStringLiteral("size"))) {
        bool ok = false;
        const qint64 size = values[QStringLiteral("size")].toLongLong(&ok);
        if (!ok || size < 0) {
            error = QStringLiteral("its size \"%1\" is not a number of bytes")
                        .arg(values[QStringLiteral("size")]);
            return std::nullopt;
        }
        descriptor.Size = size;
    }
    descriptor.Notes = values.value(QStringLiteral("notes"));
    return descriptor;
}

} // namespace quorvane::renovex
