// Actions: commands kept apart from the controls and menu items that invoke
// them. An action carries the caption, state, shortcut and handlers of a
// command; action links tie clients to it, pushing each change to the client
// while the client still shows the action's value; action lists gather
// actions and see their execution and updates first.
#pragma once

#include <string>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/core/delegate.h"
#include "classlib/windows/messages.h"
#include "classlib/windows/shortcuts.h"

class TBasicActionLink;
class TCustomActionList;

class TBasicAction : public TComponent {
    VX_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* AOwner) : inherited(AOwner) {}
    // Every link lets go of the action (its client keeps its values).
    void BeforeDestruction() override;

    virtual bool HandlesTarget(TObject*) { return false; }
    virtual void UpdateTarget(TObject*) {}
    virtual void ExecuteTarget(TObject*) {}
    // Runs OnExecute; true when there was something to run.
    virtual bool Execute();
    // Runs OnUpdate; true when there was something to run.
    virtual bool Update();

    // The component that invoked the action, while it executes.
    TComponent* ActionComponent() const { return actionComponent_; }
    void SetActionComponent(TComponent* Value) { actionComponent_ = Value; }

    int ClientCount() const { return static_cast<int>(clients_.size()); }
    TBasicActionLink* Clients(int Index) const { return clients_.at(static_cast<size_t>(Index)); }

    // Sets OnExecute and hands it to the clients that still use the old one.
    void SetOnExecute(const TNotifyEvent& Value);

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;
    // A property of the action changed.
    TNotifyEvent OnChange;

protected:
    // Fires OnChange and tells every link (TBasicActionLink::Change).
    virtual void Change();

private:
    friend class TBasicActionLink;
    void RegisterChanges(TBasicActionLink* Link);
    void UnRegisterChanges(TBasicActionLink* Link);

    std::vector<TBasicActionLink*> clients_;
    TComponent* actionComponent_ = nullptr;
};

// Ties one client (control, menu item, toolbar item) to an action.
class TBasicActionLink : public TObject {
    VX_CLASS(TBasicActionLink, TObject)
public:
    explicit TBasicActionLink(TObject* AClient) : client_(AClient) {}
    // Hands the client to AssignClient, now that the link is whole.
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TBasicAction* Action() const { return action_; }
    virtual void SetAction(TBasicAction* Value);
    // Executes the action on behalf of AComponent; true when it ran.
    virtual bool Execute(TComponent* AComponent = nullptr);
    virtual bool Update();
    virtual bool IsOnExecuteLinked() { return true; }
    virtual void SetOnExecute(const TNotifyEvent&) {}

    // The action changed; Sender is the action.
    TNotifyEvent OnChange;

protected:
    virtual void AssignClient(TObject*) {}
    virtual void Change();

    TObject* Client() const { return client_; }

private:
    friend class TBasicAction;

    TObject* client_;
    TBasicAction* action_ = nullptr;
};

class TContainedAction : public TBasicAction {
    VX_CLASS(TContainedAction, TBasicAction)
public:
    explicit TContainedAction(TComponent* AOwner) : inherited(AOwner) {}
    void BeforeDestruction() override;

    TCustomActionList* ActionList() const { return actionList_; }
    void SetActionList(TCustomActionList* Value);
    // Position in the action list, -1 outside one.
    int Index() const;
    void SetIndex(int Value);
    const std::string& Category() const { return category_; }
    void SetCategory(const std::string& Value);

    // The list's OnExecute / OnUpdate first; when it does not handle the
    // action, the action's own handler.
    bool Execute() override;
    bool Update() override;

    TComponent* GetParentComponent() const override;
    bool HasParent() const override { return actionList_ != nullptr; }

private:
    friend class TCustomActionList;

    TCustomActionList* actionList_ = nullptr;
    std::string category_;
};

using THintEvent = TDelegate<void(std::string& HintStr, bool& CanShow)>;

class TCustomAction : public TContainedAction {
    VX_CLASS(TCustomAction, TContainedAction)
public:
    explicit TCustomAction(TComponent* AOwner) : inherited(AOwner) {}

    // Brings the state up to date; a disabled action does nothing; an
    // AutoCheck action toggles Checked before its handlers run.
    bool Execute() override;
    // OnHint may change the text or forbid the hint; true when it may show.
    virtual bool DoHint(std::string& HintStr);

    // Each setter hands the new value to the links (a client follows while it
    // still shows the old value), stores it and signals the change.
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    bool Checked() const { return checked_; }
    void SetChecked(bool Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int Value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);

    THintEvent OnHint;

private:
    template <class Push>
    void PushToLinks(Push push);

    bool autoCheck_ = false;
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    int helpContext_ = 0;
    std::string hint_;
    int imageIndex_ = -1;
    TShortCut shortCut_ = 0;
    bool visible_ = true;
};

class TAction : public TCustomAction {
    VX_CLASS(TAction, TCustomAction)
public:
    explicit TAction(TComponent* AOwner) : inherited(AOwner) {}
};

// The link for clients of TCustomAction: each "is X linked" answers whether
// the client still shows the action's X (the base answers whether the action
// has an X at all); each "set X" is called with a new value and writes it to
// the client when X is linked.
class TActionLink : public TBasicActionLink {
    VX_CLASS(TActionLink, TBasicActionLink)
public:
    explicit TActionLink(TObject* AClient) : inherited(AClient) {}

    virtual bool IsCaptionLinked();
    virtual bool IsCheckedLinked();
    virtual bool IsEnabledLinked();
    virtual bool IsHelpContextLinked();
    virtual bool IsHintLinked();
    virtual bool IsImageIndexLinked();
    virtual bool IsShortCutLinked();
    virtual bool IsVisibleLinked();

    virtual void SetAutoCheck(bool) {}
    virtual void SetCaption(const std::string&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetHelpContext(int) {}
    virtual void SetHint(const std::string&) {}
    virtual void SetImageIndex(int) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}

protected:
    // The action as a TCustomAction, or null.
    TCustomAction* CustomAction() const;
};

using TActionEvent = TDelegate<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
    VX_CLASS(TCustomActionList, TComponent)
public:
    explicit TCustomActionList(TComponent* AOwner) : inherited(AOwner) {}
    // The actions leave the list; their owner frees them.
    void BeforeDestruction() override;

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TContainedAction* Actions(int Index) const { return actions_.at(static_cast<size_t>(Index)); }

    // OnExecute / OnUpdate for one of the actions; true when handled there.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);
    // A key message (WM_KEYDOWN and kin): the enabled action whose ShortCut
    // matches the key and the shift state of the moment is executed, and the
    // key counts as handled.
    bool IsShortCut(TMessage& Message);

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    // An action joined, left or moved.
    TNotifyEvent OnChange;

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    virtual void Change();

private:
    friend class TContainedAction;
    void AddAction(TContainedAction* Action);
    void RemoveAction(TContainedAction* Action);

    std::vector<TContainedAction*> actions_;
};

class TActionList : public TCustomActionList {
    VX_CLASS(TActionList, TCustomActionList)
public:
    explicit TActionList(TComponent* AOwner) : inherited(AOwner) {}
};

// What a form does with a key nobody else took: every action list it owns
// gets the key (TCustomActionList::IsShortCut); true when one used it.
bool IsActionShortCut(TComponent* Form, TMessage& Message);
