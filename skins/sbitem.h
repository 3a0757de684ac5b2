// The skinned items: buttons, submenus, labels, the right-align spacer,
// separators and the root of skinned menus, with wide caption and hint, font
// settings, alignment, glow, fixed and minimum sizes, an attached control and
// owner-draw events.
#pragma once

#include <string>

#include "classlib/windows/alignment.h"
#include "skins/sbfontsettings.h"
#include "skins/skinoptions.h"
#include "toolbar/baritem.h"

class TSbItemViewer;
class TReader;
class TBitmap;

enum TSbGlowDirection { gldNone, gldAll, gldTopLeft, gldBottomRight };
enum TTextWrapping { twNone, twEndEllipsis, twPathEllipsis, twWrap };

// What an owner-draw event is told about the item it draws.
struct TSbItemDrawInfo {
    TSbItemViewer* Viewer = nullptr;
    TSbSkinStatesType State = sknsNormal;
    bool InMenu = false;
};
enum TSbDrawStage { sdsBefore, sdsAfter };
// PaintDefault starts true; clearing it before the default step skips it.
using TSbItemDrawEvent = TDelegate<void(TObject* Sender, TCanvas* Canvas, TRect ARect,
                                        const TSbItemDrawInfo& Info, TSbDrawStage Stage, bool& PaintDefault)>;
// Draws the hint into Bitmap (already sized to the text plus 8 x 4) instead
// of the default look.
using TSbDrawHintEvent =
    TDelegate<void(TObject* Sender, TBitmap* Bitmap, std::wstring& Hint, bool& PaintDefault)>;

class TSbCustomItem : public TBarCustomItem {
    VX_CLASS(TSbCustomItem, TBarCustomItem)
public:
    explicit TSbCustomItem(TComponent* AOwner);

    // The wide caption; when the framework's 8-bit caption was set by other
    // means (an action), its conversion.
    std::wstring Caption() const;
    void SetCaption(const std::wstring& Value);
    const std::string& AnsiCaption() const { return inherited::Caption(); }
    std::wstring Hint() const;
    void SetHint(const std::wstring& Value);
    const std::string& AnsiHint() const { return inherited::Hint(); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool Anchored() const { return anchored_; }
    void SetAnchored(bool Value) { anchored_ = Value; }
    TSbGlowDirection CaptionGlow() const { return captionGlow_; }
    void SetCaptionGlow(TSbGlowDirection Value);
    TColor CaptionGlowColor() const { return captionGlowColor_; }
    void SetCaptionGlowColor(TColor Value);
    TControl* Control() const { return control_; }
    void SetControl(TControl* Value);
    int CustomWidth() const { return customWidth_; }
    void SetCustomWidth(int Value);
    int CustomHeight() const { return customHeight_; }
    void SetCustomHeight(int Value);
    TSbFontSettings* FontSettings() const { return fontSettings_.get(); }
    void SetFontSettings(TSbFontSettings* Value) { fontSettings_->Assign(Value); }
    int Margins() const { return margins_; }
    void SetMargins(int Value);
    int MinHeight() const { return minHeight_; }
    void SetMinHeight(int Value);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int Value);
    TTextWrapping Wrapping() const { return wrapping_; }
    void SetWrapping(TTextWrapping Value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool Value);

    TSbItemDrawEvent OnDrawCaption;
    TSbDrawHintEvent OnDrawHint;
    TSbItemDrawEvent OnDrawImage;
    TSbItemDrawEvent OnDrawItem;

    // True when the item takes Key as its accelerator.
    virtual bool DialogChar(char Key);
    virtual void DoDrawHint(TBitmap* Bitmap, std::wstring& Hint, bool& PaintDefault);
    virtual void DoDrawItem(TCanvas* Canvas, TRect ARect, const TSbItemDrawInfo& Info, TSbDrawStage Stage,
                            bool& PaintDefault);
    virtual void DoDrawCaption(TCanvas* Canvas, TRect ARect, const TSbItemDrawInfo& Info, bool& PaintDefault);
    virtual void DoDrawImage(TCanvas* Canvas, TRect ARect, const TSbItemDrawInfo& Info, bool& PaintDefault);
    virtual void DoPopupShowingChanged(TWinControl* PopupWindow, bool IsVisible);
    virtual void ToggleControl();
    virtual void UpdateProps();

    // The caption up to its first tab, and the text after it (else the
    // shortcut's text).
    std::wstring CaptionText() const;
    std::wstring ShortCutText() const;

    void Click() override;
    void InitiateAction() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel) override;
    TBarPopupWindow* CreatePopupWindow(TBarView* ParentView, TBarCustomItem* Shown,
                                       bool Customizing) override;

    // Publishes the skinned items' properties (once, from the unit's start-up).
    static void PublishProperties();

protected:
    void DefineProperties(TFiler* Filer) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

private:
    void FontSettingsChanged(TObject*) { Change(true); }
    void SetSizeField(int& Field, int Value);
    void ReadLegacyCaption(TReader* Reader);
    void ReadLegacyHint(TReader* Reader);

    std::wstring caption_;
    std::wstring hint_;
    TAlignment alignment_ = taCenter;
    bool anchored_ = false;
    TSbGlowDirection captionGlow_ = gldNone;
    TColor captionGlowColor_ = clYellow;
    TControl* control_ = nullptr;
    int customWidth_ = -1;
    int customHeight_ = -1;
    TOwned<TSbFontSettings> fontSettings_;
    int margins_ = 0;
    int minHeight_ = 0;
    int minWidth_ = 0;
    TTextWrapping wrapping_ = twWrap;
    bool stretch_ = true;
};

class TSbItem : public TSbCustomItem {
    VX_CLASS(TSbItem, TSbCustomItem)
public:
    using TSbCustomItem::TSbCustomItem;
};

class TSbSubmenuItem : public TSbItem {
    VX_CLASS(TSbSubmenuItem, TSbItem)
public:
    explicit TSbSubmenuItem(TComponent* AOwner);

    bool DropdownCombo() const { return (ItemStyle() & isfCombo) != 0; }
    void SetDropdownCombo(bool Value);
    bool ToolbarStylePopup = false;
    bool ToolBoxPopup() const { return Options().Contains(tboToolbarStyle); }
    void SetToolBoxPopup(bool Value);

    TNotifyEvent OnClosePopup;
    TNotifyEvent OnInitPopup;
    void DoPopupShowingChanged(TWinControl* PopupWindow, bool IsVisible) override;
};

class TSbCustomLabelItem : public TSbCustomItem {
    VX_CLASS(TSbCustomLabelItem, TSbCustomItem)
public:
    explicit TSbCustomLabelItem(TComponent* AOwner);
    bool DialogChar(char Key) override;
    void ToggleControl() override {}
    void UpdateProps() override {}
    TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel) override;
};

class TSbLabelItem : public TSbCustomLabelItem {
    VX_CLASS(TSbLabelItem, TSbCustomLabelItem)
public:
    using TSbCustomLabelItem::TSbCustomLabelItem;
};

// Takes the free length of the bar, so that the items after it sit at the
// bar's far end.
class TSbRightAlignSpacerItem : public TSbCustomLabelItem {
    VX_CLASS(TSbRightAlignSpacerItem, TSbCustomLabelItem)
public:
    using TSbCustomLabelItem::TSbCustomLabelItem;
};

class TSbSeparatorItem : public TBarSeparatorItem {
    VX_CLASS(TSbSeparatorItem, TBarSeparatorItem)
public:
    using TBarSeparatorItem::TBarSeparatorItem;
    TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel) override;
};

using TSbPopupViewEvent = TDelegate<void(TObject* Sender, TBarView* View)>;

class TSbRootItem : public TBarRootItem {
    VX_CLASS(TSbRootItem, TBarRootItem)
public:
    using TBarRootItem::TBarRootItem;
    // Told with the view of every popup shown for this root.
    TSbPopupViewEvent OnInitPopup;
    void DoPopupShowingChanged(TBarView* View) {
        if (OnInitPopup) OnInitPopup(this, View);
    }
    TBarPopupWindow* CreatePopupWindow(TBarView* ParentView, TBarCustomItem* Shown,
                                       bool Customizing) override;
};

// 8-bit <-> wide in the system code page.
std::string WideToAnsiText(const std::wstring& Text);
std::wstring AnsiToWideText(const std::string& Text);
