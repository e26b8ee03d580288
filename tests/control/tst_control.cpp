// SPDX-License-Identifier: GPL-3.0-or-later
// The control: its methods before and after PlcCreate, the close sequence
// through PlcDestroy, the two file locations and the events to the host.
#include <QDir>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include "editor/EditorCommands.h"
#include "editor/EditorTestSupport.h"
#include "editor/RecoveryCopy.h"
#include "platform/SourceEdit.h"

using namespace plc;
using namespace plc::test;

namespace {

// A host that records the events and answers the name requests.
struct RecordingHost : TorvixEvents {
    std::vector<std::string> events;
    std::optional<std::string> answer;  // nullopt: leave the offer unchanged
    std::string offerSeen;
    std::function<void()> onCancel;

    void PlcFileToArchiv(const std::string& name) override { events.push_back("ToArchiv " + name); }
    void PlcFileFromArchiv(std::string& name) override { Answer("FromArchiv", name); }
    void PlcOnCancel() override {
        events.push_back("OnCancel");
        if (onCancel) onCancel();
    }
    void PlcFileFromDevice(std::string& name) override { Answer("FromDevice", name); }
    void PlcFileToDevice(const std::string& name) override { events.push_back("ToDevice " + name); }
    void PlcUpDateProjName(const std::string& name, bool online) override {
        events.push_back("UpDateProjName " + name + (online ? " TRUE" : " FALSE"));
    }
    void Answer(const char* event, std::string& name) {
        events.push_back(event);
        offerSeen = name;
        if (answer) name = *answer;
    }
};

}  // namespace

class TestControl : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void methodsWithoutWindow_data();
    void methodsWithoutWindow();
    void onlineBeforeCreateDoesNotLast();
    void createTwiceKeepsTheWindow();
    void destroyAsksAndReportsTheClose();
    void closeBoxRunsTheCloseSequence();
    void hostMayReleaseTheControlOnCancel();
    void releasingTheControlAsksNothing();
    void fileOpenDiscardsChanges();
    void fileLocations();
    void nameRequests_data();
    void nameRequests();
    void eventsReachTheHost();
};

void TestControl::methodsWithoutWindow_data() {
    QTest::addColumn<int>("dispid");
    QTest::addColumn<bool>("result");
    QTest::newRow("PlcSetOnline") << int(CTorvixCtrl::kPlcSetOnline) << true;
    QTest::newRow("PlcSetOffline") << int(CTorvixCtrl::kPlcSetOffline) << true;
    QTest::newRow("PlcFileOpen") << int(CTorvixCtrl::kPlcFileOpen) << true;
    QTest::newRow("PlcDestroy") << int(CTorvixCtrl::kPlcDestroy) << false;
    QTest::newRow("PlcSetFocus") << int(CTorvixCtrl::kPlcSetFocus) << false;
    QTest::newRow("PlcBinaryFileOpen") << int(CTorvixCtrl::kPlcBinaryFileOpen) << true;
}

void TestControl::methodsWithoutWindow() {
    QFETCH(int, dispid);
    QFETCH(bool, result);
    ScratchDirectory scratch;
    WriteBytes("prog.plc", "N010 NOP\r\n");
    ScriptedDialogs dialogs{FailTest()};
    RecordingHost host;
    CTorvixCtrl control(dialogs);
    control.Advise(&host);
    bool actual = false;
    switch (dispid) {
        case CTorvixCtrl::kPlcSetOnline: actual = control.PlcSetOnline(); break;
        case CTorvixCtrl::kPlcSetOffline: actual = control.PlcSetOffline(); break;
        case CTorvixCtrl::kPlcFileOpen: actual = control.PlcFileOpen("prog.plc"); break;
        case CTorvixCtrl::kPlcDestroy: actual = control.PlcDestroy(); break;
        case CTorvixCtrl::kPlcSetFocus: actual = control.PlcSetFocus(); break;
        case CTorvixCtrl::kPlcBinaryFileOpen: actual = control.PlcBinaryFileOpen("x.bin"); break;
    }
    QCOMPARE(actual, result);
    CPlcEditorDlg& editor = EditorOf(control);
    QVERIFY(!editor.IsWindow());
    QVERIFY(host.events.empty());
    QVERIFY(dialogs.Log().empty());
    // A window created afterwards starts unnamed and empty.
    QVERIFY(control.PlcCreate());
    QCOMPARE(editor.Document().FileName(), std::string(kNoFileName));
    QCOMPARE(editor.Edit()->GetText(), std::string());
}

void TestControl::onlineBeforeCreateDoesNotLast() {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs{FailTest()};
    CTorvixCtrl control(dialogs);
    CPlcEditorDlg& editor = EditorOf(control);
    QVERIFY(control.PlcSetOnline());
    QVERIFY(control.PlcCreate());
    QVERIFY(!editor.Action(ID_SAVE_IN_DEVICE)->isEnabled());
    QVERIFY(!editor.Action(ID_READ_FROM_DEVICE)->isEnabled());
    QVERIFY(control.PlcSetOnline());
    QVERIFY(editor.Action(ID_SAVE_IN_DEVICE)->isEnabled());
    // Closed and opened again: offline.
    QVERIFY(control.PlcDestroy());
    QVERIFY(control.PlcSetOnline());
    QVERIFY(control.PlcCreate());
    QVERIFY(!editor.Action(ID_READ_FROM_DEVICE)->isEnabled());
}

void TestControl::createTwiceKeepsTheWindow() {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs{FailTest()};
    CTorvixCtrl control(dialogs);
    QVERIFY(control.PlcCreate());
    CPlcEditorDlg& editor = EditorOf(control);
    QWidget* window = editor.Window();
    QCOMPARE(editor.Control(), static_cast<HostLink*>(&control));
    window->showMinimized();
    QVERIFY(control.PlcCreate());
    QCOMPARE(editor.Window(), window);
    QVERIFY(!window->isMinimized());
    QVERIFY(control.PlcSetFocus());
}

void TestControl::destroyAsksAndReportsTheClose() {
    OpenEditor open;
    RecordingHost host;
    open.control->Advise(&host);
    CPlcEditorDlg& editor = open.editor;
    QTest::keyClicks(editor.Edit(), "N010 NOP");

    open.dialogs.ExpectAsk(MsgAnswer::Cancel, "Do you like to save");
    QVERIFY(open.control->PlcDestroy());
    QVERIFY(editor.IsWindow());
    QVERIFY(host.events.empty());

    // Yes on an unnamed document whose save dialog is cancelled: still open.
    open.dialogs.ExpectAsk(MsgAnswer::Yes).ExpectSaveFile(std::nullopt);
    QVERIFY(open.control->PlcDestroy());
    QVERIFY(editor.IsWindow());
    QVERIFY(host.events.empty());

    open.dialogs.ExpectAsk(MsgAnswer::No);
    QVERIFY(open.control->PlcDestroy());
    QVERIFY(!editor.IsWindow());
    QCOMPARE(host.events, std::vector<std::string>{"OnCancel"});
    QVERIFY(!open.control->PlcDestroy());
    QVERIFY(!open.control->PlcSetFocus());

    // The next window is fresh.
    QVERIFY(open.control->PlcCreate());
    QCOMPARE(editor.Edit()->GetText(), std::string());
    QVERIFY(!editor.Document().IsModified());
    QCOMPARE(editor.Window()->windowTitle(), QString("PlcEdit [PlcPrg]"));
    open.VerifyDialogs();
}

void TestControl::closeBoxRunsTheCloseSequence() {
    OpenEditor open;
    RecordingHost host;
    open.control->Advise(&host);
    QTest::keyClicks(open.editor.Edit(), "x");
    open.dialogs.ExpectAsk(MsgAnswer::Cancel).ExpectAsk(MsgAnswer::No);
    open.editor.Window()->close();
    QVERIFY(open.editor.IsWindow());
    open.editor.Window()->close();
    QVERIFY(!open.editor.IsWindow());
    QCOMPARE(host.events, std::vector<std::string>{"OnCancel"});
    open.VerifyDialogs();
}

void TestControl::hostMayReleaseTheControlOnCancel() {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs{FailTest()};
    RecordingHost host;
    auto control = std::make_unique<CTorvixCtrl>(dialogs);
    control->Advise(&host);
    QVERIFY(control->PlcCreate());
    host.onCancel = [&] { control.reset(); };
    CPlcEditorDlg& editor = EditorOf(*control);
    const QPointer<QObject> editorAlive(&editor.Frame());
    editor.OnCommand(ID_FILE_EXIT);
    QVERIFY(!control);
    QVERIFY(editorAlive.isNull());
}

void TestControl::releasingTheControlAsksNothing() {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs{FailTest()};
    RecordingHost host;
    QPointer<QObject> editorAlive;
    {
        CTorvixCtrl control(dialogs);
        control.Advise(&host);
        QVERIFY(control.PlcCreate());
        editorAlive = &EditorOf(control).Frame();
        QTest::keyClicks(EditorOf(control).Edit(), "modified");
    }
    QVERIFY(editorAlive.isNull());
    QVERIFY(host.events.empty());
    QVERIFY(dialogs.Log().empty());
    // The changed text is not lost: it stays as a recovery copy.
    const QDir recovery(QString::fromStdString(RecoveryFolder()));
    const QStringList copies = recovery.entryList({"recovery-*"}, QDir::Files);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(ReadBytes(recovery.filePath(copies.front()).toStdString()), std::string("modified"));
}

void TestControl::fileOpenDiscardsChanges() {
    OpenEditor open;
    WriteBytes("prog.plc", "N010 NOP\r\n");
    QTest::keyClicks(open.editor.Edit(), "unsaved");
    QVERIFY(open.control->PlcFileOpen("prog.plc"));
    QCOMPARE(open.editor.Edit()->GetText(), std::string("N010 NOP\r\n"));
    QCOMPARE(open.editor.Document().FileName(), open.Path("prog.plc"));
    // An open error is the editor's to report; the method still succeeds.
    open.dialogs.ExpectAsk(MsgAnswer::Ok, "Error at opening of");
    QVERIFY(open.control->PlcFileOpen("missing.plc"));
    open.VerifyDialogs();
}

void TestControl::fileLocations() {
    ScriptedDialogs dialogs{FailTest()};
    CTorvixCtrl control(dialogs);
    std::string value;
    QVERIFY(control.GetTmpFileName(value));
    QCOMPARE(value, std::string("PlcTmp.txt"));
    QVERIFY(control.GetPlcProjPath(value));
    QCOMPARE(value, std::string("./"));
    control.PlcSetTmpFileName("");
    QVERIFY(!control.GetTmpFileName(value));
    QCOMPARE(value, std::string());
    control.PlcSetPlcProjPath("/srv/project/");
    QVERIFY(control.GetPlcProjPath(value));
    QCOMPARE(value, std::string("/srv/project/"));
}

void TestControl::nameRequests_data() {
    QTest::addColumn<bool>("device");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("result");
    for (bool device : {false, true}) {
        const char* event = device ? "device" : "archive";
        QTest::addRow("%s, ignored", event) << device << false << QByteArray() << QByteArray(" ") << true;
        QTest::addRow("%s, empty", event) << device << true << QByteArray() << QByteArray() << false;
        QTest::addRow("%s, path", event) << device << true << QByteArray("/d/prog.bin")
                                         << QByteArray("/d/prog.bin") << true;
        QTest::addRow("%s, cut at NUL", event) << device << true << QByteArray("a.bin\0junk", 10)
                                               << QByteArray("a.bin") << true;
    }
}

void TestControl::nameRequests() {
    QFETCH(bool, device);
    QFETCH(bool, answered);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, name);
    QFETCH(bool, result);
    ScriptedDialogs dialogs{FailTest()};
    CTorvixCtrl control(dialogs);
    RecordingHost host;
    if (answered) host.answer = answer.toStdString();
    control.Advise(&host);
    std::string got = "garbage";
    const bool ok = device ? control.FirePlcFileFromDevice(got) : control.FirePlcFileFromArchiv(got);
    QCOMPARE(ok, result);
    QCOMPARE(QByteArray::fromStdString(got), name);
    // The offer: 260 characters, one blank and NULs.
    QCOMPARE(host.offerSeen.size(), size_t(260));
    QCOMPARE(host.offerSeen, CTorvixCtrl::NameOffer());
    QCOMPARE(host.offerSeen[0], ' ');
    QCOMPARE(host.offerSeen.find_first_not_of('\0', 1), std::string::npos);
    QCOMPARE(host.events, std::vector<std::string>{device ? "FromDevice" : "FromArchiv"});
}

void TestControl::eventsReachTheHost() {
    ScriptedDialogs dialogs{FailTest()};
    CTorvixCtrl control(dialogs);
    std::string name;
    // Without a sink nothing happens and a request reads back the offer.
    control.FirePlcOnCancel();
    QVERIFY(control.FirePlcFileFromArchiv(name));
    QCOMPARE(name, std::string(" "));
    RecordingHost host;
    control.Advise(&host);
    control.FirePlcUpDateProjName("Jumps", false);
    control.FirePlcFileToArchiv("/w/PlcTmp.txt");
    control.FirePlcFileToDevice("/w/PlcTmp.txt");
    control.FirePlcUpDateProjName("Jumps", true);
    control.FirePlcOnCancel();
    QCOMPARE(host.events, (std::vector<std::string>{"UpDateProjName Jumps FALSE", "ToArchiv /w/PlcTmp.txt",
                                                    "ToDevice /w/PlcTmp.txt", "UpDateProjName Jumps TRUE",
                                                    "OnCancel"}));
}

QTEST_MAIN(TestControl)
#include "tst_control.moc"
