#include "apps/plcedit/PlcEditHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdlib>
#include <cstring>

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
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/plcedit/device";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/plcedit/device";
    return "./device";
}

// The control comes straight from the linked library here. Loading it from
// the component module instead changes this function only.
std::unique_ptr<CTorvixCtrl> CreateControl() { return std::make_unique<CTorvixCtrl>(); }

}  // namespace

const char* PlcEditUsage() {
    return "usage: plcedit [FILE.plc | FILE.bin] [--device DIR] [--archive DIR] [--online]\n";
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(name); value && *value) return true;
    return false;
}

bool ParsePlcEditOptions(int argc, char** argv, PlcEditOptions& options, std::string& error) {
    options.deviceDir = DefaultDeviceDir();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a folder";
                return false;
            }
            out = argv[++i];
            return true;
        };
        if (arg == "--device") {
            if (!value(options.deviceDir)) return false;
        } else if (arg == "--archive") {
            if (!value(options.archiveDir)) return false;
        } else if (arg == "--online") {
            options.online = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            error = "more than one file given";
            return false;
        }
    }
    return true;
}

PlcEditHost::PlcEditHost(PlcEditOptions options) : m_options(std::move(options)) {}

PlcEditHost::~PlcEditHost() {
    if (m_control) m_control->Advise(nullptr);
}

bool PlcEditHost::Start() {
    m_control = CreateControl();
    m_control->Advise(this);
    if (!m_control->PlcCreate()) return false;
    if (m_options.online) m_control->PlcSetOnline();
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

void PlcEditHost::PlcFileToArchiv(const std::string&) {}       // NOT BUILT YET: archive
void PlcEditHost::PlcFileFromArchiv(std::string&) {}           // NOT BUILT YET: archive
void PlcEditHost::PlcFileFromDevice(std::string&) {}           // NOT BUILT YET: device
void PlcEditHost::PlcFileToDevice(const std::string&) {}       // NOT BUILT YET: device
void PlcEditHost::PlcUpDateProjName(const std::string&, bool) {}

}  // namespace plc
