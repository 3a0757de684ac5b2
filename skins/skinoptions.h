// One skin: for every skin component and state a category of body fill,
// border and text colour (`TSbSkinOptions`, `TSbSkinOptionCategory`,
// `TSbSkinOptionEntry`), the state rule, and the skin's text form.
#pragma once

#include <string>

#include "classlib/core/object.h"
#include "classlib/graphics/canvas.h"
#include "classlib/graphics/colors.h"
#include "skins/skintypes.h"

class TStrings;
class TCustomIniFile;

// How one part is painted: a paint style and up to four colours (clNone:
// not used).
class TSbSkinOptionEntry : public TPersistent {
    VX_CLASS(TSbSkinOptionEntry, TPersistent)
public:
    int SkinType = 0;
    TColor Color1 = clNone;
    TColor Color2 = clNone;
    TColor Color3 = clNone;
    TColor Color4 = clNone;

    void Fill(int ASkinType, TColor AColor1, TColor AColor2, TColor AColor3, TColor AColor4);
    void Reset() { Fill(0, clNone, clNone, clNone, clNone); }
    // Empty while all four colours are clNone, whatever the type.
    bool IsEmpty() const;
    bool SameAs(const TSbSkinOptionEntry& Other) const;
    TColor Color(int Index) const;  // 1..4

    // The one-line text form: "type, colour, colour, colour, colour".
    std::string ToText() const;
    // Resets, then reads what it can; never raises: reading stops at the
    // first field that is no colour.
    void FromText(const std::string& Text);

protected:
    void AssignTo(TPersistent* Dest) override;
};

// The look of one component in one state.
class TSbSkinOptionCategory : public TPersistent {
    VX_CLASS(TSbSkinOptionCategory, TPersistent)
public:
    TSbSkinOptionCategory();

    TSbSkinOptionEntry* Body() const { return body_.get(); }
    TSbSkinOptionEntry* Borders() const { return borders_.get(); }
    TColor TextColor = clNone;

    bool IsEmpty() const;
    void Reset();
    // Same look: equal entries and text colour; any two empty categories
    // count as the same (the skin text does not keep their types).
    bool SameAs(const TSbSkinOptionCategory& Other) const;

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    TOwned<TSbSkinOptionEntry> body_;
    TOwned<TSbSkinOptionEntry> borders_;
};

// Times the theme was asked for a part size of the menu metrics (tests).
extern int ThemePartSizeQueries;

// What the menu code needs to size an item (see GetMenuItemMetrics).
struct TSbMenuItemMetrics {
    int ArrowWidth = 8;
    int ArrowMargin = 3;
    int SplitDropDownWidth = 12;
};

// Margins of a menu item, all zero until GetMenuItemMargins fills them.
struct TSbMenuItemMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int ImageGapLeft = 0;
    int ImageGapRight = 0;
    int GutterExtra = 0;
    int ItemHeight = 0;
};

class TSbSkinOptions : public TPersistent {
    VX_CLASS(TSbSkinOptions, TPersistent)
public:
    TSbSkinOptions();
    // Fills the table through FillOptions, once the most derived class is
    // in place.
    void AfterConstruction() override;

    std::string SkinName = "Default";
    TColor ColorBtnFace = clBtnFace;
    bool OfficeStatusBar = false;
    bool OfficeIcons = false;

    // The category for the pair; a component without per-state looks gives
    // its Normal category for every state.
    TSbSkinOptionCategory* Options(TSbSkinComponentsType Component, TSbSkinStatesType State) const;
    TSbSkinOptionCategory* Options(TSbSkinComponentsType Component) const {
        return Options(Component, sknsNormal);
    }

    void Reset();
    // All six state categories of one component onto another.
    void CopyOptions(TSbSkinComponentsType From, TSbSkinComponentsType To);
    // Same table, flags, name and face colour.
    bool SameAs(const TSbSkinOptions& Other) const;

    static TSbSkinStatesType GetState(bool Enabled, bool Pushed, bool HotTracked, bool Checked);
    bool OfficeStatusBarInForce() const;
    bool OfficeIconsInForce() const;
    bool OpenToolbarItemDefined() const;

    // The skin text (INI). Loading replaces the whole skin, or raises
    // EConvertError and leaves it as it was.
    virtual void LoadFromStrings(TStrings* Strings);
    // Writes the skin into the list's INI text: keys of this skin that it
    // leaves out are deleted first, everything else in the list stays.
    virtual void SaveToStrings(TStrings* Strings);
    virtual void SaveToIni(TCustomIniFile* Ini);

    // The painting slots (skinpainting.cpp).
    virtual TSbMenuItemMetrics GetMenuItemMetrics();
    virtual void GetMenuItemMargins(TCanvas* Canvas, int ImageSize, TSbMenuItemMargins& Margins);
    virtual TColor GetTextColor(TSbSkinComponentsType Component, TSbSkinStatesType State);
    virtual void PaintBackground(TCanvas* Canvas, const TRect& R, TSbSkinComponentsType Component,
                                 TSbSkinStatesType State, bool DrawBody, bool DrawBorders, bool VerticalBar,
                                 int CornerFlags = 0);
    virtual void PaintCheckMark(TCanvas* Canvas, const TRect& R, TSbSkinStatesType State, bool Checked,
                                bool Grayed, bool MenuItem);
    virtual void PaintRadioMark(TCanvas* Canvas, const TRect& R, TSbSkinStatesType State, bool Checked,
                                bool MenuItem);
    virtual void PaintWindowFrame(TCanvas* Canvas, const TRect& R, int RingCount, bool DrawBody);

    // Skin objects alive in the process (leak tests).
    static int LiveCount();

protected:
    ~TSbSkinOptions() override;
    void AssignTo(TPersistent* Dest) override;
    // Sets the name and fills the table; empty for the plain skin.
    virtual void FillOptions() {}

private:
    void ReadFrom(TCustomIniFile* Ini);

    TOwned<TSbSkinOptionCategory> options_[SkinComponentCount][SkinStateCount];
};
