// Root of the object model: class tokens (`TClass`) with names, parents and
// factories, registration by name, two-phase life (`Create<T>` runs
// `AfterConstruction`, `Free` runs `BeforeDestruction`) and `TPersistent`.
#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

class TObject;
class TComponent;
class TPersistent;
class TCollection;
class TFiler;

// A class token: what the class library calls a metaclass. `Factory` builds a
// fully constructed instance (AfterConstruction already run) or is null when
// the class cannot be built by name (abstract, or no suitable constructor).
struct TClassInfo {
    const char* Name;
    const TClassInfo* Parent;
    TObject* (*Factory)(TComponent* owner);
    // Builds a collection item inside `collection` (AfterConstruction run,
    // so the item has joined it); null for classes that are not items.
    TObject* (*ItemFactory)(TCollection* collection);
};
using TClass = const TClassInfo*;

bool InheritsFrom(TClass cls, TClass ancestor);

template <class T, class... Args>
T* Create(Args&&... args);

namespace classlib_detail {
// Whether `new T(args...)` compiles. Unlike std::is_constructible this does
// not ask for a public destructor, which object-model classes keep protected
// so that only Free() ends their life.
template <class T, class... Args>
concept NewableFrom = !std::is_abstract_v<T> && requires(Args... args) {
    new T(args...);
};

template <class T>
TObject* MakeInstance([[maybe_unused]] TComponent* owner) {
    if constexpr (NewableFrom<T, TComponent*>) {
        return Create<T>(owner);
    } else if constexpr (NewableFrom<T>) {
        return Create<T>();
    } else {
        return nullptr;
    }
}
template <class T>
constexpr TObject* (*FactoryOf())(TComponent*) {
    if constexpr (NewableFrom<T, TComponent*> || NewableFrom<T>)
        return &MakeInstance<T>;
    else
        return nullptr;
}
template <class T>
TObject* MakeItem(TCollection* collection) {
    return Create<T>(collection);
}
template <class T>
constexpr TObject* (*ItemFactoryOf())(TCollection*) {
    if constexpr (NewableFrom<T, TCollection*>)
        return &MakeItem<T>;
    else
        return nullptr;
}
}  // namespace classlib_detail

// Put first in the body of every class of the object model:
//   class TFoo : public TBar { VX_CLASS(TFoo, TBar) public: ... };
// It gives the class its token and the `inherited` alias.
#define VX_CLASS(Self, Base)                                                                         \
public:                                                                                              \
    using inherited = Base;                                                                          \
    static TClass ClassInfo() {                                                                      \
        static const TClassInfo info{#Self, Base::ClassInfo(), ::classlib_detail::FactoryOf<Self>(), \
                                     ::classlib_detail::ItemFactoryOf<Self>()};                      \
        return &info;                                                                                \
    }                                                                                                \
    TClass ClassType() const override {                                                              \
        return Self::ClassInfo();                                                                    \
    }                                                                                                \
                                                                                                     \
private:

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static TClass ClassInfo();
    virtual TClass ClassType() const { return ClassInfo(); }
    const char* ClassName() const { return ClassType()->Name; }
    TClass ClassParent() const { return ClassType()->Parent; }
    bool InheritsFrom(TClass ancestor) const { return ::InheritsFrom(ClassType(), ancestor); }

    // Called by Create<T> once the most derived constructor has finished, so
    // virtual calls here reach the most derived class.
    virtual void AfterConstruction() {}
    // Called by Free before any destructor runs.
    virtual void BeforeDestruction() {}

    // Ends the object's life: BeforeDestruction, then the destructors.
    void Free();

protected:
    virtual ~TObject() = default;
};

template <class T, class... Args>
T* Create(Args&&... args) {
    static_assert(std::is_base_of_v<TObject, T>);
    T* object = new T(std::forward<Args>(args)...);
    try {
        object->AfterConstruction();
    } catch (...) {
        object->Free();
        throw;
    }
    return object;
}

// Builds an instance of a class known only by its token ("virtual constructor").
TObject* CreateInstance(TClass cls, TComponent* owner = nullptr);

// Frees `object` if it is set and clears the pointer first, so that code
// reached from the destruction no longer sees it.
template <class T>
void FreeAndNil(T*& object) {
    T* doomed = object;
    object = nullptr;
    if (doomed) doomed->Free();
}

// Scoped ownership for objects that have no owner component.
struct TObjectDeleter {
    void operator()(TObject* object) const {
        if (object) object->Free();
    }
};
template <class T>
using TOwned = std::unique_ptr<T, TObjectDeleter>;

template <class T, class... Args>
TOwned<T> MakeOwned(Args&&... args) {
    return TOwned<T>(Create<T>(std::forward<Args>(args)...));
}

// Registration by name, for classes built from streamed or stored names.
void RegisterClass(TClass cls);
void UnRegisterClass(TClass cls);
TClass GetClass(const std::string& name);   // null when not registered
TClass FindClass(const std::string& name);  // raises EClassNotFound

class TPersistent : public TObject {
    VX_CLASS(TPersistent, TObject)
public:
    // Copies Source into this object; raises EConvertError
    // "Cannot assign a X to a Y" when neither side knows the other.
    virtual void Assign(TPersistent* source);
    virtual std::string GetNamePath() const;

protected:
    virtual void AssignTo(TPersistent* dest);
    virtual void DefineProperties(TFiler* filer);
    virtual TPersistent* GetOwner() const { return nullptr; }
    [[noreturn]] void AssignError(TPersistent* source);
};
