#include "control/Component.h"

#include <cstdio>

#include "image/Ascii.h"

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
