#include "toolbar/baracc.h"

#include <atomic>
#include <mutex>
#include <vector>

#include "classlib/core/text.h"
#include "classlib/windows/application.h"
#include "classlib/windows/shortcuts.h"
#include "toolbar/barmodal.h"
#include "toolbar/barsystem.h"
#include "toolbar/bartext.h"
#include "toolbar/barview.h"
#include "toolbar/barwatch.h"

namespace {

std::mutex listLock;
TBarBaseAccObject* listHead = nullptr;
std::atomic<long> viewObjects{0}, viewerObjects{0};
bool comStarted = false;

bool IsSelf(const VARIANT& V) {
    return V.vt == VT_I4 && V.lVal == CHILDID_SELF;
}

HRESULT StandardWindowObject(HWND Wnd, IDispatch** Out) {
    return AccObjectFromWindow(Wnd, Out) ? S_OK : E_UNEXPECTED;
}

// The viewers a client sees: shown, off edge or clipped.
std::vector<TBarItemViewer*> AccessibleViewers(TBarView* View) {
    std::vector<TBarItemViewer*> result;
    for (int i = 0; i < View->ViewerCount(); ++i)
        if (View->Viewers(i)->IsAccessible()) result.push_back(View->Viewers(i));
    return result;
}

HRESULT ReturnObject(IDispatch* Object, IDispatch** Out) {
    if (!Object) return S_FALSE;
    Object->AddRef();
    *Out = Object;
    return S_OK;
}

HRESULT ReturnObject(IDispatch* Object, VARIANT* Out) {
    if (!Object) return S_FALSE;
    Object->AddRef();
    Out->vt = VT_DISPATCH;
    Out->pdispVal = Object;
    return S_OK;
}

// Usable: not designing, the window shown and enabled up its parent chain,
// and either in the menu loop or the window is (in) the active window.
bool ViewUsable(TBarView* View) {
    TWinControl* window = View->Window();
    if (!window || !window->HandleAllocated()) return false;
    HWND wnd = window->Handle();
    if (!IsWindowVisible(wnd)) return false;
    for (HWND w = wnd; w; w = GetParent(w))
        if (!IsWindowEnabled(w)) return false;
    if (View->State() & vsModal) return true;
    HWND active = GetActiveWindow();
    return active && (active == wnd || IsChild(active, wnd));
}

}  // namespace

std::string GetAltKeyName() {
    char name[256];
    const LONG scan = static_cast<LONG>(MapVirtualKeyA(VK_MENU, 0)) << 16;
    if (GetKeyNameTextA(scan, name, sizeof name) > 0) return name;
    return "Alt";
}

void DisconnectAccObjects() {
    // A referenced snapshot taken under the lock: an object that leaves the
    // list while it is being cut off stays whole until we are done with it.
    std::vector<TBarBaseAccObject*> snapshot;
    {
        std::lock_guard<std::mutex> lock(listLock);
        for (TBarBaseAccObject* o = listHead; o; o = o->next_) {
            o->AddRef();
            snapshot.push_back(o);
        }
    }
    for (TBarBaseAccObject* o : snapshot) {
        CoDisconnectObject(static_cast<IAccessible*>(o), 0);
        o->Release();
    }
}

long BarViewAccObjectCount() {
    return viewObjects.load();
}
long BarItemViewerAccObjectCount() {
    return viewerObjects.load();
}

void BarAccStartup() {
    comStarted = SUCCEEDED(CoInitialize(nullptr));
}

void BarAccShutdown() {
    DisconnectAccObjects();
    if (comStarted) CoUninitialize();
    comStarted = false;
}

// ---- base object ------------------------------------------------------------------------

TBarBaseAccObject::TBarBaseAccObject() {
    std::lock_guard<std::mutex> lock(listLock);
    next_ = listHead;
    if (listHead) listHead->prev_ = this;
    listHead = this;
}

TBarBaseAccObject::~TBarBaseAccObject() {
    std::lock_guard<std::mutex> lock(listLock);
    if (prev_)
        prev_->next_ = next_;
    else
        listHead = next_;
    if (next_) next_->prev_ = prev_;
}

// ---- view object ------------------------------------------------------------------------------

TBarViewAccObject::TBarViewAccObject(TBarView* AView) : view_(AView) {
    ++viewObjects;
}

TBarViewAccObject::~TBarViewAccObject() {
    if (view_) view_->AccObjectGone();
    --viewObjects;
}

void TBarViewAccObject::ClientIsDestroying() {
    view_ = nullptr;
}

HRESULT TBarViewAccObject::get_accParent(IDispatch** ppdispParent) {
    return AccGuarded([&]() -> HRESULT {
        if (!ppdispParent) return E_POINTER;
        *ppdispParent = nullptr;
        if (!view_) return E_FAIL;
        if (view_->ParentView() && view_->ParentView()->OpenViewerView() == view_ &&
            view_->ParentView()->OpenViewer())
            return ReturnObject(view_->ParentView()->OpenViewer()->GetAccObject(), ppdispParent);
        if (!view_->Window()) return E_UNEXPECTED;
        return StandardWindowObject(view_->Window()->Handle(), ppdispParent);
    });
}

HRESULT TBarViewAccObject::get_accChildCount(LONG* pcountChildren) {
    return AccGuarded([&]() -> HRESULT {
        if (!pcountChildren) return E_POINTER;
        *pcountChildren = 0;
        if (!view_) return E_FAIL;
        *pcountChildren = static_cast<LONG>(AccessibleViewers(view_).size());
        return S_OK;
    });
}

HRESULT TBarViewAccObject::get_accChild(VARIANT varChild, IDispatch** ppdispChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!ppdispChild) return E_POINTER;
        *ppdispChild = nullptr;
        if (!view_) return E_FAIL;
        if (varChild.vt != VT_I4) return E_INVALIDARG;
        if (varChild.lVal == CHILDID_SELF) return ReturnObject(this, ppdispChild);
        const auto viewers = AccessibleViewers(view_);
        if (varChild.lVal < 1 || varChild.lVal > static_cast<LONG>(viewers.size())) return E_INVALIDARG;
        TBarItemViewer* viewer = viewers[static_cast<size_t>(varChild.lVal - 1)];
        if (auto* controlItem = dynamic_cast<TBarControlItem*>(viewer->Item()))
            if (auto* control = dynamic_cast<TWinControl*>(controlItem->Control()))
                if (control->HandleAllocated()) return StandardWindowObject(control->Handle(), ppdispChild);
        return ReturnObject(viewer->GetAccObject(), ppdispChild);
    });
}

HRESULT TBarViewAccObject::get_accName(VARIANT varChild, BSTR* pszName) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszName) return E_POINTER;
        *pszName = nullptr;
        if (!view_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        std::string name;
        if (view_->ParentView() && view_->ParentView()->OpenViewerView() == view_ &&
            view_->ParentView()->OpenViewer())
            name = StripAccelChars(view_->ParentView()->OpenViewer()->GetCaptionText());
        if (name.empty() && view_->Window() && view_->Window()->HandleAllocated()) {
            char text[256] = "";
            GetWindowTextA(view_->Window()->Handle(), text, sizeof text);
            name = text;
        }
        return AccString(pszName, name);
    });
}

HRESULT TBarViewAccObject::get_accValue(VARIANT varChild, BSTR* pszValue) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszValue) return E_POINTER;
        *pszValue = nullptr;
        if (!view_) return E_FAIL;
        return IsSelf(varChild) ? S_FALSE : E_INVALIDARG;
    });
}

HRESULT TBarViewAccObject::get_accDescription(VARIANT varChild, BSTR* pszDescription) {
    return get_accValue(varChild, pszDescription);
}

HRESULT TBarViewAccObject::get_accRole(VARIANT varChild, VARIANT* pvarRole) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarRole) return E_POINTER;
        VariantInit(pvarRole);
        if (!view_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        pvarRole->vt = VT_I4;
        pvarRole->lVal = view_->GetAccRole();
        return S_OK;
    });
}

HRESULT TBarViewAccObject::get_accState(VARIANT varChild, VARIANT* pvarState) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarState) return E_POINTER;
        VariantInit(pvarState);
        if (!view_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        pvarState->vt = VT_I4;
        pvarState->lVal = 0;
        return S_OK;
    });
}

HRESULT TBarViewAccObject::get_accHelp(VARIANT varChild, BSTR* pszHelp) {
    return get_accValue(varChild, pszHelp);
}

HRESULT TBarViewAccObject::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) {
    return AccGuarded([&]() -> HRESULT {
        if (pszHelpFile) *pszHelpFile = nullptr;
        if (pidTopic) *pidTopic = 0;
        if (!view_) return E_FAIL;
        return IsSelf(varChild) ? S_FALSE : E_INVALIDARG;
    });
}

HRESULT TBarViewAccObject::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszKeyboardShortcut) return E_POINTER;
        *pszKeyboardShortcut = nullptr;
        if (!view_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        if (view_->Style() & vsMenuBar) return AccString(pszKeyboardShortcut, GetAltKeyName());
        return S_FALSE;
    });
}

HRESULT TBarViewAccObject::get_accFocus(VARIANT* pvarChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarChild) return E_POINTER;
        VariantInit(pvarChild);
        return view_ ? S_FALSE : E_FAIL;
    });
}

HRESULT TBarViewAccObject::get_accSelection(VARIANT* pvarChildren) {
    return get_accFocus(pvarChildren);
}

HRESULT TBarViewAccObject::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    return get_accValue(varChild, pszDefaultAction);
}

HRESULT TBarViewAccObject::accSelect(LONG, VARIANT varChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!view_) return E_FAIL;
        return IsSelf(varChild) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    });
}

HRESULT TBarViewAccObject::accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                       VARIANT varChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_POINTER;
        *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
        if (!view_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        if (!view_->Window() || !view_->Window()->HandleAllocated()) return S_FALSE;
        RECT r;
        GetWindowRect(view_->Window()->Handle(), &r);
        *pxLeft = r.left;
        *pyTop = r.top;
        *pcxWidth = r.right - r.left;
        *pcyHeight = r.bottom - r.top;
        return S_OK;
    });
}

HRESULT TBarViewAccObject::accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarEndUpAt) return E_POINTER;
        VariantInit(pvarEndUpAt);
        if (!view_) return E_FAIL;
        if (!IsSelf(varStart)) return E_INVALIDARG;
        const auto viewers = AccessibleViewers(view_);
        if (viewers.empty()) return S_FALSE;
        if (navDir == NAVDIR_FIRSTCHILD) return ReturnObject(viewers.front()->GetAccObject(), pvarEndUpAt);
        if (navDir == NAVDIR_LASTCHILD) return ReturnObject(viewers.back()->GetAccObject(), pvarEndUpAt);
        return S_FALSE;
    });
}

HRESULT TBarViewAccObject::accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarChild) return E_POINTER;
        VariantInit(pvarChild);
        if (!view_) return E_FAIL;
        if (!view_->Window() || !view_->Window()->HandleAllocated()) return S_FALSE;
        HWND wnd = view_->Window()->Handle();
        RECT r;
        GetWindowRect(wnd, &r);
        const POINT screen{xLeft, yTop};
        if (!PtInRect(&r, screen)) return S_FALSE;
        POINT client = screen;
        ScreenToClient(wnd, &client);
        HWND child = ChildWindowFromPoint(wnd, client);
        if (child && child != wnd) {
            IDispatch* object = nullptr;
            if (!AccObjectFromWindow(child, &object)) return E_UNEXPECTED;
            pvarChild->vt = VT_DISPATCH;
            pvarChild->pdispVal = object;
            return S_OK;
        }
        if (TBarItemViewer* viewer = view_->ViewerFromPoint(TPoint(client.x, client.y)))
            if (viewer->GetAccObject()) return ReturnObject(viewer->GetAccObject(), pvarChild);
        pvarChild->vt = VT_I4;
        pvarChild->lVal = CHILDID_SELF;
        return S_OK;
    });
}

HRESULT TBarViewAccObject::accDoDefaultAction(VARIANT varChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!view_) return E_FAIL;
        return IsSelf(varChild) ? S_FALSE : E_INVALIDARG;
    });
}

HRESULT TBarViewAccObject::put_accName(VARIANT varChild, BSTR) {
    return accDoDefaultAction(varChild);
}

HRESULT TBarViewAccObject::put_accValue(VARIANT varChild, BSTR) {
    return accDoDefaultAction(varChild);
}

// ---- viewer object ------------------------------------------------------------------------------

TBarItemViewerAccObject::TBarItemViewerAccObject(TBarItemViewer* AViewer) : viewer_(AViewer) {
    ++viewerObjects;
}

TBarItemViewerAccObject::~TBarItemViewerAccObject() {
    if (viewer_) viewer_->AccObjectGone();
    --viewerObjects;
}

void TBarItemViewerAccObject::ClientIsDestroying() {
    viewer_ = nullptr;
}

bool TBarItemViewerAccObject::Available() {
    TBarCustomItem* item = viewer_->Item();
    return viewer_->IsAccessible() && item->Enabled() && (item->ItemStyle() & isfSelectable) &&
           ViewUsable(viewer_->View());
}

HRESULT TBarItemViewerAccObject::get_accParent(IDispatch** ppdispParent) {
    return AccGuarded([&]() -> HRESULT {
        if (!ppdispParent) return E_POINTER;
        *ppdispParent = nullptr;
        if (!viewer_) return E_FAIL;
        return ReturnObject(viewer_->View()->GetAccObject(), ppdispParent);
    });
}

HRESULT TBarItemViewerAccObject::get_accChildCount(LONG* pcountChildren) {
    return AccGuarded([&]() -> HRESULT {
        if (!pcountChildren) return E_POINTER;
        *pcountChildren = 0;
        if (!viewer_) return E_FAIL;
        *pcountChildren = viewer_->View()->OpenViewer() == viewer_ ? 1 : 0;
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::get_accChild(VARIANT varChild, IDispatch** ppdispChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!ppdispChild) return E_POINTER;
        *ppdispChild = nullptr;
        if (!viewer_) return E_FAIL;
        if (varChild.vt != VT_I4) return E_INVALIDARG;
        if (varChild.lVal == CHILDID_SELF) return ReturnObject(this, ppdispChild);
        TBarView* open =
            viewer_->View()->OpenViewer() == viewer_ ? viewer_->View()->OpenViewerView() : nullptr;
        if (varChild.lVal == 1 && open && open->GetAccObject())
            return ReturnObject(open->GetAccObject(), ppdispChild);
        return E_INVALIDARG;
    });
}

HRESULT TBarItemViewerAccObject::get_accName(VARIANT varChild, BSTR* pszName) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszName) return E_POINTER;
        *pszName = nullptr;
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        std::string name = StripAccelChars(viewer_->GetCaptionText());
        // A button that shows only a picture is named by its hint, as its
        // tooltip names it.
        if (name.empty()) name = viewer_->GetHintText();
        if (!viewer_->IsToolbarStyle() && viewer_->Item()->ShortCut() != 0)
            name += "\t" + ShortCutToText(viewer_->Item()->ShortCut());
        return AccString(pszName, name);
    });
}

HRESULT TBarItemViewerAccObject::get_accValue(VARIANT varChild, BSTR* pszValue) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszValue) return E_POINTER;
        *pszValue = nullptr;
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        std::wstring value;
        if (!viewer_->GetAccValue(value)) return S_FALSE;
        *pszValue = SysAllocString(value.c_str());
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::get_accDescription(VARIANT varChild, BSTR* pszDescription) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszDescription) return E_POINTER;
        *pszDescription = nullptr;
        if (!viewer_) return E_FAIL;
        return IsSelf(varChild) ? S_FALSE : E_INVALIDARG;
    });
}

HRESULT TBarItemViewerAccObject::get_accRole(VARIANT varChild, VARIANT* pvarRole) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarRole) return E_POINTER;
        VariantInit(pvarRole);
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        pvarRole->vt = VT_I4;
        pvarRole->lVal = viewer_->GetAccRole();
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::get_accState(VARIANT varChild, VARIANT* pvarState) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarState) return E_POINTER;
        VariantInit(pvarState);
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        TBarView* view = viewer_->View();
        TBarCustomItem* item = viewer_->Item();
        LONG state = 0;
        if (view->Selected() == viewer_) {
            state |= STATE_SYSTEM_HOTTRACKED;
            if (view->State() & vsModal) state |= STATE_SYSTEM_FOCUSED;
            // Only a toolbar-style item shows its open popup as a pressed button;
            // a menu item shows it by its highlight alone.
            if (view->OpenViewer() == viewer_ && viewer_->IsToolbarStyle()) state |= STATE_SYSTEM_PRESSED;
        }
        if (item->ItemStyle() & isfSubmenu) state |= STATE_SYSTEM_HASPOPUP;
        if (!viewer_->Show)
            state |= STATE_SYSTEM_INVISIBLE;
        else if (ViewUsable(view))
            state |= STATE_SYSTEM_FOCUSABLE;
        // Text is read, not pressed: not being selectable does not make it
        // unavailable.
        const bool text = viewer_->GetAccRole() == ROLE_SYSTEM_STATICTEXT;
        if (text) state |= STATE_SYSTEM_READONLY;
        if (!item->Enabled() || (!text && !(item->ItemStyle() & isfSelectable)))
            state |= STATE_SYSTEM_UNAVAILABLE;
        if (item->Checked()) state |= STATE_SYSTEM_CHECKED;
        pvarState->vt = VT_I4;
        pvarState->lVal = state;
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::get_accHelp(VARIANT varChild, BSTR* pszHelp) {
    return get_accDescription(varChild, pszHelp);
}

HRESULT TBarItemViewerAccObject::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) {
    return AccGuarded([&]() -> HRESULT {
        if (pszHelpFile) *pszHelpFile = nullptr;
        if (pidTopic) *pidTopic = 0;
        if (!viewer_) return E_FAIL;
        return IsSelf(varChild) ? S_FALSE : E_INVALIDARG;
    });
}

HRESULT TBarItemViewerAccObject::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszKeyboardShortcut) return E_POINTER;
        *pszKeyboardShortcut = nullptr;
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        if (!viewer_->CaptionShown()) return S_FALSE;
        const char accel = FindAccelChar(viewer_->GetCaptionText());
        if (!accel) return S_FALSE;
        std::string key(1, accel);
        CharLowerBuffA(key.data(), 1);
        if (!viewer_->View()->IsPopup()) key = GetAltKeyName() + "+" + key;
        return AccString(pszKeyboardShortcut, key);
    });
}

HRESULT TBarItemViewerAccObject::get_accFocus(VARIANT* pvarChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarChild) return E_POINTER;
        VariantInit(pvarChild);
        if (!viewer_) return E_FAIL;
        TBarView* view = viewer_->View();
        if ((view->State() & vsModal) && view->Selected() == viewer_) {
            pvarChild->vt = VT_I4;
            pvarChild->lVal = CHILDID_SELF;
            return S_OK;
        }
        return S_FALSE;
    });
}

HRESULT TBarItemViewerAccObject::get_accSelection(VARIANT* pvarChildren) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarChildren) return E_POINTER;
        VariantInit(pvarChildren);
        return viewer_ ? S_FALSE : E_FAIL;
    });
}

HRESULT TBarItemViewerAccObject::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    return AccGuarded([&]() -> HRESULT {
        if (!pszDefaultAction) return E_POINTER;
        *pszDefaultAction = nullptr;
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        if (!Available()) return S_FALSE;
        TBarView* view = viewer_->View();
        const char* action;
        if (view->OpenViewer() == viewer_)
            action = "Close";
        else if (viewer_->Item()->ItemStyle() & isfSubmenu)
            action = "Open";
        else if (view->IsPopup() || (view->Style() & vsMenuBar))
            action = "Execute";
        else
            action = "Press";
        return AccString(pszDefaultAction, action);
    });
}

HRESULT TBarItemViewerAccObject::accSelect(LONG flagsSelect, VARIANT varChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varChild) || flagsSelect != SELFLAG_TAKEFOCUS) return E_INVALIDARG;
        TBarView* view = viewer_->View();
        if (!ViewUsable(view) || !viewer_->Show) return E_FAIL;
        // Selecting runs OnSelect handlers, which may free the item and the
        // viewer with it: it happens once the client's call has returned.
        viewer_->PostAccSelect(false);
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                             VARIANT varChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_POINTER;
        *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        TWinControl* window = viewer_->View()->Window();
        if (!window || !window->HandleAllocated()) return S_FALSE;
        POINT origin{viewer_->BoundsRect.Left, viewer_->BoundsRect.Top};
        ClientToScreen(window->Handle(), &origin);
        *pxLeft = origin.x;
        *pyTop = origin.y;
        *pcxWidth = viewer_->BoundsRect.Width();
        *pcyHeight = viewer_->BoundsRect.Height();
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarEndUpAt) return E_POINTER;
        VariantInit(pvarEndUpAt);
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varStart)) return E_INVALIDARG;
        TBarView* view = viewer_->View();
        if (navDir == NAVDIR_FIRSTCHILD || navDir == NAVDIR_LASTCHILD) {
            TBarView* open = view->OpenViewer() == viewer_ ? view->OpenViewerView() : nullptr;
            return open ? ReturnObject(open->GetAccObject(), pvarEndUpAt) : S_FALSE;
        }
        int step;
        if (navDir == NAVDIR_UP || navDir == NAVDIR_LEFT || navDir == NAVDIR_PREVIOUS)
            step = -1;
        else if (navDir == NAVDIR_DOWN || navDir == NAVDIR_RIGHT || navDir == NAVDIR_NEXT)
            step = 1;
        else
            return S_FALSE;
        for (int i = viewer_->GetIndex() + step; i >= 0 && i < view->ViewerCount(); i += step)
            if (view->Viewers(i)->IsAccessible())
                return ReturnObject(view->Viewers(i)->GetAccObject(), pvarEndUpAt);
        return S_FALSE;
    });
}

HRESULT TBarItemViewerAccObject::accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!pvarChild) return E_POINTER;
        VariantInit(pvarChild);
        if (!viewer_) return E_FAIL;
        LONG x, y, w, h;
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        if (accLocation(&x, &y, &w, &h, self) != S_OK) return S_FALSE;
        if (xLeft < x || yTop < y || xLeft >= x + w || yTop >= y + h) return S_FALSE;
        pvarChild->vt = VT_I4;
        pvarChild->lVal = CHILDID_SELF;
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::accDoDefaultAction(VARIANT varChild) {
    return AccGuarded([&]() -> HRESULT {
        if (!viewer_) return E_FAIL;
        if (!IsSelf(varChild)) return E_INVALIDARG;
        if (!Available()) return E_FAIL;
        TBarWatch<TBarView> view(viewer_->View());
        if (view->OpenViewer() == viewer_) {
            // Closing runs the popup's handlers, which may take the bar along.
            view->CloseChildPopup();
            if (view && (view->State() & vsModal) && !view->IsPopup()) view->EndModal();
            return S_OK;
        }
        viewer_->PostAccSelect(true);
        return S_OK;
    });
}

HRESULT TBarItemViewerAccObject::put_accName(VARIANT varChild, BSTR) {
    return AccGuarded([&]() -> HRESULT {
        if (!viewer_) return E_FAIL;
        return IsSelf(varChild) ? S_FALSE : E_INVALIDARG;
    });
}

HRESULT TBarItemViewerAccObject::put_accValue(VARIANT varChild, BSTR) {
    return put_accName(varChild, nullptr);
}

// ---- acting for a client -------------------------------------------------------------------------

void BarAccActOnViewer(TBarItemViewer* Viewer, bool Execute) {
    TBarView* view = Viewer->View();
    TBarCustomItem* item = Viewer->Item();
    const bool available =
        Viewer->IsAccessible() && item->Enabled() && (item->ItemStyle() & isfSelectable) && ViewUsable(view);
    if (Execute ? !available : !ViewUsable(view)) return;
    // An OnSelect handler may free the item, and the viewer with it.
    TBarViewerWatch watch(Viewer);
    view->Select(Viewer, false);
    if (!watch) return;
    view->ScrollSelectedIntoView();
    if (view->State() & vsModal) {
        // Inside the menu loop the loop itself carries out the click.
        if (Execute) view->ExecuteSelected(true);
        return;
    }
    // Outside it a bar enters its loop with the viewer selected, as a user
    // coming by keyboard would.
    if (view->IsToolbar() && !view->OpenViewer() && !GetCapture() && view->Selected() == Viewer)
        EnterToolbarLoop(view, tbetFromMSAA | (Execute ? unsigned{tbetExecuteSelected} : 0u));
}

// ---- view and viewer entry points ------------------------------------------------------------------

int TBarView::GetAccRole() {
    if (IsPopup()) return ROLE_SYSTEM_MENUPOPUP;
    return (Style() & vsMenuBar) ? ROLE_SYSTEM_MENUBAR : ROLE_SYSTEM_TOOLBAR;
}

IAccessible* TBarView::GetAccObject() {
    if (!accObject_ && InitMSAA()) accObject_ = new TBarViewAccObject(this);
    return accObject_;
}

LRESULT TBarView::HandleGetObject(TMessage& Message, bool& Handled) {
    Handled = false;
    if (static_cast<LONG>(Message.LParam) != OBJID_CLIENT || !InitMSAA()) return 0;
    IAccessible* object = GetAccObject();
    if (!object) return 0;
    Handled = true;
    return AccLresultFromObject(IID_IAccessible, Message.WParam, object);
}
