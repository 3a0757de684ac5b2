#include "classlib/core/object.h"

#include <map>
#include <mutex>

#include "classlib/core/exceptions.h"

TClass TObject::ClassInfo() {
    static const TClassInfo info{"TObject", nullptr, nullptr, nullptr};
    return &info;
}

bool InheritsFrom(TClass cls, TClass ancestor) {
    for (; cls; cls = cls->Parent)
        if (cls == ancestor) return true;
    return false;
}

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

TObject* CreateInstance(TClass cls, TComponent* owner) {
    if (!cls || !cls->Factory)
        throw EInvalidOperation(std::string("Cannot create an instance of ") + (cls ? cls->Name : "nil"));
    return cls->Factory(owner);
}

namespace {

struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const {
        const size_t n = std::min(a.size(), b.size());
        for (size_t i = 0; i < n; ++i) {
            const int ca = std::tolower(static_cast<unsigned char>(a[i]));
            const int cb = std::tolower(static_cast<unsigned char>(b[i]));
            if (ca != cb) return ca < cb;
        }
        return a.size() < b.size();
    }
};

struct ClassRegistry {
    std::mutex lock;
    std::map<std::string, TClass, CaseInsensitiveLess> byName;
};

ClassRegistry& Registry() {
    static ClassRegistry registry;
    return registry;
}

}  // namespace

void RegisterClass(TClass cls) {
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    registry.byName.emplace(cls->Name, cls);
}

void UnRegisterClass(TClass cls) {
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    auto it = registry.byName.find(cls->Name);
    if (it != registry.byName.end() && it->second == cls) registry.byName.erase(it);
}

TClass GetClass(const std::string& name) {
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    auto it = registry.byName.find(name);
    return it == registry.byName.end() ? nullptr : it->second;
}

TClass FindClass(const std::string& name) {
    if (TClass cls = GetClass(name)) return cls;
    throw EClassNotFound("Class " + name + " not found");
}

void TPersistent::Assign(TPersistent* source) {
    if (!source) AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) {
    dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* source) {
    const std::string sourceName = source ? source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

void TPersistent::DefineProperties(TFiler*) {}

std::string TPersistent::GetNamePath() const {
    std::string path = ClassName();
    if (TPersistent* owner = GetOwner()) {
        const std::string ownerPath = owner->GetNamePath();
        if (!ownerPath.empty()) path = ownerPath + "." + path;
    }
    return path;
}
