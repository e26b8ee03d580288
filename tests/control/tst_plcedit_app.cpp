// SPDX-License-Identifier: GPL-3.0-or-later
// The standalone editor: its command line, the refusal without a display,
// and the host that loads the control module, opens the editor on a file
// and ends with it.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "apps/plcedit/PlcEditHost.h"
#include "editor/EditorTestSupport.h"
#include "platform/SourceEdit.h"
#include "platform/StatusBar.h"

#include <Qsci/qsciscintilla.h>

using namespace plc;
using namespace plc::test;

namespace {

// Runs plcedit with `arguments` in an environment without any display.
void StartWithoutDisplay(QProcess& process, const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(env);
    process.start(PLCEDIT_BINARY, arguments);
}

}  // namespace

class TestPlcEditApp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void commandLine_data();
    void commandLine();
    void helpAndVersion();
    void refusesToStartWithoutDisplay();
    // Before the editor ends the application: once it has, no modal
    // dialog runs its event loop any more in this process.
    void hostReachesTheModulesEditor_data();
    void hostReachesTheModulesEditor();
    void opensTheFileAndEndsWithTheEditor();
};

void TestPlcEditApp::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("online");
    QTest::newRow("nothing") << QStringList{} << true << "" << false;
    QTest::newRow("file and options") << QStringList{"a.plc", "--online", "--device", "/d", "--archive", "/a"}
                                      << true << "a.plc" << true;
    QTest::newRow("folder missing") << QStringList{"--device"} << false << "" << false;
    QTest::newRow("unknown option") << QStringList{"--help-me"} << false << "" << false;
    QTest::newRow("two files") << QStringList{"a.plc", "b.plc"} << false << "a.plc" << false;
    QTest::newRow("help") << QStringList{"--help", "a.plc"} << true << "a.plc" << false;
    QTest::newRow("version") << QStringList{"-v"} << true << "" << false;
}

void TestPlcEditApp::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(bool, ok);
    QFETCH(QString, file);
    QFETCH(bool, online);
    std::vector<std::string> storage{"plcedit"};
    for (const QString& a : args) storage.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& s : storage) argv.push_back(s.data());
    PlcEditOptions options;
    std::string error;
    QCOMPARE(ParsePlcEditOptions(int(argv.size()), argv.data(), options, error), ok);
    QCOMPARE(error.empty(), ok);
    QCOMPARE(QString::fromStdString(options.file), file);
    QCOMPARE(options.online, online);
    if (ok && args.contains("--device")) QCOMPARE(options.deviceDir, std::string("/d"));
    QCOMPARE(options.help, args.contains("--help"));
    QCOMPARE(options.version, args.contains("-v"));
}

// --help and --version answer without a display; every option --help names
// is in the manual page too.
void TestPlcEditApp::helpAndVersion() {
    QFile manual(PLCEDIT_SOURCE_DIR "/docs/man/plcedit.1");
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(manual.readAll());
    for (const char* option : {"--help", "--version"}) {
        QProcess process;
        StartWithoutDisplay(process, {option});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        if (option == std::string("--version")) {
            QVERIFY2(out.startsWith("plcedit (PlcEdit) "), qPrintable(out));
            continue;
        }
        const QRegularExpression longOption("--([a-z]+)");
        int options = 0;
        for (const QRegularExpressionMatch& m : longOption.globalMatch(out)) {
            QVERIFY2(page.contains("\\-\\-" + m.captured(1)), qPrintable(m.captured(0)));
            ++options;
        }
        QVERIFY(options >= 6);  // --device, --archive, --project, --online, --help, --version
    }
}

void TestPlcEditApp::refusesToStartWithoutDisplay() {
    QProcess process;
    StartWithoutDisplay(process, {PLCEDIT_SOURCE_DIR "/examples/jumps.plc"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().contains("no display"));
}

// The host loads the control from libtorvix.so beside the executable: the
// editor is seen here only through its widgets.
void TestPlcEditApp::opensTheFileAndEndsWithTheEditor() {
    ScratchDirectory scratch;
    WriteBytes("prog.plc", "%P00\r\nN010 NOP\r\nEND\r\n");
    PlcEditOptions options;
    options.file = "prog.plc";
    options.online = true;
    PlcEditHost host(options);
    QVERIFY(host.Start());
    QVERIFY(host.Control()->Module() != nullptr);
    QWidget* window = ModuleWindow();
    QVERIFY(window);
    // The editor the host reaches through its control is the module's.
    QCOMPARE(host.Control()->Editor()->Window(), window);
    auto* source = window->findChild<QsciScintilla*>("source");
    QVERIFY(source);
    QCOMPARE(source->text(), QString("%P00\r\nN010 NOP\r\nEND\r\n"));
    // The file is opened under its full path, so Recent file finds it from
    // any folder; the title shows it from the start, before the window's
    // timer first runs.
    QVERIFY(window->windowTitle().contains(QDir::currentPath() + "/prog.plc"));
    QAction* exit = nullptr;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->data().toInt() == 32784) QVERIFY(action->isEnabled());
        if (action->data().toInt() == 32786) exit = action;
    }
    QVERIFY(exit);

    // Closing the editor ends the application's event loop.
    QPointer<QWidget> alive(window);
    QEventLoop loop;
    QTimer::singleShot(0, exit, [exit] { exit->trigger(); });
    QTimer::singleShot(5000, &loop, [&loop] { loop.exit(99); });
    QCOMPARE(loop.exec(), 0);
    QTRY_VERIFY(!alive || !alive->isVisible());
}

// Save in device with the editor of the module: a copy is confirmed in the
// editor's status bar, a failed one in a message box on the editor window.
void TestPlcEditApp::hostReachesTheModulesEditor_data() {
    QTest::addColumn<bool>("deviceWritable");
    QTest::newRow("copied") << true;
    QTest::newRow("device folder cannot be made") << false;
}

void TestPlcEditApp::hostReachesTheModulesEditor() {
    QFETCH(bool, deviceWritable);
    ScratchDirectory scratch;
    WriteBytes("prog.plc", "%P00\r\nN010 NOP\r\nEND\r\n");
    // A device folder below a plain file cannot be made.
    WriteBytes("blocker", "");
    PlcEditOptions options;
    options.file = "prog.plc";
    options.online = true;
    options.deviceDir = scratch.Path(deviceWritable ? "device" : "blocker/device");
    PlcEditHost host(options);
    QVERIFY(host.Start());
    QWidget* window = ModuleWindow();
    QVERIFY(window);
    QAction* saveInDevice = Command(window, 32784);
    QVERIFY(saveInDevice && saveInDevice->isEnabled());

    QPointer<QWidget> boxParent;
    QString boxText;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxParent = box->parentWidget();
            boxText = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    watch.start(20);
    saveInDevice->trigger();
    watch.stop();

    auto* bar = window->findChild<QWidget*>("statusbar");
    QVERIFY(bar);
    QCOMPARE(QString(bar->metaObject()->className()), QString("plc::StatusBar"));
    const std::string note = static_cast<StatusBar*>(bar)->Text(1);
    if (deviceWritable) {
        QVERIFY2(note.starts_with("The programme file was copied to " + host.DeviceFile()), note.c_str());
        QVERIFY(boxText.isEmpty());
    } else {
        QVERIFY2(boxText.startsWith("The programme file could not be copied to"), qPrintable(boxText));
        QCOMPARE(boxParent.data(), window);
        QVERIFY(note.empty());
    }
}

QTEST_MAIN(TestPlcEditApp)
#include "tst_plcedit_app.moc"
