#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace quorvane::renovex {

// The update check behind CheckAndUpdate.
//
// Input: the descriptor's address and the access string; the running version is the
// application's version (QCoreApplication::applicationVersion). Output: true when a verified
// package lies in the folder the user chose and the user agreed to close the program to install
// it. Errors: a bad address, a failed fetch, a bad descriptor, a failed download or write and a
// checksum or size mismatch each end the check with a message naming what failed; a package that
// does not match is deleted (it is written beside its name and renamed only once verified).
// Threading: the main thread, with local event loops while transfers run.
bool RunUpdateCheck(QWidget* parent, const QString& descriptorAddress, const QByteArray& access);

} // namespace quorvane::renovex
