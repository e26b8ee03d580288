// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/ComInterfaces.h"

namespace plc::com {

HRESULT IDispatch::Invoke(int32_t dispid, std::vector<Variant>& args, Variant* result) {
    WireArguments wire(args);
    TorvixVariant out = result ? ToWire(*result) : TorvixVariant{};
    const HRESULT hr = Invoke(dispid, wire.Data(), wire.Count(), result ? &out : nullptr);
    if (result) *result = FromWire(out);
    return hr;
}

HRESULT Dispatch::GetIDOfName(const char* name, int32_t* dispid) {
    if (!name || !dispid) return E_POINTER;
    return Guarded([&] { return GetIDOfName(std::string_view(name), dispid); });
}

HRESULT Dispatch::Invoke(int32_t dispid, TorvixVariant* args, uint32_t count,
                         TorvixVariant* result) {
    // The member and the count first: only then are `count` arguments read.
    const InterfaceDesc* described = nullptr;
    if (GetTypeInfo(&described) == S_OK && described) {
        const MemberDesc* member = described->Find(dispid);
        if (!member) return DISP_E_MEMBERNOTFOUND;
        if (count != member->params.size()) return DISP_E_BADPARAMCOUNT;
    } else if (count > kMaxArguments) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (count != 0 && !args) return E_POINTER;
    if (const HRESULT hr = CheckWireArguments(args, count); hr != S_OK) return hr;
    return Guarded([&] {
        ReceivedArguments received(args, count);
        Variant value = result ? FromWire(*result) : Variant{};
        const HRESULT hr = Invoke(dispid, received.Args(), result ? &value : nullptr);
        if (result) *result = ToWire(value);
        return hr;
    });
}

}  // namespace plc::com
