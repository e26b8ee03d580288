// SPDX-License-Identifier: GPL-3.0-or-later
// The interfaces of the component layer: objects hand them out by
// identifier through QueryInterface. Objects cross the module boundary only
// as pointers to these interfaces, so the module's own classes stay private.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "control/ComIds.h"
#include "control/ComTypeInfo.h"
#include "control/ComVariant.h"

class QWidget;

namespace plc {
class EditorLink;
}

namespace plc::com {

class IUnknown {
public:
    // Every pointer a caller passes may be null (E_POINTER).
    virtual HRESULT QueryInterface(const Guid* iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    virtual HRESULT CreateInstance(IUnknown* outer, const Guid* iid, void** object) = 0;
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// The layout of TorvixDispatch: a host calls these three by the table.
class IDispatch : public IUnknown {
public:
    // The description of the interface this object dispatches.
    virtual HRESULT GetTypeInfo(const InterfaceDesc** info) = 0;
    virtual HRESULT GetIDOfName(const char* name, int32_t* dispid) = 0;
    // Arguments in declaration order; `result` may be null.
    virtual HRESULT Invoke(int32_t dispid, TorvixVariant* args, uint32_t count,
                           TorvixVariant* result) = 0;

    // The same for C++ callers.
    HRESULT GetIDOfName(std::string_view name, int32_t* dispid) {
        const std::string text(name);
        return GetIDOfName(text.c_str(), dispid);
    }
    HRESULT Invoke(int32_t dispid, std::vector<Variant>& args, Variant* result);

protected:
    ~IDispatch() = default;
};

// The base of the component layer's own dispatch objects: they answer the
// calls as C++ values. The calls that come through the table are checked
// before anything is read: a member the object's description (GetTypeInfo)
// does not have is DISP_E_MEMBERNOTFOUND and a count other than its
// parameters' DISP_E_BADPARAMCOUNT; null pointers are E_POINTER and strings
// beyond kMaxStringArgument bytes E_INVALIDARG; no exception comes out.
class Dispatch : public IDispatch {
public:
    HRESULT GetIDOfName(const char* name, int32_t* dispid) final;
    HRESULT Invoke(int32_t dispid, TorvixVariant* args, uint32_t count,
                   TorvixVariant* result) final;

    virtual HRESULT GetIDOfName(std::string_view name, int32_t* dispid) = 0;
    virtual HRESULT Invoke(int32_t dispid, std::vector<Variant>& args, Variant* result) = 0;

protected:
    ~Dispatch() = default;
};

class IConnectionPoint : public IUnknown {
public:
    virtual HRESULT GetConnectionInterface(Guid* iid) = 0;
    // The sink must answer the point's interface (or IDispatch) by
    // QueryInterface; it is held until Unadvise.
    virtual HRESULT Advise(IUnknown* sink, uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(uint32_t cookie) = 0;

protected:
    ~IConnectionPoint() = default;
};

class IConnectionPointContainer : public IUnknown {
public:
    virtual HRESULT FindConnectionPoint(const Guid* iid, IConnectionPoint** point) = 0;

protected:
    ~IConnectionPointContainer() = default;
};

// The persistent state of an object as bytes.
class IPersistState : public IUnknown {
public:
    virtual HRESULT InitNew() = 0;
    virtual HRESULT Load(const std::vector<uint8_t>& data) = 0;
    virtual HRESULT Save(std::vector<uint8_t>& data) = 0;

protected:
    ~IPersistState() = default;
};

class ISpecifyPropertyPages : public IUnknown {
public:
    virtual HRESULT GetPages(std::vector<Guid>* pages) = 0;

protected:
    ~ISpecifyPropertyPages() = default;
};

struct PropPageInfo {
    std::string title;
    int widthDlu = 0;   // size in dialog units
    int heightDlu = 0;
    std::string docString;
    std::string helpFile;
    uint32_t helpContext = 0;
};

class IPropertyPage : public IUnknown {
public:
    virtual HRESULT SetObjects(const std::vector<IUnknown*>& objects) = 0;
    virtual HRESULT GetPageInfo(PropPageInfo* info) = 0;
    // Creates the page's widget as a child of `parent`; the page owns it
    // until Deactivate.
    virtual HRESULT Activate(QWidget* parent, QWidget** page) = 0;
    virtual HRESULT Deactivate() = 0;
    virtual HRESULT IsPageDirty() = 0;
    virtual HRESULT Apply() = 0;

protected:
    ~IPropertyPage() = default;
};

// The editor of a control, for a host of the same build in the same
// process (the standalone editor), whose editor lives in the module: the
// host parents its message boxes on the editor window and notes in its
// status bar what it did with a file.
class IControlEditor : public IUnknown {
public:
    // The control's editor; it lives as long as the control object.
    virtual HRESULT GetEditor(EditorLink** editor) = 0;

protected:
    ~IControlEditor() = default;
};

}  // namespace plc::com
