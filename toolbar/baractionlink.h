// The link between an item and its action: a property follows the action
// only while the item's value still equals the action's.
#pragma once

#include "classlib/windows/actions.h"

class TBarCustomItem;

class TBarCustomItemActionLink : public TActionLink {
    VX_CLASS(TBarCustomItemActionLink, TActionLink)
public:
    explicit TBarCustomItemActionLink(TObject* AClient) : inherited(AClient) {}

    bool IsCaptionLinked() override;
    bool IsCheckedLinked() override;
    bool IsEnabledLinked() override;
    bool IsHelpContextLinked() override;
    bool IsHintLinked() override;
    bool IsImageIndexLinked() override;
    bool IsShortCutLinked() override;
    bool IsVisibleLinked() override;
    bool IsOnExecuteLinked() override;
    virtual bool IsAutoCheckLinked();

    void SetAutoCheck(bool Value) override;
    void SetCaption(const std::string& Value) override;
    void SetChecked(bool Value) override;
    void SetEnabled(bool Value) override;
    void SetHelpContext(int Value) override;
    void SetHint(const std::string& Value) override;
    void SetImageIndex(int Value) override;
    void SetShortCut(TShortCut Value) override;
    void SetVisible(bool Value) override;
    void SetOnExecute(const TNotifyEvent& Value) override;

protected:
    void AssignClient(TObject* AClient) override;

private:
    TBarCustomItem* client_ = nullptr;
};
