#pragma once

#include <string_view>

#include <QString>

namespace quorvane {

// The file: URI of a full name, built from its bytes: every byte but the unreserved ones and "/"
// is percent-encoded, so the URI is plain ASCII and carries any name exactly, also one that is
// not UTF-8 (QUrl::fromLocalFile would replace such bytes).
QString FileUri(std::string_view fullName);

} // namespace quorvane
