#include "classlib/windows/formresources.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "classlib/core/text.h"
#include "classlib/windows/forms.h"

namespace {

struct Registry {
    std::mutex lock;
    std::map<std::string, TFormBuilder> builders;  // by upper-case class name
};

Registry& Builders() {
    static Registry registry;
    return registry;
}

// Forms find their resources through the hook the form unit leaves; it is set
// whenever this unit is part of the program, i.e. whenever builders exist.
[[maybe_unused]] const bool installed = [] {
    InitInheritedComponentProc = &InitInheritedComponent;
    return true;
}();

// Leaves the reading state even when a builder fails.
class ReadingScope {
public:
    explicit ReadingScope(TComponent* instance) : instance_(instance) {
        instance_->Loading();
        instance_->SetReading(true);
    }
    ~ReadingScope() { instance_->SetReading(false); }
    ReadingScope(const ReadingScope&) = delete;
    ReadingScope& operator=(const ReadingScope&) = delete;

private:
    TComponent* instance_;
};

}  // namespace

void RegisterFormBuilder(const std::string& ClassName, TFormBuilder Builder) {
    Registry& registry = Builders();
    std::lock_guard guard(registry.lock);
    if (Builder)
        registry.builders[UpperCase(ClassName)] = Builder;
    else
        registry.builders.erase(UpperCase(ClassName));
}

TFormBuilder FindFormBuilder(const std::string& ClassName) {
    Registry& registry = Builders();
    std::lock_guard guard(registry.lock);
    auto found = registry.builders.find(UpperCase(ClassName));
    return found == registry.builders.end() ? nullptr : found->second;
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor) {
    std::vector<TFormBuilder> chain;
    for (TClass cls = Instance->ClassType(); cls && cls != RootAncestor; cls = cls->Parent)
        if (TFormBuilder builder = FindFormBuilder(cls->Name)) chain.push_back(builder);
    if (chain.empty()) return false;

    std::vector<TComponent*> before;
    for (int i = 0; i < Instance->ComponentCount(); ++i) before.push_back(Instance->Components(i));
    {
        ReadingScope reading(Instance);
        std::for_each(chain.rbegin(), chain.rend(), [Instance](TFormBuilder builder) { builder(Instance); });
    }

    std::vector<TComponent*> loaded{Instance};
    for (int i = 0; i < Instance->ComponentCount(); ++i) {
        TComponent* component = Instance->Components(i);
        if (std::find(before.begin(), before.end(), component) == before.end()) loaded.push_back(component);
    }
    for (TComponent* component : loaded) {
        component->SetReading(false);
        component->Loaded();
    }
    return true;
}
