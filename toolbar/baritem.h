// Items of menus and toolbars: a tree of commands with caption, image,
// shortcut and state, option inheritance down the tree, change notifications
// for the views that show a level, action links and the shortcut search.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/core/delegate.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/set.h"
#include "classlib/graphics/imagelist.h"
#include "classlib/windows/actions.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/messages.h"
#include "classlib/windows/shortcuts.h"
#include "toolbar/baractionlink.h"

VX_DECLARE_EXCEPTION(EBarItemError, Exception);

class TBarCustomItem;
class TBarItemViewer;
class TBarView;
class TBarPopupWindow;

enum TBarItemChangedAction : std::uint8_t {
    tbicInserted,
    tbicDeleting,
    tbicSubitemsChanged,
    tbicSubitemsBeginUpdate,
    tbicSubitemsEndUpdate,
    tbicInvalidate,
    tbicInvalidateAndResize,
    tbicRecreateItemViewers,
    tbicNameChanged,
    tbicSubMenuImagesChanged,
};

enum TBarItemDisplayMode : std::uint8_t { nbdmDefault, nbdmTextOnly, nbdmTextOnlyInMenus, nbdmImageAndText };

enum TBarItemOption {
    tboDefault,
    tboDropdownArrow,
    tboImageAboveCaption,
    tboLongHintInMenuOnly,
    tboNoAutoHint,
    tboNoRotation,
    tboSameWidth,
    tboShowHint,
    tboToolbarStyle,
    tboToolbarSize,
};
using TBarItemOptions = TSet<TBarItemOption>;
// The options whose change moves things around.
inline constexpr TBarItemOptions BarLayoutOptions{tboDefault,    tboDropdownArrow, tboImageAboveCaption,
                                                  tboNoRotation, tboSameWidth,     tboToolbarStyle,
                                                  tboToolbarSize};

// Item style bits.
enum : std::uint16_t {
    isfSubmenu = 1 << 0,
    isfSelectable = 1 << 1,
    isfSeparator = 1 << 2,
    isfEmbeddedGroup = 1 << 3,
    isfClicksTransparent = 1 << 4,
    isfCombo = 1 << 5,
    isfNoAutoOpen = 1 << 6,
    isfNoLineBreak = 1 << 8,
    isfRightAlign = 1 << 9,
    isfDontSelectFirst = 1 << 10,
    isfRedrawOnSelChange = 1 << 11,
    isfRedrawOnMouseOverChange = 1 << 12,
    isfStretch = 1 << 13,
};
using TBarItemStyle = std::uint16_t;

using TBarPopupEvent = TDelegate<void(TBarCustomItem* Sender, bool FromLink)>;
using TBarSelectEvent = TDelegate<void(TBarCustomItem* Sender, TBarItemViewer* Viewer, bool Selecting)>;
using TBarItemChangedProc = void (*)(void* Data, TBarCustomItem* Sender, bool Relayed,
                                     TBarItemChangedAction Action, int Index, TBarCustomItem* Item);

// A component that presents an item tree (a toolbar, a popup menu): items
// given it as parent join the item it returns.
class ITBItemContainer {
public:
    virtual TBarCustomItem* GetItems() = 0;

protected:
    ~ITBItemContainer() = default;
};

// Watches an image list and remembers the size it last saw.
class TBarImageChangeLink : public TChangeLink {
    VX_CLASS(TBarImageChangeLink, TChangeLink)
public:
    int LastWidth = 0, LastHeight = 0;
};

// Deeper relays and embedded groups than these are not followed.
inline constexpr int BarMaxRelayDepth = 11;
inline constexpr int BarMaxGroupLevel = 10;
// Hops through LinkSubitems a shortcut search follows.
inline constexpr int BarMaxLinkHops = 25;

class TBarCustomItem : public TComponent {
    VX_CLASS(TBarCustomItem, TComponent)
public:
    explicit TBarCustomItem(TComponent* AOwner);
    void BeforeDestruction() override;

    // The child list.
    int Count() const { return static_cast<int>(items_.size()); }
    TBarCustomItem* Items(int Index) const;
    int IndexOf(const TBarCustomItem* Item) const;
    void Insert(int Index, TBarCustomItem* Item);
    void Add(TBarCustomItem* Item) { Insert(Count(), Item); }
    void Delete(int Index);
    void Remove(TBarCustomItem* Item);
    void Move(int CurIndex, int NewIndex);
    TBarCustomItem* Parent() const { return parent_; }
    // The tree hangs under another item, or under the item of a container.
    void SetParentComponent(TComponent* Value);
    TComponent* GetParentComponent() const override;
    bool HasParent() const override { return true; }
    TComponent* ParentComponent() const { return parentComponent_; }
    void SetParentComponentOfRoot(TComponent* Value) { parentComponent_ = Value; }

    // Notifications of changes to this item and its children.
    void RegisterNotification(TBarItemChangedProc Proc, void* Data);
    void UnregisterNotification(TBarItemChangedProc Proc, void* Data);
    void Notify(TBarItemChangedAction Action, int Index, TBarCustomItem* Item);

    // The items whose children stand in for this item's (LinkSubitems), or
    // this item.
    TBarCustomItem* EffectiveItems() { return linkSubitems_ ? linkSubitems_ : this; }

    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);
    TBarCustomItemActionLink* ActionLink() const { return actionLink_.get(); }

    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value) { autoCheck_ = Value; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    bool Checked() const { return checked_; }
    void SetChecked(bool Value);
    TBarItemDisplayMode DisplayMode() const { return displayMode_; }
    void SetDisplayMode(TBarItemDisplayMode Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    TBarItemOptions EffectiveOptions() const { return effectiveOptions_; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int Value) { helpContext_ = Value; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& Value) { hint_ = Value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* SubMenuImages() const { return subMenuImages_; }
    void SetSubMenuImages(TCustomImageList* Value);
    bool InheritOptions() const { return inheritOptions_; }
    void SetInheritOptions(bool Value);
    TBarItemOptions MaskOptions() const { return maskOptions_; }
    void SetMaskOptions(TBarItemOptions Value);
    TBarItemOptions Options() const { return options_; }
    void SetOptions(TBarItemOptions Value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool Value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value) { shortCut_ = Value; }
    TBarCustomItem* LinkSubitems() const { return linkSubitems_; }
    void SetLinkSubitems(TBarCustomItem* Value);
    int LinkParentCount() const { return static_cast<int>(linkParents_.size()); }
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    TBarItemStyle ItemStyle() const { return itemStyle_; }
    void SetItemStyle(TBarItemStyle Value) { itemStyle_ = Value; }

    TNotifyEvent OnClick;
    TBarPopupEvent OnPopup;
    TBarSelectEvent OnSelect;

    virtual void Click();
    virtual void InitiateAction();
    virtual void DoPopup(TBarCustomItem* Sender, bool FromLink);
    // The view of the toolbar whose hidden items a chevron shows; null for
    // other items.
    virtual TBarView* GetChevronParentView() { return nullptr; }
    // A new viewer for this item in View.
    virtual TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel);
    // The window that shows Shown's subitems when this item opens a popup
    // (barpopupclass.cpp); skinned items give their own kind.
    virtual TBarPopupWindow* CreatePopupWindow(TBarView* ParentView, TBarCustomItem* Shown, bool Customizing);
    // True when Viewer is no longer of the kind CreateItemViewer would make.
    virtual bool NeedToRecreateViewer(TBarItemViewer*) { return false; }

    // The text after the first tab of the caption, else the shortcut's text.
    std::string GetShortCutText() const;
    // Clicks the item of this tree whose shortcut the key message carries.
    bool IsShortCut(TMessage& Message);
    // Clicks the item of this tree whose shortcut is Key; false when none
    // was found, it is disabled, or the tree would not settle.
    bool IsShortCutKey(TShortCut Key);

    // Streaming hooks: whether a property differs from what its action gives.
    bool IsAutoCheckStored() const;
    bool IsCaptionStored() const;
    bool IsCheckedStored() const;
    bool IsEnabledStored() const;
    bool IsHelpContextStored() const;
    bool IsHintStored() const;
    bool IsImageIndexStored() const;
    bool IsShortCutStored() const;
    bool IsVisibleStored() const;
    bool IsOnClickStored() const;

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetName(const std::string& NewName) override;

protected:
    // Tells the parent this item must be repainted, or laid out again.
    virtual void Change(bool NeedResize);
    virtual void EnabledChanged() { Change(false); }
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);

private:
    friend class TBarCustomItemActionLink;
    struct TNotifyRecord {
        TBarItemChangedProc Proc;
        void* Data;
        int Count;
    };
    using TNotifyList = std::vector<std::shared_ptr<TNotifyRecord>>;

    void RelayNotify(TBarCustomItem* Sender, int Depth, TBarItemChangedAction Action, int Index,
                     TBarCustomItem* Item);
    void UpdateEffectiveOptions();
    void ClearRadioGroup();
    void ImageListChanged(TObject* Sender);
    bool IsAncestorOrSelf(const TBarCustomItem* Item) const;
    void CheckIndex(int Index, int Limit) const;

    TOwned<TBarCustomItemActionLink> actionLink_;
    bool autoCheck_ = false;
    std::string caption_;
    bool checked_ = false;
    TBarItemDisplayMode displayMode_ = nbdmDefault;
    bool enabled_ = true;
    TBarItemOptions effectiveOptions_;
    int groupIndex_ = 0;
    int helpContext_ = 0;
    std::string hint_;
    int imageIndex_ = -1;
    TCustomImageList* images_ = nullptr;
    TOwned<TBarImageChangeLink> imagesLink_;
    std::vector<TBarCustomItem*> items_;
    TBarItemStyle itemStyle_ = isfSelectable | isfRedrawOnSelChange | isfRedrawOnMouseOverChange;
    std::vector<TBarCustomItem*> linkParents_;
    TBarItemOptions maskOptions_, options_;
    bool inheritOptions_ = true;
    std::shared_ptr<TNotifyList> notifyList_;
    TBarCustomItem* parent_ = nullptr;
    TComponent* parentComponent_ = nullptr;
    bool radioItem_ = false;
    TShortCut shortCut_ = 0;
    TCustomImageList* subMenuImages_ = nullptr;
    TOwned<TBarImageChangeLink> subMenuImagesLink_;
    TBarCustomItem* linkSubitems_ = nullptr;
    bool visible_ = true;
};

// The invisible top of a toolbar's or popup menu's tree.
class TBarRootItem : public TBarCustomItem {
    VX_CLASS(TBarRootItem, TBarCustomItem)
public:
    explicit TBarRootItem(TComponent* AOwner) : inherited(AOwner) {}
};

class TBarSeparatorItem : public TBarCustomItem {
    VX_CLASS(TBarSeparatorItem, TBarCustomItem)
public:
    explicit TBarSeparatorItem(TComponent* AOwner);
    // A blank separator keeps its room but paints nothing.
    bool Blank() const { return blank_; }
    void SetBlank(bool Value);
    TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel) override;

private:
    bool blank_ = false;
};

// An item that places a control on a toolbar.
class TBarControlItem : public TBarCustomItem {
    VX_CLASS(TBarControlItem, TBarCustomItem)
public:
    explicit TBarControlItem(TComponent* AOwner);
    TBarControlItem(TComponent* AOwner, TControl* AControl);
    void BeforeDestruction() override;
    TControl* Control() const { return control_; }
    void SetControl(TControl* Value);
    bool DontFreeControl = false;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TControl* control_ = nullptr;
};

// The button at a toolbar's end that shows the items that did not fit.
class TBarChevronItem : public TBarCustomItem {
    VX_CLASS(TBarChevronItem, TBarCustomItem)
public:
    explicit TBarChevronItem(TComponent* AToolbar);
    TComponent* Toolbar() const { return toolbar_; }
    // The toolbar hands over its view once it has one.
    void SetChevronParentView(TBarView* Value) { chevronParentView_ = Value; }
    TBarView* GetChevronParentView() override { return chevronParentView_; }
    TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel) override;

private:
    TComponent* toolbar_;
    TBarView* chevronParentView_ = nullptr;
};
