#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;
class QNetworkAccessManager;
class QNetworkRequest;
class QWidget;

namespace quorvane::renovex {

// How a transfer ended.
struct TTransferResult {
    enum class TOutcome { Done, Cancelled, Failed };
    TOutcome Outcome = TOutcome::Done;
    QString Error;     // why it failed, as the network or the file reported it
    QByteArray Sha256; // of the bytes received
    qint64 Size = 0;   // bytes received
};

// Fetches the address of the request into `target` (a memory buffer or a file), hashing what
// arrives, while a progress window with a Cancel button keeps the user informed. Runs a local
// event loop until the transfer ends, so the program's windows stay painted; input to them is
// blocked by the window. Fails when more than `maxBytes` arrive or `target` refuses a write.
TTransferResult Transfer(QNetworkAccessManager& network, const QNetworkRequest& request,
                         QIODevice& target, std::optional<qint64> maxBytes, QWidget* parent,
                         const QString& label);

} // namespace quorvane::renovex
