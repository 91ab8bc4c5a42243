#include "actions/FileUri.h"

namespace quorvane {
namespace {

bool KeptAsIs(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
           byte == '~' || byte == '/';
}

} // namespace

QString FileUri(std::string_view fullName) {
    static const char hex[] = "0123456789ABCDEF";
    QString uri = QStringLiteral("file://");
    uri.reserve(uri.size() + static_cast<qsizetype>(fullName.size()) * 3);
    for (const char c : fullName) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeptAsIs(byte)) {
            uri += QLatin1Char(c);
        } else {
            uri += QLatin1Char('%');
            uri += QLatin1Char(hex[byte >> 4]);
            uri += QLatin1Char(hex[byte & 0x0F]);
        }
    }
    return uri;
}

} // namespace quorvane
