#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "results/FilterTree.h"

namespace quorvane {

// The criteria stream: a filter's conditions as bytes, the form in which stored filters are kept.
// Little-endian throughout: the marker FF FF FF FF, the root group's operator (1 byte) and item
// count (4 bytes), then the items. An item is a group (1, operator, count, items) or a condition
// (0, operator, display text as a 4-byte length and bytes, column as 4 bytes, value). A value is
// a tag byte and its payload (see CriteriaStreamTags.h).

std::vector<uint8_t> WriteCriteriaStream(const TFilterGroup& root);

// Throws TFilterError saying what is wrong and at which byte when the bytes are not exactly one
// well-formed stream: truncated, with unknown tags or operators, lengths or counts that run past
// the end, groups or lists nested too deeply, or bytes left over after the root group.
TFilterGroup ReadCriteriaStream(std::span<const uint8_t> bytes);

} // namespace quorvane
