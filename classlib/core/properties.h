// Published properties: a class of the object model names some of its
// properties with their kind, getter and setter, so that the filer can stream
// them and code can read or write a property it knows only by name.
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"
#include "classlib/core/set.h"

VX_DECLARE_EXCEPTION(EPropertyError, Exception);

enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkWChar,
    tkWString,
    tkInt64
};

// A property's value: ordinals (integers, characters, enumerations and
// Booleans, set bits) as int64, floats as double, 8-bit and wide text, and
// objects.
using TPropValue = std::variant<std::monostate, std::int64_t, double, std::string, std::wstring, TObject*>;

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkUnknown;
    // Identifiers of an enumeration's ordinals or of a set's members
    // ("False", "True" for a Boolean).
    std::vector<std::string> Names;
    bool Boolean = false;
    std::function<TPropValue(TObject*)> Get;
    // Empty for a read-only property (objects such as fonts and collections,
    // which are streamed through their own properties).
    std::function<void(TObject*, const TPropValue&)> Set;
    // Empty: always stored.
    std::function<bool(TObject*)> Stored;
    // An ordinal equal to its default is not written.
    std::optional<std::int64_t> Default;
};

// Adds a property to a class; a second registration of the same name
// (without case) replaces the first in place.
void RegisterPropInfo(TClass AClass, TPropInfo Info);
// The ancestors' properties first, then the class's, each in registration
// order.
std::vector<const TPropInfo*> GetPropList(TClass AClass);
// Null when the class publishes no property of that name (without case).
const TPropInfo* GetPropInfo(TClass AClass, const std::string& PropName);
bool IsPublishedProp(const TObject* Instance, const std::string& PropName);

// By name; an unknown name raises EPropertyError "Property %s does not
// exist", a value of the wrong kind EPropertyError "Invalid property value".
TPropValue GetPropValue(TObject* Instance, const std::string& PropName);
void SetPropValue(TObject* Instance, const std::string& PropName, const TPropValue& Value);
// Ordinal properties; enumerations also through their identifiers and sets
// through their text form "[a,b]".
std::int64_t GetOrdProp(TObject* Instance, const std::string& PropName);
void SetOrdProp(TObject* Instance, const std::string& PropName, std::int64_t Value);
std::string GetEnumProp(TObject* Instance, const std::string& PropName);
void SetEnumProp(TObject* Instance, const std::string& PropName, const std::string& Value);
std::string GetSetProp(TObject* Instance, const std::string& PropName);
void SetSetProp(TObject* Instance, const std::string& PropName, const std::string& Value);
std::string GetStrProp(TObject* Instance, const std::string& PropName);
void SetStrProp(TObject* Instance, const std::string& PropName, const std::string& Value);
TObject* GetObjectProp(TObject* Instance, const std::string& PropName);

// Ordinal <-> identifier for an enumeration or set property: -1 / empty when
// there is none.
int GetEnumValue(const TPropInfo& Info, const std::string& Name);
std::string GetEnumName(const TPropInfo& Info, std::int64_t Value);

namespace classlib_detail {
template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {
    using Element = E;
};

template <class V>
constexpr TTypeKind KindOf() {
    if constexpr (std::is_same_v<V, bool> || std::is_enum_v<V>)
        return tkEnumeration;
    else if constexpr (std::is_same_v<V, char>)
        return tkChar;
    else if constexpr (std::is_same_v<V, wchar_t>)
        return tkWChar;
    else if constexpr (std::is_integral_v<V> && sizeof(V) > 4)
        return tkInt64;
    else if constexpr (std::is_integral_v<V>)
        return tkInteger;
    else if constexpr (std::is_floating_point_v<V>)
        return tkFloat;
    else if constexpr (std::is_same_v<V, std::string>)
        return tkString;
    else if constexpr (std::is_same_v<V, std::wstring>)
        return tkWString;
    else if constexpr (IsSet<V>::value)
        return tkSet;
    else if constexpr (std::is_pointer_v<V> && std::is_base_of_v<TObject, std::remove_pointer_t<V>>)
        return tkClass;
    else
        return tkUnknown;
}

[[noreturn]] void InvalidPropertyValue();

template <class V>
TPropValue ToPropValue(const V& value) {
    if constexpr (IsSet<V>::value)
        return static_cast<std::int64_t>(value.Bits());
    else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>)
        return static_cast<std::int64_t>(value);
    else if constexpr (std::is_floating_point_v<V>)
        return static_cast<double>(value);
    else if constexpr (std::is_pointer_v<V>)
        return static_cast<TObject*>(value);
    else
        return value;
}

template <class V>
V FromPropValue(const TPropValue& value) {
    if constexpr (IsSet<V>::value || std::is_enum_v<V> || std::is_integral_v<V>) {
        const auto* ordinal = std::get_if<std::int64_t>(&value);
        if (!ordinal) InvalidPropertyValue();
        if constexpr (IsSet<V>::value) {
            using E = typename IsSet<V>::Element;
            V result;
            for (unsigned bit = 0; bit < 64; ++bit)
                if (static_cast<std::uint64_t>(*ordinal) & (std::uint64_t{1} << bit))
                    result.Include(static_cast<E>(bit));
            return result;
        } else {
            return static_cast<V>(*ordinal);
        }
    } else if constexpr (std::is_floating_point_v<V>) {
        if (const auto* number = std::get_if<double>(&value)) return static_cast<V>(*number);
        if (const auto* ordinal = std::get_if<std::int64_t>(&value)) return static_cast<V>(*ordinal);
        InvalidPropertyValue();
    } else if constexpr (std::is_pointer_v<V>) {
        const auto* object = std::get_if<TObject*>(&value);
        if (!object) InvalidPropertyValue();
        if (!*object) return nullptr;
        auto* typed = dynamic_cast<V>(*object);
        if (!typed) InvalidPropertyValue();
        return typed;
    } else {
        const auto* text = std::get_if<V>(&value);
        if (!text) InvalidPropertyValue();
        return *text;
    }
}
}  // namespace classlib_detail

// Publishes properties of class C, e.g. at the start of its unit:
//   TPublish<TFoo>()
//       .Property("Caption", &TFoo::Caption, &TFoo::SetCaption)
//       .Property("Align", &TFoo::Align, &TFoo::SetAlign, {"alNone", "alTop"})
//       .Default(0);
template <class C>
class TPublish {
public:
    template <class Getter, class Setter = std::nullptr_t>
    TPublish& Property(const char* Name, Getter Get, Setter Set = nullptr) {
        return Add(Name, Get, Set, {});
    }
    // An enumeration or set, with the identifier of each ordinal.
    template <class Getter, class Setter>
    TPublish& Property(const char* Name, Getter Get, Setter Set, std::initializer_list<const char*> Names) {
        return Add(Name, Get, Set, Names);
    }
    // The default of the property just published.
    TPublish& Default(std::int64_t Value) {
        last_.Default = Value;
        return Commit();
    }
    // Whether the property just published is written, asked per instance.
    template <class Test>
    TPublish& Stored(Test IsStored) {
        last_.Stored = [IsStored](TObject* instance) {
            return static_cast<bool>(std::invoke(IsStored, static_cast<C*>(instance)));
        };
        return Commit();
    }

private:
    template <class Getter, class Setter>
    TPublish& Add(const char* Name, Getter Get, Setter Set, std::initializer_list<const char*> Names) {
        using V = std::decay_t<std::invoke_result_t<Getter, C*>>;
        static_assert(classlib_detail::KindOf<V>() != tkUnknown, "unsupported property type");
        last_ = TPropInfo{};
        last_.Name = Name;
        last_.Kind = classlib_detail::KindOf<V>();
        if constexpr (std::is_same_v<V, bool>) {
            last_.Boolean = true;
            last_.Names = {"False", "True"};
        }
        for (const char* identifier : Names) last_.Names.emplace_back(identifier);
        last_.Get = [Get](TObject* instance) {
            return classlib_detail::ToPropValue<V>(std::invoke(Get, static_cast<C*>(instance)));
        };
        if constexpr (!std::is_null_pointer_v<Setter>)
            last_.Set = [Set](TObject* instance, const TPropValue& value) {
                std::invoke(Set, static_cast<C*>(instance), classlib_detail::FromPropValue<V>(value));
            };
        return Commit();
    }
    TPublish& Commit() {
        RegisterPropInfo(C::ClassInfo(), last_);
        return *this;
    }

    TPropInfo last_;
};
