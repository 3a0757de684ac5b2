// Compound bars: a windowed control owning one dock with one locked toolbar,
// so that a form carries a row of skinned items with no docking behaviour;
// and `TSbButtonOptions`, the caption spacer and window buttons of such a bar.
#pragma once

#include <string>

#include "skins/sbdock.h"
#include "skins/sbitem.h"
#include "skins/sbtoolbar.h"

class TSbCompoundItemsControl;

// The dock inside a compound control: it takes only the control's own
// toolbar and hands its background and size changes to the control.
class TSbCompoundDock : public TSbDock {
    VX_CLASS(TSbCompoundDock, TSbDock)
public:
    using TSbDock::TSbDock;
    TSbCompoundItemsControl* Compound = nullptr;
    void DrawBackground(HDC DC, const TRect& DrawRect) override;
    // Every new size reaches the control, whether or not a window exists yet.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The dock's own painting, for the control's default step.
    void DrawDefaultBackground(HDC DC, const TRect& DrawRect) { inherited::DrawBackground(DC, DrawRect); }
};

class TSbCompoundItemsControl : public TCustomControl {
    VX_CLASS(TSbCompoundItemsControl, TCustomControl)
public:
    explicit TSbCompoundItemsControl(TComponent* AOwner);
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TSbDock* Dock() const { return dock_; }
    TSbToolbar* Toolbar() const { return toolbar_; }
    TBarRootItem* Items() const { return toolbar_ ? toolbar_->Items() : nullptr; }
    TSbSkinType SkinType() const { return skinType_; }
    virtual void SetSkinType(TSbSkinType Value);

    virtual TClass GetDockClass();
    virtual TClass GetToolbarClass();
    // Repaints the control, and with Children everything inside it.
    virtual void InvalidateBackground(bool Children);
    // The dock asks for its background.
    virtual void DockDrawBackground(HDC DC, const TRect& R);
    // The dock took a new size.
    virtual void DockResized() {}

    void Loaded() override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;

    TSbSkinType skinType_ = sknSkin;

private:
    TSbCompoundDock* dock_ = nullptr;
    TSbToolbar* toolbar_ = nullptr;
    void RequestDock(TObject* Sender, TBarCustomDockableWindow* Bar, bool& Accept);
};

class TSbCompoundBar : public TSbCompoundItemsControl {
    VX_CLASS(TSbCompoundBar, TSbCompoundItemsControl)
public:
    explicit TSbCompoundBar(TComponent* AOwner);
    void AfterConstruction() override;

    TCustomImageList* Images() const { return Toolbar() ? Toolbar()->Images() : nullptr; }
    void SetImages(TCustomImageList* Value) {
        if (Toolbar()) Toolbar()->SetImages(Value);
    }
    TSbDrawBackgroundEvent OnDrawDockBackground;

    // OnDrawDockBackground around the default background.
    virtual void DoDrawDockBackground(TCanvas* Canvas, const TRect& R, TSbDrawStage2 Stage,
                                      bool& PaintDefault);
    void DockDrawBackground(HDC DC, const TRect& R) override;
    void DockResized() override;

protected:
    // Default part of the dock background (the dock's own skin here).
    virtual void PaintDockDefault(TCanvas* Canvas, const TRect& R);
    // The bar's height follows its dock's.
    bool followDock_ = true;
};

enum TSbWindowButton { swbCaption, swbClose, swbMaximize, swbMinimize };

class TSbButtonOptions : public TPersistent {
    VX_CLASS(TSbButtonOptions, TPersistent)
public:
    explicit TSbButtonOptions(TSbCompoundBar* AOwner);
    // The items themselves, once the options have been made (CreateButtons).
    virtual void CreateButtons();

    bool ButtonBorders() const { return buttonBorders_; }
    void SetButtonBorders(bool Value);
    bool Caption() const { return visible_[swbCaption]; }
    void SetCaption(bool Value) { SetVisibleOption(swbCaption, Value); }
    bool Close() const { return visible_[swbClose]; }
    void SetClose(bool Value) { SetVisibleOption(swbClose, Value); }
    bool Minimize() const { return visible_[swbMinimize]; }
    void SetMinimize(bool Value) { SetVisibleOption(swbMinimize, Value); }
    bool Maximize() const { return visible_[swbMaximize]; }
    void SetMaximize(bool Value) { SetVisibleOption(swbMaximize, Value); }
    int CaptionImageIndex() const { return imageIndex_[swbCaption]; }
    void SetCaptionImageIndex(int Value) { SetImageOption(swbCaption, Value); }
    int CloseImageIndex() const { return imageIndex_[swbClose]; }
    void SetCloseImageIndex(int Value) { SetImageOption(swbClose, Value); }
    int MinimizeImageIndex() const { return imageIndex_[swbMinimize]; }
    void SetMinimizeImageIndex(int Value) { SetImageOption(swbMinimize, Value); }
    int MaximizeImageIndex() const { return imageIndex_[swbMaximize]; }
    void SetMaximizeImageIndex(int Value) { SetImageOption(swbMaximize, Value); }
    int RestoreImageIndex() const { return restoreImageIndex_; }
    void SetRestoreImageIndex(int Value);
    int TitleBarSize() const { return titleBarSize_; }
    void SetTitleBarSize(int Value);

    TSbRightAlignSpacerItem* CaptionItem() const { return captionItem_; }
    TSbItem* Button(TSbWindowButton Which) const { return buttons_[Which]; }
    const std::wstring& CaptionText() const { return captionText_; }
    void SetCaptionText(const std::wstring& Value);

    virtual void DoDrawImage(TObject* Sender, TCanvas* Canvas, TRect ARect, const TSbItemDrawInfo& Info,
                             TSbDrawStage Stage, bool& PaintDefault);
    virtual void DoDrawItem(TObject* Sender, TCanvas* Canvas, TRect ARect, const TSbItemDrawInfo& Info,
                            TSbDrawStage Stage, bool& PaintDefault);
    virtual void ButtonClick(TObject*) {}
    // Unbinds the items' events from these options, before the options go
    // while the items (owned by the bar) live on a little longer.
    virtual void DetachButtons();
    virtual void UpdateCaptionVisibility();
    virtual void SetupButton(TSbItem* Button, bool Show, int ImageIndex);
    virtual bool IsMaximized() { return false; }
    // Bold caption, the order of the items and their size, once loaded.
    virtual void Loaded();
    virtual void UpdateButtonImage();

protected:
    void SetVisibleOption(TSbWindowButton Which, bool Value);
    void SetImageOption(TSbWindowButton Which, int Value);
    TSbCompoundBar* Bar() const { return bar_; }
    TSbToolbar* Toolbar() const { return bar_->Toolbar(); }

private:
    TSbCompoundBar* bar_;
    TSbRightAlignSpacerItem* captionItem_ = nullptr;
    TSbItem* buttons_[4] = {};
    bool visible_[4] = {true, true, true, true};
    int imageIndex_[4] = {-1, -1, -1, -1};
    int restoreImageIndex_ = -1;
    bool buttonBorders_ = true;
    int titleBarSize_ = 21;
    std::wstring captionText_;
};
