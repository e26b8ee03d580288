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

class QWidget;

namespace plc::com {

// ---- results ----
using HRESULT = int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
constexpr HRESULT CONNECT_E_NOCONNECTION = static_cast<HRESULT>(0x80040200);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = static_cast<HRESULT>(0x80040202);
constexpr HRESULT SELFREG_E_TYPELIB = static_cast<HRESULT>(0x80040200);
constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201);

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }

// ---- identifiers ----
struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};

    friend bool operator==(const Guid&, const Guid&) = default;
};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex digits.
std::string GuidToString(const Guid& guid);
// Reads that form (either case); false when `text` is anything else.
bool GuidFromString(std::string_view text, Guid& guid);

inline constexpr Guid IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid IID_IClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid IID_IConnectionPointContainer{
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid IID_IConnectionPoint{
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid IID_ISpecifyPropertyPages{
    0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid IID_IPropertyPage{
    0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid IID_IPersistState{
    0x7FD52380, 0x4E07, 0x101B, {0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E, 0xC7, 0x13}};

// ---- dispatch arguments ----
enum class VarType { Empty, Bool, Int, String, StringRef };

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

class IDispatch : public IUnknown {
public:
    // The description of the interface this object dispatches.
    virtual HRESULT GetTypeInfo(const InterfaceDesc** info) = 0;
    virtual HRESULT GetIDOfName(std::string_view name, int32_t* dispid) = 0;
    // Arguments in declaration order; `result` may be null.
    virtual HRESULT Invoke(int32_t dispid, std::vector<Variant>& args, Variant* result) = 0;

protected:
    ~IDispatch() = default;
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
