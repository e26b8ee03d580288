// SPDX-License-Identifier: GPL-3.0-or-later
// The control's identifiers and its type library as data: the dispatch
// interface with the nine methods, the event interface with the six events
// and the control class. The same tables drive the dispatch of calls and
// events, the name look-up and what a host reads from the module.
#pragma once

#include "control/ComTypeInfo.h"

namespace plc {

inline constexpr com::Guid LIBID_TORVIXLib = TORVIX_LIBID_TORVIXLIB_INIT;
inline constexpr com::Guid IID__DTorvix = TORVIX_IID_DTORVIX_INIT;
inline constexpr com::Guid IID__DTorvixEvents = TORVIX_IID_DTORVIXEVENTS_INIT;
inline constexpr com::Guid CLSID_Torvix = TORVIX_CLSID_TORVIX_INIT;
inline constexpr com::Guid CLSID_TorvixPropPage = TORVIX_CLSID_TORVIXPROPPAGE_INIT;

inline constexpr uint16_t kTypeLibMajor = 1;
inline constexpr uint16_t kTypeLibMinor = 0;

inline constexpr const char* kControlProgId = TORVIX_PROGID_CONTROL;
inline constexpr const char* kPropPageProgId = "TORVIX.TorvixPropPage.1";

// Miscellaneous status of the control: set client site first, invisible at
// run time, inside-out, can't link inside, recompose on resize.
inline constexpr uint32_t kControlMiscStatus = 0x20491;
// Resource ids of the user type names and the toolbox bitmap.
inline constexpr int kControlTypeNameId = 1;
inline constexpr int kPropPageTypeNameId = 2;
inline constexpr int kToolboxBitmapId = 1;

// The version stamp of the control's persistent state (major 1, minor 0).
inline constexpr uint32_t kControlVersionStamp = 0x00010000;

// The library TORVIXLib: _DTorvix, _DTorvixEvents and the class Torvix.
const com::TypeLibDesc& TorvixTypeLib();
const com::InterfaceDesc& TorvixDispatchDesc();
const com::InterfaceDesc& TorvixEventsDesc();

}  // namespace plc
