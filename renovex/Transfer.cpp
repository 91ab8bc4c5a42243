#include "Transfer.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressDialog>

#include <memory>

namespace quorvane::renovex {

TTransferResult Transfer(QNetworkAccessManager& network, const QNetworkRequest& request,
                         QIODevice& target, std::optional<qint64> maxBytes, QWidget* parent,
                         const QString& label) {
    TTransferResult result;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::unique_ptr<QNetworkReply> reply(network.get(request));
    QEventLoop loop;

    // Shows itself only when the transfer takes a while; busy until the size is known.
    QProgressDialog progress(label, QStringLiteral("Cancel"), 0, 0, parent);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    progress.setValue(0);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
        result.Outcome = TTransferResult::TOutcome::Cancelled;
        reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &progress,
                     [&](qint64 received, qint64 total) {
                         if (total > 0) {
                             progress.setMaximum(static_cast<int>(total / 1024));
                             progress.setValue(static_cast<int>(received / 1024));
                         }
                     });

    const auto fail = [&](const QString& error) {
        if (result.Outcome != TTransferResult::TOutcome::Done)
            return;
        result.Outcome = TTransferResult::TOutcome::Failed;
        result.Error = error;
        reply->abort();
    };
    const auto take = [&] {
        if (result.Outcome != TTransferResult::TOutcome::Done || reply->bytesAvailable() <= 0)
            return;
        const QByteArray chunk = reply->readAll();
        if (maxBytes && result.Size + chunk.size() > *maxBytes) {
            fail(QStringLiteral("more than %1 bytes arrived").arg(*maxBytes));
            return;
        }
        if (target.write(chunk) != chunk.size()) {
            fail(target.errorString());
            return;
        }
        hash.addData(chunk);
        result.Size += chunk.size();
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    take(); // what arrived with the end of the transfer
    progress.reset();

    if (result.Outcome == TTransferResult::TOutcome::Done &&
        reply->error() != QNetworkReply::NoError) {
        result.Outcome = TTransferResult::TOutcome::Failed;
        result.Error = reply->errorString();
    }
    result.Sha256 = hash.result();
    return result;
}

} // namespace quorvane::renovex
