// `TToolBar` over the common controls' tool bar, with `TToolButton`s as its
// children: flat or raised, captions shown or not, images from an image
// list, the short hint as each button's tooltip, and a button's caption,
// hint, image, enabled state and click taken from its action.
#pragma once

#include <vector>

#include "classlib/graphics/imagelist.h"
#include "classlib/stdctrls/controlactions.h"
#include "classlib/windows/controls.h"

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TGraphicControl {
    VX_CLASS(TToolButton, TGraphicControl)
public:
    explicit TToolButton(TComponent* AOwner);

    TToolBar* ToolBar() const;
    // Position among the tool bar's buttons, -1 outside one.
    int Index() const;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle Value);
    // Pressed in (a check button that is on).
    bool Down() const { return down_; }
    void SetDown(bool Value);

    TBasicAction* Action() const { return actions_.Action(); }
    void SetAction(TBasicAction* Value) { actions_.SetAction(Value); }

    // OnClick, or the action's execution.
    void Click() override;
    void InitiateAction() override;
    void Loaded() override;
    void WndProc(TMessage& Message) override;

private:
    friend class TToolBar;
    void ActionChanged(TObject* Sender, bool CheckDefaults);
    void Changed();

    TControlActionSupport actions_;
    int imageIndex_ = -1;
    TToolButtonStyle style_ = tbsButton;
    bool down_ = false;
};

// The action link of tool buttons: also the image and the checked state.
class TToolButtonActionLink : public TControlActionLink {
    VX_CLASS(TToolButtonActionLink, TControlActionLink)
public:
    explicit TToolButtonActionLink(TObject* AClient) : inherited(AClient) {}

    bool IsCheckedLinked() override;
    bool IsImageIndexLinked() override;
    void SetChecked(bool Value) override;
    void SetImageIndex(int Value) override;

private:
    TToolButton* Button() const { return static_cast<TToolButton*>(ClientControl()); }
};

class TToolBar : public TWinControl {
    VX_CLASS(TToolBar, TWinControl)
public:
    explicit TToolBar(TComponent* AOwner);
    void BeforeDestruction() override;

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int Index) const { return buttons_.at(static_cast<size_t>(Index)); }

    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool Value);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int Value);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int Value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* Value);

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;

private:
    friend class TToolButton;
    // Gives the window the buttons again and places the button controls
    // where their buttons are.
    void UpdateButtons();
    void ImageListChange(TObject* Sender);

    std::vector<TToolButton*> buttons_;
    bool flat_ = false;
    bool showCaptions_ = false;
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    TCustomImageList* images_ = nullptr;
    TOwned<TChangeLink> imageChangeLink_;
    std::vector<std::wstring> captions_;
    std::wstring tipText_;
};
