// SPDX-License-Identifier: GPL-3.0-or-later
// The control linked into the program, for a PlcEditHost whose dialogs are
// not the desktop's (the tests' scripted ones): created here with those
// dialogs and driven through dispatch, its events through the connection
// point, as the module's control is. The tests link this file; plcedit does
// not, and loads the module only.
#include "apps/plcedit/PlcEditHost.h"
#include "control/TorvixObjects.h"
#include "control/TorvixTypeLib.h"

namespace plc {

namespace {

std::unique_ptr<TorvixClient> CreateLinkedControl(Dialogs& dialogs, std::string& error) {
    com::ComPtr<com::IDispatch> control;
    if (CreateTorvixControl(dialogs, IID__DTorvix, control.Out()) != com::S_OK) {
        error = "the control cannot be created";
        return nullptr;
    }
    return TorvixClient::Attach(control.Get(), TorvixEventsDesc(), error);
}

// Set before main runs: a program that links this file offers the control.
const bool kLinked = (SetLinkedControl(&CreateLinkedControl), true);

}  // namespace

}  // namespace plc
