#include "app/HelpWindow.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/Resources.h"

namespace quorvane {
namespace {

const char* const kContextProperty = "quorvaneHelpContext";

} // namespace

void SetHelpContext(QWidget* widget, int context) {
    widget->setProperty(kContextProperty, context);
}

int HelpContextOf(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const QVariant context = widget->property(kContextProperty);
        if (context.isValid())
            return context.toInt();
    }
    return hcContents;
}

QStringList HelpFolderCandidates() {
    // Installed, the pages lie in the data folder beside the program's; run from the build
    // folder, the program reads them from the source tree it was built from.
    return {QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/") +
                            QStringLiteral(QUORVANE_HELP_DIR_FROM_PROGRAM)),
            QStringLiteral(QUORVANE_SOURCE_HELP_DIR)};
}

QString HelpFolder() {
    for (const QString& folder : HelpFolderCandidates())
        if (QFileInfo::exists(folder + QStringLiteral("/contents.html")))
            return folder;
    return {};
}

QUrl HelpTopicUrl(int context) {
    const QString folder = HelpFolder();
    if (folder.isEmpty())
        return {};
    const auto page = [&folder](const char* name) {
        return QUrl::fromLocalFile(folder + QStringLiteral("/") + QLatin1String(name));
    };
    switch (context) {
    case hcMainWindow:
        return page("main-window.html");
    case hcSearchOptions:
        return page("search-options.html");
    case hcSettings:
        return page("settings.html");
    case hcAbout:
        return page("about.html");
    default:
        return page("contents.html");
    }
}

THelpWindow::THelpWindow() : QWidget(nullptr, Qt::Window), FBrowser(new QTextBrowser(this)) {
    InitResources();
    setWindowTitle(QStringLiteral("Quorvane Help"));
    resize(660, 540);
    auto* bar = new QToolBar(this);
    bar->addAction(QStringLiteral("&Back"), FBrowser, &QTextBrowser::backward);
    bar->addAction(QStringLiteral("&Contents"), this,
                   [this] { FBrowser->setSource(HelpTopicUrl(hcContents)); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(FBrowser);
    FBrowser->setOpenExternalLinks(true);
    // The pages link their style sheet for a web browser; the help window gives it to them.
    QFile styleSheet(HelpFolder() + QStringLiteral("/style.css"));
    if (styleSheet.open(QIODevice::ReadOnly))
        FBrowser->document()->setDefaultStyleSheet(QString::fromUtf8(styleSheet.readAll()));
}

void THelpWindow::ShowTopic(int context, const QWidget* asking) {
    // Over a modal dialog the help must take input too: it becomes modal itself until closed.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality modality =
        modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != modality) {
        hide();
        setWindowModality(modality);
    }
    const QUrl page = HelpTopicUrl(context);
    if (page.isEmpty())
        ShowMissingPages();
    else
        FBrowser->setSource(page);
    if (!isVisible()) {
        const QWidget* over = modal    ? modal
                              : asking ? asking->window()
                                       : QApplication::activeWindow();
        if (over && over != this)
            PlaceOver(*over);
    }
    show();
    raise();
    activateWindow();
}

void THelpWindow::ShowMissingPages() {
    QString folders;
    for (const QString& folder : HelpFolderCandidates())
        folders += QStringLiteral("<li>%1</li>").arg(folder.toHtmlEscaped());
    FBrowser->setHtml(QStringLiteral("<h2>The help pages are missing</h2>"
                                     "<p>Quorvane looked for them in:</p><ul>%1</ul>"
                                     "<p>Reinstall Quorvane to bring them back.</p>")
                          .arg(folders));
}

void THelpWindow::PlaceOver(const QWidget& window) {
    QRect place(QPoint(), size());
    place.moveCenter(window.frameGeometry().center());
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        place.moveLeft(std::clamp(place.left(), area.left(),
                                  std::max(area.left(), area.right() - place.width())));
        place.moveTop(std::clamp(place.top(), area.top(),
                                 std::max(area.top(), area.bottom() - place.height())));
    }
    move(place.topLeft());
}

QUrl THelpWindow::Page() const {
    return FBrowser->source();
}

THelpKey::THelpKey(THelpWindow& window, QObject* parent) : QObject(parent), FWindow(window) {}

bool THelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
        return QObject::eventFilter(watched, event);
    // A key press travels up from the focused widget: answer it once, where it starts.
    QWidget* focus = QApplication::focusWidget();
    QWidget* asking = focus ? focus : QApplication::activeWindow();
    if (watched != asking && focus)
        return QObject::eventFilter(watched, event);
    if (asking && asking->window() == &FWindow)
        return false;
    FWindow.ShowTopic(HelpContextOf(asking), asking);
    return true;
}

} // namespace quorvane
