#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "../../renovex/RenovexApi.h"
#include "dialogs/UpdateCheck.h"

namespace quorvane {
namespace {

const QByteArray kPackage = QByteArray("quorvane 2.0.3 package ").repeated(5000);

QByteArray Sha256Hex(const QByteArray& data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

QByteArray Descriptor(const QByteArray& version, const QByteArray& package,
                      const QByteArray& sha256 = Sha256Hex(kPackage)) {
    return "# test descriptor\nVersion=" + version + "\nPackage=" + package + "\nSHA256=" + sha256 +
           "\nNotes=Faster comparison\n";
}

void WriteFile(const QString& fileName, const QByteArray& contents) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(fileName));
}

QByteArray ReadFile(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Answers the update library's questions: yes unless told otherwise, and the download folder.
struct TAnswers {
    QList<QPair<int, QString>> Messages;
    QStringList Questions;
    QList<bool> Replies; // taken in order; yes when none is left
    QByteArray Folder;   // empty: the folder dialog is cancelled

    static void ShowMessage(void* context, int kind, const char* text) {
        static_cast<TAnswers*>(context)->Messages.append({kind, QString::fromUtf8(text)});
    }
    static int Ask(void* context, const char* question) {
        auto* self = static_cast<TAnswers*>(context);
        self->Questions.append(QString::fromUtf8(question));
        return self->Replies.isEmpty() ? 1 : self->Replies.takeFirst();
    }
    static const char* ChooseFolder(void* context, const char*) {
        auto* self = static_cast<TAnswers*>(context);
        return self->Folder.isEmpty() ? nullptr : self->Folder.constData();
    }
};

// A web server on 127.0.0.1 that serves fixed documents and answers 404 otherwise.
class TWebServer : public QObject {
public:
    QMap<QByteArray, QByteArray> Documents;
    QList<QByteArray> AccessHeaders;

    TWebServer() {
        if (!FServer.listen(QHostAddress::LocalHost))
            qFatal("cannot listen");
        connect(&FServer, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = FServer.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
        });
    }
    QString Address(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1%2")
            .arg(FServer.serverPort())
            .arg(QString::fromLatin1(path));
    }

private:
    void Answer(QTcpSocket* socket) {
        QByteArray& request = FRequests[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> lines = request.split('\n');
        const QByteArray path = lines[0].split(' ').value(1);
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("x-renovex-access:"))
                AccessHeaders.append(line.mid(line.indexOf(':') + 1).trimmed());
        const bool found = Documents.contains(path);
        const QByteArray body = found ? Documents[path] : QByteArray("not here");
        socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                      QByteArray("Content-Length: ") + QByteArray::number(body.size()) +
                      "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
        FRequests.remove(socket);
    }

    QTcpServer FServer;
    QHash<QTcpSocket*, QByteArray> FRequests;
};

} // namespace

class TUpdateTest : public QObject {
    Q_OBJECT

private:
    QLibrary FLibrary;
    TAnswers* FAnswers = nullptr;
    std::unique_ptr<QTemporaryDir> FServed;    // the "server" side of file addresses
    std::unique_ptr<QTemporaryDir> FDownloads; // the folder the user picks
    QWidget FMain;

    QString Served(const char* name) const {
        return FServed->path() + QStringLiteral("/") + QString::fromLatin1(name);
    }
    QString Downloaded(const char* name) const {
        return FDownloads->path() + QStringLiteral("/") + QString::fromLatin1(name);
    }
    QString FileAddress(const char* name) const {
        return QUrl::fromLocalFile(Served(name)).toString();
    }
    QStringList DownloadFolder() const {
        return QDir(FDownloads->path()).entryList(QDir::Files | QDir::Hidden);
    }
    bool Check(const QString& address) { return CheckForUpdates(&FMain, address); }

private slots:
    void initTestCase() {
        const QString library = QFileInfo(QCoreApplication::applicationDirPath() +
                                          QStringLiteral("/../lib/librenovex.so"))
                                    .canonicalFilePath();
        FLibrary.setFileName(library);
        QVERIFY2(FLibrary.load(), qPrintable(FLibrary.errorString()));
        QVERIFY(FLibrary.resolve("RenovexSetPrompts"));
    }

    void init() {
        FAnswers = new TAnswers;
        FServed = std::make_unique<QTemporaryDir>();
        FDownloads = std::make_unique<QTemporaryDir>();
        FAnswers->Folder = FDownloads->path().toUtf8();
        static TRenovexPrompts prompts;
        prompts = {FAnswers, &TAnswers::ShowMessage, &TAnswers::Ask, &TAnswers::ChooseFolder};
        reinterpret_cast<TRenovexSetPromptsFunction>(FLibrary.resolve("RenovexSetPrompts"))(
            &prompts);
        WriteFile(Served("quorvane-2.0.3.tar.gz"), kPackage);
    }

    void cleanup() {
        reinterpret_cast<TRenovexSetPromptsFunction>(FLibrary.resolve("RenovexSetPrompts"))(
            nullptr);
        delete FAnswers;
    }

    void newerVersionFromAFileIsDownloadedAndVerified() {
        WriteFile(Served("quorvane.upd"), Descriptor("2.0.3", "quorvane-2.0.3.tar.gz"));
        QVERIFY(Check(FileAddress("quorvane.upd")));
        QCOMPARE(FAnswers->Questions.size(), 2);
        QVERIFY(
            FAnswers->Questions[0].contains(QStringLiteral("2.0.3 (you are running 2.0.2.13)")));
        QVERIFY(FAnswers->Questions[0].contains(QStringLiteral("Faster comparison")));
        QVERIFY(FAnswers->Questions[1].contains(Downloaded("quorvane-2.0.3.tar.gz")));
        QVERIFY(FAnswers->Messages.isEmpty());
        QCOMPARE(ReadFile(Downloaded("quorvane-2.0.3.tar.gz")), kPackage);
        QCOMPARE(DownloadFolder(), QStringList{QStringLiteral("quorvane-2.0.3.tar.gz")});
    }

    void versionsAreComparedAsNumbers_data() {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("newer");
        QTest::newRow("same") << QByteArray("2.0.2.13") << false;
        QTest::newRow("same with a zero") << QByteArray("2.0.2.13.0") << false;
        QTest::newRow("older part") << QByteArray("2.0.2.9") << false;
        QTest::newRow("older major") << QByteArray("1.99.99") << false;
        QTest::newRow("newer part") << QByteArray("2.0.3") << true;
        QTest::newRow("two digits") << QByteArray("2.0.10") << true;
        QTest::newRow("major only") << QByteArray("10") << true;
    }

    void versionsAreComparedAsNumbers() {
        QFETCH(QByteArray, version);
        QFETCH(bool, newer);
        WriteFile(Served("quorvane.upd"), Descriptor(version, "quorvane-2.0.3.tar.gz"));
        FAnswers->Replies = {false}; // no download
        QVERIFY(!Check(FileAddress("quorvane.upd")));
        QCOMPARE(FAnswers->Questions.size(), newer ? 1 : 0);
        if (!newer) {
            QCOMPARE(FAnswers->Messages.size(), 1);
            QCOMPARE(FAnswers->Messages[0].first, int(RenovexInformation));
            QVERIFY(FAnswers->Messages[0].second.contains(
                QStringLiteral("You are running the latest version of")));
        }
        QVERIFY(DownloadFolder().isEmpty());
    }

    void badDescriptorsAreRefusedWithTheReason_data() {
        QTest::addColumn<QByteArray>("descriptor");
        QTest::addColumn<QString>("reason");
        const QByteArray sha = Sha256Hex(kPackage);
        QTest::newRow("no version") << QByteArray("Package=p.tgz\nSHA256=" + sha)
                                    << QStringLiteral("it has no Version line");
        QTest::newRow("bad version")
            << Descriptor("2.0-beta", "p.tgz")
            << QStringLiteral("its version \"2.0-beta\" is not a version number");
        QTest::newRow("short checksum")
            << Descriptor("3", "p.tgz", sha.left(63))
            << QStringLiteral("its SHA256 value is not 64 hexadecimal digits");
        QTest::newRow("no file name")
            << Descriptor("3", "downloads/") << QStringLiteral("names no file");
        QTest::newRow("repeated key") << Descriptor("3", "p.tgz") + "version=4\n"
                                      << QStringLiteral("repeats the key version");
        QTest::newRow("not key=value") << QByteArray("<html>busy</html>\n")
                                       << QStringLiteral("line 1 is not a \"key=value\" line");
        QTest::newRow("bad size") << Descriptor("3", "p.tgz") + "Size=-4\n"
                                  << QStringLiteral("its size \"-4\" is not a number of bytes");
    }

    void badDescriptorsAreRefusedWithTheReason() {
        QFETCH(QByteArray, descriptor);
        QFETCH(QString, reason);
        WriteFile(Served("quorvane.upd"), descriptor);
        QVERIFY(!Check(FileAddress("quorvane.upd")));
        QCOMPARE(FAnswers->Messages.size(), 1);
        QCOMPARE(FAnswers->Messages[0].first, int(RenovexError));
        const QString& text = FAnswers->Messages[0].second;
        QVERIFY2(text.contains(QStringLiteral("is not valid")) && text.contains(reason) &&
                     text.contains(Served("quorvane.upd")),
                 qPrintable(text));
        QVERIFY(FAnswers->Questions.isEmpty());
    }

    void newerVersionFromTheServer() {
        TWebServer server;
        server.Documents["/updates/quorvane/quorvane.upd"] =
            Descriptor("2.1", "files/quorvane-2.1.tar.gz") +
            "Size=" + QByteArray::number(kPackage.size()) + "\n";
        server.Documents["/updates/quorvane/files/quorvane-2.1.tar.gz"] = kPackage;
        QVERIFY(Check(server.Address("/updates/quorvane/quorvane.upd")));
        QCOMPARE(ReadFile(Downloaded("quorvane-2.1.tar.gz")), kPackage);
        QCOMPARE(server.AccessHeaders,
                 (QList<QByteArray>{kUpdateAccessString, kUpdateAccessString}));
    }

    void sameVersionOnTheServer() {
        TWebServer server;
        server.Documents["/quorvane.upd"] = Descriptor("2.0.2.13", "p.tgz");
        QVERIFY(!Check(server.Address("/quorvane.upd")));
        QCOMPARE(FAnswers->Messages.size(), 1);
        QVERIFY(FAnswers->Messages[0].second.contains(QStringLiteral("latest version")));
        QVERIFY(FAnswers->Messages[0].second.contains(QStringLiteral("2.0.2.13")));
    }

    void aDamagedDownloadIsDeletedAndTheOldFileKept() {
        TWebServer server;
        server.Documents["/quorvane.upd"] = Descriptor("2.1", "p.tgz", Sha256Hex("something else"));
        server.Documents["/p.tgz"] = kPackage;
        WriteFile(Downloaded("p.tgz"), "an older download");
        FAnswers->Replies = {true, true}; // download, replace the file there
        QVERIFY(!Check(server.Address("/quorvane.upd")));
        QCOMPARE(FAnswers->Questions.size(), 2);
        QVERIFY(FAnswers->Questions[1].contains(QStringLiteral("already exists. Replace it?")));
        QCOMPARE(FAnswers->Messages.size(), 1);
        const QString& text = FAnswers->Messages[0].second;
        QVERIFY2(text.contains(QStringLiteral("is damaged")) &&
                     text.contains(QStringLiteral("SHA-256")) && text.contains(Downloaded("p.tgz")),
                 qPrintable(text));
        QCOMPARE(ReadFile(Downloaded("p.tgz")), QByteArray("an older download"));
        QCOMPARE(DownloadFolder(), QStringList{QStringLiteral("p.tgz")}); // no partial file left
    }

    void anUnreachableOrMissingDescriptorIsReported() {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        const QString unreachable = QStringLiteral("http://127.0.0.1:%1/quorvane.upd").arg(port);
        TWebServer server;
        for (const QString& address :
             {unreachable, server.Address("/missing.upd"), FileAddress("missing.upd")}) {
            FAnswers->Messages.clear();
            QVERIFY(!Check(address));
            QCOMPARE(FAnswers->Messages.size(), 1);
            const QString& text = FAnswers->Messages[0].second;
            QVERIFY2(text.contains(QStringLiteral("could not be read")) &&
                         text.contains(QUrl(address).toDisplayString()),
                     qPrintable(text));
        }
    }

    void theUserMayDeclineAtEveryStep() {
        WriteFile(Served("quorvane.upd"), Descriptor("3", "quorvane-2.0.3.tar.gz"));
        FAnswers->Folder.clear(); // the folder dialog cancelled
        QVERIFY(!Check(FileAddress("quorvane.upd")));
        QVERIFY(DownloadFolder().isEmpty());

        FAnswers->Folder = FDownloads->path().toUtf8();
        WriteFile(Downloaded("quorvane-2.0.3.tar.gz"), "keep me");
        FAnswers->Replies = {true, false}; // download, but do not replace
        QVERIFY(!Check(FileAddress("quorvane.upd")));
        QCOMPARE(ReadFile(Downloaded("quorvane-2.0.3.tar.gz")), QByteArray("keep me"));

        QVERIFY(QFile::remove(Downloaded("quorvane-2.0.3.tar.gz")));
        FAnswers->Replies = {true, false}; // download, but do not close the program now
        QVERIFY(!Check(FileAddress("quorvane.upd")));
        QCOMPARE(ReadFile(Downloaded("quorvane-2.0.3.tar.gz")), kPackage);
        QVERIFY(FAnswers->Messages.isEmpty());
    }

    void aServerDescriptorMayNotNameALocalFile() {
        TWebServer server;
        server.Documents["/quorvane.upd"] =
            Descriptor("3", QUrl::fromLocalFile(Served("quorvane-2.0.3.tar.gz")).toEncoded());
        QVERIFY(!Check(server.Address("/quorvane.upd")));
        QCOMPARE(FAnswers->Messages.size(), 1);
        QVERIFY(FAnswers->Messages[0].second.contains(QStringLiteral("names a local file")));
    }
};

} // namespace quorvane

QTEST_MAIN(quorvane::TUpdateTest)
#include "dialog_update_test.moc"
