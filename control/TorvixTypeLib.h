// The control's identifiers and its type library as data: the dispatch
// interface with the nine methods, the event interface with the six events
// and the control class. The same tables drive the dispatch of calls and
// events, the name look-up and what a host reads from the module.
#pragma once

#include "control/Component.h"

namespace plc {

inline constexpr com::Guid LIBID_TORVIXLib{
    0x5A61E03C, 0x2B7C, 0x4D19, {0x8E, 0x3F, 0x6C, 0x0D, 0x4B, 0x9A, 0x7E, 0x21}};
inline constexpr com::Guid IID__DTorvix{
    0x5A61E03D, 0x2B7C, 0x4D19, {0x8E, 0x3F, 0x6C, 0x0D, 0x4B, 0x9A, 0x7E, 0x21}};
inline constexpr com::Guid IID__DTorvixEvents{
    0x5A61E03E, 0x2B7C, 0x4D19, {0x8E, 0x3F, 0x6C, 0x0D, 0x4B, 0x9A, 0x7E, 0x21}};
inline constexpr com::Guid CLSID_Torvix{
    0x5A61E03F, 0x2B7C, 0x4D19, {0x8E, 0x3F, 0x6C, 0x0D, 0x4B, 0x9A, 0x7E, 0x21}};
inline constexpr com::Guid CLSID_TorvixPropPage{
    0x5A61E040, 0x2B7C, 0x4D19, {0x8E, 0x3F, 0x6C, 0x0D, 0x4B, 0x9A, 0x7E, 0x21}};

inline constexpr uint16_t kTypeLibMajor = 1;
inline constexpr uint16_t kTypeLibMinor = 0;

inline constexpr const char* kControlProgId = "TORVIX.TorvixCtrl.1";
inline constexpr const char* kPropPageProgId = "TORVIX.TorvixPropPage.1";

// Miscellaneous status of the control: set client site first, invisible at
// run time, inside-out, can't link inside, recompose on resize.
inline constexpr uint32_t kControlMiscStatus = 0x20491;
// Resource ids of the user type names and the toolbox bitmap.
inline constexpr int kControlTypeNameId = 1;
inline constexpr int kPropPageTypeNameId = 2;
inline constexpr int kToolboxBitmapId = 1;

// The version stamp of the control's persistent state (major 1, minor 0).
inline constexpr uint32_t kControlVersionStamp = 0x00010000;

// The library TORVIXLib: _DTorvix, _DTorvixEvents and the class Torvix.
const com::TypeLibDesc& TorvixTypeLib();
const com::InterfaceDesc& TorvixDispatchDesc();
const com::InterfaceDesc& TorvixEventsDesc();

}  // namespace plc
