// SPDX-License-Identifier: GPL-3.0-or-later
// The control as a component: its interfaces and reference counts, the
// dispatch of the ten methods, the events through the connection point with
// by-reference answers, the version stamp, the property page, and the type
// library data against torvix.idl.
#include <QFile>
#include <QDialog>
#include <QPointer>
#include <QTabWidget>
#include <QRegularExpression>
#include <QTest>
#include <functional>

#include "compiler/CompileDriver.h"
#include "control/TorvixClient.h"
#include "control/TorvixObjects.h"
#include "control/TorvixPropFrame.h"
#include "control/TorvixTypeLib.h"
#include "editor/EditorTestSupport.h"
#include "platform/SourceEdit.h"

using namespace plc;
using namespace plc::com;
using namespace plc::test;

Q_DECLARE_METATYPE(plc::com::Guid)

namespace {

constexpr Guid kUnknownIid{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};

// A control created through the component layer, with scripted dialogs in a
// scratch folder; holds one reference to its dispatch interface.
struct Component {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs{FailTest()};
    ComPtr<IDispatch> dispatch;
    long objectsBefore = ModuleObjectCount();

    Component() {
        if (CreateTorvixControl(dialogs, IID__DTorvix, dispatch.Out()) != S_OK)
            qFatal("no control");
    }
    TorvixCtrlObject& Object() { return *static_cast<TorvixCtrlObject*>(dispatch.Get()); }
    HRESULT Call(int32_t dispid, std::vector<Variant> args, Variant* result = nullptr) {
        return dispatch->Invoke(dispid, args, result);
    }
    ComPtr<IConnectionPoint> Point() {
        ComPtr<IConnectionPointContainer> container;
        ComPtr<IConnectionPoint> point;
        if (dispatch->QueryInterface(&IID_IConnectionPointContainer, container.Out()) != S_OK ||
            container->FindConnectionPoint(&IID__DTorvixEvents, point.Address()) != S_OK)
            qFatal("no connection point");
        return point;
    }
};

// A sink that records every event as its dispatch id and arguments, and
// answers the by-reference names with `answer` unless it is "-".
class RecordingSink final : public Dispatch {
public:
    struct Call {
        int32_t dispid;
        std::vector<Variant> args;
        std::string offered;  // the by-reference string as it arrived
    };
    std::vector<Call> calls;
    std::string answer = "-";
    std::function<void()> during;  // runs inside every event
    bool answersDispatch = true;

    HRESULT QueryInterface(const Guid* iid, void** object) override {
        *object = nullptr;
        if (*iid == IID_IUnknown || (answersDispatch && *iid == IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++refs; }
    uint32_t Release() override { return --refs; }  // lives on the test's stack
    HRESULT GetTypeInfo(const InterfaceDesc**) override { return E_NOTIMPL; }
    HRESULT GetIDOfName(std::string_view, int32_t*) override { return E_NOTIMPL; }
    HRESULT Invoke(int32_t dispid, std::vector<Variant>& args, Variant*) override {
        Call call{dispid, args, {}};
        for (Variant& a : args) {
            if (a.type != VarType::StringRef) continue;
            call.offered = *a.strRef;
            if (answer != "-") *a.strRef = answer;
        }
        calls.push_back(call);
        if (during) during();
        return S_OK;
    }
    uint32_t refs = 0;
};

QString ArgText(const std::vector<Variant>& args) {
    QStringList parts;
    for (const Variant& a : args) {
        switch (a.type) {
            case VarType::Empty: parts << "empty"; break;
            case VarType::Bool: parts << (a.boolVal ? "TRUE" : "FALSE"); break;
            case VarType::Int: parts << QString::number(a.intVal); break;
            case VarType::String: parts << "'" + QString::fromStdString(a.strVal) + "'"; break;
            case VarType::StringRef: parts << "ref"; break;
        }
    }
    return parts.join(",");
}

}  // namespace

class TestComponent : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void guidText_data();
    void guidText();
    void queryInterface_data();
    void queryInterface();
    void referenceCounts();
    void dispatchMethods_data();
    void dispatchMethods();
    void dispatchRefusesBadCalls_data();
    void dispatchRefusesBadCalls();
    void namesToIds_data();
    void namesToIds();
    void eventsReachTheSinks_data();
    void eventsReachTheSinks();
    void adviseAndUnadvise();
    void hostReleasesTheControlInsideAnEvent();
    void clientDrivesTheLinkedControl();
    void versionStamp_data();
    void versionStamp();
    void propertyPage();
    void propertyFrame();
    void factories_data();
    void factories();
    void typeLibMatchesIdl();
};

void TestComponent::guidText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("upper") << "{5A61E03F-2B7C-4D19-8E3F-6C0D4B9A7E21}" << true;
    QTest::newRow("lower") << "{5a61e03f-2b7c-4d19-8e3f-6c0d4b9a7e21}" << true;
    QTest::newRow("no braces") << "5A61E03F-2B7C-4D19-8E3F-6C0D4B9A7E21" << false;
    QTest::newRow("dash moved") << "{5A61E03F2-B7C-4D19-8E3F-6C0D4B9A7E21}" << false;
    QTest::newRow("not hex") << "{5A61E03G-2B7C-4D19-8E3F-6C0D4B9A7E21}" << false;
    QTest::newRow("short") << "{5A61E03F-2B7C-4D19-8E3F-6C0D4B9A7E2}" << false;
}

void TestComponent::guidText() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    Guid guid;
    QCOMPARE(GuidFromString(text.toStdString(), guid), ok);
    if (ok) {
        QCOMPARE(guid, CLSID_Torvix);
        QCOMPARE(QString::fromStdString(GuidToString(guid)), text.toUpper());
    }
}

void TestComponent::queryInterface_data() {
    QTest::addColumn<Guid>("iid");
    QTest::addColumn<bool>("known");
    QTest::newRow("IUnknown") << IID_IUnknown << true;
    QTest::newRow("IDispatch") << IID_IDispatch << true;
    QTest::newRow("_DTorvix") << IID__DTorvix << true;
    QTest::newRow("connection points") << IID_IConnectionPointContainer << true;
    QTest::newRow("connection point") << IID_IConnectionPoint << true;
    QTest::newRow("persistent state") << IID_IPersistState << true;
    QTest::newRow("property pages") << IID_ISpecifyPropertyPages << true;
    QTest::newRow("_DTorvixEvents") << IID__DTorvixEvents << false;
    QTest::newRow("class factory") << IID_IClassFactory << false;
    QTest::newRow("property page") << IID_IPropertyPage << false;
    QTest::newRow("control class id") << CLSID_Torvix << false;
    QTest::newRow("unknown") << kUnknownIid << false;
}

void TestComponent::queryInterface() {
    QFETCH(Guid, iid);
    QFETCH(bool, known);
    Component c;
    QCOMPARE(c.dispatch->AddRef(), 2u);
    QCOMPARE(c.dispatch->Release(), 1u);
    void* object = reinterpret_cast<void*>(1);
    QCOMPARE(c.dispatch->QueryInterface(&iid, &object), known ? S_OK : E_NOINTERFACE);
    QCOMPARE(object != nullptr, known);
    if (known) {
        IUnknown* unknown = static_cast<IUnknown*>(object);
        // Every interface leads back to the same object.
        void* identity = nullptr;
        QCOMPARE(unknown->QueryInterface(&IID_IUnknown, &identity), S_OK);
        QCOMPARE(identity, static_cast<void*>(static_cast<IDispatch*>(&c.Object())));
        QCOMPARE(static_cast<IUnknown*>(identity)->Release(), 2u);
        QCOMPARE(unknown->Release(), 1u);
    }
    QCOMPARE(c.dispatch->QueryInterface(&iid, nullptr), E_POINTER);
}

void TestComponent::referenceCounts() {
    const long before = ModuleObjectCount();
    QPointer<QObject> editorAlive;
    {
        Component c;
        QCOMPARE(ModuleObjectCount(), before + 1);
        ComPtr<IPersistState> persist;
        QCOMPARE(c.dispatch->QueryInterface(&IID_IPersistState, persist.Out()), S_OK);
        QCOMPARE(c.dispatch->AddRef(), 3u);
        c.dispatch->Release();
        persist.Reset();
        QCOMPARE(ModuleObjectCount(), before + 1);
        editorAlive = &EditorOf(c.Object().Control()).Frame();
    }
    // The last release frees the control and its editor.
    QCOMPARE(ModuleObjectCount(), before);
    QVERIFY(editorAlive.isNull());
}

// Each method by its id, before or after PlcCreate, with its result and what
// it did to the control.
void TestComponent::dispatchMethods_data() {
    QTest::addColumn<int>("dispid");
    QTest::addColumn<bool>("created");
    QTest::addColumn<QString>("argument");  // empty: no argument
    QTest::addColumn<int>("resultType");    // VarType of the result
    QTest::addColumn<bool>("result");
    const int kBool = int(VarType::Bool), kNone = int(VarType::Empty);
    QTest::newRow("PlcCreate") << 1 << false << "" << kBool << true;
    QTest::newRow("PlcCreate again") << 1 << true << "" << kBool << true;
    QTest::newRow("PlcSetOnline") << 2 << true << "" << kBool << true;
    QTest::newRow("PlcSetOffline") << 3 << true << "" << kBool << true;
    QTest::newRow("PlcFileOpen") << 4 << true << "prog.plc" << kBool << true;
    QTest::newRow("PlcDestroy") << 5 << true << "" << kBool << true;
    QTest::newRow("PlcDestroy without window") << 5 << false << "" << kBool << false;
    QTest::newRow("PlcSetFocus") << 6 << true << "" << kBool << true;
    QTest::newRow("PlcSetFocus without window") << 6 << false << "" << kBool << false;
    QTest::newRow("PlcSetTmpFileName") << 7 << false << "out.bin" << kNone << false;
    QTest::newRow("PlcSetPlcProjPath") << 8 << false << "/proj/" << kNone << false;
    QTest::newRow("PlcBinaryFileOpen") << 9 << true << "prog.bin" << kBool << true;
}

void TestComponent::dispatchMethods() {
    QFETCH(int, dispid);
    QFETCH(bool, created);
    QFETCH(QString, argument);
    QFETCH(int, resultType);
    QFETCH(bool, result);
    Component c;
    WriteBytes("prog.plc", "%P00\r\nN010 NOP\r\nEND\r\n");
    CPlcProgram program;
    QVERIFY(CompileProgramText(program, {"%P00", "N010 JMP N010", "END"}).success);
    std::string bin = "prog.bin";
    QVERIFY(program.WriteBinaryFile(bin, false) != 0);
    if (created) QCOMPARE(c.Call(CTorvixCtrl::kPlcCreate, {}), S_OK);
    std::vector<Variant> args;
    if (!argument.isEmpty()) args.push_back(Variant::String(argument.toStdString()));
    Variant out = Variant::Int(77);
    QCOMPARE(c.Call(dispid, args, &out), S_OK);
    QCOMPARE(int(out.type), resultType);
    if (out.type == VarType::Bool) QCOMPARE(out.boolVal, result);

    std::string text;
    CTorvixCtrl& control = c.Object().Control();
    CPlcEditorDlg& editor = EditorOf(control);
    switch (dispid) {
        case CTorvixCtrl::kPlcCreate: QVERIFY(editor.IsWindow()); break;
        case CTorvixCtrl::kPlcSetOnline: QVERIFY(editor.Action(32784)->isEnabled()); break;
        case CTorvixCtrl::kPlcSetOffline: QVERIFY(!editor.Action(32784)->isEnabled()); break;
        case CTorvixCtrl::kPlcFileOpen:
            QCOMPARE(editor.Edit()->GetText(), std::string("%P00\r\nN010 NOP\r\nEND\r\n"));
            break;
        case CTorvixCtrl::kPlcDestroy: QVERIFY(!editor.IsWindow()); break;
        case CTorvixCtrl::kPlcSetTmpFileName:
            QVERIFY(control.GetTmpFileName(text));
            QCOMPARE(text, std::string("out.bin"));
            break;
        case CTorvixCtrl::kPlcSetPlcProjPath:
            QVERIFY(control.GetPlcProjPath(text));
            QCOMPARE(text, std::string("/proj/"));
            break;
        case CTorvixCtrl::kPlcBinaryFileOpen:
            QVERIFY(editor.Edit()->GetText().find("N010 JMP N010") != std::string::npos);
            break;
    }
    QVERIFY(c.dialogs.Failures().empty());
}

void TestComponent::dispatchRefusesBadCalls_data() {
    QTest::addColumn<int>("dispid");
    QTest::addColumn<QString>("args");  // b: BOOL, s: string, r: by-reference string, n: null ref
    QTest::addColumn<HRESULT>("expected");
    QTest::newRow("id 0") << 0 << "" << DISP_E_MEMBERNOTFOUND;
    QTest::newRow("id 11") << 11 << "" << DISP_E_MEMBERNOTFOUND;
    QTest::newRow("PlcSetSimulation with a string") << 10 << "s" << DISP_E_TYPEMISMATCH;
    QTest::newRow("PlcSetSimulation without argument") << 10 << "" << DISP_E_BADPARAMCOUNT;
    QTest::newRow("event id is no method") << -1 << "" << DISP_E_MEMBERNOTFOUND;
    QTest::newRow("PlcCreate with an argument") << 1 << "s" << DISP_E_BADPARAMCOUNT;
    QTest::newRow("PlcFileOpen without argument") << 4 << "" << DISP_E_BADPARAMCOUNT;
    QTest::newRow("PlcFileOpen with two") << 4 << "ss" << DISP_E_BADPARAMCOUNT;
    QTest::newRow("PlcFileOpen with a BOOL") << 4 << "b" << DISP_E_TYPEMISMATCH;
    QTest::newRow("PlcSetTmpFileName with a null reference") << 7 << "n" << E_POINTER;
    QTest::newRow("PlcSetTmpFileName by reference") << 7 << "r" << S_OK;
    QTest::newRow("PlcSetPlcProjPath by value") << 8 << "s" << S_OK;
}

void TestComponent::dispatchRefusesBadCalls() {
    QFETCH(int, dispid);
    QFETCH(QString, args);
    QFETCH(HRESULT, expected);
    Component c;
    std::string referenced = "ref.bin";
    std::vector<Variant> list;
    for (QChar k : args) {
        if (k == 'b') list.push_back(Variant::Bool(true));
        if (k == 's') list.push_back(Variant::String("x.plc"));
        if (k == 'r') list.push_back(Variant::Ref(&referenced));
        if (k == 'n') list.push_back(Variant::Ref(nullptr));
    }
    Variant out;
    QCOMPARE(c.Call(dispid, list, &out), expected);
    std::string tmp;
    c.Object().Control().GetTmpFileName(tmp);
    // A refused call changes nothing.
    QCOMPARE(tmp, expected == S_OK && dispid == 7 ? referenced
                                                  : std::string(CTorvixCtrl::kDefaultTmpFileName));
    QVERIFY(!EditorOf(c.Object().Control()).IsWindow());
}

void TestComponent::namesToIds_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("dispid");
    QTest::newRow("first") << "PlcCreate" << 1;
    QTest::newRow("case") << "plcbinaryfileopen" << 9;
    QTest::newRow("setter") << "PlcSetPlcProjPath" << 8;
    QTest::newRow("last") << "PlcSetSimulation" << 10;
    QTest::newRow("event name") << "PlcOnCancel" << -1;
    QTest::newRow("unknown") << "Nothing" << -1;
}

void TestComponent::namesToIds() {
    QFETCH(QString, name);
    QFETCH(int, dispid);
    Component c;
    int32_t id = 0;
    const HRESULT hr = c.dispatch->GetIDOfName(name.toStdString(), &id);
    QCOMPARE(hr, dispid < 0 ? DISP_E_UNKNOWNNAME : S_OK);
    if (dispid > 0) QCOMPARE(id, dispid);
}

// Each operation the editor calls on the control, as the advised sink sees
// it, and what the control makes of the sink's answer.
void TestComponent::eventsReachTheSinks_data() {
    QTest::addColumn<QString>("fire");
    QTest::addColumn<QString>("answer");  // "-": the sink leaves the offer
    QTest::addColumn<int>("dispid");
    QTest::addColumn<QString>("args");
    QTest::addColumn<bool>("returned");
    QTest::addColumn<QString>("name");
    QTest::newRow("to archive") << "ToArchiv" << "-" << 1 << "'/t/PlcTmp.txt'" << true << "";
    QTest::newRow("from archive") << "FromArchiv" << "a.bin" << 2 << "ref" << true << "a.bin";
    QTest::newRow("from archive unanswered") << "FromArchiv" << "-" << 2 << "ref" << true << " ";
    QTest::newRow("from archive empty") << "FromArchiv" << "" << 2 << "ref" << false << "";
    QTest::newRow("cancel") << "OnCancel" << "-" << 3 << "" << true << "";
    QTest::newRow("from device") << "FromDevice" << "d.bin" << 4 << "ref" << true << "d.bin";
    QTest::newRow("from device with NUL")
        << "FromDevice" << QString("d.bin") + QChar(0) + "junk" << 4 << "ref" << true << "d.bin";
    QTest::newRow("to device") << "ToDevice" << "-" << 5 << "'/t/x.bin'" << true << "";
    QTest::newRow("project name") << "ProjName" << "-" << 6 << "'Demo',TRUE" << true << "";
}

void TestComponent::eventsReachTheSinks() {
    QFETCH(QString, fire);
    QFETCH(QString, answer);
    QFETCH(int, dispid);
    QFETCH(QString, args);
    QFETCH(bool, returned);
    QFETCH(QString, name);
    Component c;
    RecordingSink first, second;
    const QByteArray answerBytes = answer.toLatin1();
    first.answer = std::string(answerBytes.constData(), size_t(answerBytes.size()));
    uint32_t cookie1 = 0, cookie2 = 0;
    ComPtr<IConnectionPoint> point = c.Point();
    QCOMPARE(point->Advise(&first, &cookie1), S_OK);
    QCOMPARE(point->Advise(&second, &cookie2), S_OK);
    QVERIFY(cookie1 != cookie2);

    CTorvixCtrl& control = c.Object().Control();
    std::string got;
    bool ok = true;
    if (fire == "ToArchiv") control.FirePlcFileToArchiv("/t/PlcTmp.txt");
    if (fire == "FromArchiv") ok = control.FirePlcFileFromArchiv(got);
    if (fire == "OnCancel") control.FirePlcOnCancel();
    if (fire == "FromDevice") ok = control.FirePlcFileFromDevice(got);
    if (fire == "ToDevice") control.FirePlcFileToDevice("/t/x.bin");
    if (fire == "ProjName") control.FirePlcUpDateProjName("Demo", true);

    for (RecordingSink* sink : {&first, &second}) {
        QCOMPARE(sink->calls.size(), size_t(1));
        QCOMPARE(sink->calls[0].dispid, dispid);
        QCOMPARE(ArgText(sink->calls[0].args), args);
    }
    QCOMPARE(ok, returned);
    QCOMPARE(got, name.toStdString());
    if (args == "ref") {
        // The offer: one blank and NULs, 260 characters; the second sink
        // sees what the first one answered.
        QCOMPARE(first.calls[0].offered, CTorvixCtrl::NameOffer());
        QCOMPARE(first.calls[0].offered.size(), size_t(260));
        QCOMPARE(second.calls[0].offered,
                 answer == "-" ? CTorvixCtrl::NameOffer() : first.answer);
    }
    QCOMPARE(point->Unadvise(cookie1), S_OK);
    QCOMPARE(point->Unadvise(cookie2), S_OK);
    QCOMPARE(first.refs, 0u);
    QCOMPARE(second.refs, 0u);
}

void TestComponent::adviseAndUnadvise() {
    Component c;
    ComPtr<IConnectionPoint> point = c.Point();
    Guid iid;
    QCOMPARE(point->GetConnectionInterface(&iid), S_OK);
    QCOMPARE(iid, IID__DTorvixEvents);
    ComPtr<IConnectionPointContainer> container;
    QCOMPARE(c.dispatch->QueryInterface(&IID_IConnectionPointContainer, container.Out()), S_OK);
    ComPtr<IConnectionPoint> other;
    QCOMPARE(container->FindConnectionPoint(&IID__DTorvix, other.Address()), CONNECT_E_NOCONNECTION);
    QVERIFY(!other);

    RecordingSink mute;
    mute.answersDispatch = false;
    uint32_t cookie = 99;
    QCOMPARE(point->Advise(&mute, &cookie), CONNECT_E_CANNOTCONNECT);
    QCOMPARE(cookie, 0u);
    QCOMPARE(mute.refs, 0u);
    QCOMPARE(point->Advise(nullptr, &cookie), E_POINTER);

    RecordingSink sink;
    QCOMPARE(point->Advise(&sink, &cookie), S_OK);
    QCOMPARE(sink.refs, 1u);
    QCOMPARE(point->Unadvise(cookie + 1), CONNECT_E_NOCONNECTION);
    // A sink that unadvises inside its handler still gets the event once.
    sink.during = [&] { QCOMPARE(point->Unadvise(cookie), S_OK); };
    c.Object().Control().FirePlcOnCancel();
    c.Object().Control().FirePlcOnCancel();
    QCOMPARE(sink.calls.size(), size_t(1));
    QCOMPARE(sink.refs, 0u);
    QCOMPARE(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);

    // Releasing the control releases the sinks still advised.
    RecordingSink kept;
    QCOMPARE(point->Advise(&kept, &cookie), S_OK);
    point.Reset();
    container.Reset();
    c.dispatch.Reset();
    QCOMPARE(kept.refs, 0u);
    QCOMPARE(ModuleObjectCount(), c.objectsBefore);
}

void TestComponent::hostReleasesTheControlInsideAnEvent() {
    Component c;
    RecordingSink sink;
    uint32_t cookie = 0;
    QCOMPARE(c.Point()->Advise(&sink, &cookie), S_OK);
    QCOMPARE(c.Call(CTorvixCtrl::kPlcCreate, {}), S_OK);
    const QPointer<QObject> editorAlive(&EditorOf(c.Object().Control()).Frame());
    IDispatch* control = c.dispatch.Get();
    control->AddRef();
    c.dispatch.Reset();
    // The host drops its last reference when the window closes.
    sink.during = [&] { control->Release(); };
    Variant out;
    std::vector<Variant> none;
    QCOMPARE(control->Invoke(CTorvixCtrl::kPlcDestroy, none, &out), S_OK);
    QVERIFY(out.boolVal);
    QCOMPARE(sink.calls.size(), size_t(1));
    QCOMPARE(sink.calls[0].dispid, int32_t(TorvixEvents::kPlcOnCancel));
    QVERIFY(editorAlive.isNull());
    QCOMPARE(ModuleObjectCount(), c.objectsBefore);
    QCOMPARE(sink.refs, 0u);
}

namespace {

struct HostEvents : TorvixEvents {
    QStringList seen;
    void PlcFileToArchiv(const std::string& n) override { seen << "ToArchiv " + QString::fromStdString(n); }
    void PlcFileFromArchiv(std::string& n) override {
        seen << "FromArchiv";
        n = "arch.bin";
    }
    void PlcOnCancel() override { seen << "OnCancel"; }
    void PlcFileFromDevice(std::string& n) override {
        seen << "FromDevice";
        n.clear();
    }
    void PlcFileToDevice(const std::string& n) override { seen << "ToDevice " + QString::fromStdString(n); }
    void PlcUpDateProjName(const std::string& n, bool online) override {
        seen << "ProjName " + QString::fromStdString(n) + (online ? " TRUE" : " FALSE");
    }
};

}  // namespace

// The host's side: methods through dispatch, events back into a
// TorvixEvents object, on the linked control.
void TestComponent::clientDrivesTheLinkedControl() {
    Component c;
    std::string error;
    std::unique_ptr<TorvixClient> client =
        TorvixClient::Attach(c.dispatch.Get(), TorvixEventsDesc(), error);
    QVERIFY2(client, error.c_str());
    QVERIFY(client->Module() == nullptr);
    HostEvents host;
    client->Advise(&host);
    client->PlcSetTmpFileName("t.bin");
    client->PlcSetPlcProjPath("p/");
    QVERIFY(!client->PlcDestroy());
    QVERIFY(client->PlcCreate());
    QVERIFY(client->PlcSetOnline());
    QVERIFY(EditorOf(c.Object().Control()).Action(32783)->isEnabled());
    CTorvixCtrl& control = c.Object().Control();
    std::string name;
    QVERIFY(control.FirePlcFileFromArchiv(name));
    QCOMPARE(name, std::string("arch.bin"));
    QVERIFY(!control.FirePlcFileFromDevice(name));
    control.FirePlcFileToDevice("x.bin");
    control.FirePlcUpDateProjName("P", false);
    QVERIFY(control.GetTmpFileName(name));
    QCOMPARE(name, std::string("t.bin"));
    QVERIFY(client->PlcDestroy());
    QCOMPARE(host.seen, QStringList({"FromArchiv", "FromDevice", "ToDevice x.bin", "ProjName P FALSE",
                                     "OnCancel"}));
    // Without a target the events go unanswered.
    client->Advise(nullptr);
    QVERIFY(control.FirePlcFileFromArchiv(name));
    QCOMPARE(name, std::string(" "));
    c.dispatch.Reset();
    client.reset();
    QCOMPARE(ModuleObjectCount(), c.objectsBefore);
}

void TestComponent::versionStamp_data() {
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<HRESULT>("expected");
    QTest::addColumn<uint>("version");
    QTest::newRow("1.0") << QByteArray("\x00\x00\x01\x00", 4) << S_OK << 0x00010000u;
    QTest::newRow("2.1 converts") << QByteArray("\x01\x00\x02\x00", 4) << S_OK << 0x00020001u;
    QTest::newRow("longer") << QByteArray("\x00\x00\x01\x00zz", 6) << S_OK << 0x00010000u;
    QTest::newRow("too short") << QByteArray("\x00\x00\x01", 3) << E_FAIL << 0x00010000u;
    QTest::newRow("empty") << QByteArray() << E_FAIL << 0x00010000u;
}

void TestComponent::versionStamp() {
    QFETCH(QByteArray, state);
    QFETCH(HRESULT, expected);
    QFETCH(uint, version);
    Component c;
    ComPtr<IPersistState> persist;
    QCOMPARE(c.dispatch->QueryInterface(&IID_IPersistState, persist.Out()), S_OK);
    QCOMPARE(persist->InitNew(), S_OK);
    std::vector<uint8_t> bytes(state.begin(), state.end());
    QCOMPARE(persist->Load(bytes), expected);
    QCOMPARE(c.Object().LoadedVersion(), uint32_t(version));
    std::vector<uint8_t> saved;
    QCOMPARE(persist->Save(saved), S_OK);
    QCOMPARE(saved, (std::vector<uint8_t>{0x00, 0x00, 0x01, 0x00}));
}

void TestComponent::propertyPage() {
    Component c;
    ComPtr<ISpecifyPropertyPages> specify;
    QCOMPARE(c.dispatch->QueryInterface(&IID_ISpecifyPropertyPages, specify.Out()), S_OK);
    std::vector<Guid> pages;
    QCOMPARE(specify->GetPages(&pages), S_OK);
    QCOMPARE(pages, std::vector<Guid>{CLSID_TorvixPropPage});
    specify.Reset();

    void* factory = nullptr;
    QCOMPARE(FindClassFactory(pages[0])->QueryInterface(&IID_IClassFactory, &factory), S_OK);
    ComPtr<IPropertyPage> page;
    QCOMPARE(static_cast<IClassFactory*>(factory)->CreateInstance(nullptr, &IID_IPropertyPage,
                                                                 page.Out()),
             S_OK);
    PropPageInfo info;
    QCOMPARE(page->GetPageInfo(&info), S_OK);
    QCOMPARE(info.title, std::string("General"));
    QCOMPARE(info.widthDlu, 250);
    QCOMPARE(info.heightDlu, 62);
    QCOMPARE(info.docString, std::string("Names to appear in the control"));
    QCOMPARE(info.helpFile, std::string("TORVIX.HLP"));
    QCOMPARE(info.helpContext, 0u);

    IUnknown* objects[] = {c.dispatch.Get()};
    QCOMPARE(page->SetObjects({objects[0]}), S_OK);
    QCOMPARE(c.dispatch->AddRef(), 3u);  // ours, the page's and this one
    c.dispatch->Release();
    QCOMPARE(page->SetObjects({nullptr}), E_POINTER);

    QWidget frame;
    QWidget* widget = nullptr;
    QCOMPARE(page->Activate(&frame, &widget), S_OK);
    QPointer<QWidget> shown(widget);
    QVERIFY(shown);
    QCOMPARE(shown->parentWidget(), &frame);
    QCOMPARE(shown->windowTitle(), QString("General"));
    QVERIFY(shown->findChildren<QWidget*>().isEmpty());
    QVERIFY(shown->width() > shown->height());
    QCOMPARE(page->IsPageDirty(), S_FALSE);
    QCOMPARE(page->Apply(), S_OK);
    QCOMPARE(page->Deactivate(), S_OK);
    QVERIFY(!shown);
    // Releasing the page releases the objects it was given.
    page.Reset();
    QCOMPARE(c.dispatch->AddRef(), 2u);
    c.dispatch->Release();
}

void TestComponent::propertyFrame() {
    Component c;
    const ClassObjectSource classes = [](const Guid& clsid, const Guid& iid, void** object) {
        IClassFactory* factory = FindClassFactory(clsid);
        return factory ? factory->QueryInterface(&iid, object) : CLASS_E_CLASSNOTAVAILABLE;
    };
    QStringList tabs;
    int pageChildren = -1;
    c.dialogs.ExpectModal(QDialog::Accepted, [&](QDialog& frame) {
        QCOMPARE(frame.windowTitle(), QString("Torvix Control Properties"));
        auto* tabWidget = frame.findChild<QTabWidget*>();
        QVERIFY(tabWidget);
        for (int i = 0; i < tabWidget->count(); ++i) tabs << tabWidget->tabText(i);
        auto* page = frame.findChild<QWidget*>("TorvixPropPage");
        QVERIFY(page);
        pageChildren = int(page->findChildren<QWidget*>().size());
    });
    QCOMPARE(ShowPropertyFrame(c.dispatch.Get(), classes, c.dialogs, nullptr,
                               "Torvix Control Properties"),
             int(QDialog::Accepted));
    QCOMPARE(tabs, QStringList{"General"});
    QCOMPARE(pageChildren, 0);
    c.dialogs.Reset();
    // The pages are gone and hold the control no more.
    QCOMPARE(ModuleObjectCount(), c.objectsBefore + 1);
    QCOMPARE(c.dispatch->AddRef(), 2u);
    c.dispatch->Release();

    // An object that names no page, or a page that cannot be made: no frame.
    ComPtr<IPropertyPage> page;
    QCOMPARE(FindClassFactory(CLSID_TorvixPropPage)->CreateInstance(nullptr, &IID_IPropertyPage,
                                                                   page.Out()),
             S_OK);
    QCOMPARE(ShowPropertyFrame(page.Get(), classes, c.dialogs, nullptr, "x"), -1);
    const ClassObjectSource none = [](const Guid&, const Guid&, void** object) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    };
    QCOMPARE(ShowPropertyFrame(c.dispatch.Get(), none, c.dialogs, nullptr, "x"), -1);
    QVERIFY(c.dialogs.Log().empty());
}

void TestComponent::factories_data() {
    QTest::addColumn<Guid>("clsid");
    QTest::addColumn<Guid>("iid");
    QTest::addColumn<HRESULT>("expected");
    QTest::newRow("control") << CLSID_Torvix << IID__DTorvix << S_OK;
    QTest::newRow("control, unknown interface") << CLSID_Torvix << kUnknownIid << E_NOINTERFACE;
    QTest::newRow("page") << CLSID_TorvixPropPage << IID_IPropertyPage << S_OK;
    QTest::newRow("page as dispatch") << CLSID_TorvixPropPage << IID_IDispatch << E_NOINTERFACE;
}

void TestComponent::factories() {
    QFETCH(Guid, clsid);
    QFETCH(Guid, iid);
    QFETCH(HRESULT, expected);
    ScratchDirectory scratch;
    QVERIFY(FindClassFactory(kUnknownIid) == nullptr);
    IClassFactory* factory = FindClassFactory(clsid);
    QVERIFY(factory);
    const long before = ModuleObjectCount();
    void* object = nullptr;
    QCOMPARE(factory->CreateInstance(nullptr, &iid, &object), expected);
    QCOMPARE(object != nullptr, expected == S_OK);
    if (object) static_cast<IUnknown*>(object)->Release();
    // A failed request leaves no object behind.
    QCOMPARE(ModuleObjectCount(), before);
    QCOMPARE(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory), &iid, &object),
             CLASS_E_NOAGGREGATION);
    QVERIFY(!object);
}

// torvix.idl and the data the module hands out describe the same library.
void TestComponent::typeLibMatchesIdl() {
    QFile file(PLCEDIT_SOURCE_DIR "/control/torvix.idl");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString idl = QString::fromUtf8(file.readAll());
    const TypeLibDesc& lib = TorvixTypeLib();
    auto uuid = [](const Guid& g) {
        const QString text = QString::fromStdString(GuidToString(g));
        return "uuid(" + text.mid(1, text.size() - 2) + ")";
    };
    auto block = [&](const QString& head) {
        const qsizetype at = idl.indexOf(head);
        return at < 0 ? QString() : idl.mid(at, idl.indexOf("};", at) - at);
    };
    QVERIFY(idl.contains(uuid(lib.libid) + ", version(1.0)"));
    QVERIFY(idl.contains("library " + QString(lib.name)));
    QVERIFY(idl.contains("helpstring(\"" + QString(lib.helpString) + "\")"));
    QVERIFY(idl.contains("helpfile(\"" + QString(lib.helpFile) + "\")"));
    QCOMPARE(lib.interfaces.size(), size_t(2));
    const QRegularExpression member(R"(\[id\((\d+)\)\]\s+(\w+)\s+(\w+)\(([^)]*)\);)");
    for (const InterfaceDesc& i : lib.interfaces) {
        const QString head = uuid(i.iid);
        QVERIFY2(idl.contains(head), qPrintable(head));
        const QString body = block("dispinterface " + QString(i.name) + "\n");
        QVERIFY2(!body.isEmpty(), i.name);
        QVERIFY(idl.mid(idl.indexOf(head), idl.indexOf(body) - idl.indexOf(head))
                    .contains(QString::fromLatin1(i.helpString)));
        size_t n = 0;
        for (auto it = member.globalMatch(body); it.hasNext(); ++n) {
            const QRegularExpressionMatch m = it.next();
            QVERIFY(n < i.members.size());
            const MemberDesc& d = i.members[n];
            QCOMPARE(m.captured(1).toInt(), d.dispid);
            QCOMPARE(m.captured(3), QString(d.name));
            QCOMPARE(m.captured(2), QString(d.result == ResultType::Bool ? "BOOL" : "void"));
            QStringList params;
            for (const ParamDesc& p : d.params)
                params << QString(p.type == ParamType::Bool     ? "BOOL "
                                  : p.type == ParamType::String ? "BSTR "
                                                                : "BSTR* ") +
                              p.name;
            QCOMPARE(m.captured(4), params.join(", "));
        }
        QCOMPARE(n, i.members.size());
    }
    QVERIFY(idl.contains(uuid(lib.coclass.clsid)));
    const QString coclass = block("coclass " + QString(lib.coclass.name));
    QVERIFY(coclass.contains("[default] dispinterface " +
                             QString(lib.Find(lib.coclass.defaultInterface)->name)));
    QVERIFY(coclass.contains("[default, source] dispinterface " +
                             QString(lib.Find(lib.coclass.defaultSource)->name)));
}

QTEST_MAIN(TestComponent)
#include "tst_component.moc"
