// Components: persistent objects that own other components and free them with
// themselves, carry a name unique among their owner's components, and tell
// each other when they come and go (`Notification`, `FreeNotification`).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/core/object.h"
#include "classlib/core/set.h"

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,  // never set: there is no form designer
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance,
};
using TComponentState = TSet<TComponentStateFlag>;

enum TComponentStyleFlag { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleFlag>;

using TComponentClass = TClass;

class TComponent : public TPersistent {
    VX_CLASS(TComponent, TPersistent)
public:
    // The owner, when set, frees this component with itself.
    explicit TComponent(TComponent* AOwner);

    void AfterConstruction() override;
    // Marks the component (and what it owns) as destroying, tells everyone
    // who asked for a free notification and leaves the owner, all while the
    // object is still whole.
    void BeforeDestruction() override;

    TComponent* Owner() const { return owner_; }

    const std::string& Name() const { return name_; }
    // Empty or a valid identifier, unique (without case) among the owner's
    // components; raises EComponentError otherwise.
    virtual void SetName(const std::string& NewName);

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // Raises EListError when Index is out of bounds.
    TComponent* Components(int Index) const;
    // Position among the owner's components, -1 without an owner.
    int ComponentIndex() const;
    void SetComponentIndex(int Value);
    // By name, without case; null when not found or the name is empty.
    TComponent* FindComponent(const std::string& AName) const;

    // Takes AComponent over (from its previous owner, if any) and sends
    // opInsert; RemoveComponent sends opRemove and lets it go.
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, last inserted first.
    void DestroyComponents();
    // Sets csDestroying here and on every owned component.
    void Destroying();

    TComponentState ComponentState() const { return state_; }
    TComponentStyle ComponentStyle() const { return style_; }
    // Marks the component as part of another (csSubComponent).
    void SetSubComponent(bool IsSubComponent);

    // AComponent is told (opRemove) when this component goes away, and this
    // one when AComponent goes away; RemoveFreeNotification undoes both.
    // Components of one owner are not linked: the owner's opRemove reaches
    // them, and csFreeNotification makes the owner send it even while it
    // frees its components.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Loading: `Loading()` sets csLoading (and the reader sets csReading)
    // before properties are read; `Loaded()` clears csLoading afterwards.
    void Loading();
    virtual void Loaded();
    void SetReading(bool Value);
    void SetWriting(bool Value);
    void SetFixups(bool Value);
    // csAncestor on this component and every owned component.
    void SetAncestor(bool Value);
    void SetInline(bool Value);
    void SetDesignInstance(bool Value);
    // csUpdating on and off.
    virtual void Updating();
    virtual void Updated();

    std::intptr_t Tag() const { return tag_; }
    void SetTag(std::intptr_t Value) { tag_ = Value; }

    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual bool HasParent() const { return false; }
    // The component's name: how the class library names it in messages.
    std::string GetNamePath() const override;

    // Told when AComponent joins (opInsert) or leaves (opRemove) this owner,
    // or goes away after asking for free notifications. The default passes
    // the notice on to every owned component; overrides call inherited.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

protected:
    ~TComponent() override;

    TPersistent* GetOwner() const override;
    // Renames without checks (the checks are in SetName).
    void ChangeName(const std::string& NewName);
    // AComponent (owned by this component, or null) is renamed from CurName
    // to NewName; raises EComponentError for a duplicate.
    virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName);
    // This component is about to take AComponent over.
    virtual void ValidateInsert(TComponent* AComponent);
    // This component is about to join AComponent.
    virtual void ValidateContainer(TComponent* AComponent);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);
    void RemoveFreeNotifications();

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    TComponentState state_;
    TComponentStyle style_{csInheritable};
    std::intptr_t tag_ = 0;
};

// Builds a component of a class known only by its token, owned by AOwner.
TComponent* CreateComponent(TComponentClass cls, TComponent* AOwner);
