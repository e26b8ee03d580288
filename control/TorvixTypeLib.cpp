// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TorvixTypeLib.h"

#include <iterator>
#include <string_view>

#include "control/TorvixCtrl.h"

namespace plc {

// The public header gives a host the same dispatch ids and event names as
// the lists.
#define TORVIX_CHECK_ID_(id, name, ...) \
    static_assert(TORVIX_DISPID_##name == id, "the public header's id of " #name);
TORVIX_METHODS(TORVIX_CHECK_ID_)
TORVIX_EVENTS(TORVIX_CHECK_ID_)
#undef TORVIX_CHECK_ID_
#define TORVIX_COUNT_ROW_(...) +1
static_assert(0 TORVIX_METHODS(TORVIX_COUNT_ROW_) == TORVIX_METHOD_COUNT);
static_assert(0 TORVIX_EVENTS(TORVIX_COUNT_ROW_) == TORVIX_EVENT_COUNT);
#undef TORVIX_COUNT_ROW_
namespace {
constexpr std::string_view kPublicEventNames[] = TORVIX_EVENT_NAMES_INIT;
static_assert(std::size(kPublicEventNames) == TORVIX_EVENT_COUNT + 1);
}  // namespace
#define TORVIX_CHECK_NAME_(id, name, ...) \
    static_assert(kPublicEventNames[id] == #name, "the public header's name of event " #name);
TORVIX_EVENTS(TORVIX_CHECK_NAME_)
#undef TORVIX_CHECK_NAME_

namespace {

com::TypeLibDesc BuildTypeLib() {
    com::InterfaceDesc dispatch{
        IID__DTorvix,
        "_DTorvix",
        "Dispatch-Schnittstelle f\xFCr Torvix Control",
        com::kTypeHidden | com::kTypeDispatchable,
#define TORVIX_METHOD_DESC_(...) TORVIX_MEMBER_DESC(CTorvixCtrl, __VA_ARGS__)
        {TORVIX_METHODS(TORVIX_METHOD_DESC_)}};
#undef TORVIX_METHOD_DESC_
    com::InterfaceDesc events{
        IID__DTorvixEvents,
        "_DTorvixEvents",
        "Ereignisschnittstelle f\xFCr Torvix Control",
        com::kTypeDispatchable,
#define TORVIX_EVENT_DESC_(...) TORVIX_MEMBER_DESC(TorvixEvents, __VA_ARGS__)
        {TORVIX_EVENTS(TORVIX_EVENT_DESC_)}};
#undef TORVIX_EVENT_DESC_
    return com::TypeLibDesc{
        LIBID_TORVIXLib,
        kTypeLibMajor,
        kTypeLibMinor,
        0,
        "TORVIXLib",
        "Torvix ActiveX-Steuerelement-Modul",
        "Torvix.hlp",
        com::kLibControl,
        {std::move(dispatch), std::move(events)},
        {CLSID_Torvix, "Torvix", "Torvix Control", com::kTypeControl | com::kTypeCanCreate,
         IID__DTorvix, IID__DTorvixEvents},
    };
}

}  // namespace

const com::TypeLibDesc& TorvixTypeLib() {
    static const com::TypeLibDesc lib = BuildTypeLib();
    return lib;
}

const com::InterfaceDesc& TorvixDispatchDesc() { return *TorvixTypeLib().Find(IID__DTorvix); }

const com::InterfaceDesc& TorvixEventsDesc() { return *TorvixTypeLib().Find(IID__DTorvixEvents); }

}  // namespace plc
