// SPDX-License-Identifier: GPL-3.0-or-later
// Reference counting: the count every object of the module carries, the
// module's count of live objects and server locks (it may be unloaded when
// both are zero), and ComPtr, which holds one reference for a scope.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

namespace plc::com {

// Objects alive and server locks held; the module may be unloaded when both
// are zero.
void ModuleObjectCreated();
void ModuleObjectDestroyed();
void ModuleLock(bool lock);
bool ModuleCanUnload();
long ModuleObjectCount();

// The reference count every object of the module carries. It starts at 0:
// the creator takes the first reference through QueryInterface. The module
// counts the object from construction to destruction.
class RefCount {
public:
    RefCount() { ModuleObjectCreated(); }
    ~RefCount() { ModuleObjectDestroyed(); }
    RefCount(const RefCount&) = delete;
    RefCount& operator=(const RefCount&) = delete;

    uint32_t Add() { return ++m_refs; }
    // The count after the release; a release below zero is ignored.
    uint32_t Drop() {
        uint32_t refs = m_refs.load();
        while (refs != 0 && !m_refs.compare_exchange_weak(refs, refs - 1)) {
        }
        return refs == 0 ? 0 : refs - 1;
    }
    uint32_t Count() const { return m_refs.load(); }
    // Drops one reference of `owner` and deletes it with the last one (an
    // owner with a private destructor befriends RefCount).
    template <class T>
    uint32_t Release(T* owner) {
        const uint32_t refs = Drop();
        if (refs == 0) delete owner;
        return refs;
    }

private:
    std::atomic<uint32_t> m_refs{0};
};

// Holds one reference and releases it at the end of its scope.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Adopts a reference the caller already holds.
    explicit ComPtr(T* adopt) : m_p(adopt) {}
    ComPtr(const ComPtr& other) : m_p(other.m_p) {
        if (m_p) m_p->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) {
        ComPtr copy(other);
        std::swap(m_p, copy.m_p);
        return *this;
    }
    ~ComPtr() { Reset(); }
    void Reset() {
        if (T* p = m_p) {
            m_p = nullptr;
            p->Release();
        }
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For functions that hand out a new reference.
    void** Out() {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }
    T** Address() {
        Reset();
        return &m_p;
    }

private:
    T* m_p = nullptr;
};

}  // namespace plc::com
