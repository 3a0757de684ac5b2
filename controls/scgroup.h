// `TScGroup`: one collapsible panel of the group bar, a caption band over a
// list of clickable items. It opens and closes by the bar's style, measures
// and paints its items, tracks the mouse over caption and items, and can
// take its looks from a `TScGroupController`.
#pragma once

#include <string>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/imagelist.h"
#include "classlib/windows/controls.h"
#include "controls/scgroupitems.h"
#include "controls/scgrouplayout.h"
#include "controls/scgrouptypes.h"
#include "controls/scstore.h"

class TScGroupAccObject;
class TScGroupBar;
class TScGroupController;
class TScRapidFireButton;
class TPopupMenu;
struct THintInfo;

using TScAllowEvent = TDelegate<void(TObject* Sender, bool& Allow)>;

// Sent to a group (and, for a bar with unique selection, to every control
// beside the bar) with the newly selected item in LParam.
constexpr UINT SCM_ITEMSELECTED = 0x2425;
// Posted to a group for an accessibility client's default action, after
// the client's call: WParam is the item's ID, or -1 for the caption.
constexpr UINT SCM_ACCACTION = 0x2426;

class TScGroup : public TCustomControl {
    VX_CLASS(TScGroup, TCustomControl)
public:
    explicit TScGroup(TComponent* AOwner);
    void BeforeDestruction() override;

    // Only a group bar (or none) may hold a group.
    void SetParent(TWinControl* AParent) override;
    TScGroupBar* GroupBar() const { return bar_; }
    // Leaves the old bar and joins Value (made its parent).
    void SetGroupBar(TScGroupBar* Value);

    bool Opened() const { return opened_; }
    void SetOpened(bool Value);
    void ToggleOpened() { SetOpened(!opened_); }
    int OpenedHeight() const { return openedHeight_; }
    void SetOpenedHeight(int Value);
    bool CanClose() const { return canClose_; }
    void SetCanClose(bool Value);
    int CaptionHeight() const { return captionHeight_; }
    void SetCaptionHeight(int Value);
    TScCaptionStyle CaptionStyle() const { return captionStyle_; }
    void SetCaptionStyle(TScCaptionStyle Value);
    int CaptionImageIndex() const { return captionImageIndex_; }
    void SetCaptionImageIndex(int Value);
    TColor CaptionColor() const { return captionColor_; }
    void SetCaptionColor(TColor Value);
    bool CaptionColorDefault() const { return captionColorDefault_; }
    void SetCaptionColorDefault(bool Value);
    TColor CaptionColorStart() const { return captionColorStart_; }
    void SetCaptionColorStart(TColor Value) { SetLook(captionColorStart_, Value); }
    TColor CaptionColorStop() const { return captionColorStop_; }
    void SetCaptionColorStop(TColor Value) { SetLook(captionColorStop_, Value); }
    TColor CaptionHotColor() const { return captionHotColor_; }
    void SetCaptionHotColor(TColor Value) { SetLook(captionHotColor_, Value); }
    TFont* CaptionFont() const { return captionFont_.get(); }
    void SetCaptionFont(TFont* Value) { captionFont_->Assign(Value); }
    bool ColorDefault() const { return colorDefault_; }
    void SetColorDefault(bool Value);
    TFont* ItemStaticFont() const { return itemStaticFont_.get(); }
    void SetItemStaticFont(TFont* Value) { itemStaticFont_->Assign(Value); }
    TColor ItemHotColor() const { return itemHotColor_; }
    void SetItemHotColor(TColor Value) { SetLook(itemHotColor_, Value); }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value) { SetMeasured(itemHeight_, Value); }
    int ItemIndent() const { return itemIndent_; }
    void SetItemIndent(std::uint8_t Value) { SetMeasured(itemIndent_, int(Value)); }
    TScItemStyle ItemStyle() const { return itemStyle_; }
    void SetItemStyle(TScItemStyle Value);
    TScGroupItems* Items() const { return items_; }
    void SetItems(TScGroupItems* Value) { items_->Assign(Value); }
    bool ShowItemSelection() const { return showItemSelection_; }
    void SetShowItemSelection(bool Value) { SetLook(showItemSelection_, Value); }
    TScItemSelectionStyle ItemSelectionStyle() const { return itemSelectionStyle_; }
    void SetItemSelectionStyle(TScItemSelectionStyle Value) { SetLook(itemSelectionStyle_, Value); }
    TColor SelectionColor() const { return selectionColor_; }
    void SetSelectionColor(TColor Value) { SetLook(selectionColor_, Value); }
    TColor SelectionShadowColor() const { return selectionShadowColor_; }
    void SetSelectionShadowColor(TColor Value) { SetLook(selectionShadowColor_, Value); }
    TColor SelectionFrameColor() const { return selectionFrameColor_; }
    void SetSelectionFrameColor(TColor Value) { SetLook(selectionFrameColor_, Value); }
    bool IgnoreSelectedItemClick() const { return ignoreSelectedItemClick_; }
    void SetIgnoreSelectedItemClick(bool Value) { ignoreSelectedItemClick_ = Value; }
    bool DividerVisible() const { return dividerVisible_; }
    void SetDividerVisible(bool Value) { SetLook(dividerVisible_, Value); }
    TColor DividerColor() const { return dividerColor_; }
    void SetDividerColor(TColor Value) { SetLook(dividerColor_, Value); }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value) { SetLook(borderColor_, Value); }
    bool Special() const { return special_; }
    void SetSpecial(bool Value) { SetLook(special_, Value); }
    TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* Value);
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* Value);
    TPopupMenu* ItemPopupMenu() const { return itemPopupMenu_; }
    void SetItemPopupMenu(TPopupMenu* Menu, TComponent* MenuComponent);
    TScGroupController* GroupController() const { return controller_; }
    void SetGroupController(TScGroupController* Value);

    // Position in the bar, -1 without one. Raises EListError outside
    // 0 .. count - 1.
    int GroupIndex() const;
    void SetGroupIndex(int Value);

    int SelectedIndex() const { return selectedIndex_; }
    // A valid index selects that item; -1 deselects all.
    void SetSelectedIndex(int Value);
    TScGroupItem* SelectedItem() const;
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int Value);

    TScGroupBarStyle Style() const { return style_; }
    // The bar's style, when the group joins it or the style changes.
    void UpdateStyle(TScGroupBarStyle Value);

    // The bottom of the last item for a group Width wide (CaptionHeight
    // without items); the bar's layout asks for it.
    int CalcItemsBottom(int Width);
    // The part of a tall caption image above the group.
    int CaptionOverhang() const;
    // Open height for the layout: items bottom, or OpenedHeight.
    int OpenHeightFor(int Width);
    // Which items are left out as separators, from TopIndex on.
    std::vector<bool> HiddenItems() const;

    // Caption state: 0 normal, 1 hot, 2 pressed.
    int CaptionState() const { return captionState_; }
    TScGroupItem* HotItem() const { return hotItem_; }
    TScGroupItem* PopupItem() const { return popupItem_; }
    TScRapidFireButton* ScrollUpButton() const { return upButton_; }
    TScRapidFireButton* ScrollDownButton() const { return downButton_; }
    // The item whose image or caption holds the point, among the ones that
    // can be clicked.
    TScGroupItem* ItemAt(int X, int Y) const;
    // The same among every item drawn, text and disabled ones included.
    TScGroupItem* DrawnItemAt(int X, int Y) const;

    // Whether a click on the caption opens or closes the group.
    bool CaptionToggles() const { return canClose_ && style_ != gbsTaskList; }
    // Whether the items show: open, or any group of a task list.
    bool ItemsShown() const { return opened_ || style_ == gbsTaskList; }
    // Whether the item shows and a click on it would run something.
    bool ItemClickable(int Index) const;
    // The place of the caption (Item -1) or of an item, in the group.
    TRect StopRect(int Item) const;
    // What a left click on the item does, from the keyboard or a client.
    void ClickItem(TScGroupItem* Item);
    // Made on demand, when a client asks; null without the library.
    TScGroupAccObject* GetAccObject();

    TScAllowEvent OnCanClose;
    TScAllowEvent OnCanOpen;
    TNotifyEvent OnClose;
    TNotifyEvent OnOpen;
    TScItemEvent OnMouseOverItem;
    TScItemEvent OnItemPopupMenu;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    void Resize() override;
    void Loaded() override;
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TScGroupBar;
    friend class TScGroupItem;
    friend class TScGroupItems;
    friend class TScGroupController;

    template <class T>
    void SetLook(T& Field, T Value) {
        if (StoreChanged(Field, Value)) Invalidate();
    }
    template <class T>
    void SetMeasured(T& Field, T Value) {
        if (StoreChanged(Field, Value)) MeasureInputsChanged();
    }
    // Something every item's measure depends on changed.
    void MeasureInputsChanged() {
        ++measureGeneration_;
        ItemsChanged();
    }

    // The colours and fonts the user did not set, as the style has them.
    void ApplyStyleDefaults();
    // Items were added, removed or changed their size.
    void ItemsChanged();
    void ItemLeaving(TScGroupItem* Item);
    void ItemSelected(TScGroupItem* Item);
    void ItemDeselected(TScGroupItem* Item);
    void DropSelectionExcept(TScGroupItem* Item);
    void RelayoutBar();
    void StoreOpened(bool Value) { opened_ = Value; }
    void UpdateScrollButtons();
    void ScrollUpClick(TObject* Sender);
    void ScrollDownClick(TObject* Sender);
    void FontChanged(TObject* Sender);
    void CaptionFontChanged(TObject* Sender);
    void ItemStaticFontChanged(TObject* Sender);
    void ImagesChanged(TObject* Sender);
    void UpdateMouse(int X, int Y, bool Leaving);
    void ClearMouseStates();
    TCustomImageList* ItemImages() const;
    TCustomImageList* CaptionImages() const;
    TFont* ItemFont(const TScGroupItem* Item) const;
    int LargeImageSpace() const;
    void SetCursorFor(int X, int Y);
    bool ShowHintAt(THintInfo* Info);

    // Painters (scgrouppaint.cpp).
    void PaintCategory();
    bool PaintThemedCategory();
    void PaintTaskList();
    void PaintOutlook();
    // The caption image and where the text starts.
    int PaintCaptionImage();
    // Walks the shown items from the top index, measuring each (and
    // painting it when Paint) and recording its hit rectangles; answers
    // the bottom of the last item + 4, or CaptionHeight without items.
    int PlaceItems(TCanvas* Canvas, int Width, bool Paint);
    void PaintSelection(const TRect& Box, bool Pressed);
    void PaintFocusCue();
    void ItemColors(TColor& Normal, TColor& Hot) const;
    TColor BarBackgroundAt(int X) const;

    TScGroupBar* bar_ = nullptr;
    TScGroupBarStyle style_ = gbsCategoryView;
    bool opened_ = false;
    int openedHeight_ = 50;
    bool canClose_ = true;
    int captionHeight_ = 20;
    TScCaptionStyle captionStyle_ = csSmall;
    int captionImageIndex_ = -1;
    TColor captionColor_ = clHighlightText;
    bool captionColorDefault_ = true;
    TColor captionColorStart_ = clWindow;
    TColor captionColorStop_ = clBtnFace;
    TColor captionHotColor_ = clHotLight;
    TOwned<TFont> captionFont_;
    bool colorDefault_ = true;
    TOwned<TFont> itemStaticFont_;
    TColor itemHotColor_ = clHotLight;
    int itemHeight_ = 20;
    int itemIndent_ = 20;
    TScItemStyle itemStyle_ = isSmall;
    TScGroupItems* items_ = nullptr;
    bool showItemSelection_ = false;
    TScItemSelectionStyle itemSelectionStyle_ = issImageAndCaption;
    TColor selectionColor_ = clBtnFace;
    TColor selectionShadowColor_ = clBtnShadow;
    TColor selectionFrameColor_ = cl3DDkShadow;
    bool ignoreSelectedItemClick_ = true;
    bool dividerVisible_ = false;
    TColor dividerColor_ = clHighlight;
    TColor borderColor_ = clBtnHighlight;
    bool special_ = false;
    TCustomImageList* smallImages_ = nullptr;
    TCustomImageList* largeImages_ = nullptr;
    TOwned<TChangeLink> smallLink_;
    TOwned<TChangeLink> largeLink_;
    TPopupMenu* itemPopupMenu_ = nullptr;
    TComponent* itemPopupComponent_ = nullptr;
    TScGroupController* controller_ = nullptr;

    int topIndex_ = 0;
    int selectedIndex_ = -1;
    TScGroupItem* hotItem_ = nullptr;
    TScGroupItem* popupItem_ = nullptr;
    TScGroupItem* rightPressed_ = nullptr;
    int captionState_ = 0;
    bool captionPressed_ = false;
    bool fontUserSet_ = false;
    bool captionFontUserSet_ = false;
    bool itemStaticFontUserSet_ = false;
    bool applyingFonts_ = false;
    bool applyingColor_ = false;
    TOwned<TBitmap> measure_;
    // Item measures of an older generation are measured again.
    int measureGeneration_ = 0;
    int paddingGeneration_ = -1;
    int padding_ = 0;
    TScRapidFireButton* upButton_ = nullptr;
    TScRapidFireButton* downButton_ = nullptr;
    TScGroupAccObject* accObject_ = nullptr;
};
