// An update descriptor as a server sends it.
#include <QUrl>

#include "FuzzInput.h"
#include "UpdateDescriptor.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const QUrl address(
        QStringLiteral("https://updates.invalid/updates/quorvane/quorvane.upd"));
    QString error;
    const auto descriptor = renovex::ParseUpdateDescriptor(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), address,
        error);
    if (descriptor) {
        // What the program would save the package as never leaves its folder.
        fuzz::Require(
            !descriptor->FileName.isEmpty() && !descriptor->FileName.contains(QLatin1Char('/')) &&
            descriptor->FileName != QStringLiteral("..") && descriptor->Sha256.size() == 32);
    } else {
        fuzz::Require(!error.isEmpty());
    }
    return 0;
}
