#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "search/Checksum.h"

namespace quorvane {

// A folder path shared by every record of the files in it (a search finds many files per folder).
using TFolderPath = std::shared_ptr<const std::string>;
// Makes a shared folder path, appending "/" when the text does not end with it.
TFolderPath MakeFolderPath(std::string_view folder);

// One found file. Names and folders are the file system's raw bytes.
class TFile {
public:
    TFile() = default;
    TFile(TFolderPath folder, std::string name, int64_t size, TDateTime date);
    TFile(std::string_view folder, std::string name, int64_t size, TDateTime date);

    // The folder that holds the file, always ending with "/".
    const std::string& Path() const;
    void SetPath(std::string_view path);
    void SetPath(TFolderPath path);
    const TFolderPath& SharedPath() const { return FPath; }
    std::string FullName() const;

    std::string Name;
    int64_t Size = 0;
    TDateTime Date = 0;
    TChecksum Checksum;

private:
    TFolderPath FPath;
};

// An ordered list of file records. The main file list owns its records; a list made with
// ownership off (the comparison list) only refers to records another list owns.
class TFilesList {
public:
    explicit TFilesList(bool ownsObjects = true) : FOwnsObjects(ownsObjects) {}
    TFilesList(const TFilesList&) = delete;
    TFilesList& operator=(const TFilesList&) = delete;
    ~TFilesList();

    bool OwnsObjects() const { return FOwnsObjects; }
    std::size_t Count() const { return FItems.size(); }
    bool Empty() const { return FItems.empty(); }
    TFile* operator[](std::size_t index) const { return FItems[index]; }

    // An owning list takes ownership of the record.
    void Add(TFile* file);
    void Add(std::unique_ptr<TFile> file);
    // Removes the record at the position (destroying it when the list owns it).
    void Delete(std::size_t index);
    void Clear();
    void Reserve(std::size_t count) { FItems.reserve(count); }

    // Direct access for the sort stage, which reorders the records in place.
    std::vector<TFile*>& Items() { return FItems; }
    const std::vector<TFile*>& Items() const { return FItems; }

    // Writes the list as a files-list file, replacing the file only once the whole text is on
    // disk. Throws std::runtime_error naming the file when it cannot be written.
    void SaveToFile(const std::string& fileName) const;
    // Empties the list and fills it from a files-list file. On a malformed line, throws
    // std::runtime_error naming the file and the line; the records read before it stay. A file
    // named again by a later line is taken once (else it would form a group with itself): the
    // result is then a warning to show, naming the list and the first repeat; else it is empty.
    std::string LoadFromFile(const std::string& fileName);

private:
    bool FOwnsObjects;
    std::vector<TFile*> FItems;
};

} // namespace quorvane
