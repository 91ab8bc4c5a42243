#include "actions/DesktopEntry.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>

namespace quorvane {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The escapes of a string value: \s \n \t \r \\. Any other backslash stays for the Exec
// quoting rules to read.
std::string UnescapeString(std::string_view value) {
    std::string text;
    text.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[i + 1]) {
        case 's':
            text += ' ';
            break;
        case 'n':
            text += '\n';
            break;
        case 't':
            text += '\t';
            break;
        case 'r':
            text += '\r';
            break;
        case '\\':
            text += '\\';
            break;
        default:
            text += value[i];
            continue;
        }
        ++i;
    }
    return text;
}

// Builds the arguments of an Exec line one character at a time.
class TExecSplitter {
public:
    explicit TExecSplitter(const TDesktopEntryKeys& keys) : FKeys(keys) {}

    std::optional<TDesktopCommand> Split(std::string_view exec) {
        std::size_t i = 0;
        while (i < exec.size()) {
            const char c = exec[i];
            if (IsBlank(c)) {
                EndArgument();
                ++i;
            } else if (c == '"') {
                if (!Quoted(exec, i))
                    return std::nullopt;
            } else if (c == '%') {
                if (!FieldCode(exec, i))
                    return std::nullopt;
            } else {
                FCurrent += c;
                FStarted = true;
                ++i;
            }
        }
        EndArgument();
        if (FCommand.Arguments.empty() || FCommand.FileArgument == 0)
            return std::nullopt;
        return FCommand;
    }

private:
    void EndArgument() {
        if (FStarted || !FCurrent.empty())
            FCommand.Arguments.push_back(std::move(FCurrent));
        FCurrent.clear();
        FStarted = false;
    }

    // A quoted piece from the opening quote at `i`; false when it never closes.
    bool Quoted(std::string_view exec, std::size_t& i) {
        FStarted = true; // "" is an empty argument of its own
        for (++i; i < exec.size(); ++i) {
            const char c = exec[i];
            if (c == '"') {
                ++i;
                return true;
            }
            if (c == '\\' && i + 1 < exec.size() &&
                std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos)
                ++i;
            FCurrent += exec[i];
        }
        return false;
    }

    // The field code at `i` ("%" and one letter); false for one the rules do not know.
    bool FieldCode(std::string_view exec, std::size_t& i) {
        if (i + 1 >= exec.size())
            return false;
        const char code = exec[i + 1];
        const bool alone =
            !FStarted && FCurrent.empty() && (i + 2 == exec.size() || IsBlank(exec[i + 2]));
        i += 2;
        switch (code) {
        case '%':
            FCurrent += '%';
            FStarted = true;
            return true;
        case 'f':
        case 'F':
        case 'u':
        case 'U':
            // A local file may be passed as a path where a URL is expected; only the first
            // place counts.
            if (FCommand.FileArgument == TDesktopCommand::kAtEnd) {
                FCommand.FileArgument = FCommand.Arguments.size();
                FCommand.FileOffset = FCurrent.size();
                FStarted = true;
            }
            return true;
        case 'c':
            FCurrent += FKeys.Name;
            FStarted = true;
            return true;
        case 'k':
            FCurrent += FKeys.EntryPath;
            FStarted = true;
            return true;
        case 'i':
            if (alone && !FKeys.Icon.empty()) {
                FCommand.Arguments.emplace_back("--icon");
                FCommand.Arguments.push_back(FKeys.Icon);
            }
            return true;
        case 'd':
        case 'D':
        case 'n':
        case 'N':
        case 'v':
        case 'm':
            return true;
        default:
            return false;
        }
    }

    const TDesktopEntryKeys& FKeys;
    TDesktopCommand FCommand;
    std::string FCurrent;
    bool FStarted = false; // the current argument exists even if empty (quotes, the file)
};

} // namespace

std::optional<TDesktopCommand> SplitExecLine(std::string_view exec, const TDesktopEntryKeys& keys) {
    return TExecSplitter(keys).Split(exec);
}

std::optional<TDesktopCommand> ParseDesktopEntry(std::string_view text,
                                                 std::string_view entryPath) {
    bool inEntry = false;
    bool seenEntry = false;
    std::optional<std::string> exec;
    TDesktopEntryKeys keys;
    keys.EntryPath = entryPath;
    bool hidden = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line =
            Trimmed(text.substr(0, end == std::string_view::npos ? text.size() : end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            // Keys of a group that appears twice would be ambiguous: the first one counts.
            inEntry = line == "[Desktop Entry]" && !seenEntry;
            seenEntry = seenEntry || inEntry;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inEntry || equals == std::string_view::npos)
            continue;
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string value = UnescapeString(Trimmed(line.substr(equals + 1)));
        if (key == "Exec" && !exec)
            exec = value;
        else if (key == "Name" && keys.Name.empty())
            keys.Name = value;
        else if (key == "Icon" && keys.Icon.empty())
            keys.Icon = value;
        else if (key == "Hidden")
            hidden = value == "true";
    }
    if (hidden || !exec)
        return std::nullopt;
    return SplitExecLine(*exec, keys);
}

std::optional<TDesktopCommand> FindDesktopCommand(const QString& fileName) {
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, fileName);
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = file.readAll();
    return ParseDesktopEntry(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
        QFile::encodeName(path).toStdString());
}

std::vector<std::string> CommandLineFor(const TDesktopCommand& command, std::string_view fullName) {
    std::vector<std::string> arguments = command.Arguments;
    if (command.FileArgument == TDesktopCommand::kAtEnd)
        arguments.emplace_back(fullName);
    else
        arguments[command.FileArgument].insert(command.FileOffset, fullName);
    return arguments;
}

} // namespace quorvane
