// The entry points of the component module libtorvix.so, with C linkage so
// that a host finds them by name (dlsym) after loading the module.
#pragma once

#include "control/Component.h"

#define TORVIX_EXPORT __attribute__((visibility("default")))

extern "C" {

// Writes the type library and the two classes into the registry file; S_OK,
// SELFREG_E_TYPELIB or SELFREG_E_CLASS.
TORVIX_EXPORT plc::com::HRESULT DllRegisterServer();
// Removes what DllRegisterServer wrote; the same results.
TORVIX_EXPORT plc::com::HRESULT DllUnregisterServer();
// The class factory of the control or of the property page;
// CLASS_E_CLASSNOTAVAILABLE for any other class.
TORVIX_EXPORT plc::com::HRESULT DllGetClassObject(const plc::com::Guid* clsid,
                                                  const plc::com::Guid* iid, void** object);
// S_OK when no object of the module and no server lock is left, else S_FALSE.
TORVIX_EXPORT plc::com::HRESULT DllCanUnloadNow();
// The module's type library as data.
TORVIX_EXPORT plc::com::HRESULT DllGetTypeLib(const plc::com::TypeLibDesc** lib);

}  // extern "C"

namespace plc {

using DllRegisterServerFn = com::HRESULT (*)();
using DllUnregisterServerFn = com::HRESULT (*)();
using DllGetClassObjectFn = com::HRESULT (*)(const com::Guid*, const com::Guid*, void**);
using DllCanUnloadNowFn = com::HRESULT (*)();
using DllGetTypeLibFn = com::HRESULT (*)(const com::TypeLibDesc**);

}  // namespace plc
