// Item toolbars that follow their content: items added, renamed or hidden
// after the bar is placed resize it (docked, floating, a plain child), and
// so does a control on it that grows; the layout's minimums (a thicker dock
// row, the bar's minimum size), the line count, and trial layouts that leave
// the bar alone.
#include <string>

#include "tests/toolbar/bar_fixture.h"
#include "tests/toolbar/event_fn.h"
#include "toolbar/bartoolbar.h"

namespace {

// A toolbar with a minimum client width.
class TMinimumToolbar : public TBarCustomToolbar {
    VX_CLASS(TMinimumToolbar, TBarCustomToolbar)
public:
    using TBarCustomToolbar::TBarCustomToolbar;
    int MinWidth = 0;
    void GetMinMaxSize(int& MinW, int& MinH, int& MaxW, int& MaxH) override {
        MinW = MinWidth;
        MinH = MaxW = MaxH = 0;
    }
};

// A control that counts the times it is moved or sized.
class TCountingControl : public TWinControl {
    VX_CLASS(TCountingControl, TWinControl)
public:
    using TWinControl::TWinControl;
    int Moves = 0;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override {
        ++Moves;
        TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    }
};

class AutoSize : public BarTest {
protected:
    template <class Bar = TBarCustomToolbar>
    Bar* NewToolbar(TForm* Form, int Buttons) {
        auto* bar = Create<Bar>(Form);
        for (int i = 0; i < Buttons; ++i) AddItem(bar, "Button " + std::to_string(i));
        return bar;
    }
    static TBarCustomItem* AddItem(TBarCustomToolbar* Bar, const std::string& Caption) {
        auto* item = Create<TBarCustomItem>(Bar->Owner());
        item->SetCaption(Caption);
        Bar->Items()->Add(item);
        return item;
    }
    static TBarItemViewer* Viewer(TBarCustomToolbar* Bar, TBarCustomItem* Item) {
        Bar->View()->ValidatePositions();
        return Bar->View()->Find(Item);
    }
    // Shown, not behind the chevron, and inside the bar's client area.
    static bool FullyShown(TBarCustomToolbar* Bar, TBarCustomItem* Item) {
        TBarItemViewer* viewer = Viewer(Bar, Item);
        return viewer->Show && !viewer->OffEdge && viewer->BoundsRect.Right <= Bar->ClientWidth() &&
               viewer->BoundsRect.Bottom <= Bar->ClientHeight();
    }
};

}  // namespace

TEST_F(AutoSize, ItemsChangedAfterTheBarIsPlacedResizeIt) {
    enum TPlace { Docked, Floating, PlainChild };
    for (TPlace place : {Docked, Floating, PlainChild}) {
        SCOPED_TRACE(place);
        TForm* form = ShownForm();
        TBarDock* dock = NewDock(form, dpTop);
        TBarCustomToolbar* bar = NewToolbar(form, 2);
        // A second bar right behind it in the same row.
        TTestBar* neighbour = nullptr;
        if (place == Docked) {
            bar->SetParent(dock);
            neighbour = NewBar(form, dock, 0, 0);
        } else if (place == Floating) {
            bar->SetParent(dock);
            bar->SetFloatingPosition(Point(300, 300));
            bar->SetFloating(true);
        } else {
            bar->SetParent(form);
        }
        Pump();
        const int width = bar->ClientWidth();

        TBarCustomItem* added = AddItem(bar, "A new button");
        Pump();
        EXPECT_GT(bar->ClientWidth(), width);
        EXPECT_TRUE(FullyShown(bar, added));
        if (place == Floating) {
            EXPECT_EQ(bar->FloatingWindowParent()->ClientWidth(), bar->ClientWidth());
        }

        const int before = bar->ClientWidth();
        added->SetCaption("A new button with a much longer caption");
        Pump();
        EXPECT_GT(bar->ClientWidth(), before);
        EXPECT_TRUE(FullyShown(bar, added));

        added->SetVisible(false);
        Pump();
        EXPECT_EQ(bar->ClientWidth(), width);
        if (neighbour) {
            EXPECT_EQ(neighbour->Left(), bar->Left() + bar->Width()) << "the dock arranged again";
        }
    }
}

TEST_F(AutoSize, AControlOnThePlacedBarThatGrowsWidensTheBar) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TBarCustomToolbar* bar = NewToolbar(form, 2);
    bar->SetParent(dock);
    auto* control = Create<TCountingControl>(form);
    control->SetBounds(0, 0, 40, 20);
    control->SetParent(bar);  // becomes a control item
    TTestBar* neighbour = NewBar(form, dock, 0, 0);
    Pump();
    const int width = bar->ClientWidth();
    control->SetWidth(100);
    Pump();
    EXPECT_EQ(bar->ClientWidth(), width + 60);
    EXPECT_EQ(neighbour->Left(), bar->Left() + bar->Width());
    EXPECT_EQ(control->Width(), 100);
}

TEST_F(AutoSize, ABarInAThickerRowCentresItsItemsAndStretchesItsSeparators) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TBarCustomToolbar* bar = NewToolbar(form, 1);
    TBarCustomItem* button = bar->Items()->Items(0);
    auto* separator = Create<TBarSeparatorItem>(form);
    bar->Items()->Add(separator);
    TBarCustomItem* after = AddItem(bar, "After");
    bar->SetParent(dock);
    NewBar(form, dock, 0, 300, {40, 40});
    Pump();
    ASSERT_EQ(bar->ClientHeight(), 40);
    const TRect r = Viewer(bar, button)->BoundsRect;
    EXPECT_LT(r.Height(), 40);
    EXPECT_EQ(r.Top, (40 - r.Height()) / 2);
    EXPECT_EQ(Viewer(bar, after)->BoundsRect.Top, r.Top);
    EXPECT_EQ(Viewer(bar, separator)->BoundsRect.Top, 0);
    EXPECT_EQ(Viewer(bar, separator)->BoundsRect.Bottom, 40);
}

TEST_F(AutoSize, ABarSizedBeforeItsRowGetsThinnerIsLaidOutAcrossTheNewRow) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TBarCustomToolbar* bar = NewToolbar(form, 1);
    bar->SetParent(dock);
    TTestBar* tall = NewBar(form, dock, 0, 300, {40, 40});
    Pump();
    ASSERT_EQ(bar->ClientHeight(), 40);
    tall->Want = {40, 10};
    dock->ArrangeToolbars();
    Pump();
    TBarCustomItem* button = bar->Items()->Items(0);
    const TRect r = Viewer(bar, button)->BoundsRect;
    EXPECT_LT(bar->ClientHeight(), 40);
    EXPECT_TRUE(FullyShown(bar, button));
    EXPECT_EQ(r.Top, (bar->ClientHeight() - r.Height()) / 2);
}

// User code run while the bar is sized (its resize event) changes the
// content: the bar follows once the sizing is over. Docked, the dock sizes
// it for a thicker bar joining the row; floating, an added item does.
TEST_F(AutoSize, ContentChangedWhileTheBarIsSizedResizesItAfterwards) {
    for (bool floating : {false, true})
        for (bool control : {false, true}) {
            SCOPED_TRACE(floating ? "floating" : "docked");
            SCOPED_TRACE(control ? "a control grows" : "an item is renamed");
            TEventFns fns;
            TForm* form = ShownForm();
            form->SetClientWidth(800);
            TBarDock* dock = NewDock(form, dpTop);
            TBarCustomToolbar* bar = NewToolbar(form, 2);
            auto* grows = Create<TCountingControl>(form);
            grows->SetBounds(0, 0, 40, 20);
            grows->SetParent(bar);  // becomes a control item
            bar->SetParent(dock);
            if (floating) {
                bar->SetFloatingPosition(Point(300, 300));
                bar->SetFloating(true);
            }
            Pump();
            TBarCustomItem* renamed = bar->Items()->Items(1);
            bool changed = false;
            bar->OnResize = fns.On<void(TObject*)>([&](TObject*) {
                if (changed) return;
                changed = true;
                if (control)
                    grows->SetWidth(200);
                else
                    renamed->SetCaption("A caption much longer than the one before");
            });
            TTestBar* neighbour = nullptr;
            if (floating)
                AddItem(bar, "Added");
            else
                neighbour = NewBar(form, dock, 0, 600, {40, 40});
            Pump();
            ASSERT_TRUE(changed);
            EXPECT_TRUE(FullyShown(bar, renamed));
            if (control) {
                EXPECT_EQ(grows->Width(), 200);
            }
            EXPECT_LE(grows->BoundsRect().Right, bar->ClientWidth());
            if (floating) {
                EXPECT_EQ(bar->FloatingWindowParent()->ClientWidth(), bar->ClientWidth());
            } else {
                EXPECT_EQ(neighbour->Top(), bar->Top()) << "one row";
            }
            bar->OnResize = nullptr;
        }
}

// A resize handler that changes the content every time is followed once,
// not for ever.
TEST_F(AutoSize, AResizeHandlerChangingTheContentEveryTimeLetsTheSizingEnd) {
    for (bool floating : {false, true}) {
        SCOPED_TRACE(floating ? "floating" : "docked");
        TEventFns fns;
        TForm* form = ShownForm();
        form->SetClientWidth(800);
        TBarDock* dock = NewDock(form, dpTop);
        TBarCustomToolbar* bar = NewToolbar(form, 2);
        bar->SetParent(dock);
        if (floating) {
            bar->SetFloatingPosition(Point(300, 300));
            bar->SetFloating(true);
        }
        Pump();
        TBarCustomItem* renamed = bar->Items()->Items(1);
        int resizes = 0;
        bar->OnResize = fns.On<void(TObject*)>([&](TObject*) {
            ++resizes;
            renamed->SetCaption(resizes % 2 ? "Short" : "A caption much longer than short");
        });
        if (floating)
            AddItem(bar, "Added");
        else
            NewBar(form, dock, 0, 600, {40, 40});
        Pump();
        EXPECT_GE(resizes, 2) << "the change was followed";
        EXPECT_LE(resizes, 6);
        bar->OnResize = nullptr;
    }
}

TEST_F(AutoSize, ARightAlignedItemReachesTheFarEndOfASingleLineBar) {
    TForm* form = ShownForm();
    auto* bar = NewToolbar<TMinimumToolbar>(form, 2);
    bar->MinWidth = 300;
    TBarCustomItem* right = AddItem(bar, "Help");
    right->SetItemStyle(right->ItemStyle() | isfRightAlign);
    bar->SetParent(form);
    Pump();
    EXPECT_EQ(bar->ClientWidth(), 300);
    EXPECT_EQ(Viewer(bar, right)->BoundsRect.Right, 300);
    EXPECT_LT(Viewer(bar, bar->Items()->Items(1))->BoundsRect.Right, Viewer(bar, right)->BoundsRect.Left);
}

TEST_F(AutoSize, WrappedLinesCountTheRowsOfTheLastLayout) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TBarCustomToolbar* bar = NewToolbar(form, 6);
    bar->SetMenuBar(true);
    bar->SetParent(dock);
    form->SetClientWidth(800);
    Pump();
    EXPECT_EQ(bar->WrappedLines(), 1);
    form->SetClientWidth(150);
    Pump();
    EXPECT_GE(bar->WrappedLines(), 2);
    EXPECT_EQ(bar->WrappedLines(), bar->View()->WrappedLines());
}

TEST_F(AutoSize, TrialLayoutsOfAFloatingResizeMoveNothing) {
    TForm* form = ShownForm();
    TBarCustomToolbar* bar = NewToolbar(form, 6);
    bar->SetParent(NewDock(form, dpTop));
    auto* control = Create<TCountingControl>(form);
    control->SetBounds(0, 0, 50, 20);
    control->SetParent(bar);  // becomes a control item
    bar->SetFloatingPosition(Point(300, 300));
    bar->SetFloating(true);
    Pump();
    bar->ChevronItem()->SetEnabled(true);
    const TRect place = control->BoundsRect();
    control->Moves = 0;
    const std::vector<TBarFloatSize> sizes = bar->BuildFloatSizes();
    EXPECT_GE(sizes.size(), 3u);
    EXPECT_EQ(control->Moves, 0);
    EXPECT_EQ(control->BoundsRect(), place);
    EXPECT_TRUE(bar->ChevronItem()->Enabled());
}
