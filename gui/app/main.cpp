// The program entry: one instance per user, the main window, the event loop.
#include <exception>

#include "app/ErrorHandler.h"
#include "app/MainForm.h"
#include "app/SingleInstance.h"

using namespace quorvane;

int main(int argc, char** argv) {
    TQuorvaneApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationName(QStringLiteral("Brindlecot"));
    InstallTerminateHandler();

    TSingleInstance instance;
    if (!instance.Acquire()) {
        // Another instance runs: it comes forward, this one ends. Its command line is not passed
        // on.
        instance.ActivateRunning();
        return 0;
    }
    int exitCode = 1;
    try {
        TMainForm mainForm(QApplication::arguments().mid(1));
        QObject::connect(&instance, &TSingleInstance::ActivateRequested, &mainForm,
                         &TMainForm::ActivateFromSecondInstance);
        mainForm.show();
        exitCode = QApplication::exec();
        // The marker goes before the workers are awaited and the settings written.
        instance.Release();
        mainForm.FormDestroy();
    } catch (...) {
        ReportUnexpectedError(DescribeException(
            std::current_exception(), QStringLiteral("starting or closing the main window")));
    }
    return exitCode;
}
