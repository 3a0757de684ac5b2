// Painting and making the styled controls again and again leaves no GDI
// object or window behind.
#include "classlib/graphics/handles.h"
#include "controls/scbitbtn.h"
#include "controls/scbutton.h"
#include "controls/sclabel.h"
#include "controls/scrapidfire.h"
#include "controls/scurllabel.h"
#include "tests/controls/controls_fixture.h"

namespace {

class LeaksTest : public ControlsTest {
protected:
    template <class T>
    T* Put(int Left, int Top, int Width, int Height, const char* Caption) {
        T* control = Add<T>(Left, Top, Width, Height);
        control->SetCaption(Caption);
        return control;
    }
};

TEST_F(LeaksTest, FiveHundredPaintsOfEveryControlKeepTheHandleCounts) {
    auto* turned = Put<TScLabel>(5, 5, 80, 40, "Turned");
    turned->Font()->SetName("Arial");
    turned->SetAngle(45);
    turned->SetTextStyle(tsRaised);
    turned->SetBorderOuter(fsRaised);
    auto* curved = Put<TScLabel>(90, 5, 100, 60, "Curved text");
    curved->SetAutoSize(false);
    curved->SetBounds(90, 5, 100, 60);
    curved->Font()->SetName("Arial");
    curved->SetRotation(roCurve);
    curved->SetTextStyle(tsShadow);
    Put<TScURLLabel>(200, 5, 80, 20, "Link");
    auto* hot = Put<TScButton>(5, 70, 75, 25, "Hot");
    hot->SetThemeAware(false);
    hot->SetHotTrack(true);
    hot->Perform(CM_MOUSEENTER);
    auto* grouped = Put<TScButton>(85, 70, 75, 25, "Down");
    grouped->SetThemeAware(false);
    grouped->SetGroupIndex(3);
    grouped->SetDown(true);
    auto* themed = Put<TScButton>(165, 70, 75, 25, "Themed");
    themed->SetDefault(true);
    auto* ok = Put<TScBitBtn>(5, 100, 90, 30, "");
    ok->SetKind(bkOK);
    ok->SetThemeAware(false);
    auto* up = Add<TScRapidFireButton>(100, 100, 20, 20);
    up->SetScrollStyle(scsUp);

    TOwned<TBitmap> shot(Create<TBitmap>());
    shot->SetSize(form->ClientWidth(), form->ClientHeight());
    HDC dc = shot->Canvas()->Handle();
    form->PaintTo(dc, 0, 0);  // the first paint fills the shared caches
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    for (int i = 0; i < 500; ++i) form->PaintTo(dc, 0, 0);
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

TEST_F(LeaksTest, AHundredURLLabelsComeAndGoWithoutATrace) {
    Put<TScURLLabel>(5, 5, 80, 20, "first")->Free();  // the hand cursor is registered once
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    for (int i = 0; i < 100; ++i) {
        auto* label = Put<TScURLLabel>(5, 5, 80, 20, "http://example.invalid/");
        label->Repaint();
        label->Free();
    }
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

}  // namespace
