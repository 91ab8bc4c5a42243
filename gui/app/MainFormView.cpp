#include "app/MainFormView.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

#include "app/MainForm.h"
#include "app/MessageDlgCheck.h"
#include "app/Wait.h"
#include "dialogs/UserPrompts.h"

namespace quorvane {
namespace {

constexpr int kLongestWaitMs = 50;
// Counts the pump's depth for as long as it runs, also when a handler throws.
class TStepScope {
public:
    explicit TStepScope(int& depth) : FDepth(depth) { ++FDepth; }
    ~TStepScope() { --FDepth; }
    TStepScope(const TStepScope&) = delete;
    TStepScope& operator=(const TStepScope&) = delete;

private:
    int& FDepth;
};

} // namespace

void TMainFormView::SetCommandsEnabled(bool idle) {
    FForm.SetCommandsEnabled(idle);
}

void TMainFormView::ShowWaitForm() {
    FForm.ShowWaitForm();
}

void TMainFormView::HideWaitForm() {
    FForm.FWait->hide();
}

void TMainFormView::SetWaitText(const std::string& text) {
    FForm.FWait->SetText(FromEngine(text));
}

void TMainFormView::SetStatusText(TStatusPanel panel, const std::string& text) {
    FForm.SetStatusText(panel, FromEngine(text));
    FForm.FStatusPanels[panel]->setToolTip(QString());
}

void TMainFormView::SetStatusHint(TStatusPanel panel, const std::string& hint) {
    FForm.FStatusPanels[panel]->setToolTip(FromEngine(hint));
}

void TMainFormView::ResultsChanged() {
    FForm.ResultsChanged();
}

void TMainFormView::ShowMessage(TMessageKind kind, const std::string& text) {
    // The wait form stays on top: it would cover the box.
    FForm.FWait->hide();
    QMessageBox::Icon icon = QMessageBox::Information;
    QString title = QStringLiteral("Information");
    switch (kind) {
    case TMessageKind::Information:
        break;
    case TMessageKind::Warning:
        icon = QMessageBox::Warning;
        title = QStringLiteral("Warning");
        break;
    case TMessageKind::Error:
        icon = QMessageBox::Critical;
        title = QStringLiteral("Error");
        break;
    case TMessageKind::Confirmation:
        icon = QMessageBox::Question;
        title = QStringLiteral("Confirm");
        break;
    }
    UserPrompts().Message(&FForm, icon, title, FitForScreen(FromEngine(text)), QMessageBox::Ok,
                          QMessageBox::Ok);
}

void TMainFormView::MessageDlgCheck(const std::string& text, TMessageKind,
                                    const std::string& checkText, const std::string& caption,
                                    bool& flag) {
    FForm.FWait->hide();
    flag = quorvane::MessageDlgCheck(&FForm, FromEngine(text), FromEngine(checkText),
                                     FromEngine(caption), flag);
}

void TMainFormView::ProcessMessages() {
    const TStepScope step(FStepDepth);
    QCoreApplication::processEvents();
}

void TMainFormView::WaitForMessages() {
    const TStepScope step(FStepDepth);
    // Wakes the wait below at the latest: the worker's end may come later.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(kLongestWaitMs);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace quorvane
