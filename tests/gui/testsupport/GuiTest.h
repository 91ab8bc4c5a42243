#pragma once

// Helpers shared by the GUI tests: files, modal dialogs, and a main window over a configuration
// folder of the test's own.
#include <functional>
#include <memory>
#include <string>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include "app/MainForm.h"
#include "dialogs/ScriptedPrompts.h"

class QWidget;

namespace quorvane {
class TResultLinesModel;
}

namespace quorvane::test {

// How long a search or a worker may take before a test gives up on it.
constexpr int kTimeoutMs = 20000;

// Creates the file and its folders; a `size` past the contents makes it sparse.
void WriteFile(const QString& name, const QByteArray& contents, qint64 size = -1);

// The configuration file under a configuration folder ($XDG_CONFIG_HOME).
QString ConfigFileIn(const QString& configHome);
// Writes a configuration past its first show, so that no first-start dialog opens; `more`
// follows.
void WriteShownConfigIn(const QString& configHome, const QByteArray& more = {});

// A path as the engine takes it.
inline std::string Engine(const QString& text) {
    return text.toStdString();
}

// A dialog's control by its object name; a missing one ends the test run, since every later
// step would fail on it.
template <typename T> T* Find(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

// Runs `answer` on the first modal dialog that opens, then closes it if it is still open.
class TModalAnswer : public QObject {
public:
    explicit TModalAnswer(std::function<void(QWidget&)> answer);
    bool Answered = false;

private:
    QTimer FTimer;
    std::function<void(QWidget&)> FAnswer;
};

// Answers every modal dialog that opens (with `answer`, or by closing it) and remembers its class.
class TModalCloser : public QObject {
public:
    explicit TModalCloser(std::function<void(QWidget&)> answer = {});
    QStringList Seen;

private:
    QTimer FTimer;
    std::function<void(QWidget&)> FAnswer;
};

// A main window that searches `tree` with the given comparison and asks nothing first.
std::unique_ptr<TMainForm> NewMainForm(const std::string& tree, TCompareMode mode);
// No search, comparison or other work is running.
bool Idle(TMainForm& form);
// Starts a search and waits for the window to be idle again.
void Search(TMainForm& form);
// The model behind the results grid.
const TResultLinesModel& GridLines(TMainForm& form);

// A fresh configuration folder ($XDG_CONFIG_HOME) and a folder to search for each test, with
// scripted answers to the prompts. Test classes derive from it beside QObject.
class TMainWindowFolders {
protected:
    std::unique_ptr<QTemporaryDir> FConfig;
    std::unique_ptr<QTemporaryDir> FTree;
    std::unique_ptr<TScriptedPrompts> FPrompts;

    // For init(): false when a folder cannot be made.
    bool OpenFolders();
    // For cleanup(): the prompts go; the folders stay until the next test.
    void CloseFolders() { FPrompts.reset(); }

    // A file in the searched folder, or the folder itself with a trailing "/".
    QString Tree(const QString& relative = {}) const;
    QString ConfigFile() const;
    // A configuration past its first show, so that no first-start dialog opens; `more` follows.
    void WriteShownConfig(const QByteArray& more = {}) const;
};

} // namespace quorvane::test
