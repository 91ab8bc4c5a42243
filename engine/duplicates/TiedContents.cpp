// Content comparison of tied files in three passes. First every file's start is read (small
// files whole, which gives their checksums); files that share size and start with another file of
// their run form a class, and the others are marked unmatched. Then, in each class, one file is
// hashed and every other file lacking a checksum is compared with it byte for byte, on a few
// threads; one that differs is hashed on its own. Last, the files found the same take the
// checksum of the one they were compared with. Each file is thus read at most twice and hashed
// at most once, and identical copies are not hashed at all.

#include "duplicates/TiedContents.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "duplicates/Checksums.h"
#include "duplicates/Crc.h"
#include "duplicates/FileBlockReader.h"
#include "duplicates/HashFiles.h"

namespace quorvane {
namespace {

bool LacksChecksum(const TFile* file) {
    return !file->Checksum.Known();
}

// A file of a run that needs reading, with the CRC-32 of its first HeadSize bytes once read.
struct TMember {
    TFile* File = nullptr;
    uint32_t Head = 0;
    bool HeadRead = false;
};

// One read of the second pass: hash File (Model is null), or compare File with Model.
struct TContentRead {
    TFile* File = nullptr;
    const TFile* Model = nullptr;
    bool Same = false;
};

class TTiedContents {
public:
    TTiedContents(TCompareMode mode, const std::function<bool()>& stopped)
        : FMode(mode), FStopped(stopped) {}

    void Run(std::span<const TTiedRun> runs) {
        std::vector<std::size_t> runEnds; // where each run's members end in FMembers
        for (const TTiedRun& run : runs) {
            if (std::none_of(run.begin(), run.end(), LacksChecksum))
                continue;
            for (TFile* file : run)
                FMembers.push_back({file});
            runEnds.push_back(FMembers.size());
        }
        ReadInParallel(
            FMembers.size(), [this](std::size_t i) { ReadStart(FMembers[i]); }, FStopped);
        if (FStopped())
            return;
        std::size_t begin = 0;
        for (const std::size_t end : runEnds) {
            PlanRun(std::span(FMembers).subspan(begin, end - begin));
            begin = end;
        }
        ReadInParallel(
            FReads.size(), [this](std::size_t i) { ReadContents(FReads[i]); }, FStopped);
        if (FStopped())
            return;
        for (const TContentRead& read : FReads)
            if (read.Same)
                TakeModelsChecksum(read);
    }

private:
    TChecksum CheckSumOf(const TFile& file) const {
        return FileCheckSum(file.FullName(), FMode, FStopped);
    }

    void ReadStart(TMember& member) const {
        TFile& file = *member.File;
        if (file.Size <= static_cast<int64_t>(HeadSize)) {
            if (LacksChecksum(&file))
                file.Checksum = CheckSumOf(file);
            return;
        }
        std::array<uint8_t, HeadSize> start;
        std::size_t count = 0;
        if (ReadFileHead(file.FullName(), start, count).Ok()) {
            member.Head = ~UpdateCrc32(start.data(), count, 0xFFFFFFFFu);
            member.HeadRead = true;
        } else if (LacksChecksum(&file)) {
            file.Checksum = CheckSumOf(file); // says what is wrong with it
        }
    }

    // Classes the run's members by size and start, and plans the reads of each class.
    void PlanRun(std::span<TMember> members) {
        std::vector<const TMember*> read;
        for (const TMember& member : members)
            if (member.HeadRead)
                read.push_back(&member);
        const auto key = [](const TMember* m) { return std::pair(m->File->Size, m->Head); };
        std::sort(read.begin(), read.end(),
                  [&](const TMember* a, const TMember* b) { return key(a) < key(b); });
        for (auto first = read.begin(); first != read.end();) {
            const auto last = std::find_if(first, read.end(),
                                           [&](const TMember* m) { return key(m) != key(*first); });
            PlanClass(std::span(first, last));
            first = last;
        }
    }

    void PlanClass(std::span<const TMember* const> members) {
        if (members.size() == 1) {
            if (LacksChecksum(members[0]->File))
                members[0]->File->Checksum = TChecksum::Unmatched();
            return;
        }
        const auto known = std::find_if(members.begin(), members.end(),
                                        [](const TMember* m) { return !LacksChecksum(m->File); });
        const TFile* model = known != members.end() ? (*known)->File : members[0]->File;
        if (known == members.end())
            FReads.push_back({members[0]->File, nullptr});
        for (const TMember* member : members)
            if (member->File != model && LacksChecksum(member->File))
                FReads.push_back({member->File, model});
    }

    void ReadContents(TContentRead& read) const {
        if (read.Model &&
            FilesHoldSameBytes(read.Model->FullName(), read.File->FullName(), FStopped))
            read.Same = true;
        else
            read.File->Checksum = CheckSumOf(*read.File);
    }

    void TakeModelsChecksum(const TContentRead& read) const {
        const TChecksum& model = read.Model->Checksum;
        // A model that could not be hashed after all says nothing of the copy.
        read.File->Checksum =
            model.Known() && !model.IsUnreadable() ? model : CheckSumOf(*read.File);
    }

    const TCompareMode FMode;
    const std::function<bool()>& FStopped;
    std::vector<TMember> FMembers;
    std::vector<TContentRead> FReads;
};

} // namespace

void GiveTiedFilesChecksums(std::span<const TTiedRun> runs, TCompareMode mode,
                            const std::function<bool()>& stopped) {
    TTiedContents(mode, stopped).Run(runs);
}

} // namespace quorvane
