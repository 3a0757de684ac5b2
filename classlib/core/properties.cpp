#include "classlib/core/properties.h"

#include <map>
#include <memory>
#include <mutex>

#include "classlib/core/component.h"
#include "classlib/core/text.h"

namespace {

struct Registry {
    std::mutex lock;
    // Stable addresses: GetPropInfo hands out pointers into the table.
    std::map<TClass, std::vector<std::unique_ptr<TPropInfo>>> classes;
};

Registry& Properties() {
    static Registry registry;
    return registry;
}

void PublishStandardProperties();

// The class library's own classes publish theirs before the first lookup.
void EnsureStandardProperties() {
    static std::once_flag once;
    std::call_once(once, PublishStandardProperties);
}

const TPropInfo* FindInClass(Registry& registry, TClass cls, const std::string& name) {
    auto found = registry.classes.find(cls);
    if (found == registry.classes.end()) return nullptr;
    for (const auto& info : found->second)
        if (SameText(info->Name, name)) return info.get();
    return nullptr;
}

const TPropInfo& RequireProp(TObject* instance, const std::string& name) {
    const TPropInfo* info = instance ? GetPropInfo(instance->ClassType(), name) : nullptr;
    if (!info) throw EPropertyError(Format("Property %s does not exist", name));
    return *info;
}

bool IsOrdinal(TTypeKind kind) {
    switch (kind) {
        case tkInteger:
        case tkChar:
        case tkEnumeration:
        case tkSet:
        case tkWChar:
        case tkInt64:
            return true;
        default:
            return false;
    }
}

}  // namespace

namespace classlib_detail {
void InvalidPropertyValue() {
    throw EPropertyError("Invalid property value");
}
}  // namespace classlib_detail

void RegisterPropInfo(TClass AClass, TPropInfo Info) {
    Registry& registry = Properties();
    std::lock_guard guard(registry.lock);
    auto& list = registry.classes[AClass];
    for (auto& existing : list)
        if (SameText(existing->Name, Info.Name)) {
            *existing = std::move(Info);
            return;
        }
    list.push_back(std::make_unique<TPropInfo>(std::move(Info)));
}

std::vector<const TPropInfo*> GetPropList(TClass AClass) {
    EnsureStandardProperties();
    std::vector<TClass> chain;
    for (TClass cls = AClass; cls; cls = cls->Parent) chain.push_back(cls);
    Registry& registry = Properties();
    std::lock_guard guard(registry.lock);
    std::vector<const TPropInfo*> result;
    for (auto cls = chain.rbegin(); cls != chain.rend(); ++cls) {
        auto found = registry.classes.find(*cls);
        if (found == registry.classes.end()) continue;
        for (const auto& info : found->second) {
            // A descendant that publishes a name again replaces the
            // ancestor's entry where it stood.
            bool replaced = false;
            for (auto& earlier : result)
                if (SameText(earlier->Name, info->Name)) {
                    earlier = info.get();
                    replaced = true;
                }
            if (!replaced) result.push_back(info.get());
        }
    }
    return result;
}

const TPropInfo* GetPropInfo(TClass AClass, const std::string& PropName) {
    EnsureStandardProperties();
    Registry& registry = Properties();
    std::lock_guard guard(registry.lock);
    for (TClass cls = AClass; cls; cls = cls->Parent)
        if (const TPropInfo* info = FindInClass(registry, cls, PropName)) return info;
    return nullptr;
}

bool IsPublishedProp(const TObject* Instance, const std::string& PropName) {
    return Instance && GetPropInfo(Instance->ClassType(), PropName);
}

TPropValue GetPropValue(TObject* Instance, const std::string& PropName) {
    return RequireProp(Instance, PropName).Get(Instance);
}

void SetPropValue(TObject* Instance, const std::string& PropName, const TPropValue& Value) {
    const TPropInfo& info = RequireProp(Instance, PropName);
    if (!info.Set) classlib_detail::InvalidPropertyValue();
    info.Set(Instance, Value);
}

std::int64_t GetOrdProp(TObject* Instance, const std::string& PropName) {
    const TPropInfo& info = RequireProp(Instance, PropName);
    if (!IsOrdinal(info.Kind)) classlib_detail::InvalidPropertyValue();
    return std::get<std::int64_t>(info.Get(Instance));
}

void SetOrdProp(TObject* Instance, const std::string& PropName, std::int64_t Value) {
    const TPropInfo& info = RequireProp(Instance, PropName);
    if (!IsOrdinal(info.Kind)) classlib_detail::InvalidPropertyValue();
    SetPropValue(Instance, PropName, Value);
}

int GetEnumValue(const TPropInfo& Info, const std::string& Name) {
    for (size_t i = 0; i < Info.Names.size(); ++i)
        if (SameText(Info.Names[i], Name)) return static_cast<int>(i);
    return -1;
}

std::string GetEnumName(const TPropInfo& Info, std::int64_t Value) {
    if (Value < 0 || Value >= static_cast<std::int64_t>(Info.Names.size())) return {};
    return Info.Names[static_cast<size_t>(Value)];
}

std::string GetEnumProp(TObject* Instance, const std::string& PropName) {
    const TPropInfo& info = RequireProp(Instance, PropName);
    if (info.Kind != tkEnumeration) classlib_detail::InvalidPropertyValue();
    return GetEnumName(info, std::get<std::int64_t>(info.Get(Instance)));
}

void SetEnumProp(TObject* Instance, const std::string& PropName, const std::string& Value) {
    const TPropInfo& info = RequireProp(Instance, PropName);
    const int ordinal = info.Kind == tkEnumeration ? GetEnumValue(info, Value) : -1;
    if (ordinal < 0) classlib_detail::InvalidPropertyValue();
    SetPropValue(Instance, PropName, std::int64_t{ordinal});
}

std::string GetSetProp(TObject* Instance, const std::string& PropName) {
    const TPropInfo& info = RequireProp(Instance, PropName);
    if (info.Kind != tkSet) classlib_detail::InvalidPropertyValue();
    const auto bits = static_cast<std::uint64_t>(std::get<std::int64_t>(info.Get(Instance)));
    std::string text;
    for (unsigned bit = 0; bit < 64; ++bit) {
        if (!(bits & (std::uint64_t{1} << bit))) continue;
        if (!text.empty()) text += ',';
        text += GetEnumName(info, bit);
    }
    return "[" + text + "]";
}

void SetSetProp(TObject* Instance, const std::string& PropName, const std::string& Value) {
    const TPropInfo& info = RequireProp(Instance, PropName);
    if (info.Kind != tkSet) classlib_detail::InvalidPropertyValue();
    std::string text = Trim(Value);
    if (!text.empty() && text.front() == '[') text.erase(0, 1);
    if (!text.empty() && text.back() == ']') text.pop_back();
    std::uint64_t bits = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        const std::string name = Trim(std::string_view(text).substr(start, comma - start));
        if (!name.empty()) {
            const int ordinal = GetEnumValue(info, name);
            if (ordinal < 0) classlib_detail::InvalidPropertyValue();
            bits |= std::uint64_t{1} << ordinal;
        }
        start = comma + 1;
    }
    SetPropValue(Instance, PropName, static_cast<std::int64_t>(bits));
}

std::string GetStrProp(TObject* Instance, const std::string& PropName) {
    const TPropValue value = GetPropValue(Instance, PropName);
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    if (const auto* wide = std::get_if<std::wstring>(&value)) return ToAnsi(*wide);
    classlib_detail::InvalidPropertyValue();
}

void SetStrProp(TObject* Instance, const std::string& PropName, const std::string& Value) {
    const TPropInfo& info = RequireProp(Instance, PropName);
    if (info.Kind == tkWString)
        SetPropValue(Instance, PropName, ToWide(Value));
    else
        SetPropValue(Instance, PropName, Value);
}

TObject* GetObjectProp(TObject* Instance, const std::string& PropName) {
    const TPropValue value = GetPropValue(Instance, PropName);
    const auto* object = std::get_if<TObject*>(&value);
    if (!object) classlib_detail::InvalidPropertyValue();
    return *object;
}

namespace {

void PublishStandardProperties() {
    TPublish<TComponent>()
        .Property("Name", &TComponent::Name, &TComponent::SetName)
        .Property("Tag", &TComponent::Tag, &TComponent::SetTag)
        .Default(0);
}

}  // namespace
