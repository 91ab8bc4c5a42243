// The pure parts of handing a file to other programs: a desktop entry's Exec line cut into
// arguments, the argument list for one file, and file URIs, for names a shell would misread.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "actions/DesktopEntry.h"
#include "actions/FileUri.h"

using namespace quorvane;
using namespace Qt::StringLiterals;

namespace {

using TArguments = std::vector<std::string>;

const TDesktopEntryKeys kKeys{"Optiquill", "optiquill-icon", "/usr/share/applications/o.desktop"};

// Names that break a command line built as text: quotes, command substitution, spaces, commas,
// a newline, bytes that are not UTF-8, a field code.
const std::vector<std::string> kHostileNames = {
    "/data/a b/it's \"quoted\".txt",   "/data/$(touch pwned)`id`;|&>.txt",
    "/data/comma,separated, list.txt", "/data/line\nbreak.txt",
    "/data/latin1 \xe9t\xe9\xff.txt",  "/data/%f %U %%.txt",
};

} // namespace

Q_DECLARE_METATYPE(TArguments)

class DesktopEntryTest : public QObject {
    Q_OBJECT

private slots:
    void ExecLineSplitting_data() {
        QTest::addColumn<QByteArray>("exec");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<TArguments>("arguments");
        QTest::addColumn<int>("fileArgument"); // -1: the file comes last
        QTest::addColumn<int>("fileOffset");
        const auto row = [](const char* name, const char* exec, TArguments arguments,
                            int fileArgument = -1, int fileOffset = 0) {
            QTest::newRow(name) << QByteArray(exec) << true << arguments << fileArgument
                                << fileOffset;
        };
        const auto invalid = [](const char* name, const char* exec) {
            QTest::newRow(name) << QByteArray(exec) << false << TArguments{} << -1 << 0;
        };
        row("program alone", "optiquill", {"optiquill"});
        row("file code in place", "/opt/oq/optiquill %f --read-only",
            {"/opt/oq/optiquill", "", "--read-only"}, 1);
        row("url code, quoted program", "\"/opt/My Tools/optiquill\" --view %U",
            {"/opt/My Tools/optiquill", "--view", ""}, 2);
        row("file code inside an argument", "optiquill --file=%f", {"optiquill", "--file="}, 1, 7);
        row("only the first file code counts", "optiquill %F %u", {"optiquill", ""}, 1);
        row("quoting escapes", "optiquill \"a \\\"b\\\" \\$c \\\\d \\`e\" 100%%",
            {"optiquill", "a \"b\" $c \\d `e", "100%"});
        row("empty quoted argument kept", "optiquill \"\" x", {"optiquill", "", "x"});
        row("blanks between arguments", "  optiquill \t -v  ", {"optiquill", "-v"});
        row("name, icon and entry expanded", "optiquill %i --title=%c %k",
            {"optiquill", "--icon", "optiquill-icon", "--title=Optiquill",
             "/usr/share/applications/o.desktop"});
        row("deprecated codes dropped", "optiquill %d %D %n %N %v %m", {"optiquill"});
        invalid("empty", "");
        invalid("only blanks", "   ");
        invalid("open quote", "optiquill \"unfinished");
        invalid("unknown field code", "optiquill %x");
        invalid("lone percent at the end", "optiquill %");
        invalid("the file as the program", "%f");
    }

    void ExecLineSplitting() {
        QFETCH(QByteArray, exec);
        QFETCH(bool, valid);
        const std::optional<TDesktopCommand> command =
            SplitExecLine(std::string_view(exec.constData(), exec.size()), kKeys);
        QCOMPARE(command.has_value(), valid);
        if (!valid)
            return;
        QFETCH(TArguments, arguments);
        QFETCH(int, fileArgument);
        QFETCH(int, fileOffset);
        QCOMPARE(command->Arguments, arguments);
        QCOMPARE(command->FileArgument,
                 fileArgument < 0 ? TDesktopCommand::kAtEnd : std::size_t(fileArgument));
        QCOMPARE(command->FileOffset, std::size_t(fileOffset));
    }

    void DesktopEntryFiles_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<TArguments>("arguments"); // empty: no command
        QTest::newRow("plain") << QByteArray("[Desktop Entry]\nType=Application\nName=Optiquill\n"
                                             "Exec=optiquill %f\n")
                               << TArguments{"optiquill", ""};
        // String escapes come first: "\\\\" in the file is one backslash inside the quotes.
        QTest::newRow("string escapes")
            << QByteArray("# comment\n[Desktop Entry]\r\nExec = \"/opt/a\\sb/oq\" \"x\\\\\\\\y\""
                          "\\t-v\r\n")
            << TArguments{"/opt/a b/oq", "x\\y", "-v"};
        QTest::newRow("other groups ignored")
            << QByteArray("[Desktop Action New]\nExec=wrong\n[Desktop Entry]\nExec=right\n"
                          "[Desktop Entry]\nExec=again\n")
            << TArguments{"right"};
        QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=optiquill\nHidden=true\n")
                                << TArguments{};
        QTest::newRow("no exec") << QByteArray("[Desktop Entry]\nName=Optiquill\n") << TArguments{};
        QTest::newRow("no entry group") << QByteArray("Exec=optiquill\n") << TArguments{};
    }

    void DesktopEntryFiles() {
        QFETCH(QByteArray, text);
        QFETCH(TArguments, arguments);
        const std::optional<TDesktopCommand> command =
            ParseDesktopEntry(std::string_view(text.constData(), text.size()), "/e.desktop");
        QCOMPARE(command.has_value(), !arguments.empty());
        if (command)
            QCOMPARE(command->Arguments, arguments);
    }

    // Wherever the file goes, a hostile name is one argument (or the end of one), byte for
    // byte, and the other arguments stay as they were.
    void HostileNamesStayOneArgument() {
        const auto commandLine = [](const char* exec, const std::string& name) {
            const std::optional<TDesktopCommand> command = SplitExecLine(exec, kKeys);
            return command ? CommandLineFor(*command, name) : TArguments{};
        };
        for (const std::string& name : kHostileNames) {
            QCOMPARE(commandLine("optiquill --view", name),
                     (TArguments{"optiquill", "--view", name}));
            QCOMPARE(commandLine("optiquill %f --read-only", name),
                     (TArguments{"optiquill", name, "--read-only"}));
            QCOMPARE(commandLine("optiquill --file=%u", name),
                     (TArguments{"optiquill", "--file=" + name}));
        }
    }

    void FileUris_data() {
        QTest::addColumn<QByteArray>("fullName");
        QTest::addColumn<QString>("uri");
        QTest::newRow("plain") << QByteArray("/home/u/a-b_c.~1/") << u"file:///home/u/a-b_c.~1/"_s;
        QTest::newRow("space, comma, quotes")
            << QByteArray("/d/a b,\"c\"'d'") << u"file:///d/a%20b%2C%22c%22%27d%27"_s;
        QTest::newRow("shell syntax")
            << QByteArray("/d/$(x)`y`;|&") << u"file:///d/%24%28x%29%60y%60%3B%7C%26"_s;
        QTest::newRow("percent and hash") << QByteArray("/d/%41#?") << u"file:///d/%2541%23%3F"_s;
        QTest::newRow("newline") << QByteArray("/d/a\nb") << u"file:///d/a%0Ab"_s;
        QTest::newRow("utf-8") << QByteArray("/d/\xc3\xa9t\xc3\xa9")
                               << u"file:///d/%C3%A9t%C3%A9"_s;
        QTest::newRow("not utf-8") << QByteArray("/d/\xe9t\xe9\xff") << u"file:///d/%E9t%E9%FF"_s;
    }

    // The URI is ASCII and decodes back to the very bytes, also through QUrl.
    void FileUris() {
        QFETCH(QByteArray, fullName);
        QFETCH(QString, uri);
        QCOMPARE(FileUri(std::string_view(fullName.constData(), fullName.size())), uri);
        const QUrl url = QUrl::fromEncoded(uri.toLatin1(), QUrl::StrictMode);
        QVERIFY(url.isValid());
        QCOMPARE(url.toEncoded(), uri.toLatin1());
        QCOMPARE(QByteArray::fromPercentEncoding(url.toEncoded().mid(7)), fullName);
    }

    // The XDG data home comes before the data folders, and a hidden entry there hides the tool.
    void FoundInTheXdgApplicationFolders() {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString home = root.filePath(u"home"_s);
        const QString system = root.filePath(u"system"_s);
        qputenv("XDG_DATA_HOME", home.toUtf8());
        qputenv("XDG_DATA_DIRS", (root.filePath(u"empty"_s) + u":"_s + system).toUtf8());
        const auto write = [](const QString& folder, const QByteArray& text) {
            QVERIFY(QDir().mkpath(folder + u"/applications"_s));
            QFile file(folder + u"/applications/optiquill.desktop"_s);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
        };
        QVERIFY(!FindDesktopCommand(u"optiquill.desktop"_s));
        write(system, "[Desktop Entry]\nExec=/usr/bin/optiquill %k\n");
        std::optional<TDesktopCommand> command = FindDesktopCommand(u"optiquill.desktop"_s);
        QVERIFY(command);
        QCOMPARE(
            command->Arguments,
            (TArguments{
                "/usr/bin/optiquill",
                QFile::encodeName(system + u"/applications/optiquill.desktop"_s).toStdString()}));
        write(home, "[Desktop Entry]\nExec=/home/optiquill\n");
        QCOMPARE(FindDesktopCommand(u"optiquill.desktop"_s)->Arguments,
                 TArguments{"/home/optiquill"});
        write(home, "[Desktop Entry]\nExec=/home/optiquill\nHidden=true\n");
        QVERIFY(!FindDesktopCommand(u"optiquill.desktop"_s));
    }
};

QTEST_MAIN(DesktopEntryTest)
#include "desktop_entry_test.moc"
