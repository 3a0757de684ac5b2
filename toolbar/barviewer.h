// Viewers: the visual of one item in one view. A viewer measures and paints
// its item in toolbar or menu style, turns mouse presses into clicks and
// popups, and answers the small questions of layout, keyboard and hints.
#pragma once

#include <string>

#include "classlib/graphics/canvas.h"
#include "classlib/graphics/geometry.h"
#include "classlib/graphics/imagelist.h"
#include "classlib/windows/messages.h"
#include "toolbar/baritem.h"

struct IAccessible;
class TBarItemViewerAccObject;

// Width of the arrow part of a split toolbar button.
inline constexpr int BarComboArrowWidth = 11;
// Room a plain drop-down arrow takes beside a toolbar button's content.
inline constexpr int BarDropdownArrowWidth = 8;

class TBarItemViewer : public TObject {
    VX_CLASS(TBarItemViewer, TObject)
public:
    TBarItemViewer(TBarView* AView, TBarCustomItem* AItem, int AGroupLevel);
    void BeforeDestruction() override;

    TBarView* View() const { return view_; }
    TBarCustomItem* Item() const { return item_; }
    int GroupLevel() const { return groupLevel_; }

    TRect BoundsRect;
    bool Clipped = false;
    bool OffEdge = false;
    bool Show = false;
    // Set by the view's Invalidate: the next paint goes through a bitmap.
    bool NeedsFullRepaint = false;
    // A separator that became a line break in the last layout.
    bool LineSep = false;

    virtual void CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight);
    virtual bool DoExecute();
    virtual void DrawItemCaption(TCanvas* Canvas, TRect ARect, const std::string& ACaption,
                                 bool DrawDisabledShadow, UINT AFormat);
    virtual void Entering(TBarItemViewer* OldSelected);
    virtual int GetAccRole();
    virtual bool GetAccValue(std::wstring& Value);
    virtual std::string GetCaptionText();
    virtual void GetCursor(TPoint Pt, HCURSOR& Cursor);
    virtual bool IsToolbarSize();
    virtual bool IsPtInButtonPart(int X, int Y);
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void Leaving();
    virtual void LosingCapture();
    virtual void MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu);
    virtual void MouseMove(int X, int Y);
    virtual void MouseUp(int X, int Y, bool MouseWasDownOnMenu);
    // The menu loop asks before it gives a wheel message to the view.
    virtual void MouseWheelHook(bool& Handled);
    virtual void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
                       bool UseDisabledShadow);
    virtual bool UsesSameWidth();
    virtual bool IsToolbarStyle();
    virtual bool CaptionShown();

    // Shown, off edge or clipped: accessibility clients and focus events see it.
    bool IsAccessible() const { return Show || OffEdge || Clipped; }
    bool ImageShown();
    TCustomImageList* GetImageList();
    bool IsRotated();
    std::string GetHintText();
    int GetIndex() const;
    TPoint ScreenToClient(TPoint P);
    void Execute(bool GivePriority);

    // Accessibility: the object (made on first request, null when the
    // system offers no accessibility) and a deferred select or execute.
    IAccessible* GetAccObject();
    void AccObjectGone() { accObject_ = nullptr; }
    void PostAccSelect(bool Execute);
    void AccSelectPosted(int Flag);

protected:
    // The image column of a menu-style item of height H.
    int MenuImageColumn(int H);
    // Draws the drop-down triangle centred on (X, Y).
    void DrawDropdownArrow(TCanvas* Canvas, int X, int Y, bool Left, bool Enabled);
    void PaintToolbarFrame(TCanvas* Canvas, TRect& R, bool IsSelected, bool IsPushed, bool& ContentPressed);
    void PaintCheckMark(TCanvas* Canvas, const TRect& Column);
    void PaintMenuArrow(TCanvas* Canvas, const TRect& R, bool Enabled);

private:
    TBarView* view_;
    TBarCustomItem* item_;
    int groupLevel_;
    TBarItemViewerAccObject* accObject_ = nullptr;
};

// A pointer to a viewer that turns null when the viewer is freed: the view
// keeps hold of viewers through it across calls to OnPopup and OnSelect,
// which may rebuild the items. Lives on the GUI thread only.
class TBarViewerWatch {
public:
    explicit TBarViewerWatch(TBarItemViewer* Target);
    ~TBarViewerWatch();
    TBarViewerWatch(const TBarViewerWatch&) = delete;
    TBarViewerWatch& operator=(const TBarViewerWatch&) = delete;

    TBarItemViewer* Get() const { return target_; }
    TBarItemViewer* operator->() const { return target_; }
    explicit operator bool() const { return target_ != nullptr; }
    // Called by a viewer being freed.
    static void ViewerFreed(const TBarItemViewer* Viewer);

private:
    TBarItemViewer* target_;
};

class TBarSeparatorItemViewer : public TBarItemViewer {
    VX_CLASS(TBarSeparatorItemViewer, TBarItemViewer)
public:
    using TBarItemViewer::TBarItemViewer;
    void CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) override;
    void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
    bool UsesSameWidth() override { return false; }
};

class TBarChevronItemViewer : public TBarItemViewer {
    VX_CLASS(TBarChevronItemViewer, TBarItemViewer)
public:
    using TBarItemViewer::TBarItemViewer;
    void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
};
