// SPDX-License-Identifier: GPL-3.0-or-later
// The module's entry points for hosts without Qt of their own: the Qt
// application the editor's window needs, its event loop, and the version of
// the interface. A C host calls these instead of running a QApplication.
#include <dlfcn.h>

#include <QApplication>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "control/ComRefCount.h"
#include "control/TorvixModule.h"

namespace {

using plc::com::HRESULT;

// The application TorvixInitialize made; the host's own is not the
// module's to destroy.
QApplication* g_madeApplication = nullptr;
std::mutex g_initializeMutex;

// The program name for a host that passes no arguments; Qt keeps the
// count and the array for the application's life.
char g_programName[] = "torvix";
char* g_defaultArgv[] = {g_programName, nullptr};
int g_defaultArgc = 1;

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Whether Qt has a window system to open: without one it ends the process
// instead of failing.
bool DisplayNamed(int argc, char** argv) {
    if (IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return true;
    for (int i = 1; i < argc; ++i)
        if (argv[i] && (!std::strcmp(argv[i], "-platform") || !std::strcmp(argv[i], "--platform")))
            return true;
    return false;
}

// Once the module has made an application, its code must stay mapped for
// that application's life, whatever dlclose the host calls.
void KeepModuleLoaded() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&TorvixInitialize), &info) && info.dli_fname)
        dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}

// The application, when the calling thread is its thread; else nullptr.
QCoreApplication* ApplicationOfThisThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && app->thread() == QThread::currentThread() ? app : nullptr;
}

}  // namespace

uint32_t TorvixGetVersion() { return TORVIX_VERSION; }

TorvixResult TorvixInitialize(int* argc, char** argv) {
    if (argc ? *argc < 0 : argv != nullptr) return plc::com::E_INVALIDARG;
    if (argc && *argc > 0 && !argv) return plc::com::E_POINTER;
    const std::lock_guard lock(g_initializeMutex);
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        // The editor needs widgets, and every call on the application's
        // thread.
        if (!qobject_cast<QApplication*>(existing)) return plc::com::E_UNEXPECTED;
        return ApplicationOfThisThread() ? plc::com::S_FALSE : plc::com::E_UNEXPECTED;
    }
    if (!argc) {
        argc = &g_defaultArgc;
        argv = g_defaultArgv;
    }
    if (!DisplayNamed(*argc, argv)) return plc::com::E_FAIL;
    g_madeApplication = new QApplication(*argc, argv);
    // The host ends the loop (TorvixQuitEventLoop), not the editor's close.
    g_madeApplication->setQuitOnLastWindowClosed(false);
    KeepModuleLoaded();
    return plc::com::S_OK;
}

TorvixResult TorvixUninitialize() {
    const std::lock_guard lock(g_initializeMutex);
    if (!g_madeApplication) return plc::com::S_FALSE;
    if (!ApplicationOfThisThread() || QThread::currentThread()->loopLevel() > 0 ||
        plc::com::ModuleObjectCount() > 0)
        return plc::com::E_UNEXPECTED;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete g_madeApplication;
    g_madeApplication = nullptr;
    return plc::com::S_OK;
}

TorvixResult TorvixRunEventLoop() {
    if (!ApplicationOfThisThread() || QThread::currentThread()->loopLevel() > 0)
        return plc::com::E_UNEXPECTED;
    QCoreApplication::exec();
    return plc::com::S_OK;
}

TorvixResult TorvixQuitEventLoop() {
    if (!ApplicationOfThisThread()) return plc::com::E_UNEXPECTED;
    if (QThread::currentThread()->loopLevel() == 0) return plc::com::S_FALSE;
    QCoreApplication::exit(0);
    return plc::com::S_OK;
}

TorvixResult TorvixProcessEvents() {
    if (!ApplicationOfThisThread()) return plc::com::E_UNEXPECTED;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Outside any loop, windows closed by deleteLater would wait for one.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return plc::com::S_OK;
}
