// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TorvixClient.h"

#include <dlfcn.h>

#include <filesystem>

#include "control/TorvixTypeLib.h"

namespace plc {

#ifndef TORVIX_MODULE_RELATIVE_DIR
#define TORVIX_MODULE_RELATIVE_DIR "../lib"
#endif

std::string ModuleBesideExecutable() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return TORVIX_MODULE_NAME;
    return (exe.parent_path() / TORVIX_MODULE_NAME).string();
}

std::string FindTorvixModule(const std::string& exeDir) {
    const std::filesystem::path dir(exeDir);
    for (const std::filesystem::path& candidate :
         {dir / TORVIX_MODULE_NAME, dir / TORVIX_MODULE_RELATIVE_DIR / TORVIX_MODULE_NAME}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate.lexically_normal().string();
    }
    return TORVIX_MODULE_NAME;
}

std::string FindTorvixModule() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return TORVIX_MODULE_NAME;
    return FindTorvixModule(exe.parent_path().string());
}

// ---------------------------------------------------------------- module

std::shared_ptr<TorvixModuleHandle> TorvixModuleHandle::Load(const std::string& path,
                                                             std::string& error) {
    // The module stays mapped once loaded: Qt keeps pointers into it (meta
    // objects, the editor's statics) beyond the life of its objects.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        const char* reason = dlerror();
        error = reason ? reason : "cannot load " + path;
        return nullptr;
    }
    std::shared_ptr<TorvixModuleHandle> module(new TorvixModuleHandle);
    module->m_handle = handle;
    auto find = [&](const char* name, auto& fn) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(handle, name));
        if (!fn && error.empty()) error = path + " has no entry point " + name;
        return fn != nullptr;
    };
    error.clear();
    bool ok = find("DllRegisterServer", module->m_register);
    ok = find("DllUnregisterServer", module->m_unregister) && ok;
    ok = find("DllGetClassObject", module->m_getClassObject) && ok;
    ok = find("DllCanUnloadNow", module->m_canUnloadNow) && ok;
    module->m_getTypeLib = reinterpret_cast<DllGetTypeLibFn>(dlsym(handle, "DllGetTypeLib"));
    if (!ok) return nullptr;
    return module;
}

TorvixModuleHandle::~TorvixModuleHandle() {
    if (m_handle) dlclose(m_handle);
}

com::HRESULT TorvixModuleHandle::GetClassObject(const com::Guid& clsid, const com::Guid& iid,
                                                void** object) const {
    return m_getClassObject(&clsid, &iid, object);
}

const com::TypeLibDesc* TorvixModuleHandle::TypeLib() const {
    const TorvixTypeLibrary* lib = nullptr;
    if (!m_getTypeLib || m_getTypeLib(&lib) != com::S_OK) return nullptr;
    // The module is built from this source: its opaque description is this
    // component layer's.
    return reinterpret_cast<const com::TypeLibDesc*>(lib);
}

// ---------------------------------------------------------------- events

com::HRESULT DispatchEvent(TorvixEvents& target, const com::InterfaceDesc& events, int32_t dispid,
                           std::vector<com::Variant>& args) {
    const com::MemberDesc* member = events.Find(dispid);
    if (!member) return com::DISP_E_MEMBERNOTFOUND;
    if (com::HRESULT hr = com::CheckArguments(*member, args); hr != com::S_OK) return hr;
    switch (dispid) {
#define TORVIX_DISPATCH_EVENT_(id, name, r, ...)                    \
    case TorvixEvents::k##name:                                     \
        target.name(TORVIX_FROM_VARIANTS(__VA_ARGS__));             \
        break;
        TORVIX_EVENTS(TORVIX_DISPATCH_EVENT_)
#undef TORVIX_DISPATCH_EVENT_
        default: return com::DISP_E_MEMBERNOTFOUND;
    }
    return com::S_OK;
}

// The host's event sink: answers _DTorvixEvents and forwards to its target.
class TorvixClient::Sink final : public com::Dispatch {
public:
    explicit Sink(const com::InterfaceDesc& events) : m_events(events) {}

    void SetTarget(TorvixEvents* target) { m_target = target; }

    com::HRESULT QueryInterface(const com::Guid* iid, void** object) override {
        if (!object) return com::E_POINTER;
        *object = nullptr;
        if (!iid) return com::E_POINTER;
        if (*iid != com::IID_IUnknown && *iid != com::IID_IDispatch && *iid != IID__DTorvixEvents)
            return com::E_NOINTERFACE;
        *object = static_cast<com::IDispatch*>(this);
        AddRef();
        return com::S_OK;
    }
    uint32_t AddRef() override { return m_refs.Add(); }
    uint32_t Release() override { return m_refs.Release(this); }
    com::HRESULT GetTypeInfo(const com::InterfaceDesc** info) override {
        if (!info) return com::E_POINTER;
        *info = &m_events;
        return com::S_OK;
    }
    com::HRESULT GetIDOfName(std::string_view name, int32_t* dispid) override {
        if (!dispid) return com::E_POINTER;
        const com::MemberDesc* member = m_events.Find(name);
        if (!member) return com::DISP_E_UNKNOWNNAME;
        *dispid = member->dispid;
        return com::S_OK;
    }
    com::HRESULT Invoke(int32_t dispid, std::vector<com::Variant>& args, com::Variant*) override {
        // Without a target the events are left unanswered, as by a host
        // without handlers.
        TorvixEvents ignore;
        return DispatchEvent(m_target ? *m_target : ignore, m_events, dispid, args);
    }

private:
    friend class com::RefCount;
    ~Sink() = default;

    com::RefCount m_refs;
    const com::InterfaceDesc& m_events;
    TorvixEvents* m_target = nullptr;
};

// ---------------------------------------------------------------- control

std::unique_ptr<TorvixClient> TorvixClient::Create(std::shared_ptr<TorvixModuleHandle> module,
                                                   std::string& error) {
    if (!module) {
        error = "no module";
        return nullptr;
    }
    const com::TypeLibDesc* lib = module->TypeLib();
    const com::InterfaceDesc* events = lib ? lib->Find(lib->coclass.defaultSource) : nullptr;
    if (!events) {
        error = "the module describes no event interface";
        return nullptr;
    }
    com::ComPtr<com::IClassFactory> factory;
    com::HRESULT hr = module->GetClassObject(CLSID_Torvix, com::IID_IClassFactory, factory.Out());
    if (hr != com::S_OK) {
        error = "the module has no control class";
        return nullptr;
    }
    com::ComPtr<com::IDispatch> control;
    hr = factory->CreateInstance(nullptr, &IID__DTorvix, control.Out());
    if (hr != com::S_OK) {
        error = "the control cannot be created";
        return nullptr;
    }
    std::unique_ptr<TorvixClient> client = Attach(control.Get(), *events, error);
    // The module outlives the control: the client releases it last.
    if (client) client->m_module = std::move(module);
    return client;
}

std::unique_ptr<TorvixClient> TorvixClient::Attach(com::IDispatch* control,
                                                   const com::InterfaceDesc& events,
                                                   std::string& error) {
    if (!control) {
        error = "no control";
        return nullptr;
    }
    std::unique_ptr<TorvixClient> client(new TorvixClient);
    control->AddRef();
    client->m_control = com::ComPtr<com::IDispatch>(control);
    com::ComPtr<com::IConnectionPointContainer> container;
    if (control->QueryInterface(&com::IID_IConnectionPointContainer, container.Out()) != com::S_OK ||
        container->FindConnectionPoint(&events.iid, client->m_point.Address()) != com::S_OK) {
        error = "the control offers no events";
        return nullptr;
    }
    client->m_sink = new Sink(events);
    client->m_sink->AddRef();
    if (client->m_point->Advise(client->m_sink, &client->m_cookie) != com::S_OK) {
        error = "the control refuses the event sink";
        return nullptr;
    }
    return client;
}

TorvixClient::~TorvixClient() {
    if (m_point && m_cookie) m_point->Unadvise(m_cookie);
    m_point.Reset();
    m_control.Reset();
    if (m_sink) m_sink->Release();
}

void TorvixClient::Advise(TorvixEvents* sink) {
    if (m_sink) m_sink->SetTarget(sink);
}

EditorLink* TorvixClient::Editor() const {
    com::ComPtr<com::IControlEditor> source;
    EditorLink* editor = nullptr;
    if (m_control->QueryInterface(&com::IID_IControlEditor, source.Out()) != com::S_OK ||
        source->GetEditor(&editor) != com::S_OK)
        return nullptr;
    return editor;
}

bool TorvixClient::Call(int32_t dispid, std::vector<com::Variant> args) {
    com::Variant result;
    if (m_control->Invoke(dispid, args, &result) != com::S_OK) return false;
    return result.type != com::VarType::Bool || result.boolVal;
}

#define TORVIX_PROXY_(id, name, r, ...)                                         \
    TORVIX_SIGNATURE(id, TorvixClient::name, r __VA_OPT__(, ) __VA_ARGS__) {      \
        return static_cast<TORVIX_RESULT(r)>(                                   \
            Call(CTorvixCtrl::k##name, {TORVIX_TO_VARIANTS(__VA_ARGS__)}));     \
    }
TORVIX_METHODS(TORVIX_PROXY_)
#undef TORVIX_PROXY_

}  // namespace plc
