#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "actions/FileAction.h"
#include "search/SearchCriteria.h"

namespace quorvane::cli {

enum class TOutputFormat { Text, Csv, Json };

// --delete, --trash, --move-to DIR or --zip FILE.
struct TActionRequest {
    TFileOperation Operation = TFileOperation::Delete;
    std::string Target; // the destination folder or the archive, as given; empty otherwise
};

// What the command line asked for.
struct TCliOptions {
    std::vector<std::string> Folders;        // include folders named on the command line
    std::vector<std::string> ExcludeFolders; // -x
    std::vector<std::string> IncludeMasks;   // -i (empty: "*.*")
    std::vector<std::string> ExcludeMasks;   // -e
    bool HiddenFolders = false;
    bool HiddenFiles = false;
    bool ZeroBytes = false;
    std::optional<TGroupOrder> GroupOrder;   // -g; from the profile, else name-size
    std::optional<TCompareMode> CompareMode; // -c; from the profile, else none
    std::string Profile;                     // -p
    std::string LoadList;                    // --load-list
    std::string SaveList;                    // --save-list
    std::string Export;                      // --export: the results list as .xls, .csv ...
    std::optional<std::string> Filter;       // --filter: a stored filter's name
    std::optional<std::string> FilterHex;    // --filter-hex: criteria as hex text
    TOutputFormat Format = TOutputFormat::Text;
    bool NullSeparated = false; // -0: paths and groups end with zero bytes (text output)
    bool Quiet = false;
    std::optional<TActionRequest> Action;
    bool DryRun = false; // print the action's plan, touch nothing
};

struct TShowHelp {};
struct TShowVersion {};
struct TUsageError {
    std::string Message;
};
using TParsedCommandLine = std::variant<TCliOptions, TShowHelp, TShowVersion, TUsageError>;

// Reads the arguments (without the program name).
TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();

} // namespace quorvane::cli
