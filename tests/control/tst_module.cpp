// SPDX-License-Identifier: GPL-3.0-or-later
// The module: registration into a registry file and its exact removal, the
// result codes of a registration that fails half-way, and the real
// libtorvix.so loaded with dlopen: entry points, class factories, unloading,
// the application and event loop for hosts without Qt, and a control driven
// through dispatch with its events.
#include <dlfcn.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <thread>
#include <vector>

#include "compiler/CompileDriver.h"
#include "control/TorvixClient.h"
#include "control/TorvixRegistry.h"
#include "control/TorvixTypeLib.h"
#include "editor/EditorTestSupport.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"

#include <Qsci/qsciscintilla.h>

using namespace plc;
using namespace plc::com;
using namespace plc::test;

namespace {

const std::string kControl = "CLSID\\{5A61E03F-2B7C-4D19-8E3F-6C0D4B9A7E21}";
const std::string kPage = "CLSID\\{5A61E040-2B7C-4D19-8E3F-6C0D4B9A7E21}";
const std::string kLib = "TypeLib\\{5A61E03C-2B7C-4D19-8E3F-6C0D4B9A7E21}";
const std::string kDispatch = "Interface\\{5A61E03D-2B7C-4D19-8E3F-6C0D4B9A7E21}";
const std::string kEvents = "Interface\\{5A61E03E-2B7C-4D19-8E3F-6C0D4B9A7E21}";

// A registry file of someone else's, with a key inside one of our sections.
const std::string kForeign =
    "; other programs\r\n[Other]\r\nKey=1\r\n\r\n[CLSID\\{5A61E03F-2B7C-4D19-8E3F-6C0D4B9A7E21}]\r\n"
    "Foreign=keep\r\n";

// A store in memory that refuses its n-th write or removal.
struct FailingStore : RegistryStore {
    int failAt = -1;
    int calls = 0;
    std::map<std::string, std::string> values;
    bool Set(std::string_view section, std::string_view key, std::string_view value) override {
        if (calls++ == failAt) return false;
        values[std::string(section) + "|" + std::string(key)] = value;
        return true;
    }
    bool Remove(std::string_view section, std::string_view key) override {
        if (calls++ == failAt) return false;
        values.erase(std::string(section) + "|" + std::string(key));
        return true;
    }
    bool HasSection(const std::string& section) const {
        for (const auto& [k, v] : values)
            if (k.rfind(section + "|", 0) == 0) return true;
        return false;
    }
};

size_t EntryCount(RegistrationPart part) { return RegistrationEntries(part, "m").size(); }

// Sets an environment variable for the life of the object.
class EnvVar {
public:
    EnvVar(const char* name, const QByteArray& value) : m_name(name), m_old(qgetenv(name)) {
        m_had = qEnvironmentVariableIsSet(name);
        qputenv(name, value);
    }
    ~EnvVar() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    QByteArray m_old;
    bool m_had;
};

struct Events : TorvixEvents {
    QStringList seen;
    std::string deviceAnswer;
    void PlcOnCancel() override { seen << "OnCancel"; }
    void PlcFileFromDevice(std::string& name) override {
        seen << "FromDevice";
        name = deviceAnswer;
    }
};

std::shared_ptr<TorvixModuleHandle> LoadModule() {
    std::string error;
    auto module = TorvixModuleHandle::Load(TORVIX_MODULE, error);
    if (!module) qWarning("%s", error.c_str());
    return module;
}

}  // namespace

class TestModule : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void registrationValues_data();
    void registrationValues();
    void unregistrationRemovesExactlyWhatWasWritten_data();
    void unregistrationRemovesExactlyWhatWasWritten();
    void failingRegistration_data();
    void failingRegistration();
    void deleteKey_data();
    void deleteKey();
    void registryPlace_data();
    void registryPlace();
    void moduleEntryPoints();
    void carelessCallsFromC();
    void concurrentRegistrations();
    void moduleRegistersIntoItsFile();
    void moduleRefusesAnUnwritableRegistry();
    void unloadFollowsObjectsAndLocks();
    void applicationForHostsWithoutQt();
    void controlFromTheModule();
};

void TestModule::registrationValues_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    auto row = [](const std::string& s, const char* k, const char* v) {
        QTest::addRow("%s %s", s.c_str(), k) << QString::fromStdString(s) << k << v;
    };
    row(kLib, "Name", "TORVIXLib");
    row(kLib, "Version", "1.0");
    row(kLib, "Locale", "0");
    row(kLib, "HelpString", "Torvix ActiveX-Steuerelement-Modul");
    row(kLib, "Flags", "2");
    row(kLib, "Module", "/opt/torvix/libtorvix.so");
    row(kDispatch, "Name", "_DTorvix");
    row(kEvents, "Name", "_DTorvixEvents");
    row(kEvents, "TypeLib", "{5A61E03C-2B7C-4D19-8E3F-6C0D4B9A7E21}");
    row(kControl, "Name", "Torvix Control");
    row(kControl, "ProgID", "TORVIX.TorvixCtrl.1");
    row(kControl, "InprocServer", "/opt/torvix/libtorvix.so");
    row(kControl, "ThreadingModel", "Apartment");
    row(kControl, "MiscStatus", "132241");  // 0x20491
    row(kControl, "ToolboxBitmap", "/opt/torvix/libtorvix.so,1");
    row(kControl, "TypeLib", "{5A61E03C-2B7C-4D19-8E3F-6C0D4B9A7E21}");
    row(kControl, "Version", "1.0");
    row(kControl, "Insertable", "");
    row(kControl, "Foreign", "keep");
    row("TORVIX.TorvixCtrl.1", "CLSID", "{5A61E03F-2B7C-4D19-8E3F-6C0D4B9A7E21}");
    row(kPage, "Name", "Torvix Property Page");
    row(kPage, "InprocServer", "/opt/torvix/libtorvix.so");
    row("TORVIX.TorvixPropPage.1", "CLSID", "{5A61E040-2B7C-4D19-8E3F-6C0D4B9A7E21}");
    row("Other", "Key", "1");
}

void TestModule::registrationValues() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    // One registration serves every row.
    static const std::string registered = [] {
        ScratchDirectory scratch;
        WriteBytes("registry.ini", kForeign);
        ProfileRegistry registry("registry.ini");
        if (RegisterServer(registry, "/opt/torvix/libtorvix.so") != S_OK) return std::string();
        return ReadBytes("registry.ini");
    }();
    QVERIFY(!registered.empty());
    ScratchDirectory scratch;
    const std::string path = scratch.Path("registry.ini");
    WriteBytes(path, registered);
    const Profile profile(path);
    QCOMPARE(QString::fromStdString(
                 profile.GetString(section.toStdString(), key.toStdString(), "")),
             value);
    if (key == "MiscStatus")
        QCOMPARE(profile.GetInt(section.toStdString(), "MiscStatus", 0), int32_t(0x20491));
}

void TestModule::unregistrationRemovesExactlyWhatWasWritten_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no file") << QByteArray();
    QTest::newRow("empty file") << QByteArray("");
    QTest::newRow("foreign keys") << QByteArray::fromStdString(kForeign);
    QTest::newRow("LF and no last line end") << QByteArray("[A]\nk=v\n\n[B]\nx=y");
}

void TestModule::unregistrationRemovesExactlyWhatWasWritten() {
    QFETCH(QByteArray, before);
    ScratchDirectory scratch;
    const std::string path = scratch.Path("registry.ini");
    const bool exists = !before.isNull();
    if (exists) WriteBytes(path, before.toStdString());
    ProfileRegistry registry(path);
    QCOMPARE(RegisterServer(registry, "/m/libtorvix.so"), S_OK);
    // Registering twice changes nothing.
    const std::string once = ReadBytes(path);
    QCOMPARE(RegisterServer(registry, "/m/libtorvix.so"), S_OK);
    QCOMPARE(ReadBytes(path), once);
    QCOMPARE(UnregisterServer(registry), S_OK);
    std::string expected = before.toStdString();
    if (before == "[A]\nk=v\n\n[B]\nx=y") expected += "\n";  // the last line got its end
    QCOMPARE(ReadBytes(path), expected);
    // Unregistering what is not there succeeds and changes nothing.
    QCOMPARE(UnregisterServer(registry), S_OK);
    QCOMPARE(ReadBytes(path), expected);
}

void TestModule::failingRegistration_data() {
    QTest::addColumn<bool>("registering");
    QTest::addColumn<int>("failAt");
    QTest::addColumn<HRESULT>("expected");
    QTest::addColumn<bool>("classesTouched");
    const int lib = int(EntryCount(RegistrationPart::TypeLib));
    const int control = int(EntryCount(RegistrationPart::ControlClass));
    QTest::newRow("register: first type library key") << true << 0 << SELFREG_E_TYPELIB << false;
    QTest::newRow("register: last type library key") << true << lib - 1 << SELFREG_E_TYPELIB << false;
    QTest::newRow("register: control class") << true << lib << SELFREG_E_CLASS << true;
    QTest::newRow("register: property page") << true << lib + control << SELFREG_E_CLASS << true;
    QTest::newRow("register: nothing fails") << true << -1 << S_OK << true;
    QTest::newRow("unregister: type library") << false << 0 << SELFREG_E_TYPELIB << false;
    QTest::newRow("unregister: property page") << false << lib + control << SELFREG_E_CLASS << true;
    QTest::newRow("unregister: nothing fails") << false << -1 << S_OK << true;
}

void TestModule::failingRegistration() {
    QFETCH(bool, registering);
    QFETCH(int, failAt);
    QFETCH(HRESULT, expected);
    QFETCH(bool, classesTouched);
    FailingStore store;
    if (!registering) {
        QCOMPARE(RegisterServer(store, "m"), S_OK);
        store.calls = 0;
    }
    store.failAt = failAt;
    QCOMPARE(registering ? RegisterServer(store, "m") : UnregisterServer(store), expected);
    if (registering) {
        // A refused type library leaves the classes alone.
        QCOMPARE(store.calls > int(EntryCount(RegistrationPart::TypeLib)), classesTouched);
        QCOMPARE(store.HasSection(kPage), classesTouched && failAt != store.calls - 1);
    } else {
        // A refused type library removal leaves the classes registered.
        QCOMPARE(store.HasSection(kControl), !classesTouched);
    }
}

// Removing one key from a profile file: the key's line goes, an emptied
// section goes with its separating blank line, everything else stays.
void TestModule::deleteKey_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("one of two keys") << QByteArray("[S]\r\na=1\r\nb=2\r\n") << "S" << "a"
                                     << QByteArray("[S]\r\nb=2\r\n");
    QTest::newRow("names in any case") << QByteArray("[Sec]\r\nKey=1\r\nb=2\r\n") << "sEC"
                                       << "kEY" << QByteArray("[Sec]\r\nb=2\r\n");
    QTest::newRow("last key takes the section")
        << QByteArray("[A]\r\nx=1\r\n\r\n[S]\r\na=1\r\n\r\n[B]\r\ny=2\r\n") << "S" << "a"
        << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("first section") << QByteArray("[S]\na=1\n[B]\ny=2") << "S" << "a"
                                   << QByteArray("[B]\ny=2");
    QTest::newRow("a comment keeps the section")
        << QByteArray("[S]\r\n; note\r\na=1\r\n") << "S" << "a" << QByteArray("[S]\r\n; note\r\n");
    QTest::newRow("every section of the name")
        << QByteArray("[S]\r\nb=1\r\n[S]\r\na=1\r\n") << "S" << "a"
        << QByteArray("[S]\r\nb=1\r\n");
    QTest::newRow("missing key") << QByteArray("[S]\r\nb=1\r\n") << "S" << "a"
                                 << QByteArray("[S]\r\nb=1\r\n");
    QTest::newRow("missing section") << QByteArray("[T]\r\na=1\r\n") << "S" << "a"
                                     << QByteArray("[T]\r\na=1\r\n");
    QTest::newRow("missing file") << QByteArray() << "S" << "a" << QByteArray();
}

void TestModule::deleteKey() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    ScratchDirectory scratch;
    if (!before.isNull()) WriteBytes("p.ini", before.toStdString());
    QVERIFY(Profile("p.ini").DeleteKey(section.toStdString(), key.toStdString()));
    QCOMPARE(QFileInfo::exists("p.ini"), !before.isNull());
    if (!before.isNull()) QCOMPARE(QByteArray::fromStdString(ReadBytes("p.ini")), after);
}

void TestModule::registryPlace_data() {
    QTest::addColumn<QByteArray>("registry");
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("home");
    QTest::addColumn<QString>("path");
    QTest::newRow("own file") << QByteArray("/r/reg.ini") << QByteArray("/c") << QByteArray("/h")
                              << "/r/reg.ini";
    QTest::newRow("config folder") << QByteArray() << QByteArray("/c") << QByteArray("/h")
                                   << "/c/torvix/registry.ini";
    QTest::newRow("home") << QByteArray() << QByteArray() << QByteArray("/h")
                          << "/h/.config/torvix/registry.ini";
    QTest::newRow("nowhere") << QByteArray() << QByteArray() << QByteArray() << "";
}

void TestModule::registryPlace() {
    QFETCH(QByteArray, registry);
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, home);
    QFETCH(QString, path);
    EnvVar r("TORVIX_REGISTRY", registry), c("XDG_CONFIG_HOME", config), h("HOME", home);
    QCOMPARE(QString::fromStdString(RegistryFilePath()), path);
}

// In BoundaryCalls.c: every entry point and method called from C with null
// pointers and absurd counts; false with the first wrong answer.
extern "C" int TorvixBoundaryCalls(const char* modulePath, char* failure, size_t size);

void TestModule::carelessCallsFromC() {
    const QByteArray saved = qgetenv("TORVIX_REGISTRY");
    qputenv("TORVIX_REGISTRY", "/dev/full");
    char failure[512] = "";
    const bool ok = TorvixBoundaryCalls(TORVIX_MODULE, failure, sizeof failure) != 0;
    if (saved.isNull())
        qunsetenv("TORVIX_REGISTRY");
    else
        qputenv("TORVIX_REGISTRY", saved);
    QVERIFY2(ok, failure);
}

// Fifty processes register and unregister at once: every call succeeds, and
// the file holds a whole registration or none of it, never a part.
void TestModule::concurrentRegistrations() {
    ScratchDirectory scratch;
    const std::string path = scratch.Path("registry.ini");
    WriteBytes(path, kForeign);
    std::vector<RegistryEntry> whole;
    for (const RegistrationPart part :
         {RegistrationPart::TypeLib, RegistrationPart::ControlClass, RegistrationPart::PropPageClass})
        for (const RegistryEntry& e : RegistrationEntries(part, "/opt/torvix/libtorvix.so")) whole.push_back(e);
    auto presentCount = [&] {
        const ProfileEntries entries = Profile(path).Read();
        size_t present = 0;
        for (const RegistryEntry& e : whole) present += entries.GetString(e.section, e.key, "") == e.value ? 1 : 0;
        return present;
    };
    std::fflush(nullptr);
    std::vector<pid_t> children;
    for (int i = 0; i < 50; ++i) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ProfileRegistry registry(path);
            const HRESULT hr = i % 3 == 2 ? UnregisterServer(registry)
                                          : RegisterServer(registry, "/opt/torvix/libtorvix.so");
            std::_Exit(hr == S_OK ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const size_t present = presentCount();
    QVERIFY2(present == 0 || present == whole.size(), std::to_string(present).c_str());
    QCOMPARE(Profile(path).GetString("Other", "Key", ""), std::string("1"));
}

void TestModule::moduleEntryPoints() {
    auto module = LoadModule();
    QVERIFY(module);
    const TypeLibDesc* lib = module->TypeLib();
    QVERIFY(lib);
    QCOMPARE(lib->libid, LIBID_TORVIXLib);
    QCOMPARE(lib->interfaces.size(), size_t(2));
    QCOMPARE(lib->coclass.clsid, CLSID_Torvix);
    QCOMPARE(lib->Find(IID__DTorvix)->members.size(), size_t(10));
    QCOMPARE(lib->Find(IID__DTorvixEvents)->members.size(), size_t(6));

    struct Case {
        Guid clsid;
        Guid iid;
        HRESULT expected;
    } cases[] = {
        {CLSID_Torvix, IID_IClassFactory, S_OK},
        {CLSID_TorvixPropPage, IID_IClassFactory, S_OK},
        {CLSID_Torvix, IID_IUnknown, S_OK},
        {CLSID_Torvix, IID_IDispatch, E_NOINTERFACE},
        {LIBID_TORVIXLib, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {IID__DTorvix, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
    };
    for (const Case& c : cases) {
        void* object = reinterpret_cast<void*>(1);
        QCOMPARE(module->GetClassObject(c.clsid, c.iid, &object), c.expected);
        QCOMPARE(object != nullptr, c.expected == S_OK);
    }
    QCOMPARE(module->GetClassObject(CLSID_Torvix, IID_IClassFactory, nullptr), E_POINTER);
    // The module hides everything but its entry points.
    std::string error;
    QVERIFY(module->CanUnloadNow() == S_OK);
    QVERIFY(!TorvixModuleHandle::Load("/nonexistent/libtorvix.so", error));
    QVERIFY(!error.empty());
}

void TestModule::moduleRegistersIntoItsFile() {
    ScratchDirectory scratch;
    const std::string path = scratch.Path("sub/registry.ini");
    EnvVar r("TORVIX_REGISTRY", QByteArray::fromStdString(path));
    auto module = LoadModule();
    QVERIFY(module);
    QCOMPARE(module->Register(), S_OK);
    const Profile profile(path);
    const std::string server = profile.GetString(kControl, "InprocServer", "");
    QCOMPARE(QFileInfo(QString::fromStdString(server)).fileName(), QString(TORVIX_MODULE_NAME));
    QCOMPARE(QFileInfo(QString::fromStdString(server)).canonicalFilePath(),
             QFileInfo(TORVIX_MODULE).canonicalFilePath());
    QCOMPARE(profile.GetString(kPage, "InprocServer", ""), server);
    QCOMPARE(profile.GetString(kLib, "Module", ""), server);
    QCOMPARE(module->Unregister(), S_OK);
    QCOMPARE(ReadBytes(path), std::string());
}

void TestModule::moduleRefusesAnUnwritableRegistry() {
    ScratchDirectory scratch;
    WriteBytes("plain", "a file, not a folder");
    EnvVar r("TORVIX_REGISTRY", QByteArray::fromStdString(scratch.Path("plain/registry.ini")));
    auto module = LoadModule();
    QVERIFY(module);
    QCOMPARE(module->Register(), SELFREG_E_TYPELIB);
    // Nothing can be registered there, so nothing is left to remove.
    QCOMPARE(module->Unregister(), S_OK);
    QCOMPARE(ReadBytes("plain"), std::string("a file, not a folder"));
}

void TestModule::unloadFollowsObjectsAndLocks() {
    ScratchDirectory scratch;
    auto module = LoadModule();
    QVERIFY(module);
    QCOMPARE(module->CanUnloadNow(), S_OK);
    ComPtr<IClassFactory> factory;
    QCOMPARE(module->GetClassObject(CLSID_TorvixPropPage, IID_IClassFactory, factory.Out()), S_OK);
    // Holding a factory alone does not keep the module.
    QCOMPARE(module->CanUnloadNow(), S_OK);
    QCOMPARE(factory->LockServer(true), S_OK);
    QCOMPARE(module->CanUnloadNow(), S_FALSE);
    QCOMPARE(factory->LockServer(false), S_OK);
    QCOMPARE(module->CanUnloadNow(), S_OK);
    // An unlock too many does not hide a later lock.
    QCOMPARE(factory->LockServer(false), S_OK);
    QCOMPARE(factory->LockServer(true), S_OK);
    QCOMPARE(module->CanUnloadNow(), S_FALSE);
    QCOMPARE(factory->LockServer(false), S_OK);
    ComPtr<IPropertyPage> page;
    QCOMPARE(factory->CreateInstance(nullptr, &IID_IPropertyPage, page.Out()), S_OK);
    QCOMPARE(module->CanUnloadNow(), S_FALSE);
    page.Reset();
    QCOMPARE(module->CanUnloadNow(), S_OK);
}

// The entry points a host without Qt uses, here in a process whose own
// QApplication the module must leave alone; making one is the C host's
// test (example_host).
void TestModule::applicationForHostsWithoutQt() {
    void* handle = dlopen(TORVIX_MODULE, RTLD_NOW | RTLD_LOCAL);
    QVERIFY(handle);
    auto entry = [handle](const char* name) { return dlsym(handle, name); };
    auto version = reinterpret_cast<TorvixGetVersionFn>(entry("TorvixGetVersion"));
    auto initialize = reinterpret_cast<TorvixInitializeFn>(entry("TorvixInitialize"));
    auto uninitialize = reinterpret_cast<TorvixUninitializeFn>(entry("TorvixUninitialize"));
    auto run = reinterpret_cast<TorvixRunEventLoopFn>(entry("TorvixRunEventLoop"));
    auto quit = reinterpret_cast<TorvixQuitEventLoopFn>(entry("TorvixQuitEventLoop"));
    auto process = reinterpret_cast<TorvixProcessEventsFn>(entry("TorvixProcessEvents"));
    QVERIFY(version && initialize && uninitialize && run && quit && process);
    QCOMPARE(version(), uint32_t(TORVIX_VERSION));

    char name[] = "host";
    char* argv[] = {name, nullptr};
    int one = 1, none = 0, negative = -1;
    struct Case {
        int* argc;
        char** argv;
        TorvixResult expected;
    } cases[] = {
        {nullptr, nullptr, S_FALSE},  // the host's application stays
        {&one, argv, S_FALSE},
        {&none, nullptr, S_FALSE},
        {&negative, argv, E_INVALIDARG},
        {nullptr, argv, E_INVALIDARG},
        {&one, nullptr, E_POINTER},
    };
    for (const Case& c : cases) QCOMPARE(initialize(c.argc, c.argv), c.expected);
    QCOMPARE(uninitialize(), S_FALSE);
    QCOMPARE(quit(), S_FALSE);

    // The loop runs until a handler quits it, and refuses to nest.
    TorvixResult nested = S_OK, quitInLoop = S_FALSE;
    QTimer::singleShot(0, [&] {
        nested = run();
        quitInLoop = quit();
    });
    QCOMPARE(run(), S_OK);
    QCOMPARE(nested, E_UNEXPECTED);
    QCOMPARE(quitInLoop, S_OK);

    // A host's own loop: queued calls run and objects waiting to go go.
    bool ran = false;
    QMetaObject::invokeMethod(qApp, [&] { ran = true; }, Qt::QueuedConnection);
    QPointer<QObject> doomed = new QObject;
    doomed->deleteLater();
    QCOMPARE(process(), S_OK);
    QVERIFY(ran);
    QVERIFY(!doomed);

    // Another thread is refused everything but the version.
    std::vector<TorvixResult> fromThread;
    std::thread([&] {
        fromThread = {initialize(nullptr, nullptr), run(), quit(), process(), uninitialize()};
    }).join();
    QCOMPARE(fromThread, std::vector<TorvixResult>({E_UNEXPECTED, E_UNEXPECTED, E_UNEXPECTED,
                                                    E_UNEXPECTED, S_FALSE}));
    dlclose(handle);
}

// The control out of the real module: methods through dispatch, the window
// it opens, and events with a by-reference answer coming back to the host.
void TestModule::controlFromTheModule() {
    ScratchDirectory scratch;
    CPlcProgram program;
    QVERIFY(CompileProgramText(program, {"%P00", "N010 JMP N010", "END"}).success);
    std::string bin = "device.bin";
    QVERIFY(program.WriteBinaryFile(bin, false) != 0);

    auto module = LoadModule();
    QVERIFY(module);
    std::string error;
    std::unique_ptr<TorvixClient> client = TorvixClient::Create(module, error);
    QVERIFY2(client, error.c_str());
    QCOMPARE(module->CanUnloadNow(), S_FALSE);
    Events events;
    events.deviceAnswer = bin;
    client->Advise(&events);
    QVERIFY(!client->PlcSetFocus());
    QVERIFY(client->PlcCreate());
    QWidget* window = ModuleWindow();
    QVERIFY(window);
    QVERIFY(!Command(window, 32783)->isEnabled());
    QVERIFY(client->PlcSetOnline());
    QVERIFY(Command(window, 32783)->isEnabled());

    Command(window, 32783)->trigger();  // Read from device
    QCOMPARE(events.seen, QStringList{"FromDevice"});
    auto* source = window->findChild<QsciScintilla*>("source");
    QVERIFY(source);
    QVERIFY(source->text().contains("N010 JMP N010"));

    // The listed text is modified: the close asks, and the module's own
    // dialogs are the desktop's. Reading back an unmodified file avoids it.
    WriteBytes("prog.plc", "%P00\r\nN010 NOP\r\nEND\r\n");
    QVERIFY(client->PlcFileOpen(scratch.Path("prog.plc")));
    QCOMPARE(source->text(), QString("%P00\r\nN010 NOP\r\nEND\r\n"));
    QVERIFY(client->PlcDestroy());
    QCOMPARE(events.seen, QStringList({"FromDevice", "OnCancel"}));
    QVERIFY(!ModuleWindow());
    QVERIFY(!client->PlcDestroy());

    client.reset();
    QCOMPARE(module->CanUnloadNow(), S_OK);
}

QTEST_MAIN(TestModule)
#include "tst_module.moc"
