// SPDX-License-Identifier: GPL-3.0-or-later
// The module's objects: the control as a component (dispatch interface
// _DTorvix, the connection point of _DTorvixEvents, its persistent version
// stamp and its property page list), the property page object, and the two
// class factories that create them.
#pragma once

#include <QPointer>
#include <vector>

#include "control/ComInterfaces.h"
#include "control/ComRefCount.h"
#include "control/TorvixCtrl.h"

class QWidget;

namespace plc {

class Dialogs;

class TorvixCtrlObject final : public com::Dispatch,
                               public com::IConnectionPointContainer,
                               public com::IConnectionPoint,
                               public com::IPersistState,
                               public com::ISpecifyPropertyPages,
                               public com::IControlEditor,
                               private TorvixEvents {
public:
    // Starts with no reference: take one through QueryInterface.
    explicit TorvixCtrlObject(Dialogs& dialogs);

    // ---- IUnknown ----
    com::HRESULT QueryInterface(const com::Guid* iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    // ---- IDispatch (_DTorvix) ----
    com::HRESULT GetTypeInfo(const com::InterfaceDesc** info) override;
    com::HRESULT GetIDOfName(std::string_view name, int32_t* dispid) override;
    com::HRESULT Invoke(int32_t dispid, std::vector<com::Variant>& args,
                        com::Variant* result) override;

    // ---- connection point of _DTorvixEvents ----
    com::HRESULT FindConnectionPoint(const com::Guid* iid, com::IConnectionPoint** point) override;
    com::HRESULT GetConnectionInterface(com::Guid* iid) override;
    com::HRESULT Advise(com::IUnknown* sink, uint32_t* cookie) override;
    com::HRESULT Unadvise(uint32_t cookie) override;

    // ---- persistent state: the version stamp ----
    com::HRESULT InitNew() override;
    com::HRESULT Load(const std::vector<uint8_t>& data) override;
    com::HRESULT Save(std::vector<uint8_t>& data) override;

    // ---- property pages ----
    com::HRESULT GetPages(std::vector<com::Guid>* pages) override;

    // ---- the editor, for a host of the same build ----
    com::HRESULT GetEditor(EditorLink** editor) override;

    // The control behind the component; the editor fires its events here.
    CTorvixCtrl& Control() { return m_ctrl; }
    // The version stamp of the state last loaded (or of a new state).
    uint32_t LoadedVersion() const { return m_loadedVersion; }

private:
    friend class com::RefCount;
    ~TorvixCtrlObject() override;

    // The control's events, fired to every advised sink in turn.
#define TORVIX_FIRE_(...) TORVIX_SIGNATURE(__VA_ARGS__) override;
    TORVIX_EVENTS(TORVIX_FIRE_)
#undef TORVIX_FIRE_
    void Fire(int32_t dispid, std::vector<com::Variant> args);

    struct Connection {
        uint32_t cookie;
        com::IDispatch* sink;  // one reference held
    };

    com::RefCount m_refs;
    CTorvixCtrl m_ctrl;
    std::vector<Connection> m_connections;
    uint32_t m_nextCookie = 1;
    uint32_t m_loadedVersion;
};

class TorvixPropPageObject final : public com::IPropertyPage {
public:
    TorvixPropPageObject() = default;

    com::HRESULT QueryInterface(const com::Guid* iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    com::HRESULT SetObjects(const std::vector<com::IUnknown*>& objects) override;
    com::HRESULT GetPageInfo(com::PropPageInfo* info) override;
    com::HRESULT Activate(QWidget* parent, QWidget** page) override;
    com::HRESULT Deactivate() override;
    com::HRESULT IsPageDirty() override;
    com::HRESULT Apply() override;

private:
    friend class com::RefCount;
    ~TorvixPropPageObject();
    void ReleaseObjects();

    com::RefCount m_refs;
    std::vector<com::IUnknown*> m_objects;  // one reference each
    QPointer<QWidget> m_page;
};

// Creates a control whose editor shows its dialogs through `dialogs`, and
// hands out interface `iid` of it.
com::HRESULT CreateTorvixControl(Dialogs& dialogs, const com::Guid& iid, void** object);

// The module's class factory of `clsid` (control or property page), or
// nullptr. The factories are static objects of the module.
com::IClassFactory* FindClassFactory(const com::Guid& clsid);

}  // namespace plc
