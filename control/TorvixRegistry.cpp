// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TorvixRegistry.h"

#include <cstdlib>

#include "base/XdgFolders.h"
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

// What every class of the module registers: its name, ProgID, module and
// threading model, then `more` of its own, then its ProgID's keys.
std::vector<RegistryEntry> ClassEntries(const com::Guid& clsid, const char* progId, int nameId,
                                        const std::string& modulePath,
                                        std::vector<RegistryEntry> more) {
    const std::string section = ClassSection(clsid);
    const std::string name = LoadString(nameId);
    std::vector<RegistryEntry> entries = {
        {section, "Name", name},
        {section, "ProgID", progId},
        {section, "InprocServer", modulePath},
        {section, "ThreadingModel", "Apartment"},
    };
    for (RegistryEntry& entry : more) entries.push_back(std::move(entry));
    entries.push_back({progId, "Name", name});
    entries.push_back({progId, "CLSID", com::GuidToString(clsid)});
    return entries;
}

}  // namespace

std::string RegistryFilePath() {
    if (std::string path = Env("TORVIX_REGISTRY"); !path.empty()) return path;
    const std::string config = XdgFolder(XdgKind::Config);
    return config.empty() ? std::string() : config + "/torvix/registry.ini";
}

bool RegistryStore::SetAll(const std::vector<RegistryEntry>& entries) {
    for (const RegistryEntry& e : entries)
        if (!Set(e.section, e.key, e.value)) return false;
    return true;
}

bool RegistryStore::Change(const std::function<void()>& work) {
    work();
    return true;
}

bool ProfileRegistry::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (m_changing) {
        m_changing->WriteString(section, key, value);
        return true;
    }
    return Profile(m_path).WriteString(section, key, value);
}

bool ProfileRegistry::Remove(std::string_view section, std::string_view key) {
    if (m_changing) {
        m_changing->DeleteKey(section, key);
        return true;
    }
    return Profile(m_path).DeleteKey(section, key);
}

bool ProfileRegistry::Change(const std::function<void()>& work) {
    return Profile(m_path).Edit([&](ProfileEntries& entries) {
        m_changing = &entries;
        work();
        m_changing = nullptr;
    });
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
            // Not insertable: no such key.
            const std::string section = ClassSection(CLSID_Torvix);
            entries = ClassEntries(CLSID_Torvix, kControlProgId, kControlTypeNameId, modulePath,
                                   {
                                       {section, "Control", "1"},
                                       {section, "ToolboxBitmap",
                                        modulePath + "," + std::to_string(kToolboxBitmapId)},
                                       {section, "MiscStatus", std::to_string(kControlMiscStatus)},
                                       {section, "TypeLib", libid},
                                       {section, "Version", version},
                                   });
            break;
        }
        case RegistrationPart::PropPageClass:
            entries = ClassEntries(CLSID_TorvixPropPage, kPropPageProgId, kPropPageTypeNameId,
                                   modulePath, {});
            break;
    }
    return entries;
}

namespace {

constexpr RegistrationPart kClasses[] = {RegistrationPart::ControlClass,
                                         RegistrationPart::PropPageClass};

bool WritePart(RegistryStore& store, RegistrationPart part, const std::string& modulePath) {
    return store.SetAll(RegistrationEntries(part, modulePath));
}

bool RemovePart(RegistryStore& store, RegistrationPart part) {
    bool ok = true;
    for (const RegistryEntry& e : RegistrationEntries(part, ""))
        ok = store.Remove(e.section, e.key) && ok;
    return ok;
}

com::HRESULT RegisterParts(RegistryStore& store, const std::string& modulePath) {
    if (!WritePart(store, RegistrationPart::TypeLib, modulePath)) return com::SELFREG_E_TYPELIB;
    com::HRESULT hr = com::S_OK;
    for (RegistrationPart part : kClasses)
        if (!WritePart(store, part, modulePath)) hr = com::SELFREG_E_CLASS;
    return hr;
}

com::HRESULT UnregisterParts(RegistryStore& store) {
    if (!RemovePart(store, RegistrationPart::TypeLib)) return com::SELFREG_E_TYPELIB;
    com::HRESULT hr = com::S_OK;
    for (RegistrationPart part : kClasses)
        if (!RemovePart(store, part)) hr = com::SELFREG_E_CLASS;
    return hr;
}

}  // namespace

com::HRESULT RegisterServer(RegistryStore& store, const std::string& modulePath) {
    com::HRESULT hr = com::S_OK;
    if (!store.Change([&] { hr = RegisterParts(store, modulePath); })) return com::SELFREG_E_TYPELIB;
    return hr;
}

com::HRESULT UnregisterServer(RegistryStore& store) {
    com::HRESULT hr = com::S_OK;
    if (!store.Change([&] { hr = UnregisterParts(store); })) return com::SELFREG_E_TYPELIB;
    return hr;
}

}  // namespace plc
