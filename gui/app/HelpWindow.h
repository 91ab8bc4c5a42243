#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace quorvane {

// The help contexts: each window (or part of one) names the help topic F1 opens there.
enum THelpContext : int {
    hcContents = 0,
    hcMainWindow = 200,
    hcSearchOptions = 300,
    hcSettings = 500,
    hcAbout = 2600,
};

void SetHelpContext(QWidget* widget, int context);
// The context of the widget or of the nearest window or widget around it that has one.
int HelpContextOf(const QWidget* widget);
// Where the help pages are looked for, in order, and the first that holds them (empty when none
// does).
QStringList HelpFolderCandidates();
QString HelpFolder();
// The page of a topic among the program's help pages; the contents for a context that has none.
// Empty when the pages are missing.
QUrl HelpTopicUrl(int context);

// The help window: the program's own help pages with links between them, a way back and the
// contents. One window for the program.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    THelpWindow();

    // Opened, the window comes over `asking` (or the modal dialog, or the active window); where
    // the user moves it, it stays.
    void ShowTopic(int context, const QWidget* asking = nullptr);
    QUrl Page() const;

private:
    void ShowMissingPages();
    // Centred over the window, kept on its screen.
    void PlaceOver(const QWidget& window);

    QTextBrowser* FBrowser;
};

// F1 anywhere in the program opens the topic of what has the focus, or of the active window.
class THelpKey : public QObject {
    Q_OBJECT

public:
    explicit THelpKey(THelpWindow& window, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    THelpWindow& FWindow;
};

} // namespace quorvane
