// Class references: a value naming a class that can create instances of it,
// the way the original keeps "the controller class" or "the job-form class"
// in a variable and constructs whatever class was put there.
#pragma once

#include "platform/core/ClassInfo.h"

namespace zb {

template <class Base, class... CtorArgs>
class TClassRef {
public:
    using Creator = Base* (*)(CtorArgs...);

    constexpr TClassRef() = default;

    // The reference to class T, which must derive from Base and be
    // constructible from the arguments.
    template <class T>
    static TClassRef Of() {
        return TClassRef(&T::StaticClassInfo(), [](CtorArgs... args) -> Base* { return new T(args...); });
    }

    // A reference whose instances are made by `create` (for classes made
    // through a factory, as forms are).
    static TClassRef Make(const ClassInfo* info, Creator create) { return TClassRef(info, create); }

    bool Assigned() const { return create_ != nullptr; }
    explicit operator bool() const { return Assigned(); }
    const ClassInfo* Info() const { return info_; }
    Base* Create(CtorArgs... args) const { return create_(args...); }

    friend bool operator==(const TClassRef& a, const TClassRef& b) { return a.info_ == b.info_; }

private:
    TClassRef(const ClassInfo* info, Creator create) : info_(info), create_(create) {}
    const ClassInfo* info_ = nullptr;
    Creator create_ = nullptr;
};

}  // namespace zb
