// SPDX-License-Identifier: GPL-3.0-or-later
// plcedit: the standalone PLC programme editor.
//   plcedit [FILE.plc | FILE.bin] [--device DIR] [--archive DIR] [--project DIR] [--online]
//   plcedit --help | --version
// Exit status 0 when the editor was closed (or after --help, --version), 2 on
// a usage error or without a display.
#include <QApplication>
#include <cstdio>

#include "apps/plcedit/PlcEditHost.h"

int main(int argc, char** argv) {
    plc::PlcEditOptions options;
    std::string error;
    if (!plc::ParsePlcEditOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "plcedit: %s\nTry 'plcedit --help' for more information.\n", error.c_str());
        return 2;
    }
    if (options.help || options.version) {
        const std::string text = options.help ? plc::PlcEditHelp() : plc::PlcEditVersion();
        std::fputs(text.c_str(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
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
