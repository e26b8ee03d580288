// The standalone editor as a host of the control: it creates the control,
// opens the editor, loads the file of the command line and answers the
// control's events. Closing the editor ends the application.
#pragma once

#include <memory>
#include <string>

#include "control/TorvixCtrl.h"

namespace plc {

struct PlcEditOptions {
    std::string file;        // FILE.plc or FILE.bin, may be empty
    std::string deviceDir;   // the folder standing in for the drive
    std::string archiveDir;  // the folder of the archive
    bool online = false;     // start with the drive online
};

// Reads the command line; false with `error` set on a usage error.
bool ParsePlcEditOptions(int argc, char** argv, PlcEditOptions& options, std::string& error);

const char* PlcEditUsage();

// True when a windowing system can be reached: DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM is set.
bool HasDisplay();

class PlcEditHost : public TorvixEvents {
public:
    explicit PlcEditHost(PlcEditOptions options);
    ~PlcEditHost() override;

    // Creates the control, opens the editor and loads the file; false when
    // the editor window cannot be opened.
    bool Start();
    CTorvixCtrl* Control() const { return m_control.get(); }

    // ---- events of the control ----
    void PlcOnCancel() override;
    // The exchange with device and archive comes with later work: until then
    // the host leaves the events unanswered.
    void PlcFileToArchiv(const std::string& lpFileName) override;
    void PlcFileFromArchiv(std::string& pbstrFileName) override;
    void PlcFileFromDevice(std::string& pbstrFileName) override;
    void PlcFileToDevice(const std::string& lpFileName) override;
    void PlcUpDateProjName(const std::string& lpProjName, bool bOnline) override;

private:
    PlcEditOptions m_options;
    std::unique_ptr<CTorvixCtrl> m_control;
};

}  // namespace plc
