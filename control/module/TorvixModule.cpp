// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TorvixModule.h"

#include <dlfcn.h>

#include <filesystem>

#include "control/TorvixObjects.h"
#include "control/TorvixRegistry.h"
#include "control/TorvixTypeLib.h"

namespace plc {

namespace {

// The file name of the module that holds this code.
std::string ThisModulePath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&DllGetClassObject), &info) || !info.dli_fname) return "";
    std::error_code error;
    std::filesystem::path path = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::string(info.dli_fname) : path.string();
}

// The registry file, its folder created when missing; empty when there is
// no place for it.
std::string RegistryFile() {
    std::string path = RegistryFilePath();
    if (path.empty()) return path;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    return path;
}

}  // namespace

}  // namespace plc

using namespace plc;

com::HRESULT DllRegisterServer() {
    return com::Guarded([] {
        const std::string path = RegistryFile();
        if (path.empty()) return com::SELFREG_E_TYPELIB;
        ProfileRegistry registry(path);
        return RegisterServer(registry, ThisModulePath());
    });
}

com::HRESULT DllUnregisterServer() {
    return com::Guarded([] {
        const std::string path = RegistryFile();
        if (path.empty()) return com::SELFREG_E_TYPELIB;
        ProfileRegistry registry(path);
        return UnregisterServer(registry);
    });
}

com::HRESULT DllGetClassObject(const com::Guid* clsid, const com::Guid* iid, void** object) {
    if (!object) return com::E_POINTER;
    *object = nullptr;
    if (!clsid || !iid) return com::E_POINTER;
    com::IClassFactory* factory = FindClassFactory(*clsid);
    if (!factory) return com::CLASS_E_CLASSNOTAVAILABLE;
    return factory->QueryInterface(iid, object);
}

com::HRESULT DllCanUnloadNow() { return com::ModuleCanUnload() ? com::S_OK : com::S_FALSE; }

com::HRESULT DllGetTypeLib(const TorvixTypeLibrary** lib) {
    if (!lib) return com::E_POINTER;
    *lib = reinterpret_cast<const TorvixTypeLibrary*>(&TorvixTypeLib());
    return com::S_OK;
}
