// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/ComVariant.h"

#include <string_view>

namespace plc::com {

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

HRESULT CheckWireArguments(const TorvixVariant* args, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const TorvixVariant& w = args[i];
        if (w.type == TORVIX_VT_STRING) {
            if (w.strSize > kMaxStringArgument) return E_INVALIDARG;
            if (!w.str && w.strSize != 0) return E_POINTER;
        } else if (w.type == TORVIX_VT_STRINGREF) {
            if (!w.ref || !w.ref->assign) return E_POINTER;
            if (w.ref->size > kMaxStringArgument) return E_INVALIDARG;
            if (!w.ref->data && w.ref->size != 0) return E_POINTER;
        }
    }
    return S_OK;
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

}  // namespace plc::com
