// `TBarDock`: the strip along a side of a form that holds dockable bars in
// rows. It keeps the bars that name it, arranges the visible ones, sizes
// itself to its rows, paints bound lines and an optional shared background.
#pragma once

#include <vector>

#include "classlib/windows/controls.h"
#include "toolbar/bararrange.h"

class TBarCustomDockableWindow;

enum TBarDockPosition { dpTop, dpBottom, dpLeft, dpRight };
enum TBarDockBoundLinesValues { blTop, blBottom, blLeft, blRight };
using TBarDockBoundLines = TSet<TBarDockBoundLinesValues>;

using TBarInsertRemoveEvent = TDelegate<void(TObject* Sender, bool Inserting, TBarCustomDockableWindow* Bar)>;
using TBarRequestDockEvent = TDelegate<void(TObject* Sender, TBarCustomDockableWindow* Bar, bool& Accept)>;

// Dock type codes shared by docks and bars.
enum TBarDockType { dtNotDocked, dtFloating, dtHorizontal, dtVertical };

// A source of a background that docks (and their bars) share.
class TBarBasicBackground : public TComponent {
    VX_CLASS(TBarBasicBackground, TComponent)
public:
    using TComponent::TComponent;
    virtual void Draw(HDC DC, const TRect& DrawRect) = 0;
    virtual HPALETTE GetPalette() = 0;
    virtual void RegisterChanges(const TNotifyEvent& Proc) = 0;
    virtual void SysColorChange() = 0;
    virtual void UnregisterChanges(const TNotifyEvent& Proc) = 0;
    virtual bool UsingBackground() = 0;
};

class TBarDock : public TCustomControl {
    VX_CLASS(TBarDock, TCustomControl)
public:
    explicit TBarDock(TComponent* AOwner);
    void BeforeDestruction() override;

    bool AllowDrag() const { return allowDrag_; }
    void SetAllowDrag(bool Value);
    TBarBasicBackground* Background() const { return background_; }
    void SetBackground(TBarBasicBackground* Value);
    bool BackgroundOnToolbars() const { return backgroundOnToolbars_; }
    void SetBackgroundOnToolbars(bool Value);
    TBarDockBoundLines BoundLines() const { return boundLines_; }
    void SetBoundLines(TBarDockBoundLines Value);
    bool FixAlign() const { return fixAlign_; }
    void SetFixAlign(bool Value);
    bool LimitToOneRow() const { return limitToOneRow_; }
    void SetLimitToOneRow(bool Value);
    TBarDockPosition Position() const { return position_; }
    // EInvalidOperation while the dock holds controls.
    void SetPosition(TBarDockPosition Value);
    bool Vertical() const { return position_ == dpLeft || position_ == dpRight; }
    TBarDockType DockType() const { return Vertical() ? dtVertical : dtHorizontal; }

    TBarInsertRemoveEvent OnInsertRemoveBar;
    TBarRequestDockEvent OnRequestDock;

    // Arrangement is deferred while updating and runs once at the end.
    void BeginUpdate();
    void EndUpdate();
    virtual void ArrangeToolbars();
    // Arrangements carried out so far (not deferred requests).
    int ArrangementCount() const { return arrangementCount_; }

    int ToolbarCount() const { return static_cast<int>(visible_.size()); }
    TBarCustomDockableWindow* Toolbars(int Index) const { return visible_.at(static_cast<size_t>(Index)); }
    const std::vector<TBarCustomDockableWindow*>& DockList() const { return dockList_; }
    bool HasVisibleToolbars() const;

    void ChangeDockList(bool Insert, TBarCustomDockableWindow* Bar);
    void ToolbarVisibilityChanged(TBarCustomDockableWindow* Bar, bool ForceRemove);
    void CommitPositions();
    // The move loop commits the positions of its next arrangement.
    void SetCommitNewPositions() { commitNewPositions_ = true; }

    // Rows as the move loop sees them.
    int GetHighestRow(bool Effective) const;
    int GetCurrentRowSize(int Row, bool& AFullSize) const;
    // The thickness a bar of the row is laid out across: while an arrangement
    // sizes the row's bars one after another, the one it gave the row.
    int LayoutRowSize(int Row) const;
    int GetMinRowSize(int Row, TBarCustomDockableWindow* ExceptBar) const;
    int GetDesignModeRowOf(int Pos) const;

    virtual bool GetAllowDrag() { return allowDrag_; }
    virtual void DrawBackground(HDC DC, const TRect& DrawRect);
    virtual bool UsingBackground();
    void InvalidateBackgrounds();
    // Bound lines on the left/right and top/bottom.
    int NonClientWidth() const { return ncWidth_; }
    int NonClientHeight() const { return ncHeight_; }

    void SetParent(TWinControl* AParent) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;
    // Sets the thickness, keeping the edge the alignment holds.
    void ChangeWidthHeight(int NewWidth, int NewHeight);
    void DrawNCArea(HDC DC, HRGN Rgn);

private:
    friend class TBarCustomDockableWindow;
    void BackgroundChanged(TObject* Sender);
    void RecalcFrame();
    bool IsShownOnDock(TBarCustomDockableWindow* Bar) const;
    void ArrangeOnce();
    bool TakeContentChanges();
    static void PaintNC(HWND Wnd, HDC DC, void* AppData);

    bool allowDrag_ = true;
    TBarBasicBackground* background_ = nullptr;
    bool backgroundOnToolbars_ = true;
    TBarDockBoundLines boundLines_;
    bool fixAlign_ = false;
    bool limitToOneRow_ = false;
    TBarDockPosition position_ = dpTop;
    std::vector<TBarCustomDockableWindow*> dockList_;
    std::vector<TBarCustomDockableWindow*> visible_;
    int ncWidth_ = 0, ncHeight_ = 0;
    int updateCount_ = 0;
    bool arrangeNeeded_ = false;
    bool commitNewPositions_ = false;
    int arrangementCount_ = 0;
    // Row thicknesses of the arrangement in progress.
    std::vector<int> sizingRows_;
};
