#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "duplicates/Classify.h"
#include "search/FilList.h"

namespace quorvane::test {

// A file list and result rows written by hand, as classification would write them: each added
// file gets the next file position and a row at the next record index.
struct TResultRows {
    TFilesList Files;
    std::vector<TResultRow> Rows;

    struct TSpec {
        std::string Folder = "/data/";
        std::string Name;
        int64_t Size = 0;
        uint32_t Group = 1;
        bool Checkable = true;
        TDateTime Date = 40000;
        TChecksum Checksum{};
    };

    uint32_t Add(const TSpec& spec) {
        auto file = std::make_unique<TFile>(spec.Folder, spec.Name, spec.Size, spec.Date);
        file->Checksum = spec.Checksum;
        Files.Add(std::move(file));
        const auto position = static_cast<uint32_t>(Files.Count() - 1);
        Rows.push_back({position, spec.Group, spec.Checkable});
        return static_cast<uint32_t>(Rows.size() - 1);
    }
};

} // namespace quorvane::test
