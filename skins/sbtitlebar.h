// The skinned title bar: a compound bar over its whole form that replaces
// the form's caption and border with a skinned caption row, a painted frame,
// sizing from the frame, dragging, the window buttons and a skinned system
// menu; the form itself goes borderless while the bar is active.
#pragma once

#include <memory>
#include <string>

#include "classlib/graphics/handles.h"
#include "skins/sbcompound.h"
#include "skins/sbtitlerules.h"

class TCustomForm;
class TSbCustomTitleBar;

class TSbTitleToolbar : public TSbToolbar {
    VX_CLASS(TSbTitleToolbar, TSbToolbar)
public:
    using TSbToolbar::TSbToolbar;
    TColor GetItemTextColor(TSbSkinStatesType State) override;
    int GetRightAlignMargin() override { return 4; }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

class TSbTitleBarButtonOptions : public TSbButtonOptions {
    VX_CLASS(TSbTitleBarButtonOptions, TSbButtonOptions)
public:
    explicit TSbTitleBarButtonOptions(TSbCustomTitleBar* AOwner);

    bool SystemMenu() const { return systemMenu_; }
    void SetSystemMenu(bool Value);
    int SystemImageIndex() const { return systemImageIndex_; }
    void SetSystemImageIndex(int Value);
    TSbItem* SystemItem() const { return systemItem_; }

    void CreateButtons() override;
    void DetachButtons() override;
    void ButtonClick(TObject* Sender) override;
    void DoDrawImage(TObject* Sender, TCanvas* Canvas, TRect ARect, const TSbItemDrawInfo& Info,
                     TSbDrawStage Stage, bool& PaintDefault) override;
    bool IsMaximized() override;
    void Loaded() override;
    void UpdateButtonImage() override;

private:
    TSbCustomTitleBar* titleBar_;
    TSbItem* systemItem_ = nullptr;
    TIconHandle smallIcon_;
    // An empty list of the icon's size: it gives the item its image room.
    TCustomImageList* iconRoom_ = nullptr;
    bool systemMenu_ = true;
    int systemImageIndex_ = -1;
};

class TSbCustomTitleBar : public TSbCompoundBar {
    VX_CLASS(TSbCustomTitleBar, TSbCompoundBar)
public:
    explicit TSbCustomTitleBar(TComponent* AOwner);
    void AfterConstruction() override;
    void BeforeDestruction() override;

    std::wstring Caption() const { return GetWideText(); }
    void SetCaption(const std::wstring& Value) { SetWideText(Value); }
    void SetWideText(const std::wstring& Value) override;
    bool Active() const { return active_; }
    void SetActive(bool Value);
    bool FixedSize() const { return fixedSize_; }
    void SetFixedSize(bool Value) { fixedSize_ = Value; }
    bool FullScreenMaximize() const { return fullScreenMaximize_; }
    void SetFullScreenMaximize(bool Value);
    TSbTitleBarButtonOptions* Options() const { return options_.get(); }
    int FrameWidth() const { return frameWidth_; }

    TSbDrawBackgroundEvent OnDrawBackground;
    TSbPopupViewEvent OnSystemMenuPopup;

    TCustomForm* Form();
    TSbWindowState GetWindowState();
    void SetWindowState(TSbWindowState Value);
    // Shows the skinned system menu at the screen point P.
    virtual void ShowSystemMenu(TPoint P);
    virtual void DoDrawBackground(TCanvas* Canvas, const TRect& R, TSbDrawStage2 Stage, bool& PaintDefault);
    // The sizing command and cursor at P, in the bar's coordinates.
    TSbSizingZone GetSizingHitTest(TPoint P);
    void ApplyActive(bool On);

    TClass GetToolbarClass() override;
    void AdjustClientRect(TRect& Rect) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

    // Publishes the wide caption (once, from the items unit's start-up).
    static void PublishProperties();

protected:
    void CreateParams(TCreateParams& Params) override;
    // Old forms' wide copies of the caption are read and dropped.
    void DefineProperties(TFiler* Filer) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    friend class TSbTitleToolbar;
    void HookForm();
    void UnhookForm();
    void FormWndProc(TMessage& Message, const TControl::TWindowProcNext& Next);
    bool SwallowKeyMenu();
    void EraseBackground(HDC DC);
    bool FormActiveLook();

    TOwned<TSbTitleBarButtonOptions> options_;
    TCustomForm* form_ = nullptr;
    TCustomForm* hooked_ = nullptr;
    bool active_ = true;
    bool fixedSize_ = false;
    bool fullScreenMaximize_ = false;
    int frameWidth_ = 4;
};

class TSbTitleBar : public TSbCustomTitleBar {
    VX_CLASS(TSbTitleBar, TSbCustomTitleBar)
public:
    using TSbCustomTitleBar::TSbCustomTitleBar;
};

// The taskbar's edge when it hides itself, else abeNone.
TSbTaskbarEdge SbHidingTaskbarEdge();
// The monitor of Window and its work area (the primary monitor's work area
// through the system settings).
void SbMonitorAreas(HWND Window, TRect& Monitor, TRect& WorkArea);
// Fills a skinned popup from Form's system menu, runs it at P and carries
// out the chosen command; the popup is freed before the command is sent.
void SbShowSystemMenu(TCustomForm* Form, TPoint P, const TSbSystemMenuOptions& Options,
                      const TSbPopupViewEvent& OnPopup);
