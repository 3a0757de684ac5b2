// Form resources: a form's contents come from builder functions registered
// under the form's class name. Creating a form runs the builders of its class
// chain while the form is loading, then lets every component finish loading.
#pragma once

#include <string>

#include "classlib/core/component.h"

// Fills Instance (a form, or any root component) as its form resource would:
// creates its components, sets their properties and events.
using TFormBuilder = void (*)(TComponent* Instance);

// One builder per class name (without case); registering again replaces it,
// a null builder removes it.
void RegisterFormBuilder(const std::string& ClassName, TFormBuilder Builder);
TFormBuilder FindFormBuilder(const std::string& ClassName);

// Runs the builders of Instance's class chain below RootAncestor, the base
// class's first, with Instance in csLoading and csReading; then calls Loaded
// on Instance and on every component it gained, in creation order. False when
// no class of the chain has a builder (nothing is run then). This is what
// forms call (InitInheritedComponentProc) while they are constructed.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);

// For builders: a component owned by Owner, named, and put in the loading
// state at once, so that its properties are set as a form resource sets them
// (Loaded follows once every builder has run).
template <class T, class... Args>
T* LoadComponent(TComponent* Owner, const std::string& Name, Args&&... ExtraArgs) {
    T* component = Create<T>(Owner, std::forward<Args>(ExtraArgs)...);
    component->Loading();
    component->SetReading(true);
    if (!Name.empty()) component->SetName(Name);
    return component;
}
