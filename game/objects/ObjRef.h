#pragma once

#include <cstdint>

#include "objects/GameObj.h"

// A non-owning reference to a game object that reads as null once the object has been
// destroyed. It remembers the object's serial number, which is never reused, so an
// object later built at the same address is not mistaken for the old one.
template <typename T>
class ObjRef {
public:
    ObjRef() = default;
    ObjRef(T* object) { Set(object); }  // NOLINT: assigning a pointer is the common use
    ObjRef& operator=(T* object) {
        Set(object);
        return *this;
    }

    // The object, or null when none was set or it has been destroyed since.
    T* Get() const { return serial_ != 0 && GameObj::IsAlive(serial_) ? object_ : nullptr; }
    explicit operator bool() const { return Get() != nullptr; }
    // Identity with a live object (false for null and for a destroyed referent).
    bool Is(const GameObj* other) const { return other != nullptr && Get() == other; }
    void Reset() { Set(nullptr); }

private:
    void Set(T* object) {
        object_ = object;
        serial_ = object ? static_cast<const GameObj*>(object)->Serial() : 0;
    }

    T* object_ = nullptr;
    uint64_t serial_ = 0;
};
