#include "testsupport/GuiTest.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "results/ResultLinesModel.h"
#include "results/ResultsView.h"

using namespace Qt::StringLiterals;

namespace quorvane::test {

void WriteFile(const QString& name, const QByteArray& contents, qint64 size) {
    QDir().mkpath(QFileInfo(name).path());
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    if (size >= 0)
        QVERIFY(file.resize(size)); // sparse: nothing is written
}

TModalAnswer::TModalAnswer(std::function<void(QWidget&)> answer) : FAnswer(std::move(answer)) {
    connect(&FTimer, &QTimer::timeout, this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || Answered)
            return;
        Answered = true;
        FAnswer(*modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
            dialog->reject();
    });
    FTimer.start(20);
}

TModalCloser::TModalCloser(std::function<void(QWidget&)> answer) : FAnswer(std::move(answer)) {
    connect(&FTimer, &QTimer::timeout, this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        Seen << QString::fromLatin1(modal->metaObject()->className());
        if (FAnswer)
            FAnswer(*modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
            dialog->reject();
    });
    FTimer.start(20);
}

QString ConfigFileIn(const QString& configHome) {
    return configHome + u"/Brindlecot/quorvane.ini"_s;
}

void WriteShownConfigIn(const QString& configHome, const QByteArray& more) {
    WriteFile(ConfigFileIn(configHome), "[Config]\nFirstShow=0\n" + more);
}

std::unique_ptr<TMainForm> NewMainForm(const std::string& tree, TCompareMode mode) {
    auto form = std::make_unique<TMainForm>();
    form->Settings().Criteria.IncludeFolders = {tree};
    form->Settings().Criteria.CompareMode = mode;
    form->Settings().DontShowCompareMessage = true;
    return form;
}

bool Idle(TMainForm& form) {
    return !form.Controller().WorkerRunning() && !form.Controller().Busy();
}

void Search(TMainForm& form) {
    form.Actions().Search->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(Idle(form), kTimeoutMs);
}

const TResultLinesModel& GridLines(TMainForm& form) {
    return *qobject_cast<const TResultLinesModel*>(form.Grid().model());
}

bool TMainWindowFolders::OpenFolders() {
    FConfig = std::make_unique<QTemporaryDir>();
    FTree = std::make_unique<QTemporaryDir>();
    if (!FConfig->isValid() || !FTree->isValid())
        return false;
    qputenv("XDG_CONFIG_HOME", FConfig->path().toUtf8());
    FPrompts = std::make_unique<TScriptedPrompts>();
    return true;
}

QString TMainWindowFolders::Tree(const QString& relative) const {
    return FTree->path() + u"/"_s + relative;
}

QString TMainWindowFolders::ConfigFile() const {
    return ConfigFileIn(FConfig->path());
}

void TMainWindowFolders::WriteShownConfig(const QByteArray& more) const {
    WriteShownConfigIn(FConfig->path(), more);
}

} // namespace quorvane::test
