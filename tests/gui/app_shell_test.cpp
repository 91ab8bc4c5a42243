// The parts of the program shell around the main window: the single-instance rule (in process and
// with the real program), the general error handler, help on F1, the wait form and the look.
#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/ErrorHandler.h"
#include "app/HelpWindow.h"
#include "app/Look.h"
#include "app/SingleInstance.h"
#include "app/Wait.h"
#include "testsupport/GuiTest.h"

using namespace quorvane;
using namespace Qt::StringLiterals;

class AppShellTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FRuntime;

    // The program built beside this test.
    static QString ProgramPath() {
        return QCoreApplication::applicationDirPath() + u"/../bin/quorvane"_s;
    }

private slots:
    void initTestCase() {
        QVERIFY(FRuntime.isValid());
        QFile::setPermissions(FRuntime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", FRuntime.path().toUtf8());
    }

    void SecondInstanceInProcessAsksTheFirstForItsWindow() {
        TSingleInstance first(u"QuorvaneTestMarker"_s);
        QVERIFY(first.Acquire());
        QSignalSpy activated(&first, &TSingleInstance::ActivateRequested);
        TSingleInstance second(u"QuorvaneTestMarker"_s);
        QVERIFY(!second.Acquire());
        QVERIFY(second.ActivateRunning());
        QVERIFY(activated.wait(5000));
        // Once the first lets go, a new start takes the marker.
        first.Release();
        TSingleInstance third(u"QuorvaneTestMarker"_s);
        QVERIFY(third.Acquire());
    }

    void SecondProgramRaisesTheFirstAndEndsWithZero() {
        QVERIFY2(QFile::exists(ProgramPath()), qPrintable(ProgramPath()));
        QTemporaryDir config;
        test::WriteShownConfigIn(config.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"XDG_CONFIG_HOME"_s, config.path());
        environment.insert(u"XDG_RUNTIME_DIR"_s, FRuntime.path());

        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(ProgramPath());
        QVERIFY(first.waitForStarted());
        // Running once its marker's socket listens.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(FRuntime.path() + u"/BrindlecotQuorvane"_s), 10000);

        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(ProgramPath(), {u"/no/such/profile.qvp"_s});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        first.terminate();
        QVERIFY(first.waitForFinished(10000));
    }

    void UnexpectedErrorsAreReportedAndTheProgramGoesOn() {
        QList<TUnexpectedError> reported;
        SetUnexpectedErrorReporter([&](const TUnexpectedError& error) { reported << error; });
        QTimer::singleShot(0, this, [] { throw std::runtime_error("the disk went away"); });
        QTRY_COMPARE(reported.size(), 1);
        QCOMPARE(reported[0].Message, u"the disk went away"_s);
        QVERIFY(reported[0].Details.contains(u"std::runtime_error"_s));
        // The event loop still runs.
        bool later = false;
        QTimer::singleShot(0, this, [&] { later = true; });
        QTRY_VERIFY(later);
        SetUnexpectedErrorReporter({});
    }

    void F1OpensTheTopicOfTheFocusedWindow() {
        THelpWindow help;
        THelpKey key(help);
        qApp->installEventFilter(&key);
        QWidget settings;
        SetHelpContext(&settings, hcSettings);
        auto* edit = new QLineEdit(&settings);
        settings.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F1);
        QVERIFY(help.isVisible());
        QCOMPARE(help.Page(), HelpTopicUrl(hcSettings));
        // Every topic a window names has its page.
        for (int context : {hcContents, hcMainWindow, hcSearchOptions, hcSettings, hcAbout})
            QVERIFY2(QFile::exists(HelpTopicUrl(context).toLocalFile()),
                     qPrintable(HelpTopicUrl(context).toString()));
        qApp->removeEventFilter(&key);
    }

    void WaitFormCentresOverTheWindowAndAnimatesWhileShown() {
        QWidget window;
        window.setGeometry(100, 80, 751, 560);
        TFrmWait wait(&window);
        QCOMPARE(wait.size(), QSize(340, 139));
        wait.PlaceOver(window);
        const QRect frame = window.frameGeometry();
        QCOMPARE(wait.pos(), QPoint(frame.left() + (frame.width() - 340) / 2,
                                    frame.top() + (frame.height() - 139) / 2));
        wait.SetText(u"Sorting files"_s);
        wait.show();
        QVERIFY(wait.Animating());
        QCOMPARE(wait.Text(), u"Sorting files"_s);
        wait.hide();
        QVERIFY(!wait.Animating());
    }

    void UseSkinSwitchesBetweenTheOwnLookAndTheDesktops() {
        const QString desktop = QApplication::style()->name();
        ApplyLook(true);
        QCOMPARE(QApplication::style()->name(), u"fusion"_s);
        QCOMPARE(QApplication::palette().color(QPalette::Highlight), QColor(49, 106, 197));
        ApplyLook(false);
        QCOMPARE(QApplication::style()->name(), desktop);
    }
};

int main(int argc, char** argv) {
    TQuorvaneApplication application(argc, argv);
    AppShellTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "app_shell_test.moc"
