// SPDX-License-Identifier: GPL-3.0-or-later
// The component layer's result codes and identifiers. The values and the
// layouts that cross the module boundary are those of the public header
// torvix/torvix.h; the names here are the component layer's own.
//
// The component layer (module and host share it; plain C++, no Qt) is
// split by subject:
//   ComIds.h        result codes and identifiers (this file)
//   ComVariant.h    dispatch arguments and their form on the wire
//   ComTypeInfo.h   interface descriptions (the type library as data) and
//                   the check of a call's arguments against them
//   ComInterfaces.h the interfaces objects hand out by identifier
//   ComRefCount.h   reference counts, the module's object count, ComPtr
#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <string_view>

#include "torvix/torvix.h"

// Identifiers compare by value.
constexpr bool operator==(const TorvixGuid& a, const TorvixGuid& b) {
    for (int i = 0; i < 8; ++i)
        if (a.data4[i] != b.data4[i]) return false;
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3;
}

namespace plc::com {

// ---- results ----
using HRESULT = TorvixResult;

constexpr HRESULT S_OK = TORVIX_S_OK;
constexpr HRESULT S_FALSE = TORVIX_S_FALSE;
constexpr HRESULT E_NOTIMPL = TORVIX_E_NOTIMPL;
constexpr HRESULT E_NOINTERFACE = TORVIX_E_NOINTERFACE;
constexpr HRESULT E_POINTER = TORVIX_E_POINTER;
constexpr HRESULT E_OUTOFMEMORY = TORVIX_E_OUTOFMEMORY;
constexpr HRESULT E_FAIL = TORVIX_E_FAIL;
constexpr HRESULT E_UNEXPECTED = TORVIX_E_UNEXPECTED;
constexpr HRESULT E_INVALIDARG = TORVIX_E_INVALIDARG;
constexpr HRESULT CLASS_E_NOAGGREGATION = TORVIX_CLASS_E_NOAGGREGATION;
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = TORVIX_CLASS_E_CLASSNOTAVAILABLE;
constexpr HRESULT DISP_E_MEMBERNOTFOUND = TORVIX_DISP_E_MEMBERNOTFOUND;
constexpr HRESULT DISP_E_TYPEMISMATCH = TORVIX_DISP_E_TYPEMISMATCH;
constexpr HRESULT DISP_E_UNKNOWNNAME = TORVIX_DISP_E_UNKNOWNNAME;
constexpr HRESULT DISP_E_BADPARAMCOUNT = TORVIX_DISP_E_BADPARAMCOUNT;
constexpr HRESULT CONNECT_E_NOCONNECTION = TORVIX_CONNECT_E_NOCONNECTION;
constexpr HRESULT CONNECT_E_CANNOTCONNECT = TORVIX_CONNECT_E_CANNOTCONNECT;
constexpr HRESULT SELFREG_E_TYPELIB = TORVIX_SELFREG_E_TYPELIB;
constexpr HRESULT SELFREG_E_CLASS = TORVIX_SELFREG_E_CLASS;

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }

// Runs `call` where a caller outside the module waits for a result: no C++
// exception crosses the module boundary. Memory that runs out is
// E_OUTOFMEMORY, anything else thrown E_UNEXPECTED.
template <class Call>
HRESULT Guarded(Call&& call) noexcept {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// ---- identifiers ----
using Guid = ::TorvixGuid;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex digits.
std::string GuidToString(const Guid& guid);
// Reads that form (either case); false when `text` is anything else.
bool GuidFromString(std::string_view text, Guid& guid);

inline constexpr Guid IID_IUnknown = TORVIX_IID_IUNKNOWN_INIT;
inline constexpr Guid IID_IClassFactory = TORVIX_IID_ICLASSFACTORY_INIT;
inline constexpr Guid IID_IDispatch = TORVIX_IID_IDISPATCH_INIT;
inline constexpr Guid IID_IConnectionPointContainer = TORVIX_IID_ICONNECTIONPOINTCONTAINER_INIT;
inline constexpr Guid IID_IConnectionPoint = TORVIX_IID_ICONNECTIONPOINT_INIT;
inline constexpr Guid IID_ISpecifyPropertyPages{
    0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid IID_IPropertyPage{
    0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid IID_IPersistState{
    0x7FD52380, 0x4E07, 0x101B, {0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E, 0xC7, 0x13}};
// The control's editor, for hosts built with this component layer (not in
// the public header: a C host has no use for a C++ object).
inline constexpr Guid IID_IControlEditor{
    0xABDD33FA, 0x9D52, 0x4904, {0x9A, 0xB8, 0x96, 0x6A, 0x9F, 0x0F, 0xA5, 0x24}};

}  // namespace plc::com
