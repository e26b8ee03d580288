// SPDX-License-Identifier: GPL-3.0-or-later
// The control's dispatch interface as one list: the ten methods of _DTorvix
// and the six events of _DTorvixEvents, each with its dispatch id, name,
// result and parameters. Everything else is expanded from these two lists:
// the dispatch id enums, the control's method declarations, the event
// handlers a host overrides, the type library data, the dispatch of calls
// and events, the client's proxies and the control's firing functions.
// What cannot include this list is checked against it at compile time: the
// editor's host link (editor/HostLink.h), and the public header
// include/torvix/torvix.h with its ids and event names; torvix.idl is
// checked by a test.
//
//   X(id, Name, Result, [ParamType, paramName]...)
//
// Result is Bool (the system's BOOL) or None; a parameter is a String, a
// StringRef (a string the callee may replace) or a Bool.
#pragma once

#include <string>
#include <type_traits>

#include "control/ComTypeInfo.h"

#define TORVIX_METHODS(X)                                     \
    X(1, PlcCreate, Bool)                                     \
    X(2, PlcSetOnline, Bool)                                  \
    X(3, PlcSetOffline, Bool)                                 \
    X(4, PlcFileOpen, Bool, String, lpFileName)               \
    X(5, PlcDestroy, Bool)                                    \
    X(6, PlcSetFocus, Bool)                                   \
    X(7, PlcSetTmpFileName, None, String, FileName)           \
    X(8, PlcSetPlcProjPath, None, String, ProjPath)           \
    X(9, PlcBinaryFileOpen, Bool, String, lpFileName)         \
    X(10, PlcSetSimulation, Bool, Bool, bEnable)

#define TORVIX_EVENTS(X)                                      \
    X(1, PlcFileToArchiv, None, String, lpFileName)           \
    X(2, PlcFileFromArchiv, None, StringRef, pbstrFileName)   \
    X(3, PlcOnCancel, None)                                   \
    X(4, PlcFileFromDevice, None, StringRef, pbstrFileName)   \
    X(5, PlcFileToDevice, None, String, lpFileName)           \
    X(6, PlcUpDateProjName, None, String, lpProjName, Bool, bOnline)

// ---- expansion helpers ----
// The parameters come as (type, name) pairs; at most two of them.
#define TORVIX_PICK_(a, b, c, d, n, ...) n
#define TORVIX_COUNT_(...) TORVIX_PICK_(__VA_ARGS__ __VA_OPT__(, ) 2, x, 1, x, 0)
#define TORVIX_CAT_(a, b) TORVIX_CAT2_(a, b)
#define TORVIX_CAT2_(a, b) a##b
#define TORVIX_FOR_PARAMS_(m, ...) \
    TORVIX_CAT_(TORVIX_PARAMS_, TORVIX_COUNT_(__VA_ARGS__))(m __VA_OPT__(, ) __VA_ARGS__)
#define TORVIX_PARAMS_0(m)
#define TORVIX_PARAMS_1(m, t1, n1) m(0, t1, n1)
#define TORVIX_PARAMS_2(m, t1, n1, t2, n2) m(0, t1, n1), m(1, t2, n2)

// The C++ types of results and parameters.
#define TORVIX_RESULT_Bool bool
#define TORVIX_RESULT_None void
#define TORVIX_TYPE_String const std::string&
#define TORVIX_TYPE_StringRef std::string&
#define TORVIX_TYPE_Bool bool

// "bool Name(const std::string& lpFileName)": a declaration from one row;
// the handler form marks its parameters as possibly unused.
#define TORVIX_RESULT(r) TORVIX_RESULT_##r
#define TORVIX_PARAM_DECL_(i, t, n) TORVIX_TYPE_##t n
#define TORVIX_SIGNATURE(id, name, r, ...) \
    TORVIX_RESULT(r) name(TORVIX_FOR_PARAMS_(TORVIX_PARAM_DECL_ __VA_OPT__(, ) __VA_ARGS__))
#define TORVIX_HANDLER_PARAM_DECL_(i, t, n) [[maybe_unused]] TORVIX_TYPE_##t n
#define TORVIX_HANDLER_SIGNATURE(id, name, r, ...) \
    TORVIX_RESULT(r) name(TORVIX_FOR_PARAMS_(TORVIX_HANDLER_PARAM_DECL_ __VA_OPT__(, ) __VA_ARGS__))
// "bool FirePlcFileFromArchiv(std::string& pbstrFileName)": the firing
// function of an event row, in the class `scope` (empty inside the class).
// An event that offers the host a name to replace answers whether the
// host's name is not empty; the others answer nothing.
#define TORVIX_PARAM_KIND_(i, t, n) ::plc::com::ParamType::t
#define TORVIX_FIRE_RESULT(...) \
    ::plc::com::FireResult<TORVIX_FOR_PARAMS_(TORVIX_PARAM_KIND_ __VA_OPT__(, ) __VA_ARGS__)>
#define TORVIX_FIRE_SIGNATURE(scope, id, name, r, ...) \
    TORVIX_FIRE_RESULT(__VA_ARGS__)                    \
    scope Fire##name(TORVIX_FOR_PARAMS_(TORVIX_PARAM_DECL_ __VA_OPT__(, ) __VA_ARGS__))
// The type of a pointer to that function as a member of `cls`.
#define TORVIX_FIRE_MEMBER_TYPE(cls, id, name, r, ...) \
    TORVIX_FIRE_RESULT(__VA_ARGS__)                    \
    (cls::*)(TORVIX_FOR_PARAMS_(TORVIX_PARAM_DECL_ __VA_OPT__(, ) __VA_ARGS__))
// The parameter names of a row as arguments: "lpProjName, bOnline".
#define TORVIX_ARG_NAME_(i, t, n) n
#define TORVIX_ARGS(...) TORVIX_FOR_PARAMS_(TORVIX_ARG_NAME_ __VA_OPT__(, ) __VA_ARGS__)
// "kName = id," of one row, for the dispatch id enums.
#define TORVIX_ENUMERATOR(id, name, ...) k##name = id,
// The arguments as variants, the variants (`args`) as arguments.
#define TORVIX_TO_VARIANT_(i, t, n) ::plc::com::ToVariant<::plc::com::ParamType::t>(n)
#define TORVIX_TO_VARIANTS(...) TORVIX_FOR_PARAMS_(TORVIX_TO_VARIANT_ __VA_OPT__(, ) __VA_ARGS__)
#define TORVIX_FROM_VARIANT_(i, t, n) ::plc::com::FromVariant<::plc::com::ParamType::t>(args[i])
#define TORVIX_FROM_VARIANTS(...) \
    TORVIX_FOR_PARAMS_(TORVIX_FROM_VARIANT_ __VA_OPT__(, ) __VA_ARGS__)
// The type library's member description of one row.
#define TORVIX_PARAM_DESC_(i, t, n) ::plc::com::ParamDesc{#n, ::plc::com::ParamType::t}
#define TORVIX_MEMBER_DESC(prefix, id, name, r, ...)                     \
    ::plc::com::MemberDesc{prefix::k##name, #name, ::plc::com::ResultType::r, \
                           {TORVIX_FOR_PARAMS_(TORVIX_PARAM_DESC_ __VA_OPT__(, ) __VA_ARGS__)}},

namespace plc::com {

// A checked argument as the C++ parameter of its type, and back.
template <ParamType T>
decltype(auto) FromVariant(Variant& arg) {
    if constexpr (T == ParamType::String)
        return static_cast<const std::string&>(StringArgument(arg));
    else if constexpr (T == ParamType::StringRef)
        return static_cast<std::string&>(*arg.strRef);
    else
        return BoolArgument(arg);
}

template <ParamType T, class A>
Variant ToVariant(A&& value) {
    if constexpr (T == ParamType::String)
        return Variant::String(value);
    else if constexpr (T == ParamType::StringRef)
        return Variant::Ref(&value);
    else
        return Variant::Bool(value);
}

// The result of an event's firing function: whether the host's answer is
// not empty when the event offers it a name to replace, else nothing.
template <ParamType... T>
using FireResult =
    std::conditional_t<(false || ... || (T == ParamType::StringRef)), bool, void>;

// Runs a call and gives its result as the system's BOOL would: a method
// without a result counts as done.
template <class F>
bool CallResult(F&& call) {
    if constexpr (std::is_void_v<decltype(call())>) {
        call();
        return true;
    } else {
        return call();
    }
}

}  // namespace plc::com
