// The spin edit: values stay within MinValue..MaxValue whether set, stepped
// by the arrows and keys, or typed; only digits can be typed; the arrows stay
// drawn whatever the edit draws.
#include "classlib/stdctrls/spinedit.h"

#include <functional>
#include <vector>

#include "classlib/stdctrls/edit.h"
#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

class SpinEdit : public WindowTest {
protected:
    TSpinEdit* NewSpin(int Min, int Max) {
        TForm* form = NewForm(40, 40, 300, 120);
        auto* spin = Create<TSpinEdit>(form);
        spin->SetParent(form);
        spin->SetBounds(10, 10, 80, 24);
        spin->SetMinValue(Min);
        spin->SetMaxValue(Max);
        form->Show();
        SetForegroundWindow(form->Handle());
        spin->SetFocus();
        Pump();
        return spin;
    }
};

}  // namespace

TEST_F(SpinEdit, SetValuesAreBroughtWithinTheBounds) {
    TSpinEdit* spin = NewSpin(0, 10);
    const struct { int set, got; } cases[] = {{5, 5}, {10, 10}, {11, 10}, {-3, 0}, {0, 0}};
    for (auto c : cases) {
        spin->SetValue(c.set);
        EXPECT_EQ(spin->Value(), c.got) << c.set;
        EXPECT_EQ(spin->Text(), std::to_string(c.got));
    }
    spin->SetMaxValue(0);
    spin->SetValue(1000);
    EXPECT_EQ(spin->Value(), 1000) << "equal bounds: no bounds";
}

TEST_F(SpinEdit, ArrowsAndKeysStepByTheIncrementUpToTheBounds) {
    TSpinEdit* spin = NewSpin(0, 10);
    spin->SetIncrement(4);
    spin->SetValue(5);
    PressKeys({VK_UP});
    ASSERT_TRUE(PumpUntil([&] { return spin->Value() == 9; })) << spin->Text();
    PressKeys({VK_UP});
    ASSERT_TRUE(PumpUntil([&] { return spin->Value() == 10; })) << spin->Text();
    PressKeys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
    ASSERT_TRUE(PumpUntil([&] { return spin->Value() == 0; })) << spin->Text();

    // The arrow buttons: a click on the upper half steps up.
    HWND arrows = FindWindowExW(spin->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(arrows, nullptr);
    RECT r{};
    GetWindowRect(arrows, &r);
    ClickAt(Point((r.left + r.right) / 2, r.top + (r.bottom - r.top) / 4));
    ASSERT_TRUE(PumpUntil([&] { return spin->Value() == 4; })) << spin->Text();
}

TEST_F(SpinEdit, OnlyDigitsCanBeTyped) {
    TSpinEdit* spin = NewSpin(0, 100);
    spin->SetText("");
    TypeText("4x-2");
    ASSERT_TRUE(PumpUntil([&] { return spin->Text() == "42"; })) << spin->Text();
    EXPECT_EQ(spin->Value(), 42);
    spin->SetText("abc");
    EXPECT_EQ(spin->Value(), 0) << "not a number reads as MinValue";
}

namespace {

// The arrows as they show now, read without asking anything to repaint.
std::vector<TColor> ArrowPixels(HWND Arrows) {
    TOwned<TBitmap> shot = CopyClient(Arrows);
    std::vector<TColor> pixels;
    for (int y = 0; y < shot->Height(); ++y)
        for (int x = 0; x < shot->Width(); ++x) pixels.push_back(shot->PixelColor(x, y));
    return pixels;
}

}  // namespace

TEST_F(SpinEdit, TheArrowsStayDrawnThroughClicksTypingAndFocusChanges) {
    // Away from where the arrows come, which light up under the mouse.
    SendFromThread({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Point(5, 5))});
    TForm* form = NewForm(40, 40, 300, 120);
    auto* spin = Create<TSpinEdit>(form);
    spin->SetParent(form);
    spin->SetBounds(10, 10, 80, 24);
    spin->SetMaxValue(1000);
    auto* other = Create<TEdit>(form);
    other->SetParent(form);
    other->SetBounds(120, 10, 80, 24);
    form->Show();
    SetForegroundWindow(form->Handle());
    other->SetFocus();
    Pump();
    HWND arrows = FindWindowExW(spin->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(arrows, nullptr);
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::vector<TColor> drawn = ArrowPixels(arrows);

    RECT box{};
    GetWindowRect(spin->Handle(), &box);
    const struct {
        const char* step;
        std::function<void()> act;
    } steps[] = {
        {"a click into the field", [&] { ClickAt(Point(box.left + 8, (box.top + box.bottom) / 2)); }},
        {"a typed digit", [] { TypeText("7"); }},
        {"the focus leaving", [&] { other->SetFocus(); }},
        {"the focus coming back", [&] { spin->SetFocus(); }},
    };
    for (const auto& step : steps) {
        step.act();
        Sleep(100);
        Pump();
        EXPECT_EQ(ArrowPixels(arrows), drawn) << step.step;
    }
    EXPECT_NE(spin->Text().find('7'), std::string::npos) << "the click and the digit reached the field";
}
