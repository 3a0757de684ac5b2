// Viewers of the skinned items: measured and painted through the current
// skin with wide captions, glow, alignment and owner-draw events; the label
// and separator viewers; hints drawn into a bitmap.
#pragma once

#include <string>

#include "classlib/windows/hintwindow.h"
#include "skins/sbhost.h"
#include "skins/sbitem.h"
#include "skins/sbitemsize.h"
#include "toolbar/barviewer.h"

class TSbItemViewer : public TBarItemViewer {
    VX_CLASS(TSbItemViewer, TBarItemViewer)
public:
    using TBarItemViewer::TBarItemViewer;

    TSbCustomItem* SkinnedItem() const { return static_cast<TSbCustomItem*>(Item()); }
    ISbItemHost* Host() const;

    // Set by the skinned toolbar's anchoring.
    int AnchorSize = 0;
    TPoint AnchorPosition{-1, -1};

    void CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) override;
    void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
    bool CaptionShown() override;

    virtual TColor GetTextColor(TSbSkinStatesType State);
    // The bar's font with the item's settings, for State.
    virtual void AdjustFont(TFont* Font, TSbSkinStatesType State);
    virtual void DrawItemImage(TCanvas* Canvas, const TRect& R, TSbSkinStatesType State);
    virtual std::wstring GetWideHintText();
    virtual std::wstring GetWideCaptionText();
    virtual TSize GetRightImageSize() { return {0, 0}; }

    TSbSkinStatesType CurrentState();
    bool SkinImageShown();
    UINT CaptionFormat();
    // The inputs of the size rules, measured on Canvas.
    TSbItemSizeInput SizeInput(TCanvas* Canvas);
    // CM_HINTSHOW: fills the hint and its bitmap window.
    void HintShow(THintInfo& Info);

protected:
    // The default look; false when an owner-draw event freed the item.
    bool PaintDefault(TCanvas* Canvas, const TRect& R, bool IsSelected, bool IsPushed);
    virtual bool PaintsButtonBackground() { return true; }
};

class TSbLabelItemViewer : public TSbItemViewer {
    VX_CLASS(TSbLabelItemViewer, TSbItemViewer)
public:
    using TSbItemViewer::TSbItemViewer;
    void CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) override;
    bool DoExecute() override { return false; }
    // Text, for accessibility clients: read, never pressed.
    int GetAccRole() override { return 41; }  // ROLE_SYSTEM_STATICTEXT

protected:
    bool PaintsButtonBackground() override { return false; }
};

class TSbSeparatorItemViewer : public TBarSeparatorItemViewer {
    VX_CLASS(TSbSeparatorItemViewer, TBarSeparatorItemViewer)
public:
    using TBarSeparatorItemViewer::TBarSeparatorItemViewer;
    void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
};

// The hint text of an item: its hint up to "|", else the caption without
// trailing ":" or "..." and "&" marks (AutoHint), with " (shortcut)" when
// ShortCutText is not empty.
std::wstring SbHintText(const std::wstring& Hint, const std::wstring& Caption, bool AutoHint,
                        const std::wstring& ShortCutText);
