// The extended label: its size follows its text as the screen measures it
// (margins, shadow and rotation included), it paints its frame, shadow,
// disabled and hot states, opens its URL on click and focuses its
// FocusControl by accelerator.
#include "foundation/zklabel.h"

#include <memory>
#include <thread>

#include "classlib/core/properties.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/themes.h"
#include "tests/foundation/recording_shell.h"
#include "tests/foundation/window_fixture.h"
#include "tests/foundation/zkdata_test_provider.h"
#include "tests/support/pump.h"

namespace {

TSize Measured(TFont* Font, const std::string& Text, int Width = 0, UINT Flags = 0) {
    TWindowDC screen;
    TSelectObject select(screen.Get(), Font->Handle());
    const std::wstring wide(Text.begin(), Text.end());
    RECT r{0, 0, Width, 0};
    DrawTextW(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | Flags);
    return {r.right, r.bottom};
}

TOwned<TBitmap> WhiteBitmap(int Width, int Height) {
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(Width, Height);
    return bitmap;
}

int CountPixels(TBitmap* Bitmap, TColor Color) {
    const COLORREF rgb = ColorToRGB(Color);
    int count = 0;
    for (int y = 0; y < Bitmap->Height(); ++y)
        for (int x = 0; x < Bitmap->Width(); ++x) count += COLORREF(Bitmap->PixelColor(x, y)) == rgb;
    return count;
}

class ZkLabelTest : public FoundationWindowTest {
protected:
    void SetUp() override {
        FoundationWindowTest::SetUp();
        form.reset(Create<TForm>(nullptr, 0));
        form->SetBounds(100, 100, 300, 200);
        form->SetColor(clYellow);
        label = NewLabel();
    }
    void TearDown() override {
        form.reset();
        FoundationWindowTest::TearDown();
    }

    TZkLabel* NewLabel() {
        auto* made = Create<TZkLabel>(form.get());
        made->SetParent(form.get());
        made->SetBounds(20, 10, 65, 17);
        made->SetColor(clAqua);
        made->Font()->SetColor(clBlack);
        return made;
    }

    // The label painted on its own into a white bitmap of its size.
    TOwned<TBitmap> Painted(TZkCustomLabel* Label) {
        TOwned<TBitmap> bitmap = WhiteBitmap(Label->Width(), Label->Height());
        Label->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle()));
        return bitmap;
    }

    // Opaque labels: themes would make every label transparent.
    TThemesEnabledOverride noThemes{false};
    TOwned<TForm> form;
    TZkLabel* label = nullptr;
};

TEST_F(ZkLabelTest, AutoSizeIsTheMeasuredTextPlusTwoAndAnEmptyCaptionALine) {
    const struct {
        std::string caption, measuredAs;
    } cases[] = {
        {"Temperature Celcius:", "Temperature Celcius:"},
        {"", " "},
        {"&", " "},
        {"A\tB", "A\tB"},
    };
    for (const auto& c : cases) {
        label->SetCaption(c.caption);
        const TSize text = Measured(label->Font(), c.measuredAs);
        EXPECT_EQ(label->Width(), text.cx + 2) << c.caption;
        EXPECT_EQ(label->Height(), text.cy) << c.caption;
    }
}

TEST_F(ZkLabelTest, MarginsAndShadowAddToTheAutoSize) {
    label->SetCaption("Disk 0");
    const TSize text = Measured(label->Font(), "Disk 0");
    label->SetMargin(3);
    EXPECT_EQ(label->Width(), text.cx + 2 + 6);
    EXPECT_EQ(label->Height(), text.cy + 6);
    label->SetMargin(0);
    label->SetShadowSize(2);
    EXPECT_EQ(label->Width(), text.cx + 2 + 2);
    EXPECT_EQ(label->Height(), text.cy + 2);
}

TEST_F(ZkLabelTest, AnAutoSizedLabelWithMarginsShowsAllOfItsText) {
    label->SetCaption("Mmmm");
    label->SetMargin(4);
    TOwned<TBitmap> painted = Painted(label);
    // The same text drawn where the label puts it, unclipped.
    TOwned<TBitmap> expected = WhiteBitmap(label->Width(), label->Height());
    TCanvas* canvas = expected->Canvas();
    canvas->Brush()->SetColor(clAqua);
    canvas->FillRect(TRect(0, 0, label->Width(), label->Height()));
    canvas->SetFont(label->Font());
    canvas->Brush()->SetStyle(bsClear);
    TRect r(4, 4, 400, 400);
    canvas->DrawText(std::string("Mmmm"), r, DT_LEFT | DT_NOCLIP);
    for (int y = 0; y < label->Height(); ++y)
        for (int x = 0; x < label->Width(); ++x)
            ASSERT_EQ(painted->PixelColor(x, y), expected->PixelColor(x, y)) << x << "," << y;
}

TEST_F(ZkLabelTest, WordWrapBreaksAtTheWidthAndARightJustifiedLabelKeepsItsRightEdge) {
    label->SetAutoSize(false);
    label->SetWidth(62);
    label->SetWordWrap(true);
    const std::string text = "When check that program will auto";
    label->SetCaption(text);
    label->SetAutoSize(true);
    EXPECT_EQ(label->Height(), Measured(label->Font(), text, 60, DT_WORDBREAK).cy);
    EXPECT_GT(label->Height(), Measured(label->Font(), "When").cy);

    TZkLabel* right = NewLabel();
    right->SetAlignment(taRightJustify);
    right->SetCaption("Right");
    const int edge = right->Left() + right->Width();
    right->SetCaption("Much longer text");
    EXPECT_EQ(right->Left() + right->Width(), edge);
}

TEST_F(ZkLabelTest, RotatedTextSwapsTheBoxAndNegativeAnglesAreStoredPlus360) {
    label->SetCaption("Temperature");
    const TSize text = Measured(label->Font(), "Temperature");
    const struct {
        int angle, stored;
        LONG width, height;
    } cases[] = {
        {90, 90, text.cy + 2, text.cx},
        {180, 180, text.cx + 2, text.cy},
        {270, 270, text.cy + 2, text.cx},
        {-90, 270, text.cy + 2, text.cx},
    };
    for (const auto& c : cases) {
        label->SetAngle(c.angle);
        EXPECT_EQ(label->Angle(), c.stored) << c.angle;
        EXPECT_EQ(label->Width(), c.width) << c.angle;
        EXPECT_EQ(label->Height(), c.height) << c.angle;
        TOwned<TBitmap> painted = Painted(label);
        EXPECT_GT(CountPixels(painted.get(), clBlack), 0) << c.angle;
    }
}

TEST_F(ZkLabelTest, ADisabledLabelDrawsGreyOverAHighlightShadow) {
    label->SetCaption("Disk");
    TOwned<TBitmap> enabled = Painted(label);
    EXPECT_GT(CountPixels(enabled.get(), clBlack), 0);
    label->SetEnabled(false);
    TOwned<TBitmap> disabled = Painted(label);
    EXPECT_EQ(CountPixels(disabled.get(), clBlack), 0);
    EXPECT_GT(CountPixels(disabled.get(), clGrayText), 0);
    EXPECT_GT(CountPixels(disabled.get(), clBtnHighlight), 0);
}

TEST_F(ZkLabelTest, FramesArePlainOrRoundedWithTheParentInTheCorners) {
    label->SetAutoSize(false);
    label->SetBounds(20, 10, 40, 20);
    label->SetFrameColor(clRed);
    TOwned<TBitmap> plain = Painted(label);
    EXPECT_EQ(plain->PixelColor(0, 0), clRed);
    EXPECT_EQ(plain->PixelColor(0, 10), clRed);
    EXPECT_EQ(plain->PixelColor(20, 10), clAqua);

    label->SetRoundedFrame(10);
    EXPECT_EQ(label->RoundedFrame(), 0) << "half the height is too much";
    label->SetRoundedFrame(5);
    EXPECT_EQ(label->RoundedFrame(), 5);
    TOwned<TBitmap> rounded = Painted(label);
    EXPECT_EQ(rounded->PixelColor(0, 0), clYellow) << "the parent shows in the corner";
    EXPECT_EQ(rounded->PixelColor(39, 19), clYellow);
    EXPECT_EQ(rounded->PixelColor(20, 0), clRed);
    EXPECT_EQ(rounded->PixelColor(0, 10), clRed);
    EXPECT_EQ(rounded->PixelColor(20, 10), clAqua);

    label->SetTransparent(true);
    TOwned<TBitmap> outline = Painted(label);
    EXPECT_EQ(outline->PixelColor(20, 0), clRed);
    EXPECT_EQ(outline->PixelColor(20, 10), clWhite) << "nothing filled behind a transparent label";
}

class ZkLabelHoverTest : public ZkLabelTest {
protected:
    void SetUp() override {
        ZkLabelTest::SetUp();
        form->Show();
        SetActiveWindow(form->Handle());
        ASSERT_TRUE(PumpUntil([this] { return GetActiveWindow() == form->Handle(); }));
        label->SetCaption("Hot");
        label->SetHotTrack(true);
        label->HotTrackFont()->SetColor(clRed);
    }
    // Whether the label asked its parent for a repaint.
    bool Invalidated() {
        RECT r{};
        return GetUpdateRect(form->Handle(), &r, FALSE) != 0;
    }
    void Validate() { ValidateRect(form->Handle(), nullptr); }
};

TEST_F(ZkLabelHoverTest, HoveringPaintsTheHotFontAndTheHotBackground) {
    EXPECT_EQ(CountPixels(Painted(label).get(), clRed), 0);
    Validate();
    label->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(label->Hovering());
    EXPECT_TRUE(Invalidated());
    EXPECT_GT(CountPixels(Painted(label).get(), clRed), 0);

    label->HotTrackOptions()->SetEnabled(true);
    label->HotTrackOptions()->SetColor(clLime);
    EXPECT_EQ(Painted(label)->PixelColor(label->Width() - 1, 0), clLime);

    label->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(label->Hovering());
    EXPECT_EQ(CountPixels(Painted(label).get(), clRed), 0);
}

TEST_F(ZkLabelHoverTest, ATransparentLabelSwitchesItsFontButDoesNotRepaintByItself) {
    label->SetTransparent(true);
    Validate();
    label->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(label->Hovering());
    EXPECT_FALSE(Invalidated());
    EXPECT_GT(CountPixels(Painted(label).get(), clRed), 0);
}

TEST_F(ZkLabelHoverTest, NoHoverWhileAnotherThreadsWindowIsActive) {
    // A window of another thread takes the activation.
    HWND other = nullptr;
    bool done = false;
    std::thread thread([&] {
        other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                nullptr, nullptr);
        SetForegroundWindow(other);
        MSG msg;
        while (!done) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(5);
        }
        DestroyWindow(other);
    });
    const bool inactive = PumpUntil([] { return !IsForegroundTask(); });
    if (inactive) label->Perform(CM_MOUSEENTER);
    done = true;
    thread.join();
    ASSERT_TRUE(inactive);
    EXPECT_FALSE(label->Hovering());
}

TEST_F(ZkLabelTest, AClickOpensTheURLUnlessTurnedOffOrFreedByTheClick) {
    RecordingShell shell;
    TServiceOverride<TShellService> scope(shell);
    const auto click = [](TControl* Control) {
        Control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
        Control->Perform(WM_LBUTTONUP, 0, PointToLParam(2, 2));
    };
    label->SetURL("http://example.invalid/");
    click(label);
    label->SetAutoOpenURL(false);
    click(label);
    label->SetAutoOpenURL(true);
    label->SetURL("");
    click(label);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"open http://example.invalid/"});

    struct FreeOnClick {
        void Click(TObject* Sender) { static_cast<TControl*>(Sender)->Free(); }
    } freeOnClick;
    label->SetURL("http://example.invalid/gone");
    label->OnClick = TNotifyEvent(&freeOnClick, &FreeOnClick::Click);
    click(label);
    EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(ZkLabelTest, TheAcceleratorWithAltFocusesTheFocusControl) {
    auto* target = Create<TCustomControl>(form.get());
    target->SetParent(form.get());
    target->SetBounds(20, 60, 50, 20);
    form->Show();
    label->SetCaption("E&xit");
    label->SetFocusControl(target);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'x', 0), 0) << "not without Alt";
    EXPECT_FALSE(target->Focused());
    label->SetShowAccelChar(false);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'x', 0x20000000), 0) << "not without accelerators";
    label->SetShowAccelChar(true);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'y', 0x20000000), 0) << "not another key";
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'x', 0x20000000), 1);
    EXPECT_TRUE(target->Focused());
}

TEST_F(ZkLabelTest, AProviderItemTakesThePlaceOfTheCaptionUntilTheCaptionChanges) {
    RegisterTestClasses();
    TOwned<TTestProvider> provider(Create<TTestProvider>(nullptr, false));
    const std::string id = provider->AddItem("Provided text")->ID();
    label->SetCaption("Own");
    label->Provider()->SetProvider(provider.get());
    label->Provider()->ItemSelect()->SetItem(id);
    EXPECT_EQ(label->Width(), Measured(label->Font(), "Provided text").cx + 2);
    label->SetCaption("Own caption");
    EXPECT_FALSE(label->Provider()->Active());
    EXPECT_EQ(label->Width(), Measured(label->Font(), "Own caption").cx + 2);
}

TEST_F(ZkLabelTest, PropertiesAreReachedByNameForFormStreams) {
    EXPECT_EQ(GetEnumProp(label, "ShadowPos"), "spRightBottom");
    EXPECT_EQ(GetOrdProp(label, "ImageIndex"), -1);
    EXPECT_EQ(GetSetProp(label, "HotTrackFontOptions"), "[hoFollowFont,hoPreserveColor,hoPreserveStyle]");
    EXPECT_EQ(GetObjectProp(label, "Provider"), label->Provider());
    SetEnumProp(label, "Alignment", "taCenter");
    SetOrdProp(label, "Angle", -90);
    EXPECT_EQ(label->Alignment(), taCenter);
    EXPECT_EQ(label->Angle(), 270);
}

TEST_F(ZkLabelTest, AFreedFocusControlOrImageListIsForgotten) {
    auto* target = Create<TCustomControl>(form.get());
    TCustomImageList* images = Create<TCustomImageList>(16, 16);
    label->SetFocusControl(target);
    label->SetImages(images);
    label->SetImageIndex(0);
    target->Free();
    images->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_EQ(label->Images(), nullptr);
}

}  // namespace
