#include "search/SearchThd.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/DateTime.h"
#include "platform/TextCompare.h"
#include "search/Masks.h"

namespace quorvane {
namespace {

const std::vector<std::string> kNoTexts;

bool IsHidden(const char* name) {
    return name[0] == '.';
}

} // namespace

TSearchThread::TSearchThread(IMainThreadQueue& mainThread, IProgress* progress)
    : TThread(mainThread), FProgress(progress), FIncludeFolders(&kNoTexts),
      FExcludeFolders(&kNoTexts), FIncludeFiles(&kNoTexts), FExcludeFiles(&kNoTexts) {
    SetFreeOnTerminate(true);
}

void TSearchThread::SetIncludeFiles(const std::vector<std::string>& masks) {
    std::for_each(masks.begin(), masks.end(), CheckMaskLength);
    FIncludeFiles = &masks;
}

void TSearchThread::SetExcludeFiles(const std::vector<std::string>& masks) {
    std::for_each(masks.begin(), masks.end(), CheckMaskLength);
    FExcludeFiles = &masks;
}

void TSearchThread::SetSearch(TFilesList& files, const SearchCriteria& criteria) {
    SetFilesList(files);
    SetIncludeFolders(criteria.IncludeFolders);
    SetExcludeFolders(criteria.ExcludeFolders);
    SetIncludeFiles(criteria.IncludeFiles);
    SetExcludeFiles(criteria.ExcludeFiles);
    SetIncludeSysFolders(criteria.IncludeSysFolders);
    SetIncludeSysFiles(criteria.IncludeSysFiles);
    SetShowZeroBytes(criteria.ShowZeroBytes);
}

void TSearchThread::Execute() {
    if (!FFilesList)
        return;
    FUtcOffset = CurrentUtcOffsetSeconds();
    FVirtualFileSystems = TVirtualFileSystems::OfThisMachine();
    FVisited.clear();
    FNotedUnread.clear();
    FFound = 0;
    for (const std::string& folder : *FIncludeFolders) {
        if (Terminated())
            return;
        SearchFolder(folder, *FFilesList);
    }
}

void TSearchThread::SearchFolder(const std::string& folder, TFilesList& files) {
    if (Terminated() || folder.empty()) // an empty entry names no folder
        return;
    FPath = folder;
    if (FPath.back() != '/')
        FPath += '/';
    if (IsExcludedFolder(FPath))
        return;
    // An include folder is the user's own choice: a link to it is followed, and it is walked
    // even when hidden.
    std::optional<TDirectory> root = TDirectory::Open(FPath);
    std::optional<TFileStatus> status = root ? root->Status() : std::nullopt;
    const int error = errno;
    if (status && !MayEnter(status->Id))
        return;
    ReportFolder();
    if (!root || !status) {
        NoteUnreadFolder(FPath, error);
        return;
    }
    PushFolder(std::move(*root), status->Id);

    while (FDepth > 0 && !Terminated()) {
        TFolderFrame& frame = FFrames[FDepth - 1];
        if (frame.Next == frame.Entries.size())
            PopFolder();
        else
            VisitEntry(frame, frame.Entries[frame.Next++], files);
    }
    while (FDepth > 0) // after a terminate request: close what is still open
        FFrames[--FDepth].Directory.reset();
}

void TSearchThread::VisitEntry(TFolderFrame& frame, const TEntry& entry, TFilesList& files) {
    const char* name = frame.Names.data() + entry.NameOffset;
    std::optional<TFileStatus> status;
    TEntryKind kind = entry.Kind;
    if (kind == TEntryKind::Unknown) { // the listing does not say: look
        status = frame.Directory->EntryStatus(name);
        if (!status) {
            NoteEntryFailure(frame, errno);
            return;
        }
        kind = status->Kind;
    }
    if (kind == TEntryKind::Folder) {
        if (FIncludeSysFolders || !IsHidden(name))
            EnterSubfolder(frame, name, status);
    } else if (kind == TEntryKind::RegularFile) {
        if (AcceptFile(frame, name, status))
            AddFile(frame, name, *status, files);
    }
}

bool TSearchThread::AcceptFile(TFolderFrame& frame, const char* name,
                               std::optional<TFileStatus>& status) {
    // The zero-byte rule needs the size, so it runs last; the outcome is the same in any order.
    if (!FIncludeSysFiles && IsHidden(name))
        return false;
    const std::string_view text(name);
    const auto matches = [text](const std::string& mask) { return MaskMatch(text, mask); };
    if (std::any_of(FExcludeFiles->begin(), FExcludeFiles->end(), matches))
        return false;
    if (std::none_of(FIncludeFiles->begin(), FIncludeFiles->end(), matches))
        return false;
    if (!status) {
        status = frame.Directory->EntryStatus(name);
        if (!status)
            NoteEntryFailure(frame, errno);
    }
    // Looked up after the listing: it may have gone or changed kind meanwhile.
    if (!status || status->Kind != TEntryKind::RegularFile)
        return false;
    return FShowZeroBytes || status->Size != 0;
}

void TSearchThread::EnterSubfolder(TFolderFrame& parent, const char* name,
                                   std::optional<TFileStatus> status) {
    FPath.append(name).push_back('/');
    if (!IsExcludedFolder(FPath)) {
        if (!status) {
            status = parent.Directory->EntryStatus(name);
            if (!status)
                NoteEntryFailure(parent, errno);
        }
        if (status && status->Kind == TEntryKind::Folder && MayEnter(status->Id)) {
            std::optional<TDirectory> child = parent.Directory->OpenChild(name);
            const int error = errno;
            ReportFolder();
            if (child) {
                PushFolder(std::move(*child), status->Id);
                return;
            }
            NoteUnreadFolder(FPath, error);
        }
    }
    FPath.resize(parent.PathLength);
}

bool TSearchThread::IsExcludedFolder(std::string_view folderText) const {
    return std::any_of(
        FExcludeFolders->begin(), FExcludeFolders->end(),
        [folderText](const std::string& excluded) { return SameTextNoCase(folderText, excluded); });
}

bool TSearchThread::MayEnter(const TFileId& id) {
    return !FVirtualFileSystems.Contains(id.Device) && FVisited.insert(id).second;
}

void TSearchThread::PushFolder(TDirectory directory, const TFileId& id) {
    if (FDepth >= kOpenFolders)
        FFrames[FDepth - kOpenFolders].Directory.reset();
    if (FDepth == FFrames.size())
        FFrames.emplace_back();
    TFolderFrame& frame = FFrames[FDepth++];
    frame.Directory = std::move(directory);
    frame.Id = id;
    frame.Names.clear();
    frame.Entries.clear();
    frame.Next = 0;
    frame.PathLength = FPath.size();
    frame.SharedPath.reset();
    frame.ReportedUnread = false;
    const bool listed =
        frame.Directory->ReadEntries([this, &frame](const char* name, TEntryKind kind) {
            if (Terminated())
                return false;
            frame.Entries.push_back({static_cast<uint32_t>(frame.Names.size()), kind});
            frame.Names.append(name).push_back('\0');
            return true;
        });
    if (!listed) {
        NoteUnreadFolder(FPath, errno);
        frame.ReportedUnread = true;
    }
}

void TSearchThread::PopFolder() {
    TFolderFrame& frame = FFrames[FDepth - 1];
    if (FDepth >= 2 && !FFrames[FDepth - 2].Directory)
        ReopenFolder(FFrames[FDepth - 2], frame);
    frame.Directory.reset();
    frame.SharedPath.reset();
    if (--FDepth > 0)
        FPath.resize(FFrames[FDepth - 1].PathLength);
}

void TSearchThread::ReopenFolder(TFolderFrame& frame, const TFolderFrame& child) {
    // Through the child first: that works at any depth. By path where the child is gone.
    std::optional<TDirectory> reopened;
    if (child.Directory)
        reopened = child.Directory->OpenParent();
    std::optional<TFileStatus> status = reopened ? reopened->Status() : std::nullopt;
    if (!status || status->Id != frame.Id) {
        reopened = TDirectory::Open(FPath.substr(0, frame.PathLength));
        status = reopened ? reopened->Status() : std::nullopt;
    }
    if (status && status->Id == frame.Id)
        frame.Directory = std::move(reopened);
    else // moved or removed while we were below it: pass over the rest of it
        frame.Next = frame.Entries.size();
}

void TSearchThread::AddFile(TFolderFrame& frame, const char* name, const TFileStatus& status,
                            TFilesList& files) {
    if (!frame.SharedPath)
        frame.SharedPath = MakeFolderPath(FPath);
    files.Add(std::make_unique<TFile>(frame.SharedPath, std::string(name), status.Size,
                                      FileTimeToDateTime(status.ModifiedUnixSeconds, FUtcOffset)));
    ++FFound;
    if (FProgress)
        FProgress->Count(FFound);
}

void TSearchThread::NoteUnreadFolder(std::string_view folderText, int error) {
    if (FUnreadFolders && FNotedUnread.emplace(folderText).second)
        FUnreadFolders->push_back(
            {std::string(folderText), std::generic_category().message(error)});
}

void TSearchThread::NoteEntryFailure(TFolderFrame& frame, int error) {
    if (error == ENOENT || frame.ReportedUnread)
        return;
    frame.ReportedUnread = true;
    NoteUnreadFolder(std::string_view(FPath).substr(0, frame.PathLength), error);
}

void TSearchThread::ReportFolder() const {
    if (FProgress)
        FProgress->Status(FPath);
}

} // namespace quorvane
