// `TScGroupBar`: the side bar that stacks `TScGroup` panels, lays them out
// in its three styles, scrolls them vertically, paints its background and
// its frame in the non-client area, and holds what its groups share.
#pragma once

#include <vector>

#include "classlib/graphics/imagelist.h"
#include "classlib/windows/controls.h"
#include "controls/scgrouplayout.h"
#include "controls/scstore.h"
#include "controls/sctypes.h"

class TScGroup;
class TScGroupAccObject;

// Posted to itself once loading is done: the scroll position starts at 0.
constexpr UINT SCM_RESETSCROLL = 0x2424;

class TScGroupBar : public TCustomControl {
    VX_CLASS(TScGroupBar, TCustomControl)
public:
    explicit TScGroupBar(TComponent* AOwner);
    void BeforeDestruction() override;

    // Raises EListError outside 0 .. count - 1.
    virtual TScGroup* GetGroup(int Index) const;
    virtual int GetGroupCount() const { return static_cast<int>(groups_.size()); }
    int IndexOfGroup(const TScGroup* Group) const;
    virtual TClass GetGroupClass() const;
    void AddGroup(TScGroup* Group);
    void RemoveGroup(TScGroup* Group);
    void MoveGroup(TScGroup* Group, int Index);

    // The layout entry point; Changed (may be null) is brought into view.
    void UpdateGroups(TScGroup* Changed);
    // Nested; the last EndUpdate lays out.
    void BeginUpdate() { ++updateLock_; }
    void EndUpdate();

    TScGroupBarStyle Style() const { return style_; }
    virtual void SetStyle(TScGroupBarStyle Value);
    bool ExclusiveMode() const { return exclusiveMode_; }
    virtual void SetExclusiveMode(bool Value);
    bool UniqueItemSelection() const { return uniqueItemSelection_; }
    virtual void SetUniqueItemSelection(bool Value);
    TScVisualStyle VisualStyle() const { return visualStyle_; }
    virtual void SetVisualStyle(TScVisualStyle Value);
    TScGradientColorStyle GradientColorStyle() const { return gradientColorStyle_; }
    virtual void SetGradientColorStyle(TScGradientColorStyle Value) { SetLook(gradientColorStyle_, Value); }
    TColor GradientColorStart() const { return gradientColorStart_; }
    virtual void SetGradientColorStart(TColor Value) { SetLook(gradientColorStart_, Value); }
    TColor GradientColorStop() const { return gradientColorStop_; }
    virtual void SetGradientColorStop(TColor Value) { SetLook(gradientColorStop_, Value); }
    TScGroupBarGradientPath GradientPath() const { return gradientPath_; }
    virtual void SetGradientPath(TScGroupBarGradientPath Value) { SetLook(gradientPath_, Value); }
    int GroupBorderSize() const { return groupBorderSize_; }
    virtual void SetGroupBorderSize(int Value);

    TFrameStyleEx BorderInner() const { return borderInner_; }
    virtual void SetBorderInner(TFrameStyleEx Value) { SetBorder(borderInner_, Value); }
    TFrameStyleEx BorderOuter() const { return borderOuter_; }
    virtual void SetBorderOuter(TFrameStyleEx Value) { SetBorder(borderOuter_, Value); }
    TSides BorderSides() const { return borderSides_; }
    virtual void SetBorderSides(TSides Value) { SetBorder(borderSides_, Value); }
    int BevelWidth() const { return bevelWidth_; }
    virtual void SetBevelWidth(int Value) { SetBorder(bevelWidth_, std::max(1, Value)); }
    TColor BorderColor() const { return borderColor_; }
    virtual void SetBorderColor(TColor Value) { SetBorder(borderColor_, Value); }
    TColor BorderHighlight() const { return borderHighlight_; }
    virtual void SetBorderHighlight(TColor Value) { SetBorder(borderHighlight_, Value); }
    TColor BorderShadow() const { return borderShadow_; }
    virtual void SetBorderShadow(TColor Value) { SetBorder(borderShadow_, Value); }
    TColor FlatColor() const { return flatColor_; }
    virtual void SetFlatColor(TColor Value) { SetBorder(flatColor_, Value); }
    int FlatColorAdjustment() const { return flatColorAdjustment_; }
    virtual void SetFlatColorAdjustment(int Value) { SetBorder(flatColorAdjustment_, Value); }

    TCustomImageList* SmallImages() const { return smallImages_; }
    virtual void SetSmallImages(TCustomImageList* Value);
    TCustomImageList* LargeImages() const { return largeImages_; }
    virtual void SetLargeImages(TCustomImageList* Value);

    int ScrollPos() const { return scrollPos_; }
    // Clamped to 0 .. range - page; the groups move by the difference.
    virtual void SetScrollPos(int Value);
    int ScrollRange() const { return range_; }

    // What the non-client frame takes from each side.
    TRect FrameWidths() const;

    // A place the keyboard can be: a group's caption (Item -1) or the
    // index of one of its items; no place when Group is null.
    struct TKeyStop {
        TScGroup* Group = nullptr;
        int Item = -1;
        bool operator==(const TKeyStop&) const = default;
    };
    // Every place Up and Down reach, top to bottom: the captions that open
    // and close their group and the items a click would run, those of
    // closed groups left out.
    std::vector<TKeyStop> KeyStops() const;
    // The keyboard's place; the first one when the last is gone.
    TKeyStop FocusStop() const;
    // Moves the keyboard there, brings it into view and tells
    // accessibility clients when the bar has the focus.
    void SetFocusStop(const TKeyStop& Stop);
    // Whether the focused bar shows where the keyboard is: not until the
    // keyboard is used, as the window's UI state says.
    bool FocusCuesShown() const;
    // Made on demand, when a client asks; null without the accessibility
    // library.
    TScGroupAccObject* GetAccObject();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Loaded() override;
    void DefineProperties(TFiler* Filer) override;
    void Resize() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

private:
    friend class TScGroupAccObject;
    template <class T>
    void SetLook(T& Field, T Value) {
        if (StoreChanged(Field, Value)) Invalidate();
    }
    template <class T>
    void SetBorder(T& Field, T Value) {
        if (StoreChanged(Field, Value)) FrameChanged();
    }
    void FrameChanged();
    void ImagesChanged(TObject* Sender);
    void RefreshScrollBar();
    void ScrollMessage(TMessage& Message);
    // The keyboard (scgroupkeys.cpp).
    bool KeyboardMessage(TMessage& Message);
    void UseFocusCues();
    void FocusStopChanged(TScGroup* OldGroup);
    void ScrollStopIntoView(const TKeyStop& Stop);
    void ActOnStop(const TKeyStop& Stop, WORD Key);
    void NotifyFocus();
    void PaintFrame();
    void CalcFrame(TMessage& Message);
    int BorderWidthOf(TFrameStyleEx Style) const;

    std::vector<TScGroup*> groups_;
    TScGroupBarStyle style_ = gbsCategoryView;
    bool exclusiveMode_ = false;
    bool uniqueItemSelection_ = false;
    TScVisualStyle visualStyle_ = vsGradient;
    TScGradientColorStyle gradientColorStyle_ = gcsSystem;
    TColor gradientColorStart_ = clBtnFace;
    TColor gradientColorStop_ = clBtnShadow;
    TScGroupBarGradientPath gradientPath_ = gpTopToBottom;
    int groupBorderSize_ = 8;
    TFrameStyleEx borderInner_ = fsNone;
    TFrameStyleEx borderOuter_ = fsNone;
    TSides borderSides_ = AllSides;
    int bevelWidth_ = 1;
    TColor borderColor_ = clBtnFace;
    TColor borderHighlight_ = clBtnHighlight;
    TColor borderShadow_ = clBtnShadow;
    TColor flatColor_ = clBtnShadow;
    int flatColorAdjustment_ = 30;
    TCustomImageList* smallImages_ = nullptr;
    TCustomImageList* largeImages_ = nullptr;
    TOwned<TChangeLink> smallLink_;
    TOwned<TChangeLink> largeLink_;

    int scrollPos_ = 0;
    int range_ = 0;
    bool scrollBarNeeded_ = false;
    // What the scroll bar was last given, to write it only on a change.
    int shownRange_ = -1, shownPage_ = -1, shownPos_ = -1;
    int updateLock_ = 0;
    bool layingOut_ = false;
    bool layoutAgain_ = false;
    // The keyboard's place by item ID, so that it survives items moving.
    TScGroup* focusGroup_ = nullptr;
    int focusItemID_ = -1;
    bool focusCuesHidden_ = true;
    TScGroupAccObject* accObject_ = nullptr;
};
