// SPDX-License-Identifier: GPL-3.0-or-later
// The standalone editor as a host of the control: it creates the control,
// opens the editor, loads the file of the command line and answers the
// control's events. Closing the editor ends the application.
//
// The drive is a folder: its file program.bin is the programme the drive
// holds. Save in device copies the announced binary programme file there,
// Read from device answers with it. The archive is a folder too: Save in
// file (device setting) copies the announced file into it under the
// programme's name (or, without a usable name or archive folder, under a name
// the user picks), Read from file (device setting) offers its files in an
// open-file dialog.
#pragma once

#include <memory>
#include <string>

#include "control/TorvixClient.h"
#include "control/TorvixCtrl.h"
#include "platform/Dialogs.h"

namespace plc {

struct PlcEditOptions {
    std::string file;        // FILE.plc or FILE.bin, may be empty
    std::string deviceDir;   // the folder standing in for the drive
    std::string archiveDir;  // the folder of the archive
    std::string projectDir;  // the control's project path; empty: the control's default
    std::string tmpFile;     // the control's temporary file; empty: the control's default
    bool online = false;     // start with the drive online
    bool help = false;       // --help: print PlcEditHelp() and end
    bool version = false;    // --version: print PlcEditVersion() and end
};

// The per-process temporary file of plcedit: in $XDG_RUNTIME_DIR, else in the
// temporary folder, named after the process.
std::string PlcEditTmpFile();

// Reads the command line; false with `error` set on a usage error. The
// project folder is --project, else the archive folder; the temporary file is
// PlcEditTmpFile().
bool ParsePlcEditOptions(int argc, char** argv, PlcEditOptions& options, std::string& error);

// The text of --help: the synopsis and every option with what it does.
std::string PlcEditHelp();
// The text of --version: the project's version, copyright and licence.
std::string PlcEditVersion();

// The file in the device folder that stands for the drive's programme.
inline constexpr const char* kDeviceProgramFile = "program.bin";

// The archive file name of a programme: its name with the extension bin;
// empty when the name cannot be a file name of its own (empty, ".", "..",
// or holding a separator or a NUL).
std::string ArchiveFileName(const std::string& programName);

// True when a windowing system can be reached: DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM is set.
bool HasDisplay();

// How a host whose dialogs are not the desktop's (the tests' scripted ones)
// gets its control: one linked into the program, with those dialogs; null,
// and with `error` set, when it cannot be made. The program that links
// PlcEditLinked.cpp has it; plcedit does not link it, so that its
// executable does not carry a second copy of the editor beside the module.
using LinkedControlFactory = std::unique_ptr<TorvixClient> (*)(Dialogs& dialogs, std::string& error);
void SetLinkedControl(LinkedControlFactory factory);

class PlcEditHost : public TorvixEvents {
public:
    // Message boxes and file dialogs of the editor and of the host go to `dialogs`.
    explicit PlcEditHost(PlcEditOptions options, Dialogs& dialogs = DesktopDialogs());
    ~PlcEditHost() override;

    // Creates the control, gives it the temporary file name and the project
    // path, opens the editor and loads the file; false when the editor window
    // cannot be opened. The temporary file is removed when the host ends.
    bool Start();
    TorvixClient* Control() const { return m_control.get(); }

    // ---- events of the control ----
    void PlcOnCancel() override;
    void PlcFileToArchiv(const std::string& lpFileName) override;
    void PlcFileFromArchiv(std::string& pbstrFileName) override;
    void PlcFileFromDevice(std::string& pbstrFileName) override;
    void PlcFileToDevice(const std::string& lpFileName) override;
    void PlcUpDateProjName(const std::string& lpProjName, bool bOnline) override;

    const PlcEditOptions& Options() const { return m_options; }
    // The full path of the drive's programme file: program.bin in the device folder.
    std::string DeviceFile() const;

private:
    // The editor of the control, which lives in the module the control came
    // from (or beside the linked control); its window parents the host's
    // dialogs. Null without a control or window.
    EditorLink* Editor() const;
    QWidget* EditorWindow() const;
    // Copies `source` to `target` safely, creating the target's folder; a
    // failure is shown in a message box with its reason, success in the
    // editor's status bar.
    bool CopyProgramFile(const std::string& source, const std::string& target);
    void ShowError(const std::string& text);

    PlcEditOptions m_options;
    Dialogs& m_dialogs;
    std::string m_projName;  // the programme name of the last save
    std::unique_ptr<TorvixClient> m_control;
};

}  // namespace plc
