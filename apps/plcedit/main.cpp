// plcedit: the standalone PLC programme editor.
//   plcedit [FILE.plc | FILE.bin] [--device DIR] [--archive DIR] [--project DIR] [--online]
// Exit status 0 when the editor was closed, 2 on a usage error or without a
// display.
#include <QApplication>
#include <cstdio>

#include "apps/plcedit/PlcEditHost.h"

int main(int argc, char** argv) {
    plc::PlcEditOptions options;
    std::string error;
    if (!plc::ParsePlcEditOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "plcedit: %s\n%s", error.c_str(), plc::PlcEditUsage());
        return 2;
    }
    if (!plc::HasDisplay()) {
        std::fprintf(stderr,
                     "plcedit: no display: neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
                     "The editor needs a desktop session (or QT_QPA_PLATFORM=offscreen for a "
                     "run without a screen).\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("PlcEdit");
    QApplication::setQuitOnLastWindowClosed(false);
    plc::PlcEditHost host(options);
    if (!host.Start()) {
        std::fprintf(stderr, "plcedit: the editor window cannot be opened\n");
        return 1;
    }
    return app.exec();
}
