// The ten built-in skins, each a TSbSkinOptions class whose FillOptions runs
// a fixed table of steps, and their registration by name.
#pragma once

#include <array>

#include "skins/skinoptions.h"

class TSbOffice2007Skin : public TSbSkinOptions {
    VX_CLASS(TSbOffice2007Skin, TSbSkinOptions)
public:
    static constexpr int ColorCount = 18;
    std::array<TColor, ColorCount> Colors{};

protected:
    void FillOptions() override;
    // Sets the skin's name and its 18 colours.
    virtual void FillColors() {}
};

class TSbOffice2007BlueSkin : public TSbOffice2007Skin {
    VX_CLASS(TSbOffice2007BlueSkin, TSbOffice2007Skin)
protected:
    void FillColors() override;
};

class TSbOffice2007BlackSkin : public TSbOffice2007Skin {
    VX_CLASS(TSbOffice2007BlackSkin, TSbOffice2007Skin)
protected:
    void FillColors() override;
};

class TSbOffice2007SilverSkin : public TSbOffice2007Skin {
    VX_CLASS(TSbOffice2007SilverSkin, TSbOffice2007Skin)
protected:
    void FillColors() override;
};

class TSbOffice2003Skin : public TSbSkinOptions {
    VX_CLASS(TSbOffice2003Skin, TSbSkinOptions)
public:
    // The 20 colours of the set, then P11 lightened by 15.
    static constexpr int ColorCount = 21;
    std::array<TColor, ColorCount> Colors{};
    // The colour set of a Luna colour scheme (0 blue, 1 silver, 2 olive;
    // anything else blue).
    static std::array<TColor, ColorCount> ColorSet(int Scheme);

protected:
    void FillOptions() override;
    virtual void FillColors();
};

class TSbOfficeXPSkin : public TSbSkinOptions {
    VX_CLASS(TSbOfficeXPSkin, TSbSkinOptions)
protected:
    void FillOptions() override;
};

class TSbAthenSkin : public TSbSkinOptions {
    VX_CLASS(TSbAthenSkin, TSbSkinOptions)
protected:
    void FillOptions() override;
};

class TSbDreamSkin : public TSbSkinOptions {
    VX_CLASS(TSbDreamSkin, TSbSkinOptions)
protected:
    void FillOptions() override;
};

class TSbEosSkin : public TSbSkinOptions {
    VX_CLASS(TSbEosSkin, TSbSkinOptions)
protected:
    void FillOptions() override;
};

class TSbLeopardSkin : public TSbSkinOptions {
    VX_CLASS(TSbLeopardSkin, TSbSkinOptions)
public:
    // The tab background also gets two lines across its top.
    void PaintBackground(TCanvas* Canvas, const TRect& R, TSbSkinComponentsType Component,
                         TSbSkinStatesType State, bool DrawBody, bool DrawBorders, bool VerticalBar,
                         int CornerFlags = 0) override;

protected:
    void FillOptions() override;
};

class TSbXitoSkin : public TSbSkinOptions {
    VX_CLASS(TSbXitoSkin, TSbSkinOptions)
protected:
    void FillOptions() override;
};

// Adds the ten names to the skin manager's list, in their fixed order.
void RegisterBuiltInSkins();
