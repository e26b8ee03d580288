#include "control/TorvixRegistry.h"

#include <cstdlib>

#include "control/TorvixTypeLib.h"
#include "platform/Profile.h"
#include "resources/StringTable.h"

namespace plc {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string VersionText(uint16_t major, uint16_t minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

std::string ClassSection(const com::Guid& clsid) { return "CLSID\\" + com::GuidToString(clsid); }

}  // namespace

std::string RegistryFilePath() {
    if (std::string path = Env("TORVIX_REGISTRY"); !path.empty()) return path;
    if (std::string config = Env("XDG_CONFIG_HOME"); !config.empty())
        return config + "/torvix/registry.ini";
    if (std::string home = Env("HOME"); !home.empty()) return home + "/.config/torvix/registry.ini";
    return "";
}

bool ProfileRegistry::Set(std::string_view section, std::string_view key, std::string_view value) {
    return Profile(m_path).WriteString(section, key, value);
}

bool ProfileRegistry::Remove(std::string_view section, std::string_view key) {
    return Profile(m_path).DeleteKey(section, key);
}

std::vector<RegistryEntry> RegistrationEntries(RegistrationPart part, const std::string& modulePath) {
    const com::TypeLibDesc& lib = TorvixTypeLib();
    const std::string libid = com::GuidToString(lib.libid);
    const std::string version = VersionText(lib.major, lib.minor);
    std::vector<RegistryEntry> entries;
    switch (part) {
        case RegistrationPart::TypeLib: {
            const std::string section = "TypeLib\\" + libid;
            entries = {
                {section, "Name", lib.name},
                {section, "Version", version},
                {section, "Locale", std::to_string(lib.lcid)},
                {section, "HelpString", lib.helpString},
                {section, "HelpFile", lib.helpFile},
                {section, "Flags", std::to_string(lib.flags)},
                {section, "Module", modulePath},
            };
            for (const com::InterfaceDesc& i : lib.interfaces) {
                const std::string interface = "Interface\\" + com::GuidToString(i.iid);
                entries.push_back({interface, "Name", i.name});
                entries.push_back({interface, "TypeLib", libid});
                entries.push_back({interface, "Version", version});
            }
            break;
        }
        case RegistrationPart::ControlClass: {
            const std::string section = ClassSection(CLSID_Torvix);
            const std::string name = LoadString(kControlTypeNameId);
            // Not insertable: no such key.
            entries = {
                {section, "Name", name},
                {section, "ProgID", kControlProgId},
                {section, "InprocServer", modulePath},
                {section, "ThreadingModel", "Apartment"},
                {section, "Control", "1"},
                {section, "ToolboxBitmap", modulePath + "," + std::to_string(kToolboxBitmapId)},
                {section, "MiscStatus", std::to_string(kControlMiscStatus)},
                {section, "TypeLib", libid},
                {section, "Version", version},
                {kControlProgId, "Name", name},
                {kControlProgId, "CLSID", com::GuidToString(CLSID_Torvix)},
            };
            break;
        }
        case RegistrationPart::PropPageClass: {
            const std::string section = ClassSection(CLSID_TorvixPropPage);
            const std::string name = LoadString(kPropPageTypeNameId);
            entries = {
                {section, "Name", name},
                {section, "ProgID", kPropPageProgId},
                {section, "InprocServer", modulePath},
                {section, "ThreadingModel", "Apartment"},
                {kPropPageProgId, "Name", name},
                {kPropPageProgId, "CLSID", com::GuidToString(CLSID_TorvixPropPage)},
            };
            break;
        }
    }
    return entries;
}

namespace {

constexpr RegistrationPart kClasses[] = {RegistrationPart::ControlClass,
                                         RegistrationPart::PropPageClass};

bool WritePart(RegistryStore& store, RegistrationPart part, const std::string& modulePath) {
    for (const RegistryEntry& e : RegistrationEntries(part, modulePath))
        if (!store.Set(e.section, e.key, e.value)) return false;
    return true;
}

bool RemovePart(RegistryStore& store, RegistrationPart part) {
    bool ok = true;
    for (const RegistryEntry& e : RegistrationEntries(part, ""))
        ok = store.Remove(e.section, e.key) && ok;
    return ok;
}

}  // namespace

com::HRESULT RegisterServer(RegistryStore& store, const std::string& modulePath) {
    if (!WritePart(store, RegistrationPart::TypeLib, modulePath)) return com::SELFREG_E_TYPELIB;
    com::HRESULT hr = com::S_OK;
    for (RegistrationPart part : kClasses)
        if (!WritePart(store, part, modulePath)) hr = com::SELFREG_E_CLASS;
    return hr;
}

com::HRESULT UnregisterServer(RegistryStore& store) {
    if (!RemovePart(store, RegistrationPart::TypeLib)) return com::SELFREG_E_TYPELIB;
    com::HRESULT hr = com::S_OK;
    for (RegistrationPart part : kClasses)
        if (!RemovePart(store, part)) hr = com::SELFREG_E_CLASS;
    return hr;
}

}  // namespace plc
