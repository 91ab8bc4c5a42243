#pragma once

#include <exception>
#include <functional>

#include <QApplication>
#include <QString>

namespace quorvane {

// An error that nothing on its way handled.
struct TUnexpectedError {
    QString Message; // what went wrong, for the user
    QString Details; // the exception's type, where it was caught, the event: for a bug report
};

// The general handler for unexpected errors: shows the error in a dialog whose details can be
// copied, and the program goes on. Tests replace the dialog with SetUnexpectedErrorReporter
// (an empty function brings the dialog back).
void ReportUnexpectedError(const TUnexpectedError& error);
void SetUnexpectedErrorReporter(std::function<void(const TUnexpectedError&)> reporter);

// An exception described; `where` says what was running.
TUnexpectedError DescribeException(const std::exception_ptr& exception, const QString& where);

// Reports an exception that escaped std::terminate's way out (a throw from a destructor, from a
// thread of our own) before the program ends, when it can still show a window.
void InstallTerminateHandler();

// The program's QApplication: an exception thrown by any event handler or slot ends there, is
// reported, and the event loop goes on.
class TQuorvaneApplication : public QApplication {
    Q_OBJECT

public:
    TQuorvaneApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace quorvane
