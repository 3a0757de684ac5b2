// Alignment and anchors: aligned children fill the parent's edges in order,
// anchored children keep their distances when the parent is resized.
#include "tests/classlib/windows/window_test.h"

namespace {

TWinControl* Child(TWinControl* parent, TAlign align, int l, int t, int w, int h) {
    auto* child = Create<TWinControl>(parent);
    child->SetBounds(l, t, w, h);
    child->SetAlign(align);
    child->SetParent(parent);
    return child;
}

class TInsetPanel : public TWinControl {
    VX_CLASS(TInsetPanel, TWinControl)
public:
    using TWinControl::TWinControl;
    void AdjustClientRect(TRect& R) override { R = InflateRect(R, -5, -5); }
};

}  // namespace

using Layout = WindowTest;

TEST_F(Layout, AlignedChildrenFillTheEdgesAndFollowAResize) {
    TForm* form = NewForm();
    auto* panel = Create<TWinControl>(form);
    panel->SetBounds(0, 0, 200, 100);
    panel->SetParent(form);
    TWinControl* top = Child(panel, alTop, 0, 0, 10, 20);
    TWinControl* bottom = Child(panel, alBottom, 0, 0, 10, 10);
    TWinControl* left = Child(panel, alLeft, 0, 0, 30, 10);
    TWinControl* right = Child(panel, alRight, 0, 0, 40, 10);
    TWinControl* client = Child(panel, alClient, 0, 0, 1, 1);
    struct Case {
        TWinControl* control;
        TRect expected;
    } before[] = {{top, Rect(0, 0, 200, 20)},
                  {bottom, Rect(0, 90, 200, 100)},
                  {left, Rect(0, 20, 30, 90)},
                  {right, Rect(160, 20, 200, 90)},
                  {client, Rect(30, 20, 160, 90)}};
    for (const auto& c : before) EXPECT_EQ(c.control->BoundsRect(), c.expected);

    form->Show();
    panel->SetBounds(0, 0, 300, 150);
    Case after[] = {{top, Rect(0, 0, 300, 20)},
                    {bottom, Rect(0, 140, 300, 150)},
                    {left, Rect(0, 20, 30, 140)},
                    {right, Rect(260, 20, 300, 140)},
                    {client, Rect(30, 20, 260, 140)}};
    for (const auto& c : after) EXPECT_EQ(c.control->BoundsRect(), c.expected);
}

TEST_F(Layout, TheControlBeingMovedWinsItsPlaceAmongEquals) {
    TForm* form = NewForm();
    auto* panel = Create<TWinControl>(form);
    panel->SetBounds(0, 0, 100, 100);
    panel->SetParent(form);
    TWinControl* a = Child(panel, alTop, 0, 0, 10, 10);
    TWinControl* b = Child(panel, alTop, 0, 10, 10, 10);
    EXPECT_EQ(a->Top(), 0);
    EXPECT_EQ(b->Top(), 10);
    b->SetTop(0);
    EXPECT_EQ(b->Top(), 0);
    EXPECT_EQ(a->Top(), 10);
}

TEST_F(Layout, AdjustClientRectInsetsTheAlignedArea) {
    TForm* form = NewForm();
    auto* panel = Create<TInsetPanel>(form);
    panel->SetBounds(0, 0, 100, 100);
    panel->SetParent(form);
    TWinControl* client = Child(panel, alClient, 0, 0, 1, 1);
    EXPECT_EQ(client->BoundsRect(), Rect(5, 5, 95, 95));
}

TEST_F(Layout, AnchoredChildrenKeepTheirDistancesAfterAResize) {
    TForm* form = NewForm();
    auto* panel = Create<TWinControl>(form);
    panel->SetBounds(0, 0, 200, 100);
    panel->SetParent(form);
    struct Case {
        TAnchors anchors;
        TRect expected;
    } cases[] = {
        {{akLeft, akTop}, Rect(10, 10, 60, 30)},
        {{akRight, akBottom}, Rect(110, 60, 160, 80)},
        {{akLeft, akRight, akTop}, Rect(10, 10, 160, 30)},
        {{akLeft, akTop, akBottom}, Rect(10, 10, 60, 80)},
        {{akTop}, Rect(60, 10, 110, 30)},
    };
    std::vector<TWinControl*> children;
    for (const auto& c : cases) {
        TWinControl* child = Child(panel, alNone, 10, 10, 50, 20);
        child->SetAnchors(c.anchors);
        children.push_back(child);
    }
    form->Show();
    panel->SetBounds(0, 0, 300, 150);
    for (size_t i = 0; i < children.size(); ++i) EXPECT_EQ(children[i]->BoundsRect(), cases[i].expected) << i;
}
