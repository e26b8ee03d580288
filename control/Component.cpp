#include "control/Component.h"

#include <cstdio>

#include "base/Ascii.h"

namespace plc::com {

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = AsciiLower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string GuidToString(const Guid& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.data1), static_cast<unsigned>(g.data2),
                  static_cast<unsigned>(g.data3), g.data4[0], g.data4[1], g.data4[2], g.data4[3],
                  g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

bool GuidFromString(std::string_view text, Guid& guid) {
    // {8-4-4-4-12}: the positions of the dashes and the hex digits are fixed.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    std::string_view body = text.substr(1, 36);
    uint8_t bytes[16];
    size_t n = 0;
    for (size_t i = 0; i < body.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (body[i] != '-') return false;
            ++i;
            continue;
        }
        const int hi = HexDigit(body[i]);
        const int lo = i + 1 < body.size() ? HexDigit(body[i + 1]) : -1;
        if (hi < 0 || lo < 0 || (i + 1 == 8 || i + 1 == 13 || i + 1 == 18 || i + 1 == 23))
            return false;
        bytes[n++] = static_cast<uint8_t>(hi * 16 + lo);
        i += 2;
    }
    if (n != 16) return false;
    Guid g;
    g.data1 = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) |
              bytes[3];
    g.data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    g.data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
    guid = g;
    return true;
}

Variant Variant::Bool(bool value) {
    Variant v;
    v.type = VarType::Bool;
    v.boolVal = value;
    return v;
}

Variant Variant::Int(int32_t value) {
    Variant v;
    v.type = VarType::Int;
    v.intVal = value;
    return v;
}

Variant Variant::String(std::string value) {
    Variant v;
    v.type = VarType::String;
    v.strVal = std::move(value);
    return v;
}

Variant Variant::Ref(std::string* target) {
    Variant v;
    v.type = VarType::StringRef;
    v.strRef = target;
    return v;
}

WireArguments::WireArguments(std::vector<Variant>& args) {
    m_wire.reserve(args.size());
    m_refs.reserve(args.size());
    for (Variant& a : args) {
        TorvixVariant w{};
        w.type = static_cast<int32_t>(a.type);
        switch (a.type) {
            case VarType::Empty: break;
            case VarType::Bool: w.boolVal = a.boolVal ? 1 : 0; break;
            case VarType::Int: w.intVal = a.intVal; break;
            case VarType::String:
                w.str = a.strVal.c_str();
                w.strSize = a.strVal.size();
                break;
            case VarType::StringRef:
                if (!a.strRef) break;
                m_refs.push_back(Ref{{a.strRef->data(), a.strRef->size(), &Assign}, a.strRef});
                w.ref = &m_refs.back();
                break;
        }
        m_wire.push_back(w);
    }
}

void WireArguments::Assign(TorvixStringRef* self, const char* text, size_t size) {
    auto* ref = static_cast<Ref*>(self);
    ref->target->assign(text, size);
    ref->data = ref->target->data();
    ref->size = ref->target->size();
}

ReceivedArguments::ReceivedArguments(const TorvixVariant* args, uint32_t count) {
    m_args.reserve(count);
    m_texts.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const TorvixVariant& w = args[i];
        switch (w.type) {
            case TORVIX_VT_BOOL: m_args.push_back(Variant::Bool(w.boolVal != 0)); break;
            case TORVIX_VT_INT: m_args.push_back(Variant::Int(w.intVal)); break;
            case TORVIX_VT_STRING:
                m_args.push_back(Variant::String(w.str ? std::string(w.str, w.strSize) : ""));
                break;
            case TORVIX_VT_STRINGREF:
                if (!w.ref || !w.ref->assign || (!w.ref->data && w.ref->size)) {
                    m_args.push_back(Variant::Ref(nullptr));
                    break;
                }
                m_texts.emplace_back(w.ref->data ? w.ref->data : "", w.ref->size);
                m_refs.push_back(w.ref);
                m_args.push_back(Variant::Ref(&m_texts.back()));
                break;
            default: m_args.push_back(Variant{}); break;  // refused by the argument check
        }
    }
}

ReceivedArguments::~ReceivedArguments() {
    for (size_t i = 0; i < m_refs.size(); ++i) {
        TorvixStringRef* ref = m_refs[i];
        const std::string& text = m_texts[i];
        if (std::string_view(ref->data ? ref->data : "", ref->size) != text)
            ref->assign(ref, text.data(), text.size());
    }
}

TorvixVariant ToWire(const Variant& value) {
    TorvixVariant w{};
    if (value.type == VarType::Bool) {
        w.type = TORVIX_VT_BOOL;
        w.boolVal = value.boolVal ? 1 : 0;
    } else if (value.type == VarType::Int) {
        w.type = TORVIX_VT_INT;
        w.intVal = value.intVal;
    }
    return w;
}

Variant FromWire(const TorvixVariant& value) {
    if (value.type == TORVIX_VT_BOOL) return Variant::Bool(value.boolVal != 0);
    if (value.type == TORVIX_VT_INT) return Variant::Int(value.intVal);
    return Variant{};
}

HRESULT IDispatch::Invoke(int32_t dispid, std::vector<Variant>& args, Variant* result) {
    WireArguments wire(args);
    TorvixVariant out = result ? ToWire(*result) : TorvixVariant{};
    const HRESULT hr = Invoke(dispid, wire.Data(), wire.Count(), result ? &out : nullptr);
    if (result) *result = FromWire(out);
    return hr;
}

HRESULT Dispatch::GetIDOfName(const char* name, int32_t* dispid) {
    if (!name) return E_POINTER;
    return GetIDOfName(std::string_view(name), dispid);
}

HRESULT Dispatch::Invoke(int32_t dispid, TorvixVariant* args, uint32_t count,
                         TorvixVariant* result) {
    if (count != 0 && !args) return E_POINTER;
    ReceivedArguments received(args, count);
    Variant value = result ? FromWire(*result) : Variant{};
    const HRESULT hr = Invoke(dispid, received.Args(), result ? &value : nullptr);
    if (result) *result = ToWire(value);
    return hr;
}

const MemberDesc* InterfaceDesc::Find(int32_t dispid) const {
    for (const MemberDesc& m : members)
        if (m.dispid == dispid) return &m;
    return nullptr;
}

const MemberDesc* InterfaceDesc::Find(std::string_view name) const {
    for (const MemberDesc& m : members)
        if (EqualsIgnoreCase(m.name, name)) return &m;
    return nullptr;
}

const InterfaceDesc* TypeLibDesc::Find(const Guid& iid) const {
    for (const InterfaceDesc& i : interfaces)
        if (i.iid == iid) return &i;
    return nullptr;
}

HRESULT CheckArguments(const MemberDesc& member, const std::vector<Variant>& args) {
    if (args.size() != member.params.size()) return DISP_E_BADPARAMCOUNT;
    for (size_t i = 0; i < args.size(); ++i) {
        const Variant& a = args[i];
        const bool isRef = a.type == VarType::StringRef && a.strRef != nullptr;
        bool fits = false;
        switch (member.params[i].type) {
            case ParamType::String: fits = a.type == VarType::String || isRef; break;
            case ParamType::StringRef: fits = isRef; break;
            case ParamType::Bool: fits = a.type == VarType::Bool || a.type == VarType::Int; break;
        }
        if (!fits) return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

const std::string& StringArgument(const Variant& arg) {
    return arg.type == VarType::StringRef ? *arg.strRef : arg.strVal;
}

bool BoolArgument(const Variant& arg) {
    return arg.type == VarType::Bool ? arg.boolVal : arg.intVal != 0;
}

void ModuleObjectCreated() { ++g_objects; }

void ModuleObjectDestroyed() { --g_objects; }

void ModuleLock(bool lock) {
    if (lock) {
        ++g_locks;
        return;
    }
    // An unlock without a lock is ignored rather than letting the count go
    // negative and the module unload under a later lock.
    long locks = g_locks.load();
    while (locks > 0 && !g_locks.compare_exchange_weak(locks, locks - 1)) {
    }
}

bool ModuleCanUnload() { return g_objects.load() == 0 && g_locks.load() == 0; }

long ModuleObjectCount() { return g_objects.load(); }

}  // namespace plc::com
