// Handle-to-wrapper maps behind FromHandle: permanent entries for wrappers that own their handle,
// and temporary wrappers, owned by the calling thread, for handles that no wrapper owns.
#pragma once

#include <map>
#include <memory>
#include <typeinfo>
#include <unordered_map>
#include <utility>

#include "framework/base/Sync.h"

// Wrapper is the wrapper hierarchy's root (CGdiObject, CDC). SetHandle stores a handle in a wrapper
// without registering it (null clears it, so a temporary wrapper's destructor deletes nothing).
// Invariants: a permanent entry maps a handle to the one wrapper that holds it; a temporary wrapper
// is keyed by its handle and its exact class, so CFont::FromHandle and CGdiObject::FromHandle of one
// handle are different objects of the right classes.
template <class Wrapper> class HandleMap {
public:
    typedef void (*SetHandleFn)(Wrapper* wrapper, void* handle);

    explicit HandleMap(SetHandleFn setHandle) : m_setHandle(setHandle) {}

    void AddPermanent(void* handle, Wrapper* wrapper) {
        CSingleLock lock(m_lock);
        m_permanent[handle] = wrapper;
    }

    void RemovePermanent(void* handle, Wrapper* wrapper) {
        CSingleLock lock(m_lock);
        auto it = m_permanent.find(handle);
        if (it != m_permanent.end() && it->second == wrapper) m_permanent.erase(it);
    }

    Wrapper* FindPermanent(void* handle) {
        CSingleLock lock(m_lock);
        auto it = m_permanent.find(handle);
        return it != m_permanent.end() ? it->second : nullptr;
    }

    // The permanent wrapper of the handle when it is a T, else the thread's temporary T for it.
    template <class T> T* FromHandle(void* handle) {
        if (handle == nullptr) return nullptr;
        {
            CSingleLock lock(m_lock);
            auto it = m_permanent.find(handle);
            if (it != m_permanent.end()) {
                if (T* found = dynamic_cast<T*>(it->second)) return found;
            }
        }
        return Temporary<T>(handle);
    }

    void DeleteTemporaries() { Temporaries().clear(); }

private:
    struct TempDeleter {
        SetHandleFn setHandle;
        void operator()(Wrapper* wrapper) const {
            setHandle(wrapper, nullptr);
            delete wrapper;
        }
    };
    typedef std::pair<void*, const std::type_info*> TempKey;
    typedef std::map<TempKey, std::unique_ptr<Wrapper, TempDeleter>> TempMap;

    static TempMap& Temporaries() {
        thread_local TempMap temporaries;
        return temporaries;
    }

    template <class T> T* Temporary(void* handle) {
        TempMap& temps = Temporaries();
        TempKey key(handle, &typeid(T));
        auto it = temps.find(key);
        if (it != temps.end()) return static_cast<T*>(it->second.get());
        T* wrapper = new T;
        m_setHandle(wrapper, handle);
        temps.emplace(key, std::unique_ptr<Wrapper, TempDeleter>(wrapper, TempDeleter{m_setHandle}));
        return wrapper;
    }

    SetHandleFn m_setHandle;
    CCriticalSection m_lock;
    std::unordered_map<void*, Wrapper*> m_permanent;
};
