#include "app/ErrorHandler.h"

#include <cstdlib>
#include <exception>
#include <typeinfo>

#include <cxxabi.h>

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPushButton>
#include <QThread>

namespace quorvane {
namespace {

std::function<void(const TUnexpectedError&)>& Reporter() {
    static std::function<void(const TUnexpectedError&)> reporter;
    return reporter;
}

QString DemangledName(const std::type_info& type) {
    int status = 0;
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    const QString readable = QString::fromUtf8(status == 0 && name ? name : type.name());
    std::free(name);
    return readable;
}

void ShowErrorDialog(const TUnexpectedError& error) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Quorvane 2.0"),
                    QStringLiteral("An unexpected error occurred:\n\n") + error.Message,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setInformativeText(QStringLiteral("The program goes on. If this happens again, please "
                                          "send the details to the author."));
    box.setDetailedText(error.Details);
    QPushButton* copy = box.addButton(QStringLiteral("&Copy details"), QMessageBox::ActionRole);
    // The copy button would close the box; copying leaves it open.
    copy->disconnect();
    QObject::connect(copy, &QPushButton::clicked, &box, [&error] {
        QGuiApplication::clipboard()->setText(error.Message + QStringLiteral("\n\n") +
                                              error.Details);
    });
    box.exec();
}

bool OnMainThread() {
    return QCoreApplication::instance() &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

void SetUnexpectedErrorReporter(std::function<void(const TUnexpectedError&)> reporter) {
    Reporter() = std::move(reporter);
}

void ReportUnexpectedError(const TUnexpectedError& error) {
    if (Reporter()) {
        Reporter()(error);
        return;
    }
    if (!OnMainThread()) {
        qCritical("Unexpected error: %s\n%s", qUtf8Printable(error.Message),
                  qUtf8Printable(error.Details));
        return;
    }
    ShowErrorDialog(error);
}

TUnexpectedError DescribeException(const std::exception_ptr& exception, const QString& where) {
    TUnexpectedError error;
    QString type = QStringLiteral("unknown exception");
    try {
        std::rethrow_exception(exception);
    } catch (const std::exception& e) {
        error.Message = QString::fromUtf8(e.what());
        type = DemangledName(typeid(e));
    } catch (...) {
        error.Message = QStringLiteral("An error of an unknown kind.");
    }
    error.Details =
        QStringLiteral("Exception: %1\nWhat: %2\nWhere: %3").arg(type, error.Message, where);
    return error;
}

void InstallTerminateHandler() {
    std::set_terminate([] {
        if (const std::exception_ptr exception = std::current_exception()) {
            try {
                ReportUnexpectedError(
                    DescribeException(exception, QStringLiteral("the program had to end")));
            } catch (...) {
            }
        }
        std::abort();
    });
}

TQuorvaneApplication::TQuorvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQuorvaneApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString eventName =
            QString::fromLatin1(QMetaEnum::fromType<QEvent::Type>().valueToKey(event->type()));
        const QString where =
            QStringLiteral("%1 \"%2\" handling the event %3")
                .arg(QString::fromLatin1(receiver->metaObject()->className()),
                     receiver->objectName(),
                     eventName.isEmpty() ? QString::number(event->type()) : eventName);
        ReportUnexpectedError(DescribeException(std::current_exception(), where));
        return false;
    }
}

} // namespace quorvane
