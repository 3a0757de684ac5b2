// Shared by the styled-control tests: a shown form to put controls on,
// mouse and key messages delivered straight to a control, and a control
// painted into a bitmap to read its pixels.
#pragma once

#include <gtest/gtest.h>

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/controls.h"
#include "tests/classlib/windows/window_test.h"

class ControlsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = NewForm(100, 100, 320, 240);
        form->Show();
        Pump();
    }
    void TearDown() override {
        WindowTest::TearDown();
        EXPECT_TRUE(exceptions.empty()) << exceptions.front();
    }

    template <class T>
    T* Add(int Left, int Top, int Width, int Height) {
        T* control = Create<T>(form);
        control->SetParent(form);
        control->SetBounds(Left, Top, Width, Height);
        return control;
    }

    static void Press(TControl* Control, int X, int Y) {
        Control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(X, Y));
    }
    static void Move(TControl* Control, int X, int Y) {
        Control->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(X, Y));
    }
    static void Release(TControl* Control, int X, int Y) {
        Control->Perform(WM_LBUTTONUP, 0, PointToLParam(X, Y));
    }

    // The control's look as it paints itself, on a bitmap of its size.
    static TOwned<TBitmap> Painted(TWinControl* Control) {
        TOwned<TBitmap> shot(Create<TBitmap>());
        shot->SetSize(Control->Width(), Control->Height());
        Control->PaintTo(shot->Canvas()->Handle(), 0, 0);
        return shot;
    }

    TForm* form = nullptr;
};
