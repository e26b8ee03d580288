// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TorvixObjects.h"

#include <QApplication>
#include <QWidget>

#include "control/TorvixPropPage.h"
#include "control/TorvixTypeLib.h"
#include "platform/Dialogs.h"
#include "resources/StringTable.h"

namespace plc {

using com::E_NOINTERFACE;
using com::E_POINTER;
using com::Guid;
using com::HRESULT;
using com::S_OK;
using com::Variant;

// ---------------------------------------------------------------- control

TorvixCtrlObject::TorvixCtrlObject(Dialogs& dialogs)
    : m_ctrl(dialogs), m_loadedVersion(kControlVersionStamp) {
    m_ctrl.Advise(this);
}

TorvixCtrlObject::~TorvixCtrlObject() {
    // The editor goes with the control without firing anything.
    m_ctrl.Advise(nullptr);
    for (const Connection& c : m_connections) c.sink->Release();
}

HRESULT TorvixCtrlObject::QueryInterface(const Guid* id, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!id) return E_POINTER;
    const Guid& iid = *id;
    if (iid == com::IID_IUnknown || iid == com::IID_IDispatch || iid == IID__DTorvix)
        *object = static_cast<com::IDispatch*>(this);
    else if (iid == com::IID_IConnectionPointContainer)
        *object = static_cast<com::IConnectionPointContainer*>(this);
    else if (iid == com::IID_IConnectionPoint)
        *object = static_cast<com::IConnectionPoint*>(this);
    else if (iid == com::IID_IPersistState)
        *object = static_cast<com::IPersistState*>(this);
    else if (iid == com::IID_ISpecifyPropertyPages)
        *object = static_cast<com::ISpecifyPropertyPages*>(this);
    else if (iid == com::IID_IControlEditor)
        *object = static_cast<com::IControlEditor*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

uint32_t TorvixCtrlObject::AddRef() { return m_refs.Add(); }

uint32_t TorvixCtrlObject::Release() { return m_refs.Release(this); }

HRESULT TorvixCtrlObject::GetTypeInfo(const com::InterfaceDesc** info) {
    if (!info) return E_POINTER;
    *info = &TorvixDispatchDesc();
    return S_OK;
}

HRESULT TorvixCtrlObject::GetIDOfName(std::string_view name, int32_t* dispid) {
    if (!dispid) return E_POINTER;
    const com::MemberDesc* member = TorvixDispatchDesc().Find(name);
    if (!member) return com::DISP_E_UNKNOWNNAME;
    *dispid = member->dispid;
    return S_OK;
}

HRESULT TorvixCtrlObject::Invoke(int32_t dispid, std::vector<Variant>& args, Variant* result) {
    const com::MemberDesc* member = TorvixDispatchDesc().Find(dispid);
    if (!member) return com::DISP_E_MEMBERNOTFOUND;
    if (HRESULT hr = com::CheckArguments(*member, args); hr != S_OK) return hr;
    // A host may release the control from an event the method fires (the
    // close of PlcDestroy): the object lives until the call is done, also
    // when the call throws.
    AddRef();
    const com::ComPtr<com::IDispatch> alive(this);
    bool ok = true;
    switch (dispid) {
#define TORVIX_INVOKE_(id, name, r, ...)                                                   \
    case CTorvixCtrl::k##name:                                                             \
        ok = com::CallResult([&] { return m_ctrl.name(TORVIX_FROM_VARIANTS(__VA_ARGS__)); }); \
        break;
        TORVIX_METHODS(TORVIX_INVOKE_)
#undef TORVIX_INVOKE_
    }
    if (result) *result = member->result == com::ResultType::Bool ? Variant::Bool(ok) : Variant{};
    return S_OK;
}

HRESULT TorvixCtrlObject::FindConnectionPoint(const Guid* iid, com::IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (!iid) return E_POINTER;
    if (*iid != IID__DTorvixEvents) return com::CONNECT_E_NOCONNECTION;
    *point = static_cast<com::IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT TorvixCtrlObject::GetConnectionInterface(Guid* iid) {
    if (!iid) return E_POINTER;
    *iid = IID__DTorvixEvents;
    return S_OK;
}

HRESULT TorvixCtrlObject::Advise(com::IUnknown* sink, uint32_t* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    void* dispatch = nullptr;
    if (sink->QueryInterface(&IID__DTorvixEvents, &dispatch) != S_OK &&
        sink->QueryInterface(&com::IID_IDispatch, &dispatch) != S_OK)
        return com::CONNECT_E_CANNOTCONNECT;
    if (!dispatch) return com::CONNECT_E_CANNOTCONNECT;
    auto* events = static_cast<com::IDispatch*>(dispatch);
    const HRESULT hr = com::Guarded([&] {
        m_connections.push_back({m_nextCookie, events});
        return S_OK;
    });
    if (hr != S_OK) {
        events->Release();
        return hr;
    }
    *cookie = m_nextCookie++;
    return S_OK;
}

HRESULT TorvixCtrlObject::Unadvise(uint32_t cookie) {
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if (it->cookie != cookie) continue;
        com::IDispatch* sink = it->sink;
        m_connections.erase(it);
        sink->Release();
        return S_OK;
    }
    return com::CONNECT_E_NOCONNECTION;
}

void TorvixCtrlObject::Fire(int32_t dispid, std::vector<Variant> args) {
    // A sink may unadvise, or release the control, inside its handler: fire
    // to the sinks advised now, each held until its call is done.
    AddRef();
    std::vector<com::IDispatch*> sinks;
    for (const Connection& c : m_connections) {
        c.sink->AddRef();
        sinks.push_back(c.sink);
    }
    for (com::IDispatch* sink : sinks) {
        sink->Invoke(dispid, args, nullptr);
        sink->Release();
    }
    Release();
}

#define TORVIX_FIRE_(id, name, r, ...)                                        \
    TORVIX_SIGNATURE(id, TorvixCtrlObject::name, r __VA_OPT__(, ) __VA_ARGS__) { \
        Fire(k##name, {TORVIX_TO_VARIANTS(__VA_ARGS__)});                      \
    }
TORVIX_EVENTS(TORVIX_FIRE_)
#undef TORVIX_FIRE_

HRESULT TorvixCtrlObject::InitNew() {
    m_loadedVersion = kControlVersionStamp;
    return S_OK;
}

// The state is the version stamp alone, four bytes, least significant
// first. Other versions load too: there is nothing else to convert.
HRESULT TorvixCtrlObject::Load(const std::vector<uint8_t>& data) {
    if (data.size() < 4) return com::E_FAIL;
    m_loadedVersion = uint32_t(data[0]) | (uint32_t(data[1]) << 8) | (uint32_t(data[2]) << 16) |
                      (uint32_t(data[3]) << 24);
    return S_OK;
}

HRESULT TorvixCtrlObject::Save(std::vector<uint8_t>& data) {
    data = {uint8_t(kControlVersionStamp), uint8_t(kControlVersionStamp >> 8),
            uint8_t(kControlVersionStamp >> 16), uint8_t(kControlVersionStamp >> 24)};
    return S_OK;
}

HRESULT TorvixCtrlObject::GetPages(std::vector<Guid>* pages) {
    if (!pages) return E_POINTER;
    *pages = {CLSID_TorvixPropPage};
    return S_OK;
}

HRESULT TorvixCtrlObject::GetEditor(EditorLink** editor) {
    if (!editor) return E_POINTER;
    *editor = &m_ctrl.Editor();
    return S_OK;
}

// ---------------------------------------------------------------- property page

TorvixPropPageObject::~TorvixPropPageObject() {
    delete m_page.data();
    ReleaseObjects();
}

HRESULT TorvixPropPageObject::QueryInterface(const Guid* iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!iid) return E_POINTER;
    if (*iid != com::IID_IUnknown && *iid != com::IID_IPropertyPage) return E_NOINTERFACE;
    *object = static_cast<com::IPropertyPage*>(this);
    AddRef();
    return S_OK;
}

uint32_t TorvixPropPageObject::AddRef() { return m_refs.Add(); }

uint32_t TorvixPropPageObject::Release() { return m_refs.Release(this); }

void TorvixPropPageObject::ReleaseObjects() {
    for (com::IUnknown* object : m_objects) object->Release();
    m_objects.clear();
}

HRESULT TorvixPropPageObject::SetObjects(const std::vector<com::IUnknown*>& objects) {
    for (com::IUnknown* object : objects)
        if (!object) return E_POINTER;
    for (com::IUnknown* object : objects) object->AddRef();
    ReleaseObjects();
    m_objects = objects;
    return S_OK;
}

HRESULT TorvixPropPageObject::GetPageInfo(com::PropPageInfo* info) {
    if (!info) return E_POINTER;
    info->title = LoadString(CTorvixPropPage::kCaptionId);
    info->widthDlu = CTorvixPropPage::kWidthDlu;
    info->heightDlu = CTorvixPropPage::kHeightDlu;
    info->docString = CTorvixPropPage::kDocString;
    info->helpFile = CTorvixPropPage::kHelpFile;
    info->helpContext = CTorvixPropPage::kHelpContext;
    return S_OK;
}

HRESULT TorvixPropPageObject::Activate(QWidget* parent, QWidget** page) {
    if (!page) return E_POINTER;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return com::E_UNEXPECTED;
    delete m_page.data();
    m_page = new CTorvixPropPage(parent);
    *page = m_page.data();
    return S_OK;
}

HRESULT TorvixPropPageObject::Deactivate() {
    delete m_page.data();
    return S_OK;
}

// The page edits nothing: never dirty, and applying changes nothing.
HRESULT TorvixPropPageObject::IsPageDirty() { return com::S_FALSE; }

HRESULT TorvixPropPageObject::Apply() { return S_OK; }

// ---------------------------------------------------------------- factories

HRESULT CreateTorvixControl(Dialogs& dialogs, const Guid& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    // The editor is made of widgets: without the application object there
    // is nothing it could show.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return com::E_UNEXPECTED;
    auto* control = new TorvixCtrlObject(dialogs);
    control->AddRef();
    const HRESULT hr = control->QueryInterface(&iid, object);
    control->Release();
    return hr;
}

namespace {

HRESULT CreateControlFromFactory(const Guid& iid, void** object) {
    return CreateTorvixControl(DesktopDialogs(), iid, object);
}

HRESULT CreatePropPageFromFactory(const Guid& iid, void** object) {
    auto* page = new TorvixPropPageObject;
    page->AddRef();
    const HRESULT hr = page->QueryInterface(&iid, object);
    page->Release();
    return hr;
}

// A factory lives as long as the module; its reference count does not keep
// the module loaded (LockServer does).
class ClassFactory final : public com::IClassFactory {
public:
    using Creator = HRESULT (*)(const Guid& iid, void** object);
    ClassFactory(const Guid& clsid, Creator create) : m_clsid(clsid), m_create(create) {}

    const Guid& Clsid() const { return m_clsid; }

    HRESULT QueryInterface(const Guid* iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!iid) return E_POINTER;
        if (*iid != com::IID_IUnknown && *iid != com::IID_IClassFactory) return E_NOINTERFACE;
        *object = static_cast<com::IClassFactory*>(this);
        return S_OK;
    }
    uint32_t AddRef() override { return 2; }
    uint32_t Release() override { return 1; }

    HRESULT CreateInstance(com::IUnknown* outer, const Guid* iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!iid) return E_POINTER;
        if (outer) return com::CLASS_E_NOAGGREGATION;
        return com::Guarded([&] { return m_create(*iid, object); });
    }
    HRESULT LockServer(bool lock) override {
        com::ModuleLock(lock);
        return S_OK;
    }

private:
    Guid m_clsid;
    Creator m_create;
};

ClassFactory g_controlFactory(CLSID_Torvix, CreateControlFromFactory);
ClassFactory g_propPageFactory(CLSID_TorvixPropPage, CreatePropPageFromFactory);

}  // namespace

com::IClassFactory* FindClassFactory(const Guid& clsid) {
    for (ClassFactory* factory : {&g_controlFactory, &g_propPageFactory})
        if (factory->Clsid() == clsid) return factory;
    return nullptr;
}

}  // namespace plc
