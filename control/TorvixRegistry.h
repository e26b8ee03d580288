// SPDX-License-Identifier: GPL-3.0-or-later
// Registration of the module: the type library, the control class and the
// property page class with their identifiers, ProgIDs and status values,
// written as "[key path]" sections of a profile file and removed again key
// by key on unregistration.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "control/ComIds.h"
#include "platform/Profile.h"

namespace plc {

// Where registrations go: $TORVIX_REGISTRY, else
// $XDG_CONFIG_HOME/torvix/registry.ini, else ~/.config/torvix/registry.ini;
// empty when none of them is set.
std::string RegistryFilePath();

struct RegistryEntry;

class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    // False when the value cannot be stored.
    virtual bool Set(std::string_view section, std::string_view key, std::string_view value) = 0;
    // Stores the entries in order; false at the first that cannot be stored.
    bool SetAll(const std::vector<RegistryEntry>& entries);
    // True when the key is gone afterwards.
    virtual bool Remove(std::string_view section, std::string_view key) = 0;
    // Runs `work` (the sets and removals of a whole registration or
    // unregistration) as one change of the store, which another process
    // sees whole or not at all. False when the change could not be stored;
    // then nothing of it was.
    virtual bool Change(const std::function<void()>& work);
};

// The registry as a profile file. A change holds the file's lock from the
// read to the one write of the file.
class ProfileRegistry final : public RegistryStore {
public:
    explicit ProfileRegistry(std::string path) : m_path(std::move(path)) {}
    bool Set(std::string_view section, std::string_view key, std::string_view value) override;
    bool Remove(std::string_view section, std::string_view key) override;
    bool Change(const std::function<void()>& work) override;

private:
    std::string m_path;
    ProfileEntries* m_changing = nullptr;  // the entries of the change under way
};

struct RegistryEntry {
    std::string section;
    std::string key;
    std::string value;
};

enum class RegistrationPart { TypeLib, ControlClass, PropPageClass };

// What registering one part writes, for the module at `modulePath`.
std::vector<RegistryEntry> RegistrationEntries(RegistrationPart part, const std::string& modulePath);

// The type library first, then the two classes, as one change of the store.
// S_OK; SELFREG_E_TYPELIB when the type library cannot be (un)registered, and
// the classes are then left alone, or when the change cannot be stored at
// all; SELFREG_E_CLASS when a class cannot.
com::HRESULT RegisterServer(RegistryStore& store, const std::string& modulePath);
com::HRESULT UnregisterServer(RegistryStore& store);

}  // namespace plc
