// The group bar for accessibility clients: one object for the bar, whose
// children are its groups, and one for each group, whose children are its
// items (simple elements). The bar's object also answers about an item
// under an id of its own, the one the bar's focus events carry. An object
// whose bar or group is gone answers E_FAIL.
#pragma once

#include "classlib/windows/accessibility.h"
#include "controls/scgroupbar.h"

class TScGroupItem;

class TScGroupAccObject : public TAccObjectBase {
public:
    // The bar's object (Group null) or a group's.
    TScGroupAccObject(TScGroupBar* Bar, TScGroup* Group);

    // The bar or group goes: clients are cut off and every later call
    // answers E_FAIL; drops the owner's reference.
    void ClientIsDestroying();
    // The child id of a keyboard place under the bar's object.
    static LONG ChildIdOf(TScGroupBar* Bar, const TScGroupBar::TKeyStop& Stop);

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* pcountChildren) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varChild, BSTR* pszValue) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarChild) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarChildren) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flagsSelect, VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                          VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT varChild, BSTR szName) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT varChild, BSTR szValue) override;

private:
    ~TScGroupAccObject() override = default;

    // What a child id names: the bar, a group, or an item of a group.
    struct TTarget {
        TScGroup* Group = nullptr;
        TScGroupItem* Item = nullptr;
    };
    TScGroupBar* Bar() const;
    // The bar or group went, or the group left its bar.
    bool Gone() const { return gone_ || !Bar(); }
    // False for an id this object does not know.
    bool Resolve(const VARIANT& Child, TTarget& Out) const;
    // The child id of a group or item, under this object.
    LONG IdOf(const TTarget& Target) const;
    HRESULT ReturnChild(const TTarget& Target, VARIANT* Out);

    TScGroupBar* bar_;
    TScGroup* group_;
    bool gone_ = false;
};
