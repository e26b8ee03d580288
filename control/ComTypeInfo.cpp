// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/ComTypeInfo.h"

#include "base/Ascii.h"

namespace plc::com {

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

}  // namespace plc::com
