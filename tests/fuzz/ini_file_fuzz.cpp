// An INI file as read from disk: every read works on it, and what it reads is what the text it
// would write reads back (the text itself may differ: stray line breaks are tidied).
#include "FuzzInput.h"
#include "platform/IniFile.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string fileName = fuzz::WriteInputFile(fuzz::AsText(data, size), ".ini");
    const TIniFile ini(fileName);
    const TIniFile reread(fuzz::WriteInputFile(ini.Text(), ".ini"));
    for (const char* section : {"Config", "Settings", "IncludeFolders", "Filters", ""}) {
        const std::vector<std::string> keys = ini.ReadSection(section);
        fuzz::Require(reread.ReadSection(section) == keys);
        fuzz::Require(reread.SectionExists(section) == ini.SectionExists(section));
        for (const std::string& key : keys) {
            fuzz::Require(reread.ReadString(section, key, "") == ini.ReadString(section, key, ""));
            ini.ReadInteger(section, key, 0);
        }
    }
    return 0;
}
