// The program entry: one instance per user, the main window, the event loop.
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/ErrorHandler.h"
#include "app/MainForm.h"
#include "app/SingleInstance.h"

using namespace quorvane;

namespace {

// The two questions a desktop program answers without opening a window (packagers and the man
// page ask them); any other first argument names a profile.
bool AnswerInformationRequest(int argc, char** argv) {
    if (argc < 2)
        return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("quorvane %s\n", QUORVANE_VERSION);
        return true;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::printf("Usage: quorvane [PROFILE.qvp]\n"
                    "Opens the Quorvane window; a profile named here is loaded and searched.\n"
                    "\n"
                    "      --help      show this help\n"
                    "      --version   show the version\n"
                    "\n"
                    "The search without a window: quorvane-cli --help.\n");
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (AnswerInformationRequest(argc, argv))
        return 0;
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
