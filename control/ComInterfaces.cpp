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

}  // namespace plc::com
