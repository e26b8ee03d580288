// SPDX-License-Identifier: GPL-3.0-or-later
// The entry points of the component module libtorvix.so, with C linkage so
// that a host finds them by name (dlsym) after loading the module or links
// them: those of the public header torvix/torvix.h (documented there), and
// the type library as data for hosts built with the component layer.
#pragma once

#include "control/ComTypeInfo.h"
#include "torvix/torvix.h"

#define TORVIX_EXPORT __attribute__((visibility("default")))

extern "C" {

// Writes the type library and the two classes into the registry file; S_OK,
// SELFREG_E_TYPELIB or SELFREG_E_CLASS.
TORVIX_EXPORT TorvixResult DllRegisterServer(void);
// Removes what DllRegisterServer wrote; the same results.
TORVIX_EXPORT TorvixResult DllUnregisterServer(void);
// The class factory of the control or of the property page;
// CLASS_E_CLASSNOTAVAILABLE for any other class.
TORVIX_EXPORT TorvixResult DllGetClassObject(const TorvixGuid* clsid, const TorvixGuid* iid,
                                             void** object);
// S_OK when no object of the module and no server lock is left, else S_FALSE.
TORVIX_EXPORT TorvixResult DllCanUnloadNow(void);
// The version, the Qt application and its event loop, for hosts without
// Qt of their own (control/module/TorvixApplication.cpp).
TORVIX_EXPORT uint32_t TorvixGetVersion(void);
TORVIX_EXPORT TorvixResult TorvixInitialize(int* argc, char** argv);
TORVIX_EXPORT TorvixResult TorvixUninitialize(void);
TORVIX_EXPORT TorvixResult TorvixRunEventLoop(void);
TORVIX_EXPORT TorvixResult TorvixQuitEventLoop(void);
TORVIX_EXPORT TorvixResult TorvixProcessEvents(void);
// The module's type library as data: a plc::com::TypeLibDesc, opaque in the
// public header.
TORVIX_EXPORT TorvixResult DllGetTypeLib(const TorvixTypeLibrary** lib);

}  // extern "C"

namespace plc {

using DllRegisterServerFn = TorvixDllRegisterServerFn;
using DllUnregisterServerFn = TorvixDllUnregisterServerFn;
using DllGetClassObjectFn = TorvixDllGetClassObjectFn;
using DllCanUnloadNowFn = TorvixDllCanUnloadNowFn;
using DllGetTypeLibFn = TorvixDllGetTypeLibFn;

}  // namespace plc
