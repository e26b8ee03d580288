// A minimal component layer: reference-counted objects that hand out their
// interfaces by identifier, class factories, dispatch by dispatch id with
// by-reference string arguments, connection points for event sinks, and the
// description of dispatch interfaces as data (the type library).
//
// Module and host share this header: objects cross the module boundary only
// as pointers to these interfaces, so the module's own classes stay private.
// Plain C++, no Qt.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "torvix/torvix.h"

class QWidget;

// Identifiers compare by value.
constexpr bool operator==(const TorvixGuid& a, const TorvixGuid& b) {
    for (int i = 0; i < 8; ++i)
        if (a.data4[i] != b.data4[i]) return false;
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3;
}

namespace plc::com {

// ---- results ----
// The values and the layouts that cross the module boundary are those of
// the public header torvix/torvix.h; the names here are the component
// layer's own.
using HRESULT = TorvixResult;

constexpr HRESULT S_OK = TORVIX_S_OK;
constexpr HRESULT S_FALSE = TORVIX_S_FALSE;
constexpr HRESULT E_NOTIMPL = TORVIX_E_NOTIMPL;
constexpr HRESULT E_NOINTERFACE = TORVIX_E_NOINTERFACE;
constexpr HRESULT E_POINTER = TORVIX_E_POINTER;
constexpr HRESULT E_FAIL = TORVIX_E_FAIL;
constexpr HRESULT E_UNEXPECTED = TORVIX_E_UNEXPECTED;
constexpr HRESULT E_INVALIDARG = TORVIX_E_INVALIDARG;
constexpr HRESULT CLASS_E_NOAGGREGATION = TORVIX_CLASS_E_NOAGGREGATION;
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = TORVIX_CLASS_E_CLASSNOTAVAILABLE;
constexpr HRESULT DISP_E_MEMBERNOTFOUND = TORVIX_DISP_E_MEMBERNOTFOUND;
constexpr HRESULT DISP_E_TYPEMISMATCH = TORVIX_DISP_E_TYPEMISMATCH;
constexpr HRESULT DISP_E_UNKNOWNNAME = TORVIX_DISP_E_UNKNOWNNAME;
constexpr HRESULT DISP_E_BADPARAMCOUNT = TORVIX_DISP_E_BADPARAMCOUNT;
constexpr HRESULT CONNECT_E_NOCONNECTION = TORVIX_CONNECT_E_NOCONNECTION;
constexpr HRESULT CONNECT_E_CANNOTCONNECT = TORVIX_CONNECT_E_CANNOTCONNECT;
constexpr HRESULT SELFREG_E_TYPELIB = TORVIX_SELFREG_E_TYPELIB;
constexpr HRESULT SELFREG_E_CLASS = TORVIX_SELFREG_E_CLASS;

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }

// ---- identifiers ----
using Guid = ::TorvixGuid;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex digits.
std::string GuidToString(const Guid& guid);
// Reads that form (either case); false when `text` is anything else.
bool GuidFromString(std::string_view text, Guid& guid);

inline constexpr Guid IID_IUnknown = TORVIX_IID_IUNKNOWN_INIT;
inline constexpr Guid IID_IClassFactory = TORVIX_IID_ICLASSFACTORY_INIT;
inline constexpr Guid IID_IDispatch = TORVIX_IID_IDISPATCH_INIT;
inline constexpr Guid IID_IConnectionPointContainer = TORVIX_IID_ICONNECTIONPOINTCONTAINER_INIT;
inline constexpr Guid IID_IConnectionPoint = TORVIX_IID_ICONNECTIONPOINT_INIT;
inline constexpr Guid IID_ISpecifyPropertyPages{
    0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid IID_IPropertyPage{
    0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid IID_IPersistState{
    0x7FD52380, 0x4E07, 0x101B, {0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E, 0xC7, 0x13}};

// ---- dispatch arguments ----
enum class VarType : int32_t {
    Empty = TORVIX_VT_EMPTY,
    Bool = TORVIX_VT_BOOL,
    Int = TORVIX_VT_INT,
    String = TORVIX_VT_STRING,
    StringRef = TORVIX_VT_STRINGREF,
};

// One argument or result of a dispatch call. A by-reference string points
// at the caller's string, which the callee may replace.
struct Variant {
    VarType type = VarType::Empty;
    bool boolVal = false;
    int32_t intVal = 0;
    std::string strVal;
    std::string* strRef = nullptr;

    static Variant Bool(bool value);
    static Variant Int(int32_t value);
    static Variant String(std::string value);
    static Variant Ref(std::string* target);
};

// The arguments of a call as they cross the module boundary: `Out` lays
// them out for Invoke, `In` reads them back on the other side and, when
// the call is done, hands replaced by-reference strings back to the caller.
class WireArguments {
public:
    explicit WireArguments(std::vector<Variant>& args);
    TorvixVariant* Data() { return m_wire.data(); }
    uint32_t Count() const { return static_cast<uint32_t>(m_wire.size()); }

private:
    struct Ref : TorvixStringRef {
        std::string* target;
    };
    static void Assign(TorvixStringRef* self, const char* text, size_t size);
    std::vector<TorvixVariant> m_wire;
    std::vector<Ref> m_refs;  // one per by-reference argument, never moved
};

class ReceivedArguments {
public:
    ReceivedArguments(const TorvixVariant* args, uint32_t count);
    // Passes the strings the callee replaced back to the caller.
    ~ReceivedArguments();
    ReceivedArguments(const ReceivedArguments&) = delete;
    ReceivedArguments& operator=(const ReceivedArguments&) = delete;
    std::vector<Variant>& Args() { return m_args; }

private:
    std::vector<Variant> m_args;
    std::vector<std::string> m_texts;  // the by-reference strings, never moved
    std::vector<TorvixStringRef*> m_refs;
};

// A result as it crosses the module boundary: empty, a BOOL or an integer.
TorvixVariant ToWire(const Variant& value);
Variant FromWire(const TorvixVariant& value);

// ---- interface descriptions (the type library as data) ----
enum class ParamType { Bool, String, StringRef };
enum class ResultType { None, Bool };

struct ParamDesc {
    const char* name;
    ParamType type;
};

struct MemberDesc {
    int32_t dispid;
    const char* name;
    ResultType result;
    std::vector<ParamDesc> params;
};

// Type flags of the library's interfaces and classes.
enum TypeFlags : uint32_t {
    kTypeCanCreate = 0x2,
    kTypeHidden = 0x10,
    kTypeControl = 0x20,
    kTypeDispatchable = 0x1000,
};
// Library flag: the library describes a control.
constexpr uint32_t kLibControl = 0x2;

struct InterfaceDesc {
    Guid iid;
    const char* name;
    const char* helpString;
    uint32_t flags;
    std::vector<MemberDesc> members;

    const MemberDesc* Find(int32_t dispid) const;
    // Names compare without regard to ASCII case, as automation names do.
    const MemberDesc* Find(std::string_view name) const;
};

struct CoClassDesc {
    Guid clsid;
    const char* name;
    const char* helpString;
    uint32_t flags;
    Guid defaultInterface;
    Guid defaultSource;
};

struct TypeLibDesc {
    Guid libid;
    uint16_t major;
    uint16_t minor;
    uint32_t lcid;
    const char* name;
    const char* helpString;
    const char* helpFile;
    uint32_t flags;
    std::vector<InterfaceDesc> interfaces;
    CoClassDesc coclass;

    const InterfaceDesc* Find(const Guid& iid) const;
};

// Checks a call's arguments against the member: DISP_E_BADPARAMCOUNT for the
// wrong number, DISP_E_TYPEMISMATCH for a wrong kind (a string parameter
// takes a string or a by-reference string, a by-reference one only the
// latter, a BOOL a boolean or an integer), else S_OK.
HRESULT CheckArguments(const MemberDesc& member, const std::vector<Variant>& args);
// The text of a checked string argument.
const std::string& StringArgument(const Variant& arg);
// The truth of a checked BOOL argument.
bool BoolArgument(const Variant& arg);

// ---- interfaces ----
class IUnknown {
public:
    virtual HRESULT QueryInterface(const Guid& iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
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
// calls as C++ values.
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
    virtual HRESULT FindConnectionPoint(const Guid& iid, IConnectionPoint** point) = 0;

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

// ---- module bookkeeping ----
// Objects alive and server locks held; the module may be unloaded when both
// are zero.
void ModuleObjectCreated();
void ModuleObjectDestroyed();
void ModuleLock(bool lock);
bool ModuleCanUnload();
long ModuleObjectCount();

// The reference count every object of the module carries. It starts at 0:
// the creator takes the first reference through QueryInterface. The module
// counts the object from construction to destruction.
class RefCount {
public:
    RefCount() { ModuleObjectCreated(); }
    ~RefCount() { ModuleObjectDestroyed(); }
    RefCount(const RefCount&) = delete;
    RefCount& operator=(const RefCount&) = delete;

    uint32_t Add() { return ++m_refs; }
    // The count after the release; a release below zero is ignored.
    uint32_t Drop() {
        uint32_t refs = m_refs.load();
        while (refs != 0 && !m_refs.compare_exchange_weak(refs, refs - 1)) {
        }
        return refs == 0 ? 0 : refs - 1;
    }
    uint32_t Count() const { return m_refs.load(); }
    // Drops one reference of `owner` and deletes it with the last one (an
    // owner with a private destructor befriends RefCount).
    template <class T>
    uint32_t Release(T* owner) {
        const uint32_t refs = Drop();
        if (refs == 0) delete owner;
        return refs;
    }

private:
    std::atomic<uint32_t> m_refs{0};
};

// Holds one reference and releases it at the end of its scope.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Adopts a reference the caller already holds.
    explicit ComPtr(T* adopt) : m_p(adopt) {}
    ComPtr(const ComPtr& other) : m_p(other.m_p) {
        if (m_p) m_p->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) {
        ComPtr copy(other);
        std::swap(m_p, copy.m_p);
        return *this;
    }
    ~ComPtr() { Reset(); }
    void Reset() {
        if (T* p = m_p) {
            m_p = nullptr;
            p->Release();
        }
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For functions that hand out a new reference.
    void** Out() {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }
    T** Address() {
        Reset();
        return &m_p;
    }

private:
    T* m_p = nullptr;
};

}  // namespace plc::com
