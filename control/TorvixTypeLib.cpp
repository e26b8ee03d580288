#include "control/TorvixTypeLib.h"

#include "control/TorvixCtrl.h"

namespace plc {

using com::ParamType;
using com::ResultType;

namespace {

com::TypeLibDesc BuildTypeLib() {
    com::InterfaceDesc dispatch{
        IID__DTorvix,
        "_DTorvix",
        "Dispatch-Schnittstelle f\xFCr Torvix Control",
        com::kTypeHidden | com::kTypeDispatchable,
        {
            {CTorvixCtrl::kPlcCreate, "PlcCreate", ResultType::Bool, {}},
            {CTorvixCtrl::kPlcSetOnline, "PlcSetOnline", ResultType::Bool, {}},
            {CTorvixCtrl::kPlcSetOffline, "PlcSetOffline", ResultType::Bool, {}},
            {CTorvixCtrl::kPlcFileOpen, "PlcFileOpen", ResultType::Bool,
             {{"lpFileName", ParamType::String}}},
            {CTorvixCtrl::kPlcDestroy, "PlcDestroy", ResultType::Bool, {}},
            {CTorvixCtrl::kPlcSetFocus, "PlcSetFocus", ResultType::Bool, {}},
            {CTorvixCtrl::kPlcSetTmpFileName, "PlcSetTmpFileName", ResultType::None,
             {{"FileName", ParamType::String}}},
            {CTorvixCtrl::kPlcSetPlcProjPath, "PlcSetPlcProjPath", ResultType::None,
             {{"ProjPath", ParamType::String}}},
            {CTorvixCtrl::kPlcBinaryFileOpen, "PlcBinaryFileOpen", ResultType::Bool,
             {{"lpFileName", ParamType::String}}},
        }};
    com::InterfaceDesc events{
        IID__DTorvixEvents,
        "_DTorvixEvents",
        "Ereignisschnittstelle f\xFCr Torvix Control",
        com::kTypeDispatchable,
        {
            {TorvixEvents::kPlcFileToArchiv, "PlcFileToArchiv", ResultType::None,
             {{"lpFileName", ParamType::String}}},
            {TorvixEvents::kPlcFileFromArchiv, "PlcFileFromArchiv", ResultType::None,
             {{"pbstrFileName", ParamType::StringRef}}},
            {TorvixEvents::kPlcOnCancel, "PlcOnCancel", ResultType::None, {}},
            {TorvixEvents::kPlcFileFromDevice, "PlcFileFromDevice", ResultType::None,
             {{"pbstrFileName", ParamType::StringRef}}},
            {TorvixEvents::kPlcFileToDevice, "PlcFileToDevice", ResultType::None,
             {{"lpFileName", ParamType::String}}},
            {TorvixEvents::kPlcUpDateProjName, "PlcUpDateProjName", ResultType::None,
             {{"lpProjName", ParamType::String}, {"bOnline", ParamType::Bool}}},
        }};
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
