#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "search/FilList.h"

namespace quorvane {

// One line of a files-list file (without its CR LF):
//   16 hex digits of Size, Name, "?", Path, "*", 8 hex digits of the MS-DOS date and time.
// "?" and "*" end the name and the folder, so a name or folder holding "?", "*", CR, LF or bytes
// that are not UTF-8 cannot stand as it is. Such a record is written as a line that begins with
// "%" (never a hex digit) and carries its name and folder with those bytes and "%" as %XX.
std::string FormatFilesListLine(const TFile& file);

class TFilesListLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads one line; throws TFilesListLineError saying what is wrong with it.
TFile ParseFilesListLine(std::string_view line);

} // namespace quorvane
