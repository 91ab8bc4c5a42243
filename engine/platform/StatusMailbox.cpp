#include "platform/StatusMailbox.h"

namespace quorvane {

void TStatusMailbox::Status(std::string_view text) {
    std::lock_guard lock(FMutex);
    FText.assign(text); // reuses the buffer: no allocation once it has grown
    ++FVersion;
}

bool TStatusMailbox::TakeStatus(std::string& text) {
    std::lock_guard lock(FMutex);
    if (FVersion == FTakenVersion)
        return false;
    FTakenVersion = FVersion;
    text = FText;
    return true;
}

} // namespace quorvane
