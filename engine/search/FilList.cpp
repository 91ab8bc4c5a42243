#include "search/FilList.h"

#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/AtomicFile.h"
#include "search/FilesListFormat.h"

namespace quorvane {

TFolderPath MakeFolderPath(std::string_view folder) {
    std::string path(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    return std::make_shared<const std::string>(std::move(path));
}

TFile::TFile(TFolderPath folder, std::string name, int64_t size, TDateTime date)
    : Name(std::move(name)), Size(size), Date(date) {
    SetPath(std::move(folder));
}

TFile::TFile(std::string_view folder, std::string name, int64_t size, TDateTime date)
    : Name(std::move(name)), Size(size), Date(date), FPath(MakeFolderPath(folder)) {}

const std::string& TFile::Path() const {
    static const std::string empty;
    return FPath ? *FPath : empty;
}

void TFile::SetPath(std::string_view path) {
    FPath = MakeFolderPath(path);
}

void TFile::SetPath(TFolderPath path) {
    if (!path || path->empty() || path->back() != '/')
        FPath = MakeFolderPath(path ? std::string_view(*path) : std::string_view());
    else
        FPath = std::move(path);
}

std::string TFile::FullName() const {
    return Path() + Name;
}

TFilesList::~TFilesList() {
    Clear();
}

void TFilesList::Add(TFile* file) {
    FItems.push_back(file);
}

void TFilesList::Add(std::unique_ptr<TFile> file) {
    FItems.push_back(file.get());
    file.release(); // now held by FItems
}

void TFilesList::Delete(std::size_t index) {
    TFile* file = FItems.at(index);
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(index));
    if (FOwnsObjects)
        delete file;
}

void TFilesList::Clear() {
    if (FOwnsObjects)
        for (TFile* file : FItems)
            delete file;
    FItems.clear();
}

void TFilesList::SaveToFile(const std::string& fileName) const {
    std::string text;
    for (const TFile* file : FItems) {
        text += FormatFilesListLine(*file);
        text += "\r\n";
    }
    WriteFileAtomically(fileName, text);
}

namespace {

// A record's identity while a list is read: its folder's shared text (one per folder) and name.
using TRecordKey = std::pair<const std::string*, std::string_view>;
struct TRecordKeyHash {
    std::size_t operator()(const TRecordKey& key) const noexcept {
        return std::hash<const void*>()(key.first) ^ std::hash<std::string_view>()(key.second);
    }
};

} // namespace

std::string TFilesList::LoadFromFile(const std::string& fileName) {
    const std::string text = ReadWholeFile(fileName);
    Clear();
    std::string_view rest(text);
    std::unordered_map<std::string, TFolderPath> folders; // records of one folder share its path
    std::unordered_set<TRecordKey, TRecordKeyHash> records;
    std::size_t repeats = 0;
    std::string firstRepeat;
    for (std::size_t lineNumber = 1; !rest.empty(); ++lineNumber) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        std::unique_ptr<TFile> file;
        try {
            file = std::make_unique<TFile>(ParseFilesListLine(line));
        } catch (const TFilesListLineError& error) {
            throw std::runtime_error("Unable to read the files list " + fileName + ", line " +
                                     std::to_string(lineNumber) + ": " + error.what());
        }
        auto [known, isNew] = folders.try_emplace(file->Path(), file->SharedPath());
        if (!isNew)
            file->SetPath(known->second);
        // The key's name points into the record, which stays where it is once added.
        if (!records.insert({&file->Path(), file->Name}).second) {
            if (repeats++ == 0)
                firstRepeat = "line " + std::to_string(lineNumber) + ": " + file->FullName();
            continue;
        }
        Add(std::move(file));
    }
    if (repeats == 0)
        return {};
    return "The files list " + fileName + " names " + std::to_string(repeats) +
           (repeats == 1 ? " file" : " files") + " again (first at " + firstRepeat +
           "); each file is taken once";
}

} // namespace quorvane
