// The spin edit: values stay within MinValue..MaxValue whether set, stepped
// by the arrows and keys, or typed; only digits can be typed.
#include "classlib/stdctrls/spinedit.h"

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
