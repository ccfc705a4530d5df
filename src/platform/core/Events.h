// Event handlers as values: a handler has an identity (the code that runs and
// the object it runs on), so it can be saved, compared, restored and called
// later. An empty handler is unassigned and calling it does nothing.
#pragma once

#include <concepts>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/core/Exceptions.h"

namespace zb {

class TObject;

// The two halves of a handler as the class library keeps them: Code says which
// handler runs, Data what it runs on. Two handlers are the same handler when
// both halves are equal. Signature tells which event type the halves fit, so
// they cannot be restored into an event of another shape. Keep holds a
// free-standing callable alive while any copy of the handler exists.
struct TMethod {
    void* Code = nullptr;
    void* Data = nullptr;
    const void* Signature = nullptr;
    std::shared_ptr<void> Keep;

    bool Assigned() const { return Code != nullptr; }
    friend bool operator==(const TMethod& a, const TMethod& b) { return a.Code == b.Code && a.Data == b.Data; }
};

template <class Signature>
class TEvent;

template <class... Args>
class TEvent<void(Args...)> {
    using Thunk = void (*)(void* data, Args... args);

public:
    TEvent() = default;
    TEvent(std::nullptr_t) {}

    // Any callable taking the event's arguments. Copies of the event share the
    // callable and so are the same handler; a second TEvent made from the same
    // lambda is a different handler.
    template <class F>
        requires(!std::is_same_v<std::decay_t<F>, TEvent> && !std::is_same_v<std::decay_t<F>, std::nullptr_t> &&
                 std::is_invocable_v<std::decay_t<F>&, Args...>)
    TEvent(F&& f) {
        using Fn = std::decay_t<F>;
        auto holder = std::make_shared<Fn>(std::forward<F>(f));
        data_ = holder.get();
        keep_ = std::move(holder);
        code_ = &CallableThunk<Fn>;
    }

    // A handler that calls `Member` on `object`: binding the same member to the
    // same object twice gives the same handler, as method pointers do.
    template <auto Member, class C>
    static TEvent Bind(C* object) {
        TEvent e;
        if (!object) return e;
        e.code_ = &MemberThunk<Member, C>;
        e.data_ = const_cast<void*>(static_cast<const void*>(object));
        return e;
    }

    bool Assigned() const { return code_ != nullptr; }
    explicit operator bool() const { return Assigned(); }
    void Clear() { *this = TEvent(); }

    // Calls the handler; an unassigned handler does nothing.
    void operator()(Args... args) const {
        if (code_) code_(data_, std::forward<Args>(args)...);
    }

    friend bool operator==(const TEvent& a, const TEvent& b) { return a.code_ == b.code_ && a.data_ == b.data_; }

    // The halves of the handler, and back. Restoring halves made for another
    // event type throws EPropertyError, since calling them would be unsound.
    TMethod ToMethod() const {
        TMethod m;
        m.Code = code_ ? reinterpret_cast<void*>(code_) : nullptr;
        m.Data = data_;
        m.Signature = &signatureTag;
        m.Keep = keep_;
        return m;
    }
    static TEvent FromMethod(const TMethod& m) {
        TEvent e;
        if (!m.Code) return e;
        if (m.Signature != &signatureTag) throw EPropertyError("Event handler does not fit this event type");
        e.code_ = reinterpret_cast<Thunk>(m.Code);
        e.data_ = m.Data;
        e.keep_ = m.Keep;
        return e;
    }

    // Identifies the event type; TMethod::Signature points at it.
    static inline const char signatureTag = 0;

private:
    template <class Fn>
    static void CallableThunk(void* data, Args... args) {
        (*static_cast<Fn*>(data))(std::forward<Args>(args)...);
    }
    template <auto Member, class C>
    static void MemberThunk(void* data, Args... args) {
        (static_cast<C*>(data)->*Member)(std::forward<Args>(args)...);
    }

    Thunk code_ = nullptr;
    void* data_ = nullptr;
    std::shared_ptr<void> keep_;
};

// The common event: something happened to Sender.
using TNotifyEvent = TEvent<void(TObject* Sender)>;

template <class Ptr>
struct HandlerTraits;
template <class C, class... Args>
struct HandlerTraits<void (C::*)(Args...)> {
    using Event = TEvent<void(Args...)>;
};

// Binds a member function as an event handler: Handler<&TForm1::btnOkClick>(this).
template <auto Member, class C>
auto Handler(C* object) {
    return HandlerTraits<decltype(Member)>::Event::template Bind<Member>(object);
}

}  // namespace zb
