// SPDX-License-Identifier: GPL-3.0-or-later
#include "apps/plcedit/PlcEditHost.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/SafeWrite.h"
#include "base/WholeFile.h"
#include "base/XdgFolders.h"
#include "editor/EditorLink.h"
#include "image/PlcProgram.h"
#include "platform/Text.h"

namespace plc {

namespace {

bool EndsWith(const std::string& s, const char* suffix) {
    const size_t n = std::strlen(suffix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char c = s[s.size() - n + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

std::string DefaultDeviceDir() {
    const std::string data = XdgFolder(XdgKind::Data);
    return data.empty() ? std::string("./device") : data + "/plcedit/device";
}

// The control linked into the program, for hosts with dialogs of their own
// (PlcEditLinked.cpp sets it; plcedit itself does not link it).
LinkedControlFactory& LinkedControl() {
    static LinkedControlFactory factory = nullptr;
    return factory;
}

// The control comes from the component module libtorvix.so beside the
// executable or in the installation's library folder, whose editor shows the
// desktop's dialogs. A host that brings dialogs of its own (the tests'
// scripted ones) gets the linked control instead, driven the same way:
// through dispatch, its events through the connection point. nullptr, with
// the reason on stderr, when there is none.
std::unique_ptr<TorvixClient> CreateControl(Dialogs& dialogs) {
    std::string error;
    std::unique_ptr<TorvixClient> client;
    if (&dialogs == &DesktopDialogs()) {
        if (auto module = TorvixModuleHandle::Load(FindTorvixModule(), error))
            client = TorvixClient::Create(std::move(module), error);
    } else if (LinkedControl() != nullptr) {
        client = LinkedControl()(dialogs, error);
    } else {
        error = "no control is linked into this program";
    }
    if (!client) std::fprintf(stderr, "plcedit: %s\n", error.c_str());
    return client;
}

// The file dialogs of the archive.
FileDialogRequest ArchiveRequest(const std::string& archiveDir) {
    return {archiveDir.empty() ? std::string("./") : archiveDir,
            "Binary programme files (*.bin)|*.bin|All files (*.*)|*.*|", "bin"};
}

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path) {
    const size_t sep = path.find_last_of('/');
    if (sep == std::string::npos) return ".";
    return sep == 0 ? std::string("/") : path.substr(0, sep);
}

}  // namespace

void SetLinkedControl(LinkedControlFactory factory) { LinkedControl() = factory; }

std::string PlcEditTmpFile() {
    std::string folder = XdgFolder(XdgKind::Runtime);
    if (folder.empty()) folder = FileNameToBytes(QDir::tempPath());
    return JoinPath(folder, "plcedit-" + std::to_string(static_cast<long>(::getpid())) + ".bin");
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(name); value && *value) return true;
    return false;
}

namespace {

// The command line's options, for parsing and for --help alike.
void DefineOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription("The editor of the PLC programmes of the servo drive.");
    parser.addPositionalArgument("FILE", "A source text file (.plc) to open, or a binary programme file (.bin) to decode into source text.",
                                 "[FILE.plc | FILE.bin]");
    parser.addOption({"device", "The folder standing in for the drive: its program.bin is the programme the drive holds (default ~/.local/share/plcedit/device).", "DIR"});
    parser.addOption({"archive", "The archive folder, whose files Save in file and Read from file offer.", "DIR"});
    parser.addOption({"project", "The project folder, where saving to the device or the archive writes the text declaration file (default: the archive folder).", "DIR"});
    parser.addOption({"online", "Start with the drive online: the device commands are enabled."});
    // Qt's own help and version options would announce its options too
    // (--help-all), which plcedit does not take.
    parser.addOption({{"h", "help"}, "Print this help and exit."});
    parser.addOption({{"v", "version"}, "Print the version and exit."});
}

}  // namespace

bool ParsePlcEditOptions(int argc, char** argv, PlcEditOptions& options, std::string& error) {
    options.deviceDir = DefaultDeviceDir();
    QCommandLineParser parser;
    DefineOptions(parser);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments)) {
        error = ToBytes(parser.errorText());
        return false;
    }
    options.help = parser.isSet("help");
    options.version = parser.isSet("version");
    if (parser.isSet("device")) options.deviceDir = FileNameToBytes(parser.value("device"));
    options.archiveDir = FileNameToBytes(parser.value("archive"));
    options.projectDir = FileNameToBytes(parser.value("project"));
    options.online = parser.isSet("online");
    const QStringList files = parser.positionalArguments();
    if (!files.empty()) options.file = FileNameToBytes(files.front());
    if (files.size() > 1) {
        error = "more than one file given";
        return false;
    }
    if (options.projectDir.empty()) options.projectDir = options.archiveDir;
    options.tmpFile = PlcEditTmpFile();
    return true;
}

std::string PlcEditHelp() {
    QCommandLineParser parser;
    DefineOptions(parser);
    // Without an application object the parser cannot know the programme's name.
    return ToBytes(parser.helpText().replace("<executable_name>", "plcedit"));
}

std::string PlcEditVersion() {
    return "plcedit (PlcEdit) " PLCEDIT_VERSION "\n"
           "Copyright (C) 2026 the PlcEdit developers\n"
           "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

std::string ArchiveFileName(const std::string& programName) {
    if (programName.empty() || programName == "." || programName == "..") return {};
    if (programName.find_first_of(std::string("/\\\0", 3)) != std::string::npos) return {};
    return programName + ".bin";
}

PlcEditHost::PlcEditHost(PlcEditOptions options, Dialogs& dialogs)
    : m_options(std::move(options)), m_dialogs(dialogs) {}

PlcEditHost::~PlcEditHost() {
    if (m_control) m_control->Advise(nullptr);
    if (!m_options.tmpFile.empty()) ::unlink(m_options.tmpFile.c_str());
}

bool PlcEditHost::Start() {
    m_control = CreateControl(m_dialogs);
    if (!m_control) return false;
    m_control->Advise(this);
    // As every host should: its own temporary file and project folder before
    // the editor opens, not the control's defaults in the current folder.
    if (!m_options.tmpFile.empty()) m_control->PlcSetTmpFileName(m_options.tmpFile);
    if (!m_options.projectDir.empty()) m_control->PlcSetPlcProjPath(m_options.projectDir);
    if (!m_control->PlcCreate()) return false;
    if (m_options.online) m_control->PlcSetOnline();
    // The standalone editor offers the dry run; the control keeps it grayed
    // for hosts that do not ask for it.
    m_control->PlcSetSimulation(true);
    if (!m_options.file.empty()) {
        // The full path, so that the recent-file entry finds the file again
        // from any folder.
        const std::string path =
            FileNameToBytes(QFileInfo(FileNameToQString(m_options.file)).absoluteFilePath());
        if (EndsWith(path, ".bin"))
            m_control->PlcBinaryFileOpen(path);
        else
            m_control->PlcFileOpen(path);
    }
    return true;
}

void PlcEditHost::PlcOnCancel() {
    // exit, not quit: quit would first try to close the windows, and the
    // editor's window is already on its way.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                              Qt::QueuedConnection);
}

std::string PlcEditHost::DeviceFile() const {
    return FullPath(JoinPath(m_options.deviceDir, kDeviceProgramFile));
}

EditorLink* PlcEditHost::Editor() const { return m_control ? m_control->Editor() : nullptr; }

QWidget* PlcEditHost::EditorWindow() const {
    const EditorLink* editor = Editor();
    return editor ? editor->Window() : nullptr;
}

void PlcEditHost::ShowError(const std::string& text) {
    m_dialogs.Ask(EditorWindow(), text, MsgButtons::Ok, MsgIcon::Stop);
}

bool PlcEditHost::CopyProgramFile(const std::string& source, const std::string& target) {
    std::string data;
    if (const FileRead read = ReadWholeFile(source, data, {kMaxBinaryFileBytes, false}); !read) {
        ShowError("The programme file cannot be read:\n" + source + "\n" + read.Reason());
        return false;
    }
    std::string why;
    if (!QDir().mkpath(FileNameToQString(FolderOf(target)))) {
        why = "the folder cannot be created";
    } else if (WriteFileSafely(target, data, &why)) {
        // The message list names the temporary file the editor wrote; the
        // status bar names where the programme went.
        if (EditorLink* editor = Editor())
            editor->ShowStatusMessage("The programme file was copied to " + target + " (from " + source + ")");
        return true;
    }
    ShowError("The programme file could not be copied to\n" + target + "\n" + why);
    return false;
}

void PlcEditHost::PlcFileToArchiv(const std::string& lpFileName) {
    const std::string name = ArchiveFileName(m_projName);
    std::string target;
    if (!m_options.archiveDir.empty() && !name.empty()) {
        target = JoinPath(m_options.archiveDir, name);
    } else {
        if (!m_dialogs.SaveFileName(EditorWindow(), ArchiveRequest(m_options.archiveDir), target)) return;
    }
    CopyProgramFile(lpFileName, target);
}

void PlcEditHost::PlcFileFromArchiv(std::string& pbstrFileName) {
    std::string chosen;
    // Cancel leaves the offer as it came: the editor then reads nothing.
    if (m_dialogs.OpenFileName(EditorWindow(), ArchiveRequest(m_options.archiveDir), chosen))
        pbstrFileName = chosen;
}

void PlcEditHost::PlcFileFromDevice(std::string& pbstrFileName) { pbstrFileName = DeviceFile(); }

void PlcEditHost::PlcFileToDevice(const std::string& lpFileName) {
    CopyProgramFile(lpFileName, DeviceFile());
}

// Save in file (device setting) names the programme before it announces the
// file; the archive copy takes that name.
void PlcEditHost::PlcUpDateProjName(const std::string& lpProjName, bool) {
    m_projName = lpProjName;
}

}  // namespace plc
