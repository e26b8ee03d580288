// SPDX-License-Identifier: GPL-3.0-or-later
// Settings files and safe writing.
#include <QTest>
#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "editor/EditorTestSupport.h"
#include "platform/Profile.h"

using namespace plc;
using namespace plc::test;

class TestProfile : public QObject {
    Q_OBJECT
private slots:
    void readsWithProfileSemantics_data();
    void readsWithProfileSemantics();
    void readsIntegers_data();
    void readsIntegers();
    void writesKeepingEverythingElse_data();
    void writesKeepingEverythingElse();
    void followsTheCurrentDirectory();
    void failedWriteKeepsTheOldFile();
    void writeIntoMissingFolderFails();
    void deleteRemovesEveryCopy_data();
    void deleteRemovesEveryCopy();
    void unreadableFileIsNeverWritten();
    void concurrentChangesLoseNothing();
    void specialFilesAreNoProfile();
};

void TestProfile::readsWithProfileSemantics_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray file = "[Menu]\r\nLastPath = C:/x.plc \r\n[Font]\r\nFaceName=\"Courier New\"\r\n"
                            "Quoted='a'\r\nHalf=\"b\r\nEmpty=\r\n[menu]\r\nOther=2\r\n";
    QTest::newRow("exact") << file << QByteArray("Menu") << QByteArray("LastPath") << QByteArray("C:/x.plc");
    QTest::newRow("case of names") << file << QByteArray("MENU") << QByteArray("lastpath") << QByteArray("C:/x.plc");
    QTest::newRow("double quotes") << file << QByteArray("Font") << QByteArray("FaceName") << QByteArray("Courier New");
    QTest::newRow("single quotes") << file << QByteArray("Font") << QByteArray("Quoted") << QByteArray("a");
    QTest::newRow("unpaired quote") << file << QByteArray("Font") << QByteArray("Half") << QByteArray("\"b");
    QTest::newRow("empty value") << file << QByteArray("Font") << QByteArray("Empty") << QByteArray("DEF");
    QTest::newRow("missing key") << file << QByteArray("Font") << QByteArray("Size") << QByteArray("DEF");
    QTest::newRow("missing section") << file << QByteArray("Page") << QByteArray("Top") << QByteArray("DEF");
    QTest::newRow("first section counts") << file << QByteArray("Menu") << QByteArray("Other") << QByteArray("DEF");
    QTest::newRow("LF line ends") << QByteArray("[A]\nk=v\n") << QByteArray("A") << QByteArray("k") << QByteArray("v");
    QTest::newRow("no final line end") << QByteArray("[A]\r\nk=v") << QByteArray("A") << QByteArray("k") << QByteArray("v");
    QTest::newRow("no file") << QByteArray() << QByteArray("A") << QByteArray("k") << QByteArray("DEF");
}

void TestProfile::readsWithProfileSemantics() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);
    ScratchDirectory scratch;
    if (!file.isEmpty()) WriteBytes("./PlcEdit.ini", file.toStdString());
    QCOMPARE(QByteArray::fromStdString(Profile().GetString(section.toStdString(), key.toStdString(), "DEF")),
             expected);
}

void TestProfile::readsIntegers_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << QByteArray("80") << 80;
    QTest::newRow("negative") << QByteArray("-5") << -5;
    QTest::newRow("trailing text") << QByteArray("12mm") << 12;
    QTest::newRow("no digits") << QByteArray("abc") << 0;
    QTest::newRow("empty gives default") << QByteArray("") << 7;
    QTest::newRow("wraps to 32 bits") << QByteArray("4294967295") << -1;
}

void TestProfile::readsIntegers() {
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    ScratchDirectory scratch;
    WriteBytes("./PlcEdit.ini", "[Page]\r\nTop=" + value.toStdString() + "\r\n");
    QCOMPARE(Profile().GetInt("Page", "Top", 7), expected);
}

void TestProfile::writesKeepingEverythingElse_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("new file") << QByteArray() << QByteArray("Menu") << QByteArray("LastPath")
                              << QByteArray("[Menu]\r\nLastPath=V\r\n");
    QTest::newRow("replace keeps spelling and comments")
        << QByteArray("; settings\r\n[MENU]\r\nlastpath = old \r\nX=1\r\n")
        << QByteArray("Menu") << QByteArray("LastPath")
        << QByteArray("; settings\r\n[MENU]\r\nlastpath=V\r\nX=1\r\n");
    QTest::newRow("new key after the section's last line")
        << QByteArray("[Font]\r\nSize=80\r\n\r\n[Page]\r\nTop=10\r\n")
        << QByteArray("Font") << QByteArray("Weight")
        << QByteArray("[Font]\r\nSize=80\r\nWeight=V\r\n\r\n[Page]\r\nTop=10\r\n");
    QTest::newRow("new section at the end")
        << QByteArray("[Page]\r\nTop=10") << QByteArray("Menu") << QByteArray("LastPath")
        << QByteArray("[Page]\r\nTop=10\r\n\r\n[Menu]\r\nLastPath=V\r\n");
    QTest::newRow("LF file stays LF")
        << QByteArray("[Page]\nTop=10\n") << QByteArray("Page") << QByteArray("Left")
        << QByteArray("[Page]\nTop=10\nLeft=V\n");
    QTest::newRow("CR file stays CR")
        << QByteArray("[Page]\rTop=10\r[Menu]\rX=1\r") << QByteArray("Page") << QByteArray("Left")
        << QByteArray("[Page]\rTop=10\rLeft=V\r[Menu]\rX=1\r");
}

void TestProfile::deleteRemovesEveryCopy_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("two copies in one section")
        << QByteArray("[Menu]\r\nKey=1\r\nkey=2\r\nX=3\r\n") << QByteArray("[Menu]\r\nX=3\r\n");
    QTest::newRow("copies in two sections of the name, the first kept empty")
        << QByteArray("[Menu]\r\nKey=1\r\n[Page]\r\nTop=1\r\n[MENU]\r\nKey=2\r\nX=3\r\n")
        << QByteArray("[Menu]\r\n[Page]\r\nTop=1\r\n[MENU]\r\nX=3\r\n");
    QTest::newRow("CR line ends") << QByteArray("[Menu]\rKey=1\rX=3\r") << QByteArray("[Menu]\rX=3\r");
}

void TestProfile::deleteRemovesEveryCopy() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    ScratchDirectory scratch;
    WriteBytes("./PlcEdit.ini", before.toStdString());
    QVERIFY(Profile().DeleteKey("Menu", "Key"));
    QCOMPARE(QByteArray::fromStdString(ReadBytes("./PlcEdit.ini")), after);
    QCOMPARE(Profile().GetString("Menu", "Key", "?"), std::string("?"));
}

// A file that cannot be read is never replaced: writing and deleting fail
// and the file keeps its entries. Root reads anything, so the test drops to
// the user nobody in a child process.
void TestProfile::unreadableFileIsNeverWritten() {
    ScratchDirectory scratch;
    const std::string path = scratch.Path("PlcEdit.ini");
    const std::string before = "[Menu]\r\nLastPath=a.plc\r\n[Page]\r\nTop=5\r\n";
    WriteBytes(path, before);
    const bool root = ::geteuid() == 0;
    if (!root) QVERIFY(QFile::setPermissions(QString::fromStdString(path), QFile::WriteOwner));
    std::fflush(nullptr);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (root) {
            const std::string folder = scratch.Path("");
            if (::chown(path.c_str(), 65534, 65534) != 0 || ::chmod(path.c_str(), 0200) != 0 ||
                ::chown(folder.c_str(), 65534, 65534) != 0 || ::chmod(scratch.Root().c_str(), 0755) != 0 ||
                ::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                std::_Exit(77);
        }
        const Profile profile(path);
        const bool wrote = profile.WriteString("Menu", "LastPath", "b.plc");
        const bool deleted = profile.DeleteKey("Page", "Top");
        std::_Exit(!wrote && !deleted ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) QSKIP("the user nobody is not available");
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(ReadBytes(path), before);
}

void TestProfile::concurrentChangesLoseNothing() {
    // Each writer reads a counter and writes it back one higher, and sets a
    // key of its own, each time in one read-modify-write: with every change
    // under the lock, none is lost and none fails.
    ScratchDirectory scratch;
    const std::string path = scratch.Path("PlcEdit.ini");
    constexpr int kWriters = 20;
    constexpr int kRounds = 10;
    std::fflush(nullptr);
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const Profile profile(path);
            bool ok = true;
            for (int r = 0; r < kRounds; ++r) {
                ok = profile.Edit([&](ProfileEntries& e) {
                    e.WriteString("Count", "N", std::to_string(e.GetInt("Count", "N", 0) + 1));
                    e.WriteString("Writers", "W" + std::to_string(w), std::to_string(r + 1));
                }) && ok;
            }
            std::_Exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const ProfileEntries entries = Profile(path).Read();
    QCOMPARE(entries.GetInt("Count", "N", 0), kWriters * kRounds);
    for (int w = 0; w < kWriters; ++w)
        QCOMPARE(entries.GetInt("Writers", "W" + std::to_string(w), 0), kRounds);
}

void TestProfile::specialFilesAreNoProfile() {
    // Neither read without end, nor waited on, nor written.
    ScratchDirectory scratch;
    const std::string fifo = scratch.Path("fifo.ini");
    QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), std::string("/dev/full"), fifo, scratch.Path("")}) {
        const Profile profile(path);
        QCOMPARE(profile.GetString("Menu", "LastPath", "?"), std::string("?"));
        QVERIFY2(!profile.WriteString("Menu", "LastPath", "x"), path.c_str());
    }
}

void TestProfile::writesKeepingEverythingElse() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, after);
    ScratchDirectory scratch;
    if (!before.isEmpty()) WriteBytes("./PlcEdit.ini", before.toStdString());
    QVERIFY(Profile().WriteString(section.toStdString(), key.toStdString(), "V"));
    QCOMPARE(QByteArray::fromStdString(ReadBytes("./PlcEdit.ini")), after);
    QCOMPARE(Profile().GetString(section.toStdString(), key.toStdString(), "?"), std::string("V"));
}

void TestProfile::followsTheCurrentDirectory() {
    ScratchDirectory first;
    Profile settings;
    QVERIFY(settings.WriteString("Menu", "LastPath", "one"));
    {
        ScratchDirectory second;
        QCOMPARE(settings.GetString("Menu", "LastPath", "?"), std::string("?"));
        QVERIFY(settings.WriteString("Menu", "LastPath", "two"));
        QCOMPARE(settings.GetString("Menu", "LastPath", "?"), std::string("two"));
    }
    QCOMPARE(settings.GetString("Menu", "LastPath", "?"), std::string("one"));
}

void TestProfile::failedWriteKeepsTheOldFile() {
    // A file size limit makes the write fail midway, even for root.
    ScratchDirectory scratch;
    const std::string before = "; kept\r\n[Menu]\r\nLastPath=a.plc\r\n";
    WriteBytes("./PlcEdit.ini", before);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = Profile().WriteString("Menu", "LastPath", "b.plc");
    setrlimit(RLIMIT_FSIZE, &saved);
    QVERIFY(!written);
    QCOMPARE(ReadBytes("./PlcEdit.ini"), before);
    QCOMPARE(QDir(QString::fromStdString(scratch.Path(""))).entryList(QDir::Files).size(), 1);
}

void TestProfile::writeIntoMissingFolderFails() {
    ScratchDirectory scratch;
    QVERIFY(!Profile(scratch.Path("missing/PlcEdit.ini")).WriteString("Menu", "LastPath", "x"));
    QCOMPARE(Profile(scratch.Path("missing/PlcEdit.ini")).GetString("Menu", "LastPath", "?"),
             std::string("?"));
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
