#include "CliOptions.h"

#include <array>
#include <functional>
#include <string_view>
#include <utility>

#include "reports/ReportTarget.h"

namespace quorvane::cli {
namespace {

constexpr std::array<std::string_view, 5> kGroupOrderNames = {"name-size", "name", "size",
                                                              "size-name", "name-size-date"};
constexpr std::array<std::string_view, 4> kCompareModeNames = {"none", "crc", "md4", "md5"};

// A value given by name or by its number.
template <std::size_t N>
std::optional<int> ParseChoice(std::string_view value,
                               const std::array<std::string_view, N>& names) {
    for (std::size_t i = 0; i < N; ++i)
        if (value == names[i] || value == std::to_string(i))
            return static_cast<int>(i);
    return std::nullopt;
}

struct TActionOption {
    std::string_view Name;
    TFileOperation Operation;
    bool TakesTarget;
};

constexpr TActionOption kActionOptions[] = {
    {"--delete", TFileOperation::Delete, false},
    {"--trash", TFileOperation::Recycle, false},
    {"--move-to", TFileOperation::Move, true},
    {"--zip", TFileOperation::Compress, true},
};

const TActionOption* FindActionOption(std::string_view argument) {
    for (const TActionOption& option : kActionOptions)
        if (argument == option.Name)
            return &option;
    return nullptr;
}

// One argument of the command line as the parser sees it: an operand (a folder), or an option
// with the value given after "=" in its long form.
struct TArgument {
    std::string Text;
    bool IsOption = false;
    std::optional<std::string> InlineValue;
};

// Hands out the arguments one at a time. A cluster of short options is taken apart ("-qz" gives
// "-q", then "-z"); an option that takes a value takes the rest of its cluster ("-gsize"), else
// the next argument. "--" ends the options: what follows is an operand even if it starts with "-".
class TArgumentReader {
public:
    explicit TArgumentReader(const std::vector<std::string>& arguments) : FArguments(arguments) {}

    std::optional<TArgument> Take() {
        if (!FCluster.empty()) {
            TArgument option{std::string{'-', FCluster.front()}, true, std::nullopt};
            FCluster.erase(0, 1);
            return option;
        }
        if (!FOptionsEnded && FNext < FArguments.size() && FArguments[FNext] == "--") {
            FOptionsEnded = true;
            ++FNext;
        }
        if (FNext >= FArguments.size())
            return std::nullopt;
        std::string text = FArguments[FNext++];
        if (FOptionsEnded || text.size() < 2 || text[0] != '-')
            return TArgument{std::move(text), false, std::nullopt};
        if (!text.starts_with("--")) {
            FCluster = text.substr(2);
            text.resize(2);
            return TArgument{std::move(text), true, std::nullopt};
        }
        std::optional<std::string> inlineValue;
        if (const auto equals = text.find('='); equals != std::string::npos) {
            inlineValue = text.substr(equals + 1);
            text.resize(equals);
        }
        return TArgument{std::move(text), true, std::move(inlineValue)};
    }

    // The value of the option just taken.
    std::optional<std::string> Value(const TArgument& option) {
        if (option.InlineValue)
            return option.InlineValue;
        if (!FCluster.empty())
            return std::exchange(FCluster, {});
        if (FNext >= FArguments.size())
            return std::nullopt;
        return FArguments[FNext++];
    }

private:
    const std::vector<std::string>& FArguments;
    std::size_t FNext = 0;
    std::string FCluster; // short options still to hand out, after the "-" and the one taken
    bool FOptionsEnded = false;
};

} // namespace

std::string UsageText() {
    return "Usage: quorvane-cli [OPTIONS] FOLDER...\n"
           "Finds duplicate files in the folders and prints them, one group after another.\n"
           "\n"
           "  -x, --exclude-folder DIR   leave out a folder and everything below it (repeatable)\n"
           "  -i, --include MASK         take only files matching a mask (repeatable; default "
           "*.*)\n"
           "  -e, --exclude MASK         leave out files matching a mask (repeatable)\n"
           "      --hidden-folders       also walk hidden folders\n"
           "      --hidden-files         also take hidden files\n"
           "  -z, --zero                 also take files of zero bytes\n"
           "  -g, --group ORDER          name-size (default), name, size, size-name, "
           "name-size-date, or 0-4\n"
           "  -c, --compare MODE         none (default), crc, md4, md5, or 0-3\n"
           "  -p, --profile FILE.qvp     take the search criteria from a saved profile; folders\n"
           "                             given on the command line are added to its folders (a\n"
           "                             profile without folders stands for every fixed drive\n"
           "                             only when no folder is given)\n"
           "      --load-list FILE.qfl   group the files of a saved files list instead of "
           "searching\n"
           "      --save-list FILE.qfl   save every file found as a files list (before printing:\n"
           "                             when it cannot be saved, nothing is printed)\n"
           "      --filter NAME          show only the files that pass a stored filter of the\n"
           "                             Filter menu (the five default filters always count)\n"
           "      --filter-hex HEX       show only the files that pass a filter given as the hex\n"
           "                             text of its criteria, as the configuration file keeps it\n"
           "      --export FILE          save the results list as the window does, in the format\n"
           "                             of the extension: .xls, .csv, .txt, .htm, .html or .xml\n"
           "  -f, --format FORMAT        text (default: full paths, groups separated by an empty\n"
           "                             line), csv or json\n"
           "  -0, --null                 text output: end every path with a zero byte and every\n"
           "                             group with one more, for names that hold line breaks\n"
           "  -q, --quiet                no progress, summary, warnings or notices on stderr\n"
           "      --delete               delete every file of each group but the first listed\n"
           "      --trash                move those files to the trash\n"
           "      --move-to DIR          move those files below DIR, each with its folder path\n"
           "                             (DIR/home/me/a.txt); an existing file is never replaced\n"
           "      --zip FILE.zip         store those files in a zip archive with their folder\n"
           "                             paths (added to an existing one), then delete them\n"
           "      --dry-run              print what the action would do and touch nothing\n"
           "  -h, --help                 show this help\n"
           "  -V, --version              show the version\n"
           "\n"
           "Short options combine (-qz) and take a value attached (-gsize) or apart (-g size).\n"
           "\n"
           "A folder that cannot be read is named on stderr with the reason; the search goes on.\n"
           "Files that cannot be read have no contents to compare. Text output leaves out a\n"
           "group made only of such files and lists them on stderr; csv and json keep it and\n"
           "mark it with the unreadable field (true or false).\n"
           "In json, a path or name that is not valid UTF-8 shows U+FFFD for the bytes that are\n"
           "not, and path_bytes (or name_bytes) then gives its exact bytes, with % and every\n"
           "byte that is not UTF-8 written as %XX.\n"
           "\n"
           "An action (at most one) never touches the first file of a group, a file that\n"
           "could not be read, a file in a protected folder, nor, while \"Don't allow\n"
           "delete/move files without comparing\" is on, a file whose contents were not\n"
           "compared: the last two follow the settings of the window, which are read and\n"
           "never changed. With an action stdout lists its steps instead of the groups, one\n"
           "line per file: the operation (delete, trash, move, zip), a tab, the file, and for a\n"
           "move or zip a tab and the target or archive entry (with -0: each field ends with a\n"
           "zero byte, each step with one more). A file that was not acted on is named on\n"
           "stderr with the reason.\n"
           "\n"
           "Exit status: 0 when the search ran (with or without duplicates, also when files or\n"
           "folders could not be read), 1 for bad usage, 2 for a failure (a named folder that\n"
           "does not exist or is not a folder, a profile, files list or filter that cannot be\n"
           "read or used, a file an action could not act on, an action refused), 130 when\n"
           "interrupted with Ctrl-C, 143 when ended by SIGTERM.\n";
}

TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCliOptions options;
    TArgumentReader reader(arguments);
    while (const std::optional<TArgument> argument = reader.Take()) {
        if (!argument->IsOption) {
            options.Folders.push_back(argument->Text);
            continue;
        }
        const std::string& name = argument->Text;

        const auto flag = [&](bool& target) -> std::optional<TUsageError> {
            if (argument->InlineValue)
                return TUsageError{"option " + name + " takes no value"};
            target = true;
            return std::nullopt;
        };
        const auto value =
            [&](const std::function<std::optional<TUsageError>(const std::string&)>& use)
            -> std::optional<TUsageError> {
            const std::optional<std::string> text = reader.Value(*argument);
            if (!text)
                return TUsageError{"option " + name + " needs a value"};
            return use(*text);
        };
        const auto append = [&](std::vector<std::string>& list) {
            return value([&](const std::string& text) -> std::optional<TUsageError> {
                list.push_back(text);
                return std::nullopt;
            });
        };
        const auto assign = [&](std::string& target) {
            return value([&](const std::string& text) -> std::optional<TUsageError> {
                target = text;
                return std::nullopt;
            });
        };

        const auto chooseAction = [&](const TActionOption& action) -> std::optional<TUsageError> {
            if (options.Action)
                return TUsageError{"only one of --delete, --trash, --move-to and --zip can be "
                                   "given"};
            if (!action.TakesTarget) {
                if (argument->InlineValue)
                    return TUsageError{"option " + name + " takes no value"};
                options.Action = TActionRequest{action.Operation, {}};
                return std::nullopt;
            }
            return value([&](const std::string& text) -> std::optional<TUsageError> {
                if (text.empty())
                    return TUsageError{"option " + name + " needs a value"};
                options.Action = TActionRequest{action.Operation, text};
                return std::nullopt;
            });
        };

        std::optional<TUsageError> error;
        if (name == "-h" || name == "--help")
            return TShowHelp{};
        if (name == "-V" || name == "--version")
            return TShowVersion{};
        if (name == "-x" || name == "--exclude-folder")
            error = append(options.ExcludeFolders);
        else if (name == "-i" || name == "--include")
            error = append(options.IncludeMasks);
        else if (name == "-e" || name == "--exclude")
            error = append(options.ExcludeMasks);
        else if (name == "--hidden-folders")
            error = flag(options.HiddenFolders);
        else if (name == "--hidden-files")
            error = flag(options.HiddenFiles);
        else if (name == "-z" || name == "--zero")
            error = flag(options.ZeroBytes);
        else if (name == "-q" || name == "--quiet")
            error = flag(options.Quiet);
        else if (name == "-0" || name == "--null")
            error = flag(options.NullSeparated);
        else if (name == "-g" || name == "--group")
            error = value([&](const std::string& text) -> std::optional<TUsageError> {
                if (const auto order = ParseChoice(text, kGroupOrderNames)) {
                    options.GroupOrder = static_cast<TGroupOrder>(*order);
                    return std::nullopt;
                }
                return TUsageError{"unknown group order \"" + text + "\""};
            });
        else if (name == "-c" || name == "--compare")
            error = value([&](const std::string& text) -> std::optional<TUsageError> {
                if (const auto mode = ParseChoice(text, kCompareModeNames)) {
                    options.CompareMode = static_cast<TCompareMode>(*mode);
                    return std::nullopt;
                }
                return TUsageError{"unknown compare mode \"" + text + "\""};
            });
        else if (name == "-f" || name == "--format")
            error = value([&](const std::string& text) -> std::optional<TUsageError> {
                if (text == "text")
                    options.Format = TOutputFormat::Text;
                else if (text == "csv")
                    options.Format = TOutputFormat::Csv;
                else if (text == "json")
                    options.Format = TOutputFormat::Json;
                else
                    return TUsageError{"unknown output format \"" + text + "\""};
                return std::nullopt;
            });
        else if (name == "-p" || name == "--profile")
            error = assign(options.Profile);
        else if (name == "--load-list")
            error = assign(options.LoadList);
        else if (name == "--save-list")
            error = assign(options.SaveList);
        else if (const TActionOption* action = FindActionOption(name))
            error = chooseAction(*action);
        else if (name == "--dry-run")
            error = flag(options.DryRun);
        else if (name == "--export")
            error = value([&](const std::string& text) -> std::optional<TUsageError> {
                if (!ChooseReportTarget(text))
                    return TUsageError{"--export: \"" + text +
                                       "\" does not end in .xls, .csv, .txt, .htm, .html or .xml"};
                options.Export = text;
                return std::nullopt;
            });
        else if (name == "--filter" || name == "--filter-hex")
            error = value([&](const std::string& text) -> std::optional<TUsageError> {
                if (options.Filter || options.FilterHex)
                    return TUsageError{"only one filter can be given"};
                if (name == "--filter-hex")
                    options.FilterHex = text;
                else if (text.empty())
                    return TUsageError{"option --filter needs a filter name"};
                else
                    options.Filter = text;
                return std::nullopt;
            });
        else
            error = TUsageError{"unknown option " + name};
        if (error)
            return *error;
    }
    if (options.Folders.empty() && options.Profile.empty() && options.LoadList.empty())
        return TUsageError{"no folder to search"};
    if (!options.LoadList.empty() && !options.Folders.empty())
        return TUsageError{"--load-list takes no folders: the list replaces the search"};
    if (options.DryRun && !options.Action)
        return TUsageError{"--dry-run needs an action: --delete, --trash, --move-to or --zip"};
    if (options.Action && options.Format != TOutputFormat::Text)
        return TUsageError{"--format does not apply to an action: its steps are printed as text"};
    if (options.NullSeparated && options.Format != TOutputFormat::Text)
        return TUsageError{"--null applies to text output only"};
    return options;
}

} // namespace quorvane::cli
