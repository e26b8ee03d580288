// SPDX-License-Identifier: GPL-3.0-or-later
// Dispatch arguments: one argument or result of a dispatch call as a value,
// and the arguments as they cross the module boundary in the layout of the
// public header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "control/ComIds.h"
#include "torvix/torvix.h"

namespace plc::com {

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

// The most arguments a call may have, for a callee that does not describe
// its members, and the longest string an argument may hold.
inline constexpr uint32_t kMaxArguments = 64;
inline constexpr size_t kMaxStringArgument = size_t{1} << 20;

// Checks the arguments of a call as they came over the boundary before any
// is read further: E_POINTER for a string or by-reference string whose
// pointers are null where text is claimed (or whose assign function is
// missing), E_INVALIDARG for a string longer than kMaxStringArgument, else
// S_OK. Kinds that are no argument type are left to the member's check.
HRESULT CheckWireArguments(const TorvixVariant* args, uint32_t count);

// A result as it crosses the module boundary: empty, a BOOL or an integer.
TorvixVariant ToWire(const Variant& value);
Variant FromWire(const TorvixVariant& value);

}  // namespace plc::com
