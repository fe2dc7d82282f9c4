#pragma once
#include <cstdint>

namespace viewkit {

using CMessageResult = int32_t;
enum : CMessageResult { kMessageUnknown = 0, kMessageNotified = 1 };
using IdStringPtr = const char*;

// Reference counted base of every view, bitmap and timer: a new object holds one
// reference; forget() deletes it when the last one is dropped.
class CBaseObject {
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;
    virtual ~CBaseObject() = default;

    void remember() { ++refCount; }
    void forget()
    {
        if (--refCount == 0) delete this;
    }
    int32_t getNbReference() const { return refCount; }

    virtual CMessageResult notify(CBaseObject* /*sender*/, IdStringPtr /*message*/) { return kMessageUnknown; }

private:
    int32_t refCount = 1;
};

// Keeps an object alive for a scope, e.g. while it handles an event that may remove it.
template <class T>
class ScopedRef {
public:
    explicit ScopedRef(T* o) : obj(o)
    {
        if (obj) obj->remember();
    }
    ~ScopedRef()
    {
        if (obj) obj->forget();
    }
    ScopedRef(const ScopedRef&) = delete;
    ScopedRef& operator=(const ScopedRef&) = delete;

private:
    T* obj;
};

} // namespace viewkit
