// SPDX-License-Identifier: GPL-3.0-or-later
// The description of dispatch interfaces as data (the type library), and
// the check of a call's arguments against a member's description.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "control/ComIds.h"
#include "control/ComVariant.h"

namespace plc::com {

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

}  // namespace plc::com
