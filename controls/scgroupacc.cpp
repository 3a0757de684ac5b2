#include "controls/scgroupacc.h"

#include <string>
#include <vector>

#include "controls/scgroup.h"

namespace {

std::vector<TScGroup*> AccGroups(TScGroupBar* Bar) {
    std::vector<TScGroup*> groups;
    for (int i = 0; i < Bar->GetGroupCount(); ++i)
        if (Bar->GetGroup(i)->Visible()) groups.push_back(Bar->GetGroup(i));
    return groups;
}

std::vector<TScGroupItem*> AccItems(TScGroup* Group) {
    std::vector<TScGroupItem*> items;
    for (int i = 0; i < Group->Items()->Count(); ++i) {
        TScGroupItem* item = Group->Items()->GetItem(i);
        if (item->Visible() && !item->IsSeparator()) items.push_back(item);
    }
    return items;
}

template <class T>
LONG PositionOf(const std::vector<T*>& List, const T* Entry) {
    for (size_t i = 0; i < List.size(); ++i)
        if (List[i] == Entry) return static_cast<LONG>(i + 1);
    return 0;
}

// Item ids under the bar's object: the group's position in the high word.
constexpr LONG ItemIdShift = 16;

bool IsFocusStop(TScGroup* Group, TScGroupItem* Item) {
    TScGroupBar* bar = Group->GroupBar();
    if (!bar || !bar->Focused()) return false;
    const TScGroupBar::TKeyStop stop = bar->FocusStop();
    return stop.Group == Group && stop.Item == (Item ? Item->Index() : -1);
}

bool IsKeyStop(TScGroup* Group, TScGroupItem* Item) {
    if (!Group->Visible()) return false;
    if (!Item) return Group->CaptionToggles();
    return Group->ItemsShown() && Group->ItemClickable(Item->Index());
}

std::string NameOf(const TScGroupItem* Item) {
    if (!Item->Caption().empty()) return Item->Caption();
    // Without a caption, the short hint names the item, as a tooltip would.
    const std::string& hint = Item->Hint();
    return hint.substr(0, hint.find('|'));
}

}  // namespace

TScGroupAccObject::TScGroupAccObject(TScGroupBar* Bar, TScGroup* Group) : bar_(Bar), group_(Group) {}

void TScGroupAccObject::ClientIsDestroying() {
    gone_ = true;
    bar_ = nullptr;
    group_ = nullptr;
    CoDisconnectObject(static_cast<IAccessible*>(this), 0);
    Release();
}

TScGroupBar* TScGroupAccObject::Bar() const {
    return group_ ? group_->GroupBar() : bar_;
}

LONG TScGroupAccObject::ChildIdOf(TScGroupBar* Bar, const TScGroupBar::TKeyStop& Stop) {
    const LONG group = PositionOf(AccGroups(Bar), Stop.Group);
    if (!Stop.Group || Stop.Item < 0 || group == 0) return group;
    return (group << ItemIdShift) | PositionOf(AccItems(Stop.Group), Stop.Group->Items()->GetItem(Stop.Item));
}

bool TScGroupAccObject::Resolve(const VARIANT& Child, TTarget& Out) const {
    Out = {};
    if (Child.vt != VT_I4) return false;
    const LONG id = Child.lVal;
    if (group_) {
        Out.Group = group_;
        if (id == CHILDID_SELF) return true;
        const auto items = AccItems(group_);
        if (id < 1 || id > static_cast<LONG>(items.size())) return false;
        Out.Item = items[static_cast<size_t>(id - 1)];
        return true;
    }
    if (id == CHILDID_SELF) return true;
    const auto groups = AccGroups(bar_);
    const LONG group = id >> ItemIdShift, item = id & 0xFFFF;
    const LONG groupPos = group ? group : id;
    if (groupPos < 1 || groupPos > static_cast<LONG>(groups.size())) return false;
    Out.Group = groups[static_cast<size_t>(groupPos - 1)];
    if (!group) return true;
    const auto items = AccItems(Out.Group);
    if (item < 1 || item > static_cast<LONG>(items.size())) return false;
    Out.Item = items[static_cast<size_t>(item - 1)];
    return true;
}

LONG TScGroupAccObject::IdOf(const TTarget& Target) const {
    if (group_) return Target.Item ? PositionOf(AccItems(group_), Target.Item) : CHILDID_SELF;
    if (!Target.Group) return CHILDID_SELF;
    const LONG group = PositionOf(AccGroups(bar_), Target.Group);
    if (!Target.Item) return group;
    return (group << ItemIdShift) | PositionOf(AccItems(Target.Group), Target.Item);
}

// A group under the bar is an object of its own; everything else a child id.
HRESULT TScGroupAccObject::ReturnChild(const TTarget& Target, VARIANT* Out) {
    if (!group_ && Target.Group && !Target.Item) {
        TScGroupAccObject* object = Target.Group->GetAccObject();
        if (!object) return S_FALSE;
        object->AddRef();
        Out->vt = VT_DISPATCH;
        Out->pdispVal = object;
        return S_OK;
    }
    Out->vt = VT_I4;
    Out->lVal = IdOf(Target);
    return S_OK;
}

// ---- the tree ---------------------------------------------------------------------

HRESULT TScGroupAccObject::get_accParent(IDispatch** ppdispParent) {
    return AccGuarded([&]() -> HRESULT {
        if (!ppdispParent) return E_POINTER;
        *ppdispParent = nullptr;
        if (Gone()) return E_FAIL;
        if (group_) {
            TScGroupAccObject* object = Bar()->GetAccObject();
            if (!object) return S_FALSE;
            object->AddRef();
            *ppdispParent = object;
            return S_OK;
        }
        if (!bar_->HandleAllocated()) return S_FALSE;
        return AccObjectFromWindow(bar_->Handle(), ppdispParent) ? S_OK : E_UNEXPECTED;
    });
}

HRESULT TScGroupAccObject::get_accChildCount(LONG* pcountChildren) {
    return AccGuarded([&]() -> HRESULT {
        if (!pcountChildren) return E_POINTER;
        *pcountChildren = 0;
        if (Gone()) return E_FAIL;
        *pcountChildren = static_cast<LONG>(group_ ? AccItems(group_).size() : AccGroups(bar_).size());
        return S_OK;
    });
}

HRESULT TScGroupAccObject::get_accChild(VARIANT varChild, IDispatch** ppdispChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!ppdispChild) return E_POINTER;
        *ppdispChild = nullptr;
        if (Gone()) return E_FAIL;
        TTarget target;
        if (!Resolve(varChild, target)) return E_INVALIDARG;
        VARIANT child;
        VariantInit(&child);
        if (varChild.lVal == CHILDID_SELF) {
            AddRef();
            *ppdispChild = this;
            return S_OK;
        }
        const HRESULT result = ReturnChild(target, &child);
        if (result != S_OK || child.vt != VT_DISPATCH) return S_FALSE;
        *ppdispChild = child.pdispVal;
        return S_OK;
    });
}

HRESULT TScGroupAccObject::accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarEndUpAt) return E_POINTER;
        VariantInit(pvarEndUpAt);
        if (Gone()) return E_FAIL;
        TTarget start;
        if (!Resolve(varStart, start)) return E_INVALIDARG;
        // The children of this object, in order.
        std::vector<TTarget> children;
        if (group_)
            for (TScGroupItem* item : AccItems(group_)) children.push_back({group_, item});
        else
            for (TScGroup* group : AccGroups(bar_)) children.push_back({group, nullptr});
        const bool self = varStart.lVal == CHILDID_SELF;
        if (self && (navDir == NAVDIR_FIRSTCHILD || navDir == NAVDIR_LASTCHILD)) {
            if (children.empty()) return S_FALSE;
            return ReturnChild(navDir == NAVDIR_FIRSTCHILD ? children.front() : children.back(), pvarEndUpAt);
        }
        if (self) return S_FALSE;
        int step = 0;
        if (navDir == NAVDIR_NEXT || navDir == NAVDIR_DOWN) step = 1;
        if (navDir == NAVDIR_PREVIOUS || navDir == NAVDIR_UP) step = -1;
        for (size_t i = 0; step && i < children.size(); ++i) {
            if (children[i].Group != start.Group || children[i].Item != start.Item) continue;
            const long next = static_cast<long>(i) + step;
            if (next < 0 || next >= static_cast<long>(children.size())) return S_FALSE;
            return ReturnChild(children[static_cast<size_t>(next)], pvarEndUpAt);
        }
        return S_FALSE;
    });
}

HRESULT TScGroupAccObject::accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarChild) return E_POINTER;
        VariantInit(pvarChild);
        if (Gone()) return E_FAIL;
        TWinControl* window = group_ ? static_cast<TWinControl*>(group_) : bar_;
        if (!window->HandleAllocated()) return S_FALSE;
        RECT r;
        GetWindowRect(window->Handle(), &r);
        if (!PtInRect(&r, POINT{xLeft, yTop})) return S_FALSE;
        TTarget target;
        for (TScGroup* group : group_ ? std::vector<TScGroup*>{group_} : AccGroups(bar_)) {
            if (!group->HandleAllocated()) continue;
            GetWindowRect(group->Handle(), &r);
            if (!PtInRect(&r, POINT{xLeft, yTop})) continue;
            target.Group = group;
            target.Item = group->DrawnItemAt(xLeft - r.left, yTop - r.top);
        }
        if (group_ && !target.Item) target = {};
        return ReturnChild(target, pvarChild);
    });
}

HRESULT TScGroupAccObject::accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                       VARIANT varChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_POINTER;
        *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
        if (Gone()) return E_FAIL;
        TTarget target;
        if (!Resolve(varChild, target)) return E_INVALIDARG;
        TWinControl* window = target.Group ? static_cast<TWinControl*>(target.Group) : bar_;
        if (!window->HandleAllocated()) return S_FALSE;
        RECT r;
        if (target.Item) {
            const TRect area = target.Group->StopRect(target.Item->Index());
            if (area.IsEmpty() || !target.Group->ItemsShown()) return S_FALSE;
            r = area;
            MapWindowPoints(window->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        } else {
            GetWindowRect(window->Handle(), &r);
        }
        *pxLeft = r.left;
        *pyTop = r.top;
        *pcxWidth = r.right - r.left;
        *pcyHeight = r.bottom - r.top;
        return S_OK;
    });
}

// ---- what a child is --------------------------------------------------------------

HRESULT TScGroupAccObject::get_accName(VARIANT varChild, BSTR* pszName) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszName) return E_POINTER;
        *pszName = nullptr;
        if (Gone()) return E_FAIL;
        TTarget target;
        if (!Resolve(varChild, target)) return E_INVALIDARG;
        std::string name;
        if (target.Item)
            name = NameOf(target.Item);
        else if (target.Group)
            name = target.Group->Caption();
        if (name.empty()) return S_FALSE;
        return AccString(pszName, name);
    });
}

HRESULT TScGroupAccObject::get_accRole(VARIANT varChild, VARIANT* pvarRole) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarRole) return E_POINTER;
        VariantInit(pvarRole);
        if (Gone()) return E_FAIL;
        TTarget target;
        if (!Resolve(varChild, target)) return E_INVALIDARG;
        pvarRole->vt = VT_I4;
        if (target.Item) {
            if (!target.Item->Clickable())
                pvarRole->lVal = ROLE_SYSTEM_STATICTEXT;
            else
                pvarRole->lVal =
                    target.Group->ItemStyle() == isLarge ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_LINK;
        } else {
            pvarRole->lVal = target.Group ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_PANE;
        }
        return S_OK;
    });
}

HRESULT TScGroupAccObject::get_accState(VARIANT varChild, VARIANT* pvarState) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarState) return E_POINTER;
        VariantInit(pvarState);
        if (Gone()) return E_FAIL;
        TTarget target;
        if (!Resolve(varChild, target)) return E_INVALIDARG;
        LONG state = 0;
        if (!target.Group) {
            if (bar_->CanFocus()) state |= STATE_SYSTEM_FOCUSABLE;
            if (bar_->Focused()) state |= STATE_SYSTEM_FOCUSED;
        } else {
            TScGroup* group = target.Group;
            TScGroupItem* item = target.Item;
            const bool shown = group->Visible() && (!item || group->ItemsShown());
            if (!shown) state |= STATE_SYSTEM_INVISIBLE;
            if (!item) state |= group->Opened() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
            if (IsKeyStop(group, item)) state |= STATE_SYSTEM_FOCUSABLE;
            if (IsFocusStop(group, item)) state |= STATE_SYSTEM_FOCUSED;
            if (item) {
                if (!item->Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
                if (!item->Clickable()) state |= STATE_SYSTEM_READONLY;
                if (item->Clickable() && group->ItemStyle() == isSmall) state |= STATE_SYSTEM_LINKED;
                if (item->State() != isNormal) state |= STATE_SYSTEM_HOTTRACKED;
                if (item->Selected() && group->ShowItemSelection()) state |= STATE_SYSTEM_SELECTED;
            }
        }
        pvarState->vt = VT_I4;
        pvarState->lVal = state;
        return S_OK;
    });
}

HRESULT TScGroupAccObject::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszDefaultAction) return E_POINTER;
        *pszDefaultAction = nullptr;
        if (Gone()) return E_FAIL;
        TTarget target;
        if (!Resolve(varChild, target)) return E_INVALIDARG;
        if (!target.Group || !IsKeyStop(target.Group, target.Item)) return S_FALSE;
        if (target.Item) return AccString(pszDefaultAction, "Click");
        return AccString(pszDefaultAction, target.Group->Opened() ? "Collapse" : "Expand");
    });
}

HRESULT TScGroupAccObject::accDoDefaultAction(VARIANT varChild) {
    return AccGuarded([&]() -> HRESULT {
        if (Gone()) return E_FAIL;
        TTarget target;
        if (!Resolve(varChild, target)) return E_INVALIDARG;
        if (!target.Group || !IsKeyStop(target.Group, target.Item) || !target.Group->HandleAllocated())
            return E_FAIL;
        // The click runs user code that may free the item, the group or the
        // bar: it happens once the client's call has returned.
        PostMessageW(target.Group->Handle(), SCM_ACCACTION,
                     static_cast<WPARAM>(target.Item ? target.Item->ID() : -1), 0);
        return S_OK;
    });
}

HRESULT TScGroupAccObject::get_accFocus(VARIANT* pvarChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarChild) return E_POINTER;
        VariantInit(pvarChild);
        if (Gone()) return E_FAIL;
        TScGroupBar* bar = Bar();
        if (!bar || !bar->Focused()) return S_FALSE;
        const TScGroupBar::TKeyStop stop = bar->FocusStop();
        if (!stop.Group) {
            if (group_) return S_FALSE;
            pvarChild->vt = VT_I4;
            pvarChild->lVal = CHILDID_SELF;
            return S_OK;
        }
        if (group_ && stop.Group != group_) return S_FALSE;
        return ReturnChild({stop.Group, stop.Item < 0 ? nullptr : stop.Group->Items()->GetItem(stop.Item)},
                           pvarChild);
    });
}

// ---- what the items do not have -----------------------------------------------------

HRESULT TScGroupAccObject::get_accValue(VARIANT varChild, BSTR* pszValue) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszValue) return E_POINTER;
        *pszValue = nullptr;
        if (Gone()) return E_FAIL;
        TTarget target;
        return Resolve(varChild, target) ? S_FALSE : E_INVALIDARG;
    });
}

HRESULT TScGroupAccObject::get_accDescription(VARIANT varChild, BSTR* pszDescription) {
    return get_accValue(varChild, pszDescription);
}

HRESULT TScGroupAccObject::get_accHelp(VARIANT varChild, BSTR* pszHelp) {
    return get_accValue(varChild, pszHelp);
}

HRESULT TScGroupAccObject::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) {
    return get_accValue(varChild, pszKeyboardShortcut);
}

HRESULT TScGroupAccObject::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) {
    if (pidTopic) *pidTopic = 0;
    return get_accValue(varChild, pszHelpFile);
}

HRESULT TScGroupAccObject::get_accSelection(VARIANT* pvarChildren) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarChildren) return E_POINTER;
        VariantInit(pvarChildren);
        return Gone() ? E_FAIL : S_FALSE;
    });
}

HRESULT TScGroupAccObject::accSelect(LONG, VARIANT varChild) {
    return AccGuarded([&]() -> HRESULT {
        if (Gone()) return E_FAIL;
        TTarget target;
        return Resolve(varChild, target) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    });
}

HRESULT TScGroupAccObject::put_accName(VARIANT varChild, BSTR) {
    return AccGuarded([&]() -> HRESULT {
        if (Gone()) return E_FAIL;
        TTarget target;
        return Resolve(varChild, target) ? S_FALSE : E_INVALIDARG;
    });
}

HRESULT TScGroupAccObject::put_accValue(VARIANT varChild, BSTR) {
    return put_accName(varChild, nullptr);
}

// ---- the bar's and the groups' entry points -----------------------------------------

// None is made while the bar or group is going: it would outlive them.
TScGroupAccObject* TScGroupBar::GetAccObject() {
    if (!accObject_ && !ComponentState().Contains(csDestroying) && InitMSAA())
        accObject_ = new TScGroupAccObject(this, nullptr);
    return accObject_;
}

TScGroupAccObject* TScGroup::GetAccObject() {
    if (!accObject_ && !ComponentState().Contains(csDestroying) && InitMSAA())
        accObject_ = new TScGroupAccObject(nullptr, this);
    return accObject_;
}
