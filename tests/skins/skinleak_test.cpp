// Many paints and skin switches leave no handle and no skin object behind.
#include <gtest/gtest.h>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/handles.h"
#include "skin_test_support.h"
#include "skins/skincaption.h"
#include "skins/skinglyphs.h"
#include "skins/skinpaint.h"

namespace {

TEST(SkinLeaks, ThousandPaintsAndSwitches) {
    RegisterBuiltInSkins();
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(64, 32);
    TCanvas* canvas = bitmap->Canvas();
    const char* names[] = {"Office 2007 Blue", "Leopard", "Office XP", "Default", "Xito", "Office 2003"};
    auto round = [&](int i) {
        SkinManager()->SetSkin(names[i % 6]);
        std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
        for (int c = 0; c < SkinComponentCount; ++c)
            skin->PaintBackground(canvas, {0, 0, 64, 32}, static_cast<TSbSkinComponentsType>(c), sknsHotTrack,
                                  true, true, i % 2 == 0);
        skin->PaintCheckMark(canvas, {0, 0, 13, 13}, sknsNormal, true, false, false);
        skin->PaintRadioMark(canvas, {0, 0, 13, 13}, sknsNormal, true, false);
        skin->PaintWindowFrame(canvas, {0, 0, 64, 32}, 4, true);
        DrawGlyphPattern(canvas, {0, 0, 16, 16}, static_cast<TSbGlyphPattern>(i % 4), clBtnText);
        TRect text(0, 0, 20, 32);
        DrawCaptionText(canvas, L"&Rotated", text, 0, sgkAll, clYellow, 1 + i % 2);
    };
    round(0);  // the first round makes what lives on (fonts, theme data)
    const long gdi = GdiHandleCount();
    const long user = UserHandleCount();
    for (int i = 1; i <= 1000; ++i) round(i);
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
    EXPECT_EQ(TSbSkinOptions::LiveCount(), 1);
    SkinManager()->SetSkin("Default");
}

}  // namespace
