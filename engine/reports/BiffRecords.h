#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

// Record types and pieces of BIFF8, the binary format of .xls workbooks (Excel 97 and later).
enum TBiffRecord : uint16_t {
    brBof = 0x0809,
    brEof = 0x000A,
    brCodePage = 0x0042,
    brWindow1 = 0x003D,
    brDateMode = 0x0022,
    brFont = 0x0031,
    brFormat = 0x041E,
    brXf = 0x00E0,
    brStyle = 0x0293,
    brPalette = 0x0092,
    brBoundSheet = 0x0085,
    brColInfo = 0x007D,
    brDimensions = 0x0200,
    brWindow2 = 0x023E,
    brLabel = 0x0204,
    brNumber = 0x0203,
    brBlank = 0x0201,
};

// The most data one record carries.
inline constexpr std::size_t kBiffMaxRecordData = 8224;

// Starts a record: its type and a length to be set by EndBiffRecord. Returns where it starts.
std::size_t BeginBiffRecord(std::string& out, TBiffRecord type);
void EndBiffRecord(std::string& out, std::size_t start);

// A text as BIFF8 stores it: UTF-16 code units, written one byte each when all fit in Latin-1.
// The UTF-8 text is read with U+FFFD for ill-formed pieces. At most `maxUnits` units are kept,
// never half a surrogate pair.
void AppendBiffString(std::string& out, std::string_view utf8, bool shortLength,
                      std::size_t maxUnits = 0xFFFF);

} // namespace quorvane
