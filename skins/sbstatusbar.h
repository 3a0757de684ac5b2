// The skinned status bar: a compound bar at the bottom of its form whose
// toolbar shows a size grip at its right end, sizes the form from it, and
// draws its separators in the Office look.
#pragma once

#include "skins/sbcompound.h"

// The status bar's view: accessibility clients find a status bar.
class TSbStatusToolbarView : public TSbToolbarView {
    VX_CLASS(TSbStatusToolbarView, TSbToolbarView)
public:
    using TSbToolbarView::TSbToolbarView;
    int GetAccRole() override { return 23; }  // ROLE_SYSTEM_STATUSBAR
};

class TSbStatusToolbar : public TSbToolbar {
    VX_CLASS(TSbStatusToolbar, TSbToolbar)
public:
    using TSbToolbar::TSbToolbar;

    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool Value);
    // In the toolbar's client coordinates; empty when no grip shows.
    TRect GetGripRect();
    bool IsPointInGrip(TPoint P);

    TColor GetItemTextColor(TSbSkinStatesType State) override;
    int GetRightAlignMargin() override;
    bool DrawsOwnSeparators() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    TBarToolbarView* CreateToolbarView() override;

private:
    TCustomForm* Form();
    void SizeFromGrip();
    bool sizeGrip_ = true;
    TCustomForm* form_ = nullptr;
};

class TSbCustomStatusBar : public TSbCompoundBar {
    VX_CLASS(TSbCustomStatusBar, TSbCompoundBar)
public:
    explicit TSbCustomStatusBar(TComponent* AOwner);
    void AfterConstruction() override;

    bool SizeGrip() const { return StatusToolbar()->SizeGrip(); }
    void SetSizeGrip(bool Value) { StatusToolbar()->SetSizeGrip(Value); }
    TSbStatusToolbar* StatusToolbar() const { return static_cast<TSbStatusToolbar*>(Toolbar()); }

    TClass GetToolbarClass() override;
    virtual void DrawStatusSeparators(TCanvas* Canvas, const TRect& R);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

protected:
    void PaintDockDefault(TCanvas* Canvas, const TRect& R) override;
};

class TSbStatusBar : public TSbCustomStatusBar {
    VX_CLASS(TSbStatusBar, TSbCustomStatusBar)
public:
    using TSbCustomStatusBar::TSbCustomStatusBar;
};
