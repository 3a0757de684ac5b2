// Image lists drawn into bitmaps whose pixels are read back: masks by colour
// and by bitmap, greyed drawing, icons in and out, change links, and no
// handles left behind.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "classlib/graphics/imagelist.h"

namespace {

TOwned<TBitmap> Filled(int width, int height, TColor color, TRect square = {}, TColor inside = clNone) {
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    if (inside == clNone) return bitmap;
    bitmap->Canvas()->Brush()->SetColor(inside);
    bitmap->Canvas()->FillRect(square);
    return bitmap;
}

// 16x16 fuchsia with a red square on 4..11.
TOwned<TBitmap> Glyph() {
    return Filled(16, 16, clFuchsia, Rect(4, 4, 12, 12), clRed);
}

struct Counter {
    int count = 0;
    TObject* sender = nullptr;
    void Changed(TObject* Sender) { ++count, sender = Sender; }
    TNotifyEvent Event() { return TNotifyEvent(this, &Counter::Changed); }
};

}  // namespace

TEST(ImageList, AddMaskedShowsTheBackgroundOnlyWhereTheMaskColourWas) {
    const std::pair<TColor, TColor> cases[] = {{clFuchsia, clLime}, {clNone, clFuchsia}};  // mask, corner
    for (const auto& [maskColor, corner] : cases) {
        TOwned<TImageList> list(Create<TImageList>(nullptr));
        auto glyph = Glyph();
        ASSERT_EQ(list->AddMasked(glyph.get(), maskColor), 0);
        EXPECT_EQ(glyph->PixelColor(0, 0), clFuchsia) << "the caller's bitmap is left alone";

        auto target = Filled(20, 20, clLime);
        list->Draw(target->Canvas(), 2, 2, 0);
        EXPECT_EQ(target->PixelColor(2, 2), corner) << maskColor;
        EXPECT_EQ(target->PixelColor(9, 9), clRed);
        EXPECT_EQ(target->PixelColor(1, 1), clLime) << "nothing outside the cell";

        auto got = Filled(16, 16, clLime);
        ASSERT_TRUE(list->GetBitmap(0, got.get()));
        EXPECT_EQ(got->PixelColor(0, 0), corner);
        EXPECT_EQ(got->PixelColor(8, 8), clRed);
    }
}

TEST(ImageList, AddWithAMaskShowsTheBackgroundWhereTheMaskIsWhite) {
    TOwned<TImageList> list(Create<TImageList>(nullptr));
    auto image = Filled(32, 16, clBlue, Rect(16, 0, 32, 16), clYellow);  // two cells
    auto mask = Filled(32, 16, clWhite, Rect(4, 4, 12, 12), clBlack);
    mask->SetMonochrome(true);
    EXPECT_EQ(list->Add(image.get(), mask.get()), 0);
    EXPECT_EQ(list->Add(image.get(), nullptr), 2);
    EXPECT_EQ(list->Add(nullptr, nullptr), -1);
    EXPECT_EQ(list->Count(), 4);

    const TColor expected[][2] = {{clLime, clBlue}, {clLime, clLime}, {clBlue, clBlue}, {clYellow, clYellow}};
    for (int index = 0; index < 4; ++index) {
        auto target = Filled(16, 16, clLime);
        list->Draw(target->Canvas(), 0, 0, index);
        EXPECT_EQ(target->PixelColor(0, 0), expected[index][0]) << index;
        EXPECT_EQ(target->PixelColor(8, 8), expected[index][1]) << index;
    }
}

TEST(ImageList, DisabledDrawIsGreyed) {
    TOwned<TImageList> list(Create<TImageList>(nullptr));
    auto glyph = Glyph();
    list->AddMasked(glyph.get(), clFuchsia);
    auto enabled = Filled(20, 20, clLime), disabled = Filled(20, 20, clLime);
    list->Draw(enabled->Canvas(), 0, 0, 0, true);
    list->Draw(disabled->Canvas(), 0, 0, 0, false);
    EXPECT_EQ(enabled->PixelColor(8, 8), clRed);
    EXPECT_EQ(disabled->PixelColor(8, 8), TColor(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(disabled->PixelColor(12, 12), TColor(ColorToRGB(clBtnHighlight))) << "edge below and right";
    EXPECT_EQ(disabled->PixelColor(0, 0), clLime) << "the background stays";
}

TEST(ImageList, GetIconAndAddIconRoundTrip) {
    TOwned<TImageList> list(Create<TImageList>(nullptr));
    auto glyph = Glyph();
    list->AddMasked(glyph.get(), clFuchsia);
    TOwned<TIcon> icon(Create<TIcon>());
    ASSERT_TRUE(list->GetIcon(0, icon.get()));
    EXPECT_FALSE(list->GetIcon(1, icon.get()));
    EXPECT_EQ(icon->Width(), 16);
    ASSERT_EQ(list->AddIcon(icon.get()), 1);

    auto drawnIcon = Filled(16, 16, clLime), drawnImage = Filled(16, 16, clLime);
    drawnIcon->Canvas()->Draw(0, 0, icon.get());
    list->Draw(drawnImage->Canvas(), 0, 0, 1);
    for (const auto& target : {drawnIcon.get(), drawnImage.get()}) {
        EXPECT_EQ(target->PixelColor(0, 0), clLime);
        EXPECT_EQ(target->PixelColor(8, 8), clRed);
    }
}

TEST(ImageList, IndexesOutsideTheListAreRefused) {
    TOwned<TImageList> list(Create<TImageList>(nullptr));
    auto glyph = Glyph();
    list->AddMasked(glyph.get(), clNone);
    const std::function<void()> refused[] = {[&] { list->Delete(-1); }, [&] { list->Delete(1); },
                                             [&] { list->Replace(1, glyph.get(), nullptr); },
                                             [&] { list->ReplaceIcon(-1, nullptr); }};
    for (const auto& call : refused) EXPECT_THROW(call(), EInvalidOperation);
    EXPECT_EQ(list->Count(), 1) << "Delete(-1) must not empty the list";
    EXPECT_THROW(list->SetWidth(0), EInvalidOperation);
}

TEST(ChangeLink, EveryChangeReachesEachLinkOnce) {
    TOwned<TImageList> list(Create<TImageList>(nullptr));
    auto glyph = Glyph();
    TOwned<TIcon> icon(Create<TIcon>());
    list->AddMasked(glyph.get(), clFuchsia);
    list->GetIcon(0, icon.get());
    Counter first, second, own;
    TOwned<TChangeLink> a(Create<TChangeLink>()), b(Create<TChangeLink>());
    a->OnChange = first.Event();
    b->OnChange = second.Event();
    list->RegisterChanges(a.get());
    b->SetSender(list.get());
    list->OnChange = own.Event();

    const std::pair<const char*, std::function<void()>> changes[] = {
        {"Add", [&] { list->Add(glyph.get(), nullptr); }},
        {"AddMasked", [&] { list->AddMasked(glyph.get(), clFuchsia); }},
        {"AddIcon", [&] { list->AddIcon(icon.get()); }},
        {"Replace", [&] { list->Replace(0, glyph.get(), nullptr); }},
        {"ReplaceIcon", [&] { list->ReplaceIcon(0, icon.get()); }},
        {"Delete", [&] { list->Delete(0); }},
        {"Width empties",
         [&] {
             list->SetWidth(20);
             EXPECT_EQ(list->Count(), 0);
         }},
        {"Height", [&] { list->SetHeight(20); }},
        {"Clear", [&] { list->Clear(); }},
        {"BkColor", [&] { list->SetBkColor(clRed); }},
        {"DrawingStyle", [&] { list->SetDrawingStyle(dsTransparent); }},
        {"three in one update",
         [&] {
             list->BeginUpdate(), list->BeginUpdate(), list->AddMasked(glyph.get(), clNone);
             list->EndUpdate(), list->AddMasked(glyph.get(), clNone), list->Delete(0), list->EndUpdate();
         }},
    };
    for (const auto& [name, change] : changes) {
        first.count = second.count = own.count = 0;
        change();
        EXPECT_EQ(first.count, 1) << name;
        EXPECT_EQ(second.count, 1) << name;
        EXPECT_EQ(own.count, 1) << name;
        EXPECT_EQ(first.sender, list.get()) << name;
    }
    first.count = 0;
    list->SetBkColor(clRed);
    list->BeginUpdate(), list->EndUpdate();
    EXPECT_EQ(first.count, 0) << "no change, no notice";
}

TEST(ChangeLink, LinksAndListsLetGoOfEachOther) {
    TOwned<TImageList> list(Create<TImageList>(nullptr)), other(Create<TImageList>(nullptr));
    Counter kept, moved;
    TOwned<TChangeLink> keep(Create<TChangeLink>()), gone(Create<TChangeLink>()), link(Create<TChangeLink>());
    keep->OnChange = kept.Event();
    link->OnChange = moved.Event();
    list->RegisterChanges(gone.get());
    list->RegisterChanges(keep.get());
    gone.reset();  // a freed link is no longer called
    list->RegisterChanges(link.get());
    other->RegisterChanges(link.get());  // a link watches one list
    EXPECT_EQ(link->Sender(), other.get());
    list->Clear();
    EXPECT_EQ(kept.count, 1);
    EXPECT_EQ(moved.count, 0);
    link.reset();
    other->Clear();

    // A handler taking its own link off does not keep the others from hearing.
    struct Leaver {
        TChangeLink* link;
        void Changed(TObject*) { link->Sender()->UnRegisterChanges(link); }
    };
    TOwned<TChangeLink> leaving(Create<TChangeLink>());
    Leaver leaver{leaving.get()};
    leaving->OnChange = TNotifyEvent(&leaver, &Leaver::Changed);
    list->UnRegisterChanges(keep.get());
    list->RegisterChanges(leaving.get());
    list->RegisterChanges(keep.get());
    list->Clear();
    EXPECT_EQ(leaving->Sender(), nullptr);
    EXPECT_EQ(kept.count, 2);

    list.reset();  // a freed list lets its links go
    EXPECT_EQ(keep->Sender(), nullptr);
}

TEST(ImageList, AThousandAddClearCyclesLeaveNoHandles) {
    const long gdi = GdiHandleCount(), users = UserHandleCount();
    {
        auto glyph = Glyph(), target = Filled(20, 20, clLime);
        TOwned<TIcon> icon(Create<TIcon>());
        TOwned<TImageList> list(Create<TImageList>(nullptr));
        long gdiInUse = 0, usersInUse = 0;
        for (int i = 0; i < 1000; ++i) {
            list->AddMasked(glyph.get(), clFuchsia);
            list->Add(glyph.get(), glyph.get());
            list->GetIcon(0, icon.get());
            list->AddIcon(icon.get());
            list->Draw(target->Canvas(), 0, 0, 2, i % 2 == 0);
            list->GetBitmap(1, target.get());
            list->Clear();
            if (i == 0) gdiInUse = GdiHandleCount(), usersInUse = UserHandleCount();
        }
        EXPECT_EQ(GdiHandleCount(), gdiInUse) << "as after the first cycle";
        EXPECT_EQ(UserHandleCount(), usersInUse);
    }
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), users);
}
