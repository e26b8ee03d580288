// SPDX-License-Identifier: GPL-3.0-or-later
// The standalone editor's answers to the exchange events: the device folder
// and its program.bin, the archive folder and its file dialogs.
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <optional>

#include "apps/plcedit/PlcEditHost.h"
#include "editor/EditorCommands.h"
#include "editor/EditorTestSupport.h"
#include "platform/SourceEdit.h"
#include "platform/StatusBar.h"

using namespace plc;
using namespace plc::test;

Q_DECLARE_METATYPE(std::optional<std::string>)

namespace {

const std::string kNamed = "%TEXT(Demo)\r\nEND\r\n%P00\r\nN010 NOP\r\nN020 JMP N010\r\nEND\r\n";
const std::string kUnnamed = "%P00\r\nN010 NOP\r\nN020 JMP N010\r\nEND\r\n";
const std::string kListedBody = "\r\n\r\n%P00\r\nN010 NOP\r\nN020 JMP N010\r\nEND";

// A host on folders of the scratch directory with scripted dialogs.
struct Host {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs{FailTest()};
    std::unique_ptr<PlcEditHost> host;

    explicit Host(PlcEditOptions options) {
        options.online = true;
        host = std::make_unique<PlcEditHost>(options, dialogs);
        if (!host->Start()) qFatal("the editor does not open");
    }
    CPlcEditorDlg& Editor() { return dynamic_cast<CPlcEditorDlg&>(*host->Control()->Editor()); }
    std::string Path(const std::string& name) const { return scratch.Path(name); }
    void SetText(const std::string& text) { Editor().Edit()->SetText(text); }
    std::string ListedBody() {
        const std::string text = Editor().Edit()->GetText();
        return text.substr(text.find("\r\n"));
    }
    void VerifyDialogs() {
        for (const std::string& failure : dialogs.Failures()) qWarning("%s", failure.c_str());
        QVERIFY(dialogs.Failures().empty());
        QCOMPARE(dialogs.Pending(), size_t(0));
    }
};

PlcEditOptions Folders(const char* device, const char* archive) {
    PlcEditOptions options;
    options.deviceDir = device;
    options.archiveDir = archive;
    return options;
}

}  // namespace

class TestPlcEditHost : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void hostFolders_data();
    void hostFolders();
    void temporaryFileIsTheHostsAndGoes();
    void archiveFileName_data();
    void archiveFileName();
    void deviceRoundTrip();
    void readFromEmptyDevice();
    void deviceFolderCannotBeMade();
    void saveToArchive_data();
    void saveToArchive();
    void readFromArchive_data();
    void readFromArchive();
};

void TestPlcEditHost::archiveFileName_data() {
    QTest::addColumn<QString>("programme");
    QTest::addColumn<QString>("file");
    QTest::newRow("name") << "Demo" << "Demo.bin";
    QTest::newRow("dotted name") << "a.b" << "a.b.bin";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("dot") << "." << "";
    QTest::newRow("dot dot") << ".." << "";
    QTest::newRow("slash") << "a/b" << "";
    QTest::newRow("backslash") << "a\\b" << "";
}

void TestPlcEditHost::archiveFileName() {
    QFETCH(QString, programme);
    QFETCH(QString, file);
    QCOMPARE(ArchiveFileName(programme.toStdString()), file.toStdString());
    QCOMPARE(ArchiveFileName(std::string("a\0b", 3)), std::string());
}

// Where plcedit puts the control's temporary file and project folder.
void TestPlcEditHost::hostFolders_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("runtimeDir");
    QTest::addColumn<QString>("projectDir");
    QTest::addColumn<QString>("tmpFolder");
    QTest::newRow("runtime folder, archive as project")
        << QStringList{"--archive", "arch"} << QByteArray("/run/user/4242") << "arch" << "/run/user/4242";
    QTest::newRow("--project wins") << QStringList{"--archive", "arch", "--project", "proj"}
                                    << QByteArray("/run/user/4242") << "proj" << "/run/user/4242";
    QTest::newRow("no runtime folder: temporary folder")
        << QStringList{} << QByteArray() << "" << QDir::tempPath();
}

void TestPlcEditHost::hostFolders() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, runtimeDir);
    QFETCH(QString, projectDir);
    QFETCH(QString, tmpFolder);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    if (runtimeDir.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", runtimeDir);
    std::vector<std::string> words{"plcedit"};
    for (const QString& a : args) words.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    PlcEditOptions options;
    std::string error;
    const bool parsed = ParsePlcEditOptions(int(argv.size()), argv.data(), options, error);
    qputenv("XDG_RUNTIME_DIR", saved);
    QVERIFY2(parsed, error.c_str());
    QCOMPARE(QString::fromStdString(options.projectDir), projectDir);
    const QFileInfo tmp(QString::fromStdString(options.tmpFile));
    QCOMPARE(tmp.path(), tmpFolder);
    QVERIFY(tmp.fileName().contains(QString::number(QCoreApplication::applicationPid())));
}

// The host's temporary file and project folder reach the control; the
// temporary file is gone when the host ends; a copy is noted in the status bar.
void TestPlcEditHost::temporaryFileIsTheHostsAndGoes() {
    std::string tmpFile, deviceFile;
    {
        PlcEditOptions options = Folders("dev", "");
        ScratchDirectory outer;
        options.tmpFile = outer.Path("run/plcedit-1.bin");
        options.projectDir = outer.Path("proj");
        QVERIFY(QDir().mkpath(QString::fromStdString(outer.Path("run"))));
        QVERIFY(QDir().mkpath(QString::fromStdString(outer.Path("proj"))));
        Host h(options);
        h.SetText(kNamed);
        QVERIFY(h.Editor().OnCommand(ID_SAVE_IN_DEVICE));
        h.VerifyDialogs();
        tmpFile = options.tmpFile;
        deviceFile = h.host->DeviceFile();
        QVERIFY(QFileInfo::exists(QString::fromStdString(tmpFile)));
        QCOMPARE(ReadBytes(deviceFile), ReadBytes(tmpFile));
        QVERIFY(QFileInfo::exists(QString::fromStdString(outer.Path("proj/Demo.txt"))));
        QCOMPARE(h.Editor().Frame().Status()->Text(1),
                 "The programme file was copied to " + deviceFile + " (from " + tmpFile + ")");
        h.host.reset();
        QVERIFY(!QFileInfo::exists(QString::fromStdString(tmpFile)));
    }
}

void TestPlcEditHost::deviceRoundTrip() {
    // The device folder does not exist yet: the first save makes it.
    Host h(Folders("drive/unit", ""));
    h.SetText(kNamed);
    QVERIFY(h.Editor().OnCommand(ID_SAVE_IN_DEVICE));
    h.VerifyDialogs();
    const std::string device = h.Path("drive/unit/program.bin");
    QCOMPARE(h.host->DeviceFile(), device);
    QVERIFY(QFileInfo::exists(QString::fromStdString(device)));
    QCOMPARE(ReadBytes(device), ReadBytes(h.Path("PlcTmp.txt")));

    // Reading from the device lists what it holds, after the save question.
    h.SetText("; something else\r\n");
    h.Editor().Document().SetModified(true);
    h.dialogs.ExpectAsk(MsgAnswer::No, "save the changed");
    QVERIFY(h.Editor().OnCommand(ID_READ_FROM_DEVICE));
    h.VerifyDialogs();
    QCOMPARE(h.ListedBody(), kListedBody);
    const std::string text = h.Editor().Edit()->GetText();
    QVERIFY(text.substr(0, text.find("\r\n")).ends_with(", " + device));
}

void TestPlcEditHost::readFromEmptyDevice() {
    Host h(Folders("empty", ""));
    h.SetText(kNamed);
    h.dialogs.ExpectAsk(MsgAnswer::Ok, "The device holds no programme: " + h.Path("empty/program.bin") +
                                            " does not exist");
    QVERIFY(h.Editor().OnCommand(ID_READ_FROM_DEVICE));
    h.VerifyDialogs();
    QCOMPARE(h.Editor().Edit()->GetText(), kNamed);
}

void TestPlcEditHost::deviceFolderCannotBeMade() {
    // A file stands where the device folder should be.
    Host h(Folders("blocked/dev", ""));
    WriteBytes(h.Path("blocked"), "a file");
    h.SetText(kNamed);
    h.dialogs.ExpectAsk(MsgAnswer::Ok, "could not be copied to\n" + h.Path("blocked/dev/program.bin"));
    QVERIFY(h.Editor().OnCommand(ID_SAVE_IN_DEVICE));
    h.VerifyDialogs();
    QCOMPARE(h.dialogs.Log().front().icon, MsgIcon::Stop);
    // The editor goes on after the event: the declaration file is written.
    QVERIFY(QFileInfo::exists(QString::fromStdString(h.Path("Demo.txt"))));
}

void TestPlcEditHost::saveToArchive_data() {
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<std::string>>("dialogAnswer");  // the save dialog, if it comes
    QTest::addColumn<QString>("initialDirectory");
    QTest::addColumn<QString>("file");  // where the copy lands; empty: none
    using Answer = std::optional<std::string>;
    const QString named = QString::fromStdString(kNamed);
    const QString unnamed = QString::fromStdString(kUnnamed);
    QTest::newRow("named programme: copied under its name")
        << "arch" << named << Answer() << "" << "arch/Demo.bin";
    QTest::newRow("unnamed programme: the user picks the name")
        << "arch" << unnamed << Answer("arch/picked.bin") << "arch" << "arch/picked.bin";
    QTest::newRow("unnamed programme: the user cancels")
        << "arch" << unnamed << Answer(std::nullopt) << "arch" << "";
    QTest::newRow("no archive folder: the user picks the place")
        << "" << named << Answer("elsewhere.bin") << "./" << "elsewhere.bin";
}

void TestPlcEditHost::saveToArchive() {
    QFETCH(QString, archive);
    QFETCH(QString, text);
    QFETCH(std::optional<std::string>, dialogAnswer);
    QFETCH(QString, initialDirectory);
    QFETCH(QString, file);
    Host h(Folders("dev", archive.toLatin1().constData()));
    h.SetText(text.toStdString());
    const bool dialog = !initialDirectory.isEmpty();
    if (dialog) h.dialogs.ExpectSaveFile(dialogAnswer);
    QVERIFY(h.Editor().OnCommand(ID_SAVE_IN_FILE));
    h.VerifyDialogs();
    if (dialog) {
        const FileDialogRequest& request = h.dialogs.Log().front().request;
        QCOMPARE(request.initialDirectory, initialDirectory.toStdString());
        QCOMPARE(request.defaultExtension, std::string("bin"));
    }
    QDir dir(QString::fromStdString(h.Path("")));
    QStringList copies = dir.entryList({"*.bin"}, QDir::Files);
    if (QDir(dir.filePath("arch")).exists())
        for (const QString& name : QDir(dir.filePath("arch")).entryList(QDir::Files))
            copies << "arch/" + name;
    QCOMPARE(copies, file.isEmpty() ? QStringList{} : QStringList{file});
    if (!file.isEmpty())
        QCOMPARE(ReadBytes(h.Path(file.toStdString())), ReadBytes(h.Path("PlcTmp.txt")));
}

void TestPlcEditHost::readFromArchive_data() {
    QTest::addColumn<bool>("pick");
    QTest::newRow("a file picked") << true;
    QTest::newRow("dialog cancelled") << false;
}

void TestPlcEditHost::readFromArchive() {
    QFETCH(bool, pick);
    Host h(Folders("dev", "arch"));
    h.SetText(kNamed);
    QVERIFY(h.Editor().OnCommand(ID_SAVE_IN_FILE));
    const std::string archived = h.Path("arch/Demo.bin");
    QVERIFY(QFileInfo::exists(QString::fromStdString(archived)));

    h.dialogs.ExpectOpenFile(pick ? std::optional<std::string>(archived) : std::nullopt);
    QVERIFY(h.Editor().OnCommand(ID_READ_FROM_FILE));
    h.VerifyDialogs();
    QCOMPARE(h.dialogs.Log().front().request.initialDirectory, std::string("arch"));
    if (pick) {
        QCOMPARE(h.ListedBody(), kListedBody);
        QVERIFY(h.Editor().Document().IsModified());
    } else {
        // The host left the offer as it came: nothing read, nothing said.
        QCOMPARE(h.Editor().Edit()->GetText(), kNamed);
        QCOMPARE(h.dialogs.Log().size(), size_t(1));
    }
}

QTEST_MAIN(TestPlcEditHost)
#include "tst_plcedit_host.moc"
