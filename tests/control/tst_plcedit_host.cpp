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
    CPlcEditorDlg& Editor() { return *g_pPlcEditor; }
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
    h.Editor().SetModified(true);
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
    h.dialogs.ExpectAsk(MsgAnswer::Ok, "Error at opening of\n" + h.Path("empty/program.bin") + ".");
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
        QVERIFY(h.Editor().IsModified());
    } else {
        // The host left the offer as it came: nothing read, nothing said.
        QCOMPARE(h.Editor().Edit()->GetText(), kNamed);
        QCOMPARE(h.dialogs.Log().size(), size_t(1));
    }
}

QTEST_MAIN(TestPlcEditHost)
#include "tst_plcedit_host.moc"
