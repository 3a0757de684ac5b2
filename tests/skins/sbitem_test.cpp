// Skinned items without windows: wide caption and hint against the 8-bit
// ones, change notifications, the attached control, actions and hint text.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"
#include "classlib/windows/actions.h"
#include "classlib/windows/controls.h"
#include "skins/sbitem.h"
#include "skins/sbviewer.h"
#include "tests/support/code_page.h"

namespace {

struct TNotices {
    std::vector<TBarItemChangedAction> Seen;
    static void Record(void* Data, TBarCustomItem*, bool, TBarItemChangedAction Action, int,
                       TBarCustomItem*) {
        static_cast<TNotices*>(Data)->Seen.push_back(Action);
    }
};

struct SkinnedItem : ::testing::Test {
    TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    TBarRootItem* root = Create<TBarRootItem>(owner.get());
    TSbItem* item = Create<TSbItem>(owner.get());
    TNotices notices;
    void SetUp() override {
        root->Add(item);
        root->RegisterNotification(&TNotices::Record, &notices);
    }
    void TearDown() override { root->UnregisterNotification(&TNotices::Record, &notices); }
};

TEST_F(SkinnedItem, CaptionNotifiesOnlyWhatChanged) {
    item->SetCaption(L"&Open");
    EXPECT_EQ(item->AnsiCaption(), "&Open");
    ASSERT_EQ(notices.Seen.size(), 1u);
    item->SetCaption(L"&Open");
    EXPECT_EQ(notices.Seen.size(), 1u) << "the same caption again";
}

TEST_F(SkinnedItem, CaptionOutsideTheCodePageIsKeptAndOnlyResizesAsTyped) {
    ExpectTheRunsCodePage();
    // Thai letters have no place in the Western, Japanese or Chinese code
    // page: both turn into the same 8-bit text.
    ASSERT_EQ(ToAnsi(L"Disk \u0E01"), ToAnsi(L"Disk \u0E02"));
    item->SetCaption(L"Disk \u0E01");
    const std::string ansi = item->AnsiCaption();
    notices.Seen.clear();
    item->SetCaption(L"Disk \u0E02");
    EXPECT_EQ(item->AnsiCaption(), ansi);
    EXPECT_EQ(item->Caption(), L"Disk \u0E02") << "measured and drawn as given, never replaced";
    ASSERT_EQ(notices.Seen.size(), 1u);
    EXPECT_EQ(notices.Seen[0], tbicInvalidateAndResize);
}

TEST_F(SkinnedItem, EightBitCaptionSetElsewhereWins) {
    item->SetCaption(L"Wide");
    item->TBarCustomItem::SetCaption("Plain");
    EXPECT_EQ(item->Caption(), L"Plain");
    item->SetHint(L"Short|Long");
    EXPECT_EQ(item->AnsiHint(), "Short|Long");
}

TEST_F(SkinnedItem, SettersNotifyRepaintOrResize) {
    struct Row {
        const char* name;
        void (*set)(TSbItem*);
        TBarItemChangedAction want;
    } rows[] = {
        {"Alignment", [](TSbItem* i) { i->SetAlignment(taRightJustify); }, tbicInvalidate},
        {"CaptionGlow", [](TSbItem* i) { i->SetCaptionGlow(gldAll); }, tbicInvalidate},
        {"Wrapping", [](TSbItem* i) { i->SetWrapping(twNone); }, tbicInvalidate},
        {"CustomWidth", [](TSbItem* i) { i->SetCustomWidth(40); }, tbicInvalidateAndResize},
        {"MinHeight", [](TSbItem* i) { i->SetMinHeight(30); }, tbicInvalidateAndResize},
        {"Margins", [](TSbItem* i) { i->SetMargins(4); }, tbicInvalidateAndResize},
        {"FontSettings", [](TSbItem* i) { i->FontSettings()->SetSize(150); }, tbicInvalidateAndResize},
    };
    for (const Row& row : rows) {
        notices.Seen.clear();
        row.set(item);
        ASSERT_EQ(notices.Seen.size(), 1u) << row.name;
        EXPECT_EQ(notices.Seen[0], row.want) << row.name;
    }
    notices.Seen.clear();
    item->SetAnchored(true);
    EXPECT_TRUE(notices.Seen.empty()) << "Anchored is stored only";
}

TEST_F(SkinnedItem, ControlFollowsClicksAndLeavesWhenFreed) {
    TControl* control = Create<TControl>(owner.get());
    control->SetVisible(true);
    item->SetControl(control);
    EXPECT_TRUE(item->Checked()) << "the checked state shows the control's visibility";
    item->Click();
    EXPECT_FALSE(control->Visible());
    item->InitiateAction();
    EXPECT_FALSE(item->Checked());
    control->Free();
    EXPECT_EQ(item->Control(), nullptr);
    item->Click();  // nothing left to toggle
}

TEST_F(SkinnedItem, ActionGivesCaptionAndHint) {
    TAction* action = Create<TAction>(owner.get());
    action->SetCaption("&Refresh");
    action->SetHint("Refresh|Reads every drive again");
    item->SetAction(action);
    EXPECT_EQ(item->Caption(), L"&Refresh");
    EXPECT_EQ(item->Hint(), L"Refresh|Reads every drive again");
    action->SetCaption("Re&load");
    EXPECT_EQ(item->Caption(), L"Re&load");
}

TEST_F(SkinnedItem, OldFormsWideCaptionAndHintAreRead) {
    TSbCustomItem::PublishProperties();  // as the items unit's start-up does
    TOwned<TMemoryStream> stream = MakeOwned<TMemoryStream>();
    {
        TOwned<TWriter> writer = MakeOwned<TWriter>(stream.get());
        writer->WriteStr("CaptionW");
        writer->WriteWideString(L"Disk \u03A9");
        writer->WriteStr("HintW");
        writer->WriteString("Drives|Every drive");  // a plain string is taken as well
        writer->WriteStr("Caption_UTF7");
        writer->WriteString("+AGE-");  // the newer copy: read and dropped
        writer->WriteListEnd();
    }
    stream->SetPosition(0);
    ReadObjectProperties(stream.get(), item);
    EXPECT_EQ(item->Caption(), L"Disk \u03A9");
    EXPECT_EQ(item->Hint(), L"Drives|Every drive");
}

TEST(SkinnedItemKinds, LabelsPassClicksAndDoNotStretch) {
    TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    auto* label = Create<TSbLabelItem>(owner.get());
    EXPECT_FALSE(label->ItemStyle() & isfSelectable);
    EXPECT_TRUE(label->ItemStyle() & isfClicksTransparent);
    EXPECT_EQ(label->Alignment(), taLeftJustify);
    EXPECT_EQ(label->DisplayMode(), nbdmImageAndText);
    EXPECT_FALSE(label->Stretch());
    EXPECT_TRUE(Create<TSbItem>(owner.get())->Stretch());
    auto* submenu = Create<TSbSubmenuItem>(owner.get());
    EXPECT_TRUE(submenu->ItemStyle() & isfSubmenu);
    submenu->SetDropdownCombo(true);
    EXPECT_TRUE(submenu->ItemStyle() & isfCombo);
    submenu->SetToolBoxPopup(true);
    EXPECT_TRUE(submenu->Options().Contains(tboToolbarStyle));
}

TEST(SkinnedHint, TextRules) {
    struct Row {
        const wchar_t* hint;
        const wchar_t* caption;
        bool autoHint;
        const wchar_t* shortcut;
        const wchar_t* want;
    } rows[] = {
        {L"Short|A longer text", L"Item", true, L"", L"Short"},
        {L"Whole hint", L"Item", true, L"", L"Whole hint"},
        {L"", L"&Settings...", true, L"", L"Settings"},
        {L"", L"Drive:", true, L"", L"Drive"},
        {L"", L"&Open\tCtrl+O", true, L"", L"Open"},
        {L"", L"Item", false, L"", L""},
        {L"Open", L"Item", true, L"Ctrl+O", L"Open (Ctrl+O)"},
        {L"", L"", true, L"Ctrl+O", L""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SbHintText(row.hint, row.caption, row.autoHint, row.shortcut), row.want) << row.caption;
}

}  // namespace
