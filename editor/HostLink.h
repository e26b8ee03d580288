// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor needs of its control: the two file locations the host set
// and the six events to the host. The control implements it; the editor
// holds it as its back-reference (m_pControl), so the editor does not depend
// on the control's own code.
//
// The firing functions restate the events of the control's interface list
// (control/TorvixInterface.h), which the editor, below the control, cannot
// include: the control checks them against the list when it is compiled
// (names, parameters, results, and no function beyond the list).
#pragma once

#include <string>

namespace plc {

class HostLink {
public:
    virtual ~HostLink() = default;

    // Copy the location out; true when it is not empty.
    virtual bool GetTmpFileName(std::string& name) const = 0;
    virtual bool GetPlcProjPath(std::string& path) const = 0;

    virtual void FirePlcFileToArchiv(const std::string& fileName) = 0;
    // Offer the host a name to replace; true when its answer is not empty.
    virtual bool FirePlcFileFromArchiv(std::string& fileName) = 0;
    virtual void FirePlcOnCancel() = 0;
    virtual bool FirePlcFileFromDevice(std::string& fileName) = 0;
    virtual void FirePlcFileToDevice(const std::string& fileName) = 0;
    virtual void FirePlcUpDateProjName(const std::string& projName, bool online) = 0;
};

}  // namespace plc
