// SPDX-License-Identifier: GPL-3.0-or-later
// Exchange with device and archive through the host's events: what the save
// commands write, announce and report, what the read commands ask, read and
// list, and the listing in the window.
#include <QDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <optional>

#include "compiler/CompileDriver.h"
#include "editor/EditorCommands.h"
#include "editor/EditorTestSupport.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"
#include "resources/StringTable.h"

using namespace plc;
using namespace plc::test;

Q_DECLARE_METATYPE(std::optional<std::string>)

namespace {

const std::string kNamed = "%TEXT(Demo)\r\nDEF H1 = Count\r\nEND\r\n%P00\r\nN010 NOP\r\nEND\r\n";
const std::string kUnnamed = "%P00\r\nN010 NOP\r\nEND\r\n";
const std::string kTwo = "%P00\r\nN010 NOP\r\nN020 JMP N010\r\nEND\r\n";
const std::string kFaulty = "%P00\r\nN010 BOGUS\r\nEND\r\n";
const std::string kOldText = "; the old text\r\n";

// A host that records the events in order and answers the name offers.
class RecordingHost : public TorvixEvents {
public:
    std::vector<std::string> events;
    // What the host puts in place of the name offer; nothing leaves it.
    std::optional<std::string> answer;
    // Runs inside PlcFileToDevice.
    std::function<void()> onToDevice;

    void PlcFileToArchiv(const std::string& name) override { events.push_back("ToArchiv " + name); }
    void PlcFileToDevice(const std::string& name) override {
        events.push_back("ToDevice " + name);
        if (onToDevice) onToDevice();
    }
    void PlcUpDateProjName(const std::string& name, bool online) override {
        events.push_back("ProjName " + name + (online ? " true" : " false"));
    }
    void PlcFileFromArchiv(std::string& name) override { Answer("FromArchiv", name); }
    void PlcFileFromDevice(std::string& name) override { Answer("FromDevice", name); }

private:
    void Answer(const char* event, std::string& name) {
        // The offer: one blank, then NUL characters.
        QCOMPARE(name.size(), CTorvixCtrl::kNameOfferLength);
        QCOMPARE(name.substr(0, 2), std::string(" \0", 2));
        events.push_back(event);
        if (answer) name = *answer;
    }
};

// "$" in an expectation stands for the current directory.
std::string Expand(std::string text) {
    const std::string cwd = QDir::currentPath().toStdString();
    for (size_t at; (at = text.find('$')) != std::string::npos;) text.replace(at, 1, cwd);
    return text;
}

std::vector<std::string> Expand(const QStringList& texts) {
    std::vector<std::string> out;
    for (const QString& text : texts) out.push_back(Expand(text.toStdString()));
    return out;
}

std::vector<std::string> MessageTexts(const ScriptedDialogs& dialogs) {
    std::vector<std::string> texts;
    for (const ScriptedDialogs::Shown& shown : dialogs.Log()) texts.push_back(shown.text);
    return texts;
}

// The entries from the first one that begins with `start` on.
std::vector<std::string> EntriesFrom(const MessageList& list, const std::string& start) {
    std::vector<std::string> entries = list.Texts();
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const std::string& e) { return e.rfind(start, 0) == 0; });
    return {it, entries.end()};
}

// Writes a binary programme file of `text` and gives back its full path.
std::string MakeBinaryFile(const std::string& name, const std::string& text) {
    CPlcProgram program;
    const CompileOutcome outcome = CompileProgramText(program, SplitLines(text));
    if (!outcome.success) qFatal("the test programme does not compile");
    std::string path = name;
    if (!program.WriteBinaryFile(path, false)) qFatal("cannot write %s", name.c_str());
    return path;
}

int UsedRecords(const CPlcProgram& program) {
    int used = 0;
    for (int i = 0; i < kRecordCount; ++i) used += program.Record(i).used() ? 1 : 0;
    return used;
}

// The listing without its header line (which carries the time).
std::string WithoutHeader(const std::string& text) { return text.substr(text.find("\r\n")); }

const std::string kListed = "\r\n\r\n%P00\r\nN010 NOP\r\nN020 JMP N010\r\nEND";

// The image after a read command.
enum Image { Cleared, Read, Unchanged };

}  // namespace

class TestExchange : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void save_data();
    void save();
    void saveOnEmptyDocumentOffersTheBody_data();
    void saveOnEmptyDocumentOffersTheBody();
    void hostClosesTheEditorInsideTheEvent();
    void read_data();
    void read();
    void listingOfGoldenImages_data();
    void listingOfGoldenImages();
};

// ---------------------------------------------------------------- save

void TestExchange::save_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tmpName");
    QTest::addColumn<QString>("projPath");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("entries");  // from "Binary programme file..." on
    QTest::addColumn<QStringList>("files");    // written files

    const QString bin = "Binary programme file was made - $/PlcTmp.txt";
    const QString decl = "Text declaration file was made - $/Demo.txt";
    const QString file = QString::fromStdString(kNamed);
    QTest::newRow("file: binary, events, declaration")
        << int(ID_SAVE_IN_FILE) << file << "PlcTmp.txt" << "./"
        << QStringList{"ProjName Demo false", "ToArchiv $/PlcTmp.txt"} << QStringList{}
        << QStringList{bin, decl} << QStringList{"PlcTmp.txt", "Demo.txt"};
    QTest::newRow("device: binary, events, declaration")
        << int(ID_SAVE_IN_DEVICE) << file << "PlcTmp.txt" << "./"
        << QStringList{"ToDevice $/PlcTmp.txt", "ProjName Demo true"} << QStringList{}
        << QStringList{bin, decl} << QStringList{"PlcTmp.txt", "Demo.txt"};
    QTest::newRow("file: empty project path")
        << int(ID_SAVE_IN_FILE) << file << "PlcTmp.txt" << ""
        << QStringList{"ProjName Demo false", "ToArchiv $/PlcTmp.txt"}
        << QStringList{"No valied path data found for text declaration file."} << QStringList{bin}
        << QStringList{"PlcTmp.txt"};
    QTest::newRow("device: empty project path, no project name")
        << int(ID_SAVE_IN_DEVICE) << file << "PlcTmp.txt" << ""
        << QStringList{"ToDevice $/PlcTmp.txt"}
        << QStringList{"No valied path data found for text declaration file."} << QStringList{bin}
        << QStringList{"PlcTmp.txt"};
    for (int command : {int(ID_SAVE_IN_FILE), int(ID_SAVE_IN_DEVICE)}) {
        const char* tag = command == ID_SAVE_IN_FILE ? "file" : "device";
        QTest::addRow("%s: empty temporary name", tag)
            << command << file << "" << "./" << QStringList{}
            << QStringList{"No valied path data found for programme file."} << QStringList{}
            << QStringList{};
        QTest::addRow("%s: binary file cannot be created", tag)
            << command << file << "missing/prog.bin" << "./" << QStringList{}
            << QStringList{"missing/prog.bin could not be created.\n"
                           "cannot create a temporary file: No such file or directory"}
            << QStringList{}
            << QStringList{};
        QTest::addRow("%s: compilation fails", tag)
            << command << QString::fromStdString(kFaulty) << "PlcTmp.txt" << "./" << QStringList{}
            << QStringList{"Syntax check ends with error."} << QStringList{} << QStringList{};
    }
    QTest::newRow("device: unnamed programme writes no declaration file")
        << int(ID_SAVE_IN_DEVICE) << QString::fromStdString(kUnnamed) << "PlcTmp.txt" << "./"
        << QStringList{"ToDevice $/PlcTmp.txt", "ProjName  true"} << QStringList{}
        << QStringList{bin} << QStringList{"PlcTmp.txt"};
    QTest::newRow("device: project folder missing, project name still updated")
        << int(ID_SAVE_IN_DEVICE) << file << "PlcTmp.txt" << "nowhere/"
        << QStringList{"ToDevice $/PlcTmp.txt", "ProjName Demo true"} << QStringList{}
        << QStringList{bin} << QStringList{"PlcTmp.txt"};
    QTest::newRow("file: temporary name with a folder and backslashes")
        << int(ID_SAVE_IN_FILE) << file << "sub\\out.bin" << "sub\\"
        << QStringList{"ProjName Demo false", "ToArchiv $/sub/out.bin"} << QStringList{}
        << QStringList{"Binary programme file was made - $/sub/out.bin",
                       "Text declaration file was made - $/sub/Demo.txt"}
        << QStringList{"sub/out.bin", "sub/Demo.txt"};
}

void TestExchange::save() {
    QFETCH(int, command);
    QFETCH(QString, text);
    QFETCH(QString, tmpName);
    QFETCH(QString, projPath);
    QFETCH(QStringList, events);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, files);
    OpenEditor open;
    QVERIFY(QDir().mkpath("sub"));
    RecordingHost host;
    open.control->Advise(&host);
    open.control->PlcSetOnline();
    open.control->PlcSetTmpFileName(tmpName.toStdString());
    open.control->PlcSetPlcProjPath(projPath.toStdString());
    open.editor.Edit()->SetText(text.toStdString());
    for (const QString& box : boxes) open.dialogs.ExpectAsk(MsgAnswer::Ok, box.toStdString());

    QVERIFY(open.editor.OnCommand(command));

    open.VerifyDialogs();
    for (const ScriptedDialogs::Shown& shown : open.dialogs.Log())
        QCOMPARE(shown.icon, MsgIcon::Stop);
    QCOMPARE(MessageTexts(open.dialogs), Expand(boxes));
    QCOMPARE(host.events, Expand(events));
    if (!entries.isEmpty())
        QCOMPARE(EntriesFrom(*open.editor.Messages(), "Binary programme"), Expand(entries));
    QStringList written;
    for (const char* name : {"PlcTmp.txt", "Demo.txt", "sub/out.bin", "sub/Demo.txt"})
        if (QFileInfo::exists(name)) written << name;
    QCOMPARE(written, files);
    // The document is left as it was.
    QCOMPARE(open.editor.Edit()->GetText(), text.toStdString());
    QCOMPARE(open.editor.Document().FileName(), std::string("PlcPrg"));
    QVERIFY(!open.editor.Document().IsModified());
    if (files.contains("PlcTmp.txt")) {
        // What was announced is the compiled image of the text.
        CPlcProgram back;
        QVERIFY(back.ReadBinaryFile("PlcTmp.txt"));
        QCOMPARE(back.Record(10).opcode(), open.editor.CodeView().Program().Record(10).opcode());
        QCOMPARE(UsedRecords(back), UsedRecords(open.editor.CodeView().Program()));
    }
}

void TestExchange::saveOnEmptyDocumentOffersTheBody_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("answer");
    for (int command : {int(ID_SAVE_IN_FILE), int(ID_SAVE_IN_DEVICE)})
        for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No})
            QTest::addRow("%s, %s", command == ID_SAVE_IN_FILE ? "file" : "device",
                          answer == MsgAnswer::Yes ? "Yes" : "No")
                << command << int(answer);
}

void TestExchange::saveOnEmptyDocumentOffersTheBody() {
    QFETCH(int, command);
    QFETCH(int, answer);
    OpenEditor open;
    RecordingHost host;
    open.control->Advise(&host);
    open.control->PlcSetOnline();
    open.dialogs.ExpectAsk(MsgAnswer(answer), "No programme available.");
    QVERIFY(open.editor.OnCommand(command));
    open.VerifyDialogs();
    QVERIFY(host.events.empty());
    QVERIFY(!QFileInfo::exists("PlcTmp.txt"));
    const std::string text = open.editor.Edit()->GetText();
    QCOMPARE(text.empty(), MsgAnswer(answer) == MsgAnswer::No);
    if (!text.empty()) QVERIFY(text.find("%P00") != std::string::npos);
}

void TestExchange::hostClosesTheEditorInsideTheEvent() {
    OpenEditor open;
    RecordingHost host;
    open.control->Advise(&host);
    open.control->PlcSetOnline();
    host.onToDevice = [&] { QVERIFY(open.control->PlcDestroy()); };
    open.editor.Edit()->SetText(kNamed);
    open.editor.Document().SetModified(false);
    QVERIFY(open.editor.OnCommand(ID_SAVE_IN_DEVICE));
    open.VerifyDialogs();
    QVERIFY(!open.editor.IsWindow());
    // The command ends with the window: no declaration file, no project name.
    QCOMPARE(host.events, Expand(QStringList{"ToDevice $/PlcTmp.txt"}));
    QVERIFY(!QFileInfo::exists("Demo.txt"));
}

// ---------------------------------------------------------------- read

void TestExchange::read_data() {
    QTest::addColumn<int>("command");            // 0: the host's binary file open
    QTest::addColumn<std::optional<std::string>>("answer");  // the host's answer ("@" the file)
    QTest::addColumn<bool>("modified");          // the old text is modified
    QTest::addColumn<int>("saveAnswer");         // the answer to the save question, if asked
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("listed");            // the listing replaced the text
    QTest::addColumn<int>("image");

    using Name = std::optional<std::string>;
    const int none = -1;  // no save question
    const QString opening = "Error at opening of\n";
    struct Source {
        const char* tag;
        int command;
    };
    for (const Source source : {Source{"archive", ID_READ_FROM_FILE},
                                Source{"device", ID_READ_FROM_DEVICE}, Source{"host", 0}}) {
        const bool host = source.command == 0;
        QTest::addRow("%s: file read and listed", source.tag)
            << source.command << Name("@") << false << none << QStringList{} << true << int(Read);
        QTest::addRow("%s: save question No", source.tag)
            << source.command << Name("@") << true << int(MsgAnswer::No) << QStringList{} << true
            << int(Read);
        QTest::addRow("%s: save question Cancel keeps the text, image read", source.tag)
            << source.command << Name("@") << true << int(MsgAnswer::Cancel) << QStringList{}
            << false << int(Read);
        // A device without its file holds no programme, which is said in words.
        const QString missing = source.command == ID_READ_FROM_DEVICE
                                    ? "The device holds no programme: $/missing.bin does not exist"
                                    : opening + "$/missing.bin.";
        QTest::addRow("%s: missing file", source.tag)
            << source.command << Name("$/missing.bin") << false << none << QStringList{missing}
            << false << int(Cleared);
        if (!host) {
            QTest::addRow("%s: empty answer", source.tag)
                << source.command << Name("") << false << none
                << QStringList{"No valied path data found for programme file."} << false
                << int(Unchanged);
        }
    }
    QTest::newRow("archive: offer ignored, image cleared, nothing said")
        << int(ID_READ_FROM_FILE) << Name() << false << none << QStringList{} << false << int(Cleared);
    QTest::newRow("device: offer ignored, the blank is tried")
        << int(ID_READ_FROM_DEVICE) << Name() << false << none << QStringList{opening + " ."}
        << false << int(Cleared);
    QTest::newRow("host: empty name") << 0 << Name("") << false << none
                                      << QStringList{opening + "."} << false << int(Cleared);
    QTest::newRow("device: a file that is not a programme file")
        << int(ID_READ_FROM_DEVICE) << Name("$/garbage.bin") << false << none
        << QStringList{opening + "$/garbage.bin."} << false << int(Cleared);
}

void TestExchange::read() {
    QFETCH(int, command);
    QFETCH(std::optional<std::string>, answer);
    QFETCH(bool, modified);
    QFETCH(int, saveAnswer);
    QFETCH(QStringList, boxes);
    QFETCH(bool, listed);
    QFETCH(int, image);
    OpenEditor open;
    const std::string file = MakeBinaryFile("prog.bin", kTwo);
    WriteBytes("garbage.bin", "not a programme\r\n");
    RecordingHost host;
    open.control->Advise(&host);
    open.control->PlcSetOnline();
    if (answer) host.answer = *answer == "@" ? file : Expand(*answer);

    // The old document: compiled (so the image is not empty), named, and
    // modified when the row says so.
    open.editor.Edit()->SetText(kNamed);
    QVERIFY(open.editor.CodeView().CompileProgram());
    const int before = UsedRecords(open.editor.CodeView().Program());
    open.editor.Document().SetModified(modified);
    if (saveAnswer >= 0) open.dialogs.ExpectAsk(MsgAnswer(saveAnswer), "save the changed");
    for (const QString& box : boxes) open.dialogs.ExpectAsk(MsgAnswer::Ok, Expand(box.toStdString()));

    if (command == 0)
        QVERIFY(open.control->PlcBinaryFileOpen(host.answer.value_or(" ")));
    else
        QVERIFY(open.editor.OnCommand(command));

    open.VerifyDialogs();
    // After the save question, if any, the error boxes; the opening message
    // carries the reason on a further line.
    const std::vector<std::string> shown = MessageTexts(open.dialogs);
    const size_t first = saveAnswer >= 0 ? 1 : 0;
    QCOMPARE(shown.size(), first + size_t(boxes.size()));
    for (size_t i = first; i < shown.size(); ++i) {
        QVERIFY2(shown[i].rfind(Expand(boxes[int(i - first)].toStdString()), 0) == 0,
                 shown[i].c_str());
        QCOMPARE(open.dialogs.Log()[i].icon, MsgIcon::Stop);
    }
    if (command == ID_READ_FROM_FILE) QCOMPARE(host.events, std::vector<std::string>{"FromArchiv"});
    if (command == ID_READ_FROM_DEVICE) QCOMPARE(host.events, std::vector<std::string>{"FromDevice"});
    if (command == 0) QVERIFY(host.events.empty());

    const std::string text = open.editor.Edit()->GetText();
    if (listed) {
        QCOMPARE(WithoutHeader(text), kListed);
        QVERIFY(text.rfind("; ", 0) == 0);
        QCOMPARE(text.substr(0, text.find("\r\n")).substr(text.find("\r\n") - file.size() - 2),
                 ", " + file);
        QCOMPARE(open.editor.Document().FileName(), std::string("PlcPrg"));
        QVERIFY(open.editor.Document().IsModified());
        QCOMPARE(open.editor.Messages()->Texts(),
                 (std::vector<std::string>{"PLC, Text coding...", "",
                                           "Textcoding - 0 Error (s), 0 Warning(s)."}));
        QVERIFY(open.editor.CodeView().Program().GetProgramName().empty());
    } else {
        QCOMPARE(text, kNamed);
        QCOMPARE(open.editor.Document().IsModified(), modified);
    }
    CPlcProgram read;
    QVERIFY(read.ReadBinaryFile(file));
    const int expected[] = {0, UsedRecords(read), before};
    QVERIFY(UsedRecords(read) != before);
    QCOMPARE(UsedRecords(open.editor.CodeView().Program()), expected[image]);
}

// ---------------------------------------------------------------- listing

void TestExchange::listingOfGoldenImages_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("faultyLine");  // a line an error entry names; 0 none
    QTest::newRow("valid") << "listing_valid" << "" << 0;
    QTest::newRow("no head") << "listing_nohead"
                             << "3  Error. Textcoding of programme sequence ends with error." << 3;
    QTest::newRow("undecodable") << "listing_undecodable"
                                 << "9  Error. Textcoding of programme sequence ends with error."
                                 << 5;
}

void TestExchange::listingOfGoldenImages() {
    QFETCH(QString, name);
    QFETCH(QString, box);
    QFETCH(int, faultyLine);
    OpenEditor open;
    const std::string golden = PLCEDIT_SOURCE_DIR "/tests/golden/" + name.toStdString();
    if (!box.isEmpty()) open.dialogs.ExpectAsk(MsgAnswer::Ok, box.toStdString());
    QVERIFY(open.control->PlcBinaryFileOpen(golden + ".bin"));
    open.VerifyDialogs();
    for (const ScriptedDialogs::Shown& shown : open.dialogs.Log()) {
        QCOMPARE(shown.icon, MsgIcon::Stop);
        QCOMPARE(shown.text, box.toStdString());
    }

    const std::string text = open.editor.Edit()->GetText();
    QCOMPARE(WithoutHeader(text), WithoutHeader(ReadBytes(golden + ".listing")));
    std::vector<std::string> entries = SplitLines(ReadBytes(golden + ".entries"));
    if (!entries.empty() && entries.back().empty()) entries.pop_back();
    QCOMPARE(open.editor.Messages()->Texts(), entries);
    QVERIFY(open.editor.Document().IsModified());

    if (faultyLine == 0) return;
    // Double-clicking the first error entry selects exactly the line it names.
    MessageList& list = *open.editor.Messages();
    list.setCurrentRow(2);
    open.editor.Renum().OnDblclkMessages();
    int32_t s = 0, e = 0;
    open.editor.Edit()->GetSel(s, e);
    std::string line;
    QVERIFY(open.editor.Document().GetEditLine(faultyLine - 1, line));
    QCOMPARE(s, open.editor.Edit()->LineIndex(faultyLine - 1));
    QCOMPARE(text.substr(size_t(s), size_t(e - s)), line + "\r");
}

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
