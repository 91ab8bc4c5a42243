#include "CliOptions.h"

#include <array>
#include <functional>
#include <string_view>

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

class TArgumentReader {
public:
    explicit TArgumentReader(const std::vector<std::string>& arguments) : FArguments(arguments) {}

    bool AtEnd() const { return FNext >= FArguments.size(); }
    std::string Take() { return FArguments[FNext++]; }
    // The value of the option just taken: "--name=value", or the next argument.
    std::optional<std::string> Value(std::optional<std::string> inlineValue) {
        if (inlineValue)
            return inlineValue;
        if (AtEnd())
            return std::nullopt;
        return Take();
    }

private:
    const std::vector<std::string>& FArguments;
    std::size_t FNext = 0;
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
           "      --zero                 also take files of zero bytes\n"
           "  -g, --group ORDER          name-size (default), name, size, size-name, "
           "name-size-date, or 0-4\n"
           "  -c, --compare MODE         none (default), crc, md4, md5, or 0-3\n"
           "  -p, --profile FILE.qvp     take the search criteria from a saved profile; folders\n"
           "                             given on the command line are added to its folders\n"
           "      --load-list FILE.qfl   group the files of a saved files list instead of "
           "searching\n"
           "      --save-list FILE.qfl   save every file found as a files list\n"
           "      --export FILE          save the results list as the window does, in the format\n"
           "                             of the extension: .xls, .csv, .txt, .htm, .html or .xml\n"
           "  -f, --format FORMAT        text (default: full paths, groups separated by an empty\n"
           "                             line), csv or json\n"
           "  -q, --quiet                no progress, summary, warnings or notices on stderr\n"
           "      --help                 show this help\n"
           "      --version              show the version\n"
           "\n"
           "Exit status: 0 when the search ran (with or without duplicates), 1 for bad usage,\n"
           "2 for a failure, 130 when interrupted with Ctrl-C.\n";
}

TParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCliOptions options;
    TArgumentReader reader(arguments);
    bool optionsEnded = false;
    while (!reader.AtEnd()) {
        std::string argument = reader.Take();
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.Folders.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (argument.starts_with("--")) {
            if (const auto equals = argument.find('='); equals != std::string::npos) {
                inlineValue = argument.substr(equals + 1);
                argument.resize(equals);
            }
        } else if (argument.size() > 2) {
            inlineValue = argument.substr(2); // "-xDIR"
            argument.resize(2);
        }

        const auto flag = [&](bool& target) -> std::optional<TUsageError> {
            if (inlineValue)
                return TUsageError{"option " + argument + " takes no value"};
            target = true;
            return std::nullopt;
        };
        const auto value =
            [&](const std::function<std::optional<TUsageError>(const std::string&)>& use)
            -> std::optional<TUsageError> {
            const std::optional<std::string> text = reader.Value(inlineValue);
            if (!text)
                return TUsageError{"option " + argument + " needs a value"};
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

        std::optional<TUsageError> error;
        if (argument == "--help")
            return TShowHelp{};
        if (argument == "--version")
            return TShowVersion{};
        if (argument == "-x" || argument == "--exclude-folder")
            error = append(options.ExcludeFolders);
        else if (argument == "-i" || argument == "--include")
            error = append(options.IncludeMasks);
        else if (argument == "-e" || argument == "--exclude")
            error = append(options.ExcludeMasks);
        else if (argument == "--hidden-folders")
            error = flag(options.HiddenFolders);
        else if (argument == "--hidden-files")
            error = flag(options.HiddenFiles);
        else if (argument == "--zero")
            error = flag(options.ZeroBytes);
        else if (argument == "-q" || argument == "--quiet")
            error = flag(options.Quiet);
        else if (argument == "-g" || argument == "--group")
            error = value([&](const std::string& text) -> std::optional<TUsageError> {
                if (const auto order = ParseChoice(text, kGroupOrderNames)) {
                    options.GroupOrder = static_cast<TGroupOrder>(*order);
                    return std::nullopt;
                }
                return TUsageError{"unknown group order \"" + text + "\""};
            });
        else if (argument == "-c" || argument == "--compare")
            error = value([&](const std::string& text) -> std::optional<TUsageError> {
                if (const auto mode = ParseChoice(text, kCompareModeNames)) {
                    options.CompareMode = static_cast<TCompareMode>(*mode);
                    return std::nullopt;
                }
                return TUsageError{"unknown compare mode \"" + text + "\""};
            });
        else if (argument == "-f" || argument == "--format")
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
        else if (argument == "-p" || argument == "--profile")
            error = assign(options.Profile);
        else if (argument == "--load-list")
            error = assign(options.LoadList);
        else if (argument == "--save-list")
            error = assign(options.SaveList);
        else if (argument == "--export")
            error = value([&](const std::string& text) -> std::optional<TUsageError> {
                if (!ChooseReportTarget(text))
                    return TUsageError{"--export: \"" + text +
                                       "\" does not end in .xls, .csv, .txt, .htm, .html or .xml"};
                options.Export = text;
                return std::nullopt;
            });
        else
            error = TUsageError{"unknown option " + argument};
        if (error)
            return *error;
    }
    if (options.Folders.empty() && options.Profile.empty() && options.LoadList.empty())
        return TUsageError{"no folder to search"};
    if (!options.LoadList.empty() && !options.Folders.empty())
        return TUsageError{"--load-list takes no folders: the list replaces the search"};
    return options;
}

} // namespace quorvane::cli
