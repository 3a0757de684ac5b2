// Painting and reading many times leaves the class library's GDI and user
// handle counts where they were.
#include <gtest/gtest.h>

#include <functional>

#include "classlib/graphics/handles.h"
#include "controls/scbackgrounds.h"
#include "controls/scframes.h"
#include "controls/scgrafx.h"
#include "controls/scscheme.h"
#include "controls/sctext.h"
#include "controls/scversioninfo.h"
#include "tests/controls/paint_support.h"

namespace {

TEST(Leaks, FiveHundredPaintsOfEachRoutineLeaveNoHandles) {
    auto bitmap = Filled(64, 48);
    auto sprite = Filled(8, 8, clWhite);
    auto font = MakeOwned<TFont>();
    TCanvas* c = bitmap->Canvas();
    const TRect r(2, 2, 60, 44);
    const bool saved = IsTrueColor;
    IsTrueColor = true;
    const std::function<void()> routines[] = {
        [&] { PaintGradient(c, r, 0, clRed, clBlue, 1); },
        [&] { PaintGradient(c, r, 3, clRed, clBlue, 1); },
        [&] { PaintGradient(c, r, 6, clRed, clBlue, 1); },
        [&] { PaintGradient(c, r, 9, clRed, clBlue, 1); },
        [&] { PaintGradientBorder(c, r, 2, clRed, clBlue); },
        [&] { PaintGroupBarBackground(c, r, vsWinXP, gcsMSOffice, gpBottomToTop, clRed, clBlue); },
        [&] { StretchDrawTransparent(c, r, sprite.get(), TRect(0, 0, 8, 8), clWhite); },
        [&] { TileBitmap(c, r, sprite.get()); },
        [&] { StretchDrawMirrored(c, r, sprite->Canvas(), TRect(0, 0, 8, 8), true, true); },
        [&] {
            DrawFrame(c, r, {fsFlatRounded, fsGroove, AllSides, 2, 1});
        },
        [&] { DrawColorBorder(c, r, clRed, fsButtonUp); },
        [&] { DrawDottedFocusRect(c, r); },
        [&] { CreateRotatedFont(font.get(), 45); },
        [&] { IsTrueTypeFont(font.get()); },
        [&] { IsTrueColorDisplay(); },
    };
    for (size_t i = 0; i < std::size(routines); ++i) {
        routines[i]();  // first use may make tools that live on
        const long gdi = GdiHandleCount(), user = UserHandleCount();
        for (int k = 0; k < 500; ++k) routines[i]();
        EXPECT_EQ(GdiHandleCount(), gdi) << "routine " << i;
        EXPECT_EQ(UserHandleCount(), user) << "routine " << i;
    }
    IsTrueColor = saved;
}

TEST(Leaks, TwoHundredVersionReadsLeaveNoHandles) {
    auto info = MakeOwned<TScVersionInfo>(nullptr);
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    for (int k = 0; k < 200; ++k) {
        info->SetFilePath(k % 2 ? std::string("Z:") + VEXMORA_TEST_MODULE : "");
        info->LoadVersionInfo();
    }
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

}  // namespace
