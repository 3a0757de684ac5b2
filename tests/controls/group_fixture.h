// Shared by the group-bar tests: a bar on the test form with groups made in
// one call, and a click on an item where it was laid out.
#pragma once

#include <string>
#include <vector>

#include "controls/scgroup.h"
#include "controls/scgroupbar.h"
#include "tests/controls/controls_fixture.h"

class GroupBarTest : public ControlsTest {
protected:
    TScGroupBar* NewBar(int Height = 220, TScGroupBarStyle Style = gbsCategoryView) {
        TScGroupBar* bar = Create<TScGroupBar>(form);
        bar->SetAlign(alNone);
        bar->SetParent(form);
        bar->SetBounds(0, 0, 160, Height);
        bar->SetStyle(Style);
        return bar;
    }
    TScGroup* NewGroup(TScGroupBar* Bar, const std::string& Caption, std::vector<std::string> Items = {}) {
        TScGroup* group = Create<TScGroup>(form);
        group->SetCaption(Caption);
        for (const std::string& caption : Items) {
            TScGroupItem* item = group->Items()->Add();
            item->SetCaption(caption);
            item->OnClick = TNotifyEvent(this, &GroupBarTest::Clicked);
        }
        group->SetGroupBar(Bar);
        return group;
    }
public:
    void Clicked(TObject* Sender) { clicked.push_back(static_cast<TScGroupItem*>(Sender)->Caption()); }

    static TPoint CenterOf(const TRect& R) { return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }
    static void ClickItem(TScGroup* Group, TScGroupItem* Item) {
        const TPoint p = CenterOf(Item->CaptionRect());
        Press(Group, p.X, p.Y);
        Release(Group, p.X, p.Y);
    }
    static void ClickCaption(TScGroup* Group) {
        Press(Group, 10, 5);
        Release(Group, 10, 5);
    }

    std::vector<std::string> clicked;
};
