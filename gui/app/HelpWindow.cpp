#include "app/HelpWindow.h"

#include <algorithm>

#include <QApplication>
#include <QFile>
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

QUrl HelpTopicUrl(int context) {
    switch (context) {
    case hcMainWindow:
        return QUrl(QStringLiteral("qrc:/help/main-window.html"));
    case hcSearchOptions:
        return QUrl(QStringLiteral("qrc:/help/search-options.html"));
    case hcSettings:
        return QUrl(QStringLiteral("qrc:/help/settings.html"));
    case hcAbout:
        return QUrl(QStringLiteral("qrc:/help/about.html"));
    default:
        return QUrl(QStringLiteral("qrc:/help/contents.html"));
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
    QFile styleSheet(QStringLiteral(":/help/style.css"));
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
    FBrowser->setSource(HelpTopicUrl(context));
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
