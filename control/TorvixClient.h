// SPDX-License-Identifier: GPL-3.0-or-later
// The host's side of the module: loading libtorvix.so, creating the control
// through its class factory, advising an event sink and calling the methods
// through dispatch. Plain C++; the control's code stays in the module.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "control/ComInterfaces.h"
#include "control/ComRefCount.h"
#include "control/TorvixCtrl.h"
#include "control/TorvixModule.h"

namespace plc {

// The module's file name beside the running executable.
std::string ModuleBesideExecutable();

// The module a host in `exeDir` loads: beside it (a build tree), else in the
// library folder relative to it (an installed tree, wherever its prefix is).
// Without either, the bare name, which dlopen looks up in the library path.
std::string FindTorvixModule(const std::string& exeDir);
// The same for the running executable's folder.
std::string FindTorvixModule();

// A loaded module and its entry points.
class TorvixModuleHandle {
public:
    // Loads the module at `path`; nullptr with `error` set when it cannot be
    // loaded or lacks an entry point.
    static std::shared_ptr<TorvixModuleHandle> Load(const std::string& path, std::string& error);
    ~TorvixModuleHandle();
    TorvixModuleHandle(const TorvixModuleHandle&) = delete;
    TorvixModuleHandle& operator=(const TorvixModuleHandle&) = delete;

    com::HRESULT GetClassObject(const com::Guid& clsid, const com::Guid& iid, void** object) const;
    com::HRESULT CanUnloadNow() const { return m_canUnloadNow(); }
    com::HRESULT Register() const { return m_register(); }
    com::HRESULT Unregister() const { return m_unregister(); }
    // The module's type library; nullptr when it does not give one.
    const com::TypeLibDesc* TypeLib() const;

private:
    TorvixModuleHandle() = default;

    void* m_handle = nullptr;
    DllRegisterServerFn m_register = nullptr;
    DllUnregisterServerFn m_unregister = nullptr;
    DllGetClassObjectFn m_getClassObject = nullptr;
    DllCanUnloadNowFn m_canUnloadNow = nullptr;
    DllGetTypeLibFn m_getTypeLib = nullptr;
};

// One control of a module, driven through its dispatch interface. The
// methods answer as the control's own do; a call the control refuses
// answers false.
class TorvixClient {
public:
    // Creates the control through the module's class factory; nullptr with
    // `error` set when that fails.
    static std::unique_ptr<TorvixClient> Create(std::shared_ptr<TorvixModuleHandle> module,
                                                std::string& error);
    // Drives a control created otherwise (the linked one), whose events
    // `events` describes; takes a reference of its own.
    static std::unique_ptr<TorvixClient> Attach(com::IDispatch* control,
                                                const com::InterfaceDesc& events,
                                                std::string& error);
    ~TorvixClient();
    TorvixClient(const TorvixClient&) = delete;
    TorvixClient& operator=(const TorvixClient&) = delete;

    // The events go to `sink` (not owned); nullptr drops them.
    void Advise(TorvixEvents* sink);

    // The methods of the control, PlcCreate ... PlcSetSimulation.
#define TORVIX_PROXY_(...) TORVIX_SIGNATURE(__VA_ARGS__);
    TORVIX_METHODS(TORVIX_PROXY_)
#undef TORVIX_PROXY_

    com::IDispatch* Dispatch() const { return m_control.Get(); }
    // The control's editor, when the control is one of this build (the
    // module's or the linked one); nullptr for any other. It lives as long
    // as the control.
    EditorLink* Editor() const;
    // The module the control came from; nullptr for a linked one.
    const TorvixModuleHandle* Module() const { return m_module.get(); }

private:
    class Sink;
    TorvixClient() = default;
    bool Call(int32_t dispid, std::vector<com::Variant> args);

    std::shared_ptr<TorvixModuleHandle> m_module;  // released last
    com::ComPtr<com::IDispatch> m_control;
    com::ComPtr<com::IConnectionPoint> m_point;
    Sink* m_sink = nullptr;  // one reference held
    uint32_t m_cookie = 0;
};

// Turns the events of _DTorvixEvents into calls of a TorvixEvents object,
// the by-reference names passed as the host's strings to replace.
com::HRESULT DispatchEvent(TorvixEvents& target, const com::InterfaceDesc& events,
                           int32_t dispid, std::vector<com::Variant>& args);

}  // namespace plc
