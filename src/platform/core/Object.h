// TObject: the root of the class library. Objects know their class info, are
// freed through Free(), and are tested for their class with Is<T>() and
// dyn_cast<T>(), the way the original tests "is" and casts with "as".
#pragma once

#include <string>

#include "platform/core/ClassInfo.h"

namespace zb {

class TObject {
public:
    TObject() = default;
    virtual ~TObject();
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static const ClassInfo& StaticClassInfo();
    virtual const ClassInfo& ClassType() const;
    const std::string& ClassName() const { return ClassType().Name(); }
    bool InheritsFrom(const ClassInfo& info) const { return ClassType().InheritsFrom(info); }
    template <class T>
    bool Is() const {
        return ClassType().InheritsFrom(T::StaticClassInfo());
    }

    // Runs BeforeDestruction while the whole object is still intact, then
    // destroys it. The way to end an object of the class library.
    void Free();
    // Free on a pointer that may be null, leaving it null.
    template <class T>
    static void FreeAndNil(T*& object) {
        T* o = object;
        object = nullptr;
        if (o) o->Free();
    }

protected:
    // Called by Free before any destructor runs; components tear down their
    // ownership here so owned objects never see a half-destroyed owner.
    virtual void BeforeDestruction() {}
};

template <class T>
T* dyn_cast(TObject* o) {
    return o && o->Is<T>() ? static_cast<T*>(o) : nullptr;
}
template <class T>
const T* dyn_cast(const TObject* o) {
    return o && o->Is<T>() ? static_cast<const T*>(o) : nullptr;
}
template <class T>
bool isa(const TObject* o) {
    return o && o->Is<T>();
}

// A deleter for owning smart pointers of class-library objects.
struct FreeObject {
    void operator()(TObject* o) const {
        if (o) o->Free();
    }
};

}  // namespace zb
