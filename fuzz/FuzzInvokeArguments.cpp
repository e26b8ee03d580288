// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the arguments of a dispatch call as a host hands them over
// the module boundary (Invoke with a pointer, a count and results by
// pointer), honest or not: counts far beyond the array, null pointers where
// text is claimed, strings claiming terabytes, kinds that are no argument
// type, by-reference strings without an assign function.
//
// Input: byte 0 picks the object (bit 0: one that describes its members, or
// one that does not), whether a result is asked for (bit 1) and the member
// (bits 2-4, ids -2 to 5); byte 1 the count (0xFF: 0xFFFFFFFF, 0xFE:
// 1,000,000, 0xFD: 65, else 0 to 7). Then per argument actually passed (at
// most 8): its kind, its faults (bit 0: null text, bit 1: a size of 2^40,
// bit 2: no assign function, bit 3: no reference), a length and that many
// bytes of text. Checks: the call answers; a member the object lacks is
// DISP_E_MEMBERNOTFOUND and a wrong count DISP_E_BADPARAMCOUNT, before any
// argument is read (the sanitizer sees a read beyond the array); a call
// that succeeds hands replaced strings back through assign.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "control/ComInterfaces.h"

namespace {

using namespace plc::com;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

const InterfaceDesc& Described() {
    static const InterfaceDesc desc{
        {},
        "_DFuzz",
        "",
        0,
        {{1, "Create", ResultType::Bool, {}},
         {2, "Open", ResultType::Bool, {{"name", ParamType::String}}},
         {3, "TakeName", ResultType::None, {{"name", ParamType::StringRef}}},
         {4, "Both", ResultType::Bool, {{"flag", ParamType::Bool}, {"name", ParamType::String}}}}};
    return desc;
}

// A dispatch object as the control's are: it checks the arguments against
// the member and replaces by-reference strings.
class Target final : public Dispatch {
public:
    explicit Target(bool described) : m_described(described) {}

    HRESULT QueryInterface(const Guid* iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        return iid ? E_NOINTERFACE : E_POINTER;
    }
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }
    HRESULT GetTypeInfo(const InterfaceDesc** info) override {
        if (!info) return E_POINTER;
        *info = m_described ? &Described() : nullptr;
        return m_described ? S_OK : E_NOTIMPL;
    }
    HRESULT GetIDOfName(std::string_view, int32_t* dispid) override {
        *dispid = -1;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT Invoke(int32_t dispid, std::vector<Variant>& args, Variant* result) override {
        const MemberDesc* member = Described().Find(dispid);
        if (!member) return DISP_E_MEMBERNOTFOUND;
        if (const HRESULT hr = CheckArguments(*member, args); hr != S_OK) return hr;
        for (Variant& a : args)
            if (a.type == VarType::StringRef) *a.strRef += ".bin";
        if (result) *result = Variant::Bool(true);
        return S_OK;
    }

private:
    bool m_described;
};

struct Ref : TorvixStringRef {
    std::string text;
};

void Assign(TorvixStringRef* self, const char* text, size_t size) {
    auto* ref = static_cast<Ref*>(self);
    ref->text.assign(text, size);
    ref->data = ref->text.data();
    ref->size = ref->text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t head = data[0];
    const bool described = (head & 1) != 0;
    const bool wantResult = (head & 2) != 0;
    const int32_t dispid = static_cast<int32_t>((head >> 2) & 7) - 2;
    const uint8_t countByte = data[1];
    const uint32_t count = countByte == 0xFF ? 0xFFFFFFFFu
                           : countByte == 0xFE ? 1000000u
                           : countByte == 0xFD ? 65u
                                               : countByte % 8u;
    const uint32_t passed = count < 8 ? count : 8;

    // The arguments, laid out as a host would; texts point into the input.
    std::vector<TorvixVariant> args(passed);
    std::vector<Ref> refs(passed);
    size_t at = 2;
    auto next = [&]() -> uint8_t { return at < size ? data[at++] : 0; };
    for (uint32_t i = 0; i < passed; ++i) {
        TorvixVariant& w = args[i];
        const uint8_t kind = next() % 6;
        const uint8_t faults = next();
        const size_t length = std::min<size_t>(next(), size - std::min(at, size));
        const char* text = reinterpret_cast<const char*>(data + std::min(at, size));
        at += length;
        const size_t claimed = (faults & 2) ? size_t{1} << 40 : length;
        w.type = kind == 5 ? 99 : kind;
        w.boolVal = length & 1;
        w.intVal = static_cast<int32_t>(length);
        if (kind == TORVIX_VT_STRING) {
            w.str = (faults & 1) ? nullptr : text;
            w.strSize = claimed;
        } else if (kind == TORVIX_VT_STRINGREF) {
            Ref& ref = refs[i];
            ref.text.assign(text, length);
            ref.data = (faults & 1) ? nullptr : ref.text.data();
            ref.size = (faults & 2) ? claimed : ref.text.size();
            ref.assign = (faults & 4) ? nullptr : &Assign;
            w.ref = (faults & 8) ? nullptr : &ref;
        }
    }

    Target target(described);
    IDispatch& dispatch = target;
    TorvixVariant result{};
    const HRESULT hr = dispatch.Invoke(dispid, passed ? args.data() : nullptr, count, wantResult ? &result : nullptr);

    const MemberDesc* member = Described().Find(dispid);
    if (described && !member && hr != DISP_E_MEMBERNOTFOUND) Fail("a missing member was not refused as such");
    if (described && member && count != member->params.size() && hr != DISP_E_BADPARAMCOUNT)
        Fail("a wrong count was not refused as such");
    if (!described && count > kMaxArguments && hr != DISP_E_BADPARAMCOUNT) Fail("an absurd count was taken");
    if (hr == S_OK) {
        for (uint32_t i = 0; i < passed; ++i) {
            if (args[i].type != TORVIX_VT_STRINGREF) continue;
            const Ref& ref = refs[i];
            if (!ref.text.ends_with(".bin") || std::string_view(ref.data, ref.size) != ref.text)
                Fail("a replaced string did not come back");
        }
        if (wantResult && result.type != TORVIX_VT_BOOL) Fail("no result");
    } else if (hr != DISP_E_MEMBERNOTFOUND && hr != DISP_E_BADPARAMCOUNT && hr != DISP_E_TYPEMISMATCH &&
               hr != E_POINTER && hr != E_INVALIDARG) {
        Fail("an unexpected answer: " + std::to_string(hr));
    }
    return 0;
}
