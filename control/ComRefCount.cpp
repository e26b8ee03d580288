// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/ComRefCount.h"

namespace plc::com {

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

}  // namespace

void ModuleObjectCreated() { ++g_objects; }

void ModuleObjectDestroyed() { --g_objects; }

void ModuleLock(bool lock) {
    if (lock) {
        ++g_locks;
        return;
    }
    // An unlock without a lock is ignored rather than letting the count go
    // negative and the module unload under a later lock.
    long locks = g_locks.load();
    while (locks > 0 && !g_locks.compare_exchange_weak(locks, locks - 1)) {
    }
}

bool ModuleCanUnload() { return g_objects.load() == 0 && g_locks.load() == 0; }

long ModuleObjectCount() { return g_objects.load(); }

}  // namespace plc::com
