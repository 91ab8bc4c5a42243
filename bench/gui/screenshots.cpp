// Takes the README's screenshots of the main window at its default size, with a configuration
// of its own: a search of TREE compared by MD5, and the same results regrouped by size.
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/quorvane-screenshots TREE SEARCH.png
//   REGROUPED.png
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/MainForm.h"

using namespace quorvane;

static bool WaitIdle(TMainForm& form) {
    const bool idle = QTest::qWaitFor(
        [&] { return !form.Controller().WorkerRunning() && !form.Controller().Busy(); }, 60000);
    QTest::qWait(300); // the wait form hides, the grid repaints
    return idle;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        qWarning("usage: quorvane-screenshots TREE SEARCH.png REGROUPED.png");
        return 2;
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QDir().mkpath(config.path() + QStringLiteral("/Brindlecot"));
    QFile ini(config.path() + QStringLiteral("/Brindlecot/quorvane.ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[Config]\nFirstShow=0\n") < 0)
        return 1;
    ini.close();
    TMainForm form;
    form.Settings().Criteria.IncludeFolders = {std::string(argv[1])};
    form.Settings().Criteria.CompareMode = cmMD5;
    form.Settings().DontShowCompareMessage = true;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    form.Actions().Search->trigger();
    if (!WaitIdle(form) || !form.grab().save(QString::fromLocal8Bit(argv[2])))
        return 1;
    form.Actions().Order[goSize]->trigger();
    if (!WaitIdle(form) || !form.grab().save(QString::fromLocal8Bit(argv[3])))
        return 1;
    form.close();
    return 0;
}
