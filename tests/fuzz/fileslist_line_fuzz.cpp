// A files-list line: whatever parses must format to a line that parses to the same record.
#include "FuzzInput.h"
#include "search/FilesListFormat.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TFile file;
    try {
        file = ParseFilesListLine(fuzz::AsText(data, size));
    } catch (const std::runtime_error&) {
        return 0;
    }
    const TFile again = ParseFilesListLine(FormatFilesListLine(file));
    fuzz::Require(again.Name == file.Name && again.Path() == file.Path() &&
                  again.Size == file.Size);
    return 0;
}
