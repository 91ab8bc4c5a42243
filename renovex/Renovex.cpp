// The exported calls of librenovex.so (RenovexApi.h).

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include "RenovexApi.h"
#include "UpdateFlow.h"
#include "UpdatePrompts.h"

namespace {

QPointer<QWidget> applicationWindow;
bool checking = false; // a check runs local event loops: a second click must not start another

} // namespace

void SetApplicationHandle(void* window, void* /*skinManager*/) {
    applicationWindow = static_cast<QWidget*>(window);
}

bool CheckAndUpdate(const char* descriptorAddress, const char* accessString) {
    if (checking || !QCoreApplication::instance() || !descriptorAddress)
        return false;
    checking = true;
    const bool updating =
        quorvane::renovex::RunUpdateCheck(applicationWindow, QString::fromUtf8(descriptorAddress),
                                          QByteArray(accessString ? accessString : ""));
    checking = false;
    return updating;
}

void RenovexSetPrompts(const TRenovexPrompts* prompts) {
    quorvane::renovex::SetPromptHook(prompts);
}
