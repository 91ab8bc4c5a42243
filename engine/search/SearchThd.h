#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/DirectoryListing.h"
#include "platform/Mounts.h"
#include "platform/Progress.h"
#include "platform/Thread.h"
#include "search/FilList.h"
#include "search/SearchCriteria.h"
#include "search/UnreadFolders.h"

namespace quorvane {

// The folder search worker.
//
// Input: the include folders, walked in list order; the exclude folders; the include and
// exclude masks; the hidden-folder, hidden-file and zero-byte options. The lists are the
// caller's own and are read in place: they must not change while the worker runs.
// Output: one TFile appended to the files list for every regular file accepted, in the order
// of a depth-first walk (a subfolder is walked completely before the next entry of its folder;
// entries in the order the file system lists them). Progress: the folder text of every folder
// entered, and the number of files found so far.
// Errors: a folder that cannot be opened or listed, or whose entries cannot be looked at, is
// passed over and added, with the system's reason, to the unread folders (when the caller gave a
// list for them); an entry that vanished meanwhile is passed over without a word. The walk goes
// on either way.
// Threading: runs alone on its own thread; the main thread leaves the files list and the
// criteria alone until the end handler runs. A terminate request is honoured within one entry.
// Algorithm: an explicit stack of folders instead of recursion, so that depth is limited by
// memory only. Each folder's entries are read when it is entered, names are tested before
// anything is looked up, and only candidates are stat'ed, relative to their open folder (no
// path is ever resolved twice, none is too long). At most kOpenFolders folders stay open; a
// deeper walk closes the outermost ones and reopens each through ".." on the way back up,
// checking that it is still the same folder. Symbolic links are never followed below an
// include folder, only regular files are taken, virtual file systems are never entered, and
// every folder is walked once even when include folders repeat or lie inside one another.
class TSearchThread final : public TThread {
public:
    // Created suspended and freeing itself when done. Progress goes to `progress`, which must
    // outlive the worker (null: no progress).
    explicit TSearchThread(IMainThreadQueue& mainThread, IProgress* progress = nullptr);

    void SetFilesList(TFilesList& files) { FFilesList = &files; }
    void SetIncludeFolders(const std::vector<std::string>& folders) { FIncludeFolders = &folders; }
    // Entries are absolute folders ending with "/", compared whole without regard to case.
    void SetExcludeFolders(const std::vector<std::string>& folders) { FExcludeFolders = &folders; }
    // The mask setters refuse masks longer than kMaxMaskLength (std::invalid_argument); the
    // thread has not started then, and the caller still owns it.
    void SetIncludeFiles(const std::vector<std::string>& masks);
    void SetExcludeFiles(const std::vector<std::string>& masks);
    void SetIncludeSysFolders(bool value) { FIncludeSysFolders = value; }
    void SetIncludeSysFiles(bool value) { FIncludeSysFiles = value; }
    void SetShowZeroBytes(bool value) { FShowZeroBytes = value; }
    // Where the folders that could not be read go, each once, in the order met. Like the files
    // list, the caller leaves it alone until the end handler runs.
    void SetUnreadFolders(TUnreadFolders& folders) { FUnreadFolders = &folders; }
    // All of the above in their order: the files list, then the first seven fields of the
    // criteria (held by reference, like the lists). Throws as SetIncludeFiles does.
    void SetSearch(TFilesList& files, const SearchCriteria& criteria);

protected:
    void Execute() override;

private:
    // Folders kept open at once while walking down; deeper ones are reopened on the way up.
    static constexpr std::size_t kOpenFolders = 64;

    struct TEntry {
        uint32_t NameOffset; // into TFolderFrame::Names
        TEntryKind Kind;
    };
    // One folder on the walk's stack.
    struct TFolderFrame {
        std::optional<TDirectory> Directory; // empty once closed to save descriptors
        TFileId Id;
        std::string Names; // the entries' names, each followed by a zero byte
        std::vector<TEntry> Entries;
        std::size_t Next = 0;        // the next entry to visit
        std::size_t PathLength = 0;  // of its folder text in FPath, trailing "/" included
        TFolderPath SharedPath;      // made when its first file is taken
        bool ReportedUnread = false; // an entry could not be looked at, and the folder was noted
    };

    // Walks the folder and everything below it, appending accepted files to `files`.
    void SearchFolder(const std::string& folder, TFilesList& files);
    // Whether a regular file becomes a record. Tests the name first and looks the entry up
    // (filling `status`) only when the name can pass.
    bool AcceptFile(TFolderFrame& frame, const char* name, std::optional<TFileStatus>& status);

    bool IsExcludedFolder(std::string_view folderText) const;
    // Whether a folder of this identity may be entered now (and marks it as walked).
    bool MayEnter(const TFileId& id);
    void VisitEntry(TFolderFrame& frame, const TEntry& entry, TFilesList& files);
    void EnterSubfolder(TFolderFrame& parent, const char* name, std::optional<TFileStatus> status);
    void PushFolder(TDirectory directory, const TFileId& id);
    void PopFolder();
    void ReopenFolder(TFolderFrame& frame, const TFolderFrame& child);
    void AddFile(TFolderFrame& frame, const char* name, const TFileStatus& status,
                 TFilesList& files);
    void ReportFolder() const;
    // Adds a folder that could not be read, with errno's reason, unless it is there already.
    void NoteUnreadFolder(std::string_view folderText, int error);
    // An entry of the folder could not be looked at: the folder is noted once, unless the entry
    // has just vanished.
    void NoteEntryFailure(TFolderFrame& frame, int error);

    IProgress* FProgress;
    TFilesList* FFilesList = nullptr;
    TUnreadFolders* FUnreadFolders = nullptr;
    const std::vector<std::string>* FIncludeFolders;
    const std::vector<std::string>* FExcludeFolders;
    const std::vector<std::string>* FIncludeFiles;
    const std::vector<std::string>* FExcludeFiles;
    bool FIncludeSysFolders = false;
    bool FIncludeSysFiles = false;
    bool FShowZeroBytes = false;

    // State of one run of Execute.
    int64_t FUtcOffset = 0;
    TVirtualFileSystems FVirtualFileSystems;
    std::unordered_set<TFileId, TFileIdHash> FVisited;
    // Folders noted as unread: one that is also an include folder is tried twice.
    std::unordered_set<std::string> FNotedUnread;
    std::string FPath;                // the folder text of the innermost folder on the stack
    std::deque<TFolderFrame> FFrames; // kept between folders to reuse their buffers
    std::size_t FDepth = 0;           // frames in use
    uint64_t FFound = 0;
};

} // namespace quorvane
