// Controls as action clients: `TControlActionLink` keeps a control's caption,
// enabled state, hint, visibility and click handler in step with an action,
// and `TControlActionSupport` is what a control that takes an action keeps:
// the link, the values taken from the action, the action's part of a click
// and of the idle update.
#pragma once

#include "classlib/windows/actions.h"
#include "classlib/windows/controls.h"

class TControlActionLink : public TActionLink {
    VX_CLASS(TControlActionLink, TActionLink)
public:
    explicit TControlActionLink(TObject* AClient) : inherited(AClient) {}

    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    bool IsHintLinked() override;
    bool IsVisibleLinked() override;
    bool IsOnExecuteLinked() override;
    void SetCaption(const std::string& Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const std::string& Value) override;
    void SetVisible(bool Value) override;
    void SetOnExecute(const TNotifyEvent& Value) override;

protected:
    void AssignClient(TObject* AClient) override;
    TControl* ClientControl() const { return client_; }

private:
    TControl* client_ = nullptr;
};

// Makes a link of class L for a control (the control's GetActionLinkClass).
template <class L>
TControlActionLink* MakeControlActionLink(TControl* Client) {
    return Create<L>(Client);
}

using TActionChangeEvent = TDelegate<void(TObject* Sender, bool CheckDefaults)>;

// TControl carries no action of its own here. A control that takes one keeps
// a TControlActionSupport member and routes to it:
//   InitiateAction() -> support.InitiateAction()
//   Click()          -> support.Click()      (instead of firing OnClick)
//   Loaded()         -> inherited, then support.Loaded()
class TControlActionSupport {
public:
    using TLinkFactory = TControlActionLink* (*)(TControl* Client);

    explicit TControlActionSupport(TControl* Control,
                                   TLinkFactory LinkFactory = &MakeControlActionLink<TControlActionLink>)
        : control_(Control), linkFactory_(LinkFactory) {}
    ~TControlActionSupport();
    TControlActionSupport(const TControlActionSupport&) = delete;
    TControlActionSupport& operator=(const TControlActionSupport&) = delete;

    // Null once the action is gone.
    TBasicAction* Action() const { return link_ ? link_->Action() : nullptr; }
    // Links the control to Value (null unlinks). The control takes the
    // action's values (while the control or the action is loading, only
    // those the control still has at their defaults) and becomes an action
    // client (csActionClient), so the idle step updates the action.
    void SetAction(TBasicAction* Value);
    TControlActionLink* ActionLink() const { return link_.get(); }

    // The idle step: the action updates itself.
    void InitiateAction();
    // OnClick when it is the control's own handler; else the action
    // executes on behalf of the control; else OnClick.
    void Click();
    // After loading, values set while loading are filled from the action
    // where the control left them at their defaults.
    void Loaded();
    // Copies caption, enabled state, hint, visibility and the click handler
    // from a TCustomAction (with CheckDefaults only where the control still
    // has the default), then fires OnActionChange for the control's own
    // values (checked state, image, ...).
    void ActionChange(TObject* Sender, bool CheckDefaults);

    TActionChangeEvent OnActionChange;

private:
    TControl* control_;
    TLinkFactory linkFactory_;
    TOwned<TControlActionLink> link_;
};
