// Menus on the system's native menus: `TMenuItem` trees (caption with "&",
// "-" for a separator, default, enabled, visible, checked, shortcut,
// OnClick), `TMenu` that builds the menu handles from them and finds items
// by command, handle or shortcut, and `TPopupMenu`, shown with
// TrackPopupMenu; the choice comes back as WM_COMMAND to a hidden window
// that hands it to the item.
#pragma once

#include <string>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/core/exceptions.h"
#include "classlib/graphics/geometry.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/shortcuts.h"

VX_DECLARE_EXCEPTION(EMenuError, Exception);

class TMenu;

// Owns one native menu (DestroyMenu, which takes its sub-menus with it).
class TMenuHandle {
public:
    TMenuHandle() = default;
    TMenuHandle(const TMenuHandle&) = delete;
    TMenuHandle& operator=(const TMenuHandle&) = delete;
    ~TMenuHandle() { Reset(); }
    HMENU Get() const { return menu_; }
    void Reset(HMENU menu = nullptr);

private:
    HMENU menu_ = nullptr;
};

class TMenuItem : public TComponent {
    VX_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent and frees its sub-items.
    void BeforeDestruction() override;

    // --- the tree
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EMenuError "Menu index out of range".
    TMenuItem* Items(int Index) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    void SetMenuIndex(int Value);
    // Raises EMenuError "Menu inserted twice" for an item that has a parent.
    void Add(TMenuItem* Item) { Insert(Count(), Item); }
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out (not freed).
    void Delete(int Index);
    // Raises EMenuError "Sub-menu is not in menu".
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    // The sub-item with this caption, accelerator marks ignored; null when none.
    TMenuItem* Find(const std::string& ACaption) const;
    // The menu of the tree's root, or null.
    TMenu* GetParentMenu() const;

    // --- properties
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    bool IsLine() const { return caption_ == "-"; }
    bool Checked() const { return checked_; }
    void SetChecked(bool Value);
    bool Default() const { return default_; }
    void SetDefault(bool Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& Value) { hint_ = Value; }
    // The command number WM_COMMAND carries for this item.
    UINT Command() const { return command_; }
    // The handle of this item's sub-menu in the last built menu, or null.
    HMENU Handle() const { return handle_; }

    // OnClick, for an enabled item.
    virtual void Click();

    TNotifyEvent OnClick;

protected:
    // Something shown changed: the menu is built again before it shows.
    virtual void MenuChanged(bool Rebuild);

private:
    friend class TMenu;
    // Appends the visible sub-items to Menu (built for showing).
    void BuildInto(HMENU Menu);
    void ForgetHandles();

    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;
    std::vector<TMenuItem*> items_;
    std::string caption_;
    std::string hint_;
    bool checked_ = false;
    bool default_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    TShortCut shortCut_ = 0;
    UINT command_ = 0;
    HMENU handle_ = nullptr;
};

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenu : public TComponent {
    VX_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner);
    // Frees the item tree (whoever owns the items) while the menu is whole.
    void BeforeDestruction() override;

    // The root item; its sub-items are the menu's top level.
    TMenuItem* Items() const { return items_; }
    // The native menu of the items, built (again) when they changed.
    HMENU Handle();

    // The first item (depth first) whose command, sub-menu handle or shortcut
    // is Value; null when none.
    TMenuItem* FindItem(UINT Value, TFindItemKind Kind) const;
    // Clicks the item with this command; false when no item has it.
    bool DispatchCommand(WORD ACommand);
    // Clicks the item whose sub-menu is opening; false when none.
    bool DispatchPopup(HMENU AHandle);
    // A key message (WM_KEYDOWN, WM_SYSKEYDOWN): the item with the key's
    // shortcut (and the shift state of the moment) is clicked, after its
    // parents from the top down; true when an item has the shortcut.
    virtual bool IsShortCut(TMessage& Message);

protected:
    virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);

private:
    friend class TMenuItem;

    TMenuItem* items_ = nullptr;
    TMenuHandle handle_;
    bool stale_ = true;
};

enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };

class TPopupMenu : public TMenu {
    VX_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner) : inherited(AOwner) {}

    // Shows the menu at the screen point: OnPopup first, then the native
    // menu; a chosen item is clicked once the message arrives.
    virtual void Popup(int X, int Y);
    // Who opened the menu (a control, a tray icon); cleared when it goes.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* Value);
    // The point of the last Popup.
    TPoint PopupPoint() const { return popupPoint_; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment Value) { alignment_ = Value; }
    TTrackButton TrackButton() const { return trackButton_; }
    void SetTrackButton(TTrackButton Value) { trackButton_ = Value; }
    // Whether the menu opens by itself on a right click of its control.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool Value) { autoPopup_ = Value; }

    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnPopup;

protected:
    // Fires OnPopup.
    virtual void DoPopup(TObject* Sender);
    void SetPopupPoint(TPoint Value) { popupPoint_ = Value; }

private:
    TComponent* popupComponent_ = nullptr;
    TPoint popupPoint_;
    TPopupAlignment alignment_ = paLeft;
    TTrackButton trackButton_ = tbRightButton;
    bool autoPopup_ = true;
};

// The hidden window that owns shown popup menus and receives their
// WM_COMMAND and WM_INITMENUPOPUP.
HWND PopupListWindow();
