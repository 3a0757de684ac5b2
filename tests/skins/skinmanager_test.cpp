#include <gtest/gtest.h>

#include <functional>

#include "classlib/windows/controls.h"
#include "classlib/windows/themes.h"
#include "skin_test_support.h"

namespace {

class TReceiver : public TControl {
    VX_CLASS(TReceiver, TControl)
public:
    explicit TReceiver(TComponent* AOwner) : TControl(AOwner) {}

    TSbSkinManager* Manager = nullptr;
    int Messages = 0;
    std::function<void()> OnSkinChange;

    void Listen(TSbSkinManager* AManager) {
        Manager = AManager;
        Manager->AddSkinNotification(this);
    }
    void BeforeDestruction() override {
        if (Manager) Manager->RemoveSkinNotification(this);
        inherited::BeforeDestruction();
    }

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == SM_SKINCHANGE) {
            ++Messages;
            if (OnSkinChange) OnSkinChange();
            return;
        }
        inherited::WndProc(Message);
    }
};

class TThrowingSkin : public TSbSkinOptions {
    VX_CLASS(TThrowingSkin, TSbSkinOptions)
protected:
    void FillOptions() override { throw EConvertError("cannot fill"); }
};

struct ManagerFixture : ::testing::Test {
    TThemesEnabledOverride themes{false};
    TOwned<TSbSkinManager> manager = MakeOwned<TSbSkinManager>();
    void SetUp() override {
        manager->SkinsList()->AddSkin("Blue", TSbOffice2007BlueSkin::ClassInfo());
        manager->SkinsList()->AddSkin("Leopard", TSbLeopardSkin::ClassInfo());
        manager->SkinsList()->AddSkin("Broken", TThrowingSkin::ClassInfo());
    }
    TOwned<TReceiver> Receiver() {
        TOwned<TReceiver> receiver = MakeOwned<TReceiver>(nullptr);
        receiver->Listen(manager.get());
        return receiver;
    }
};

TEST_F(ManagerFixture, SelectingANameBuildsAFreshSkinAndTellsEveryReceiverOnce) {
    TOwned<TReceiver> a = Receiver(), b = Receiver();
    EXPECT_EQ(manager->AddSkinNotification(a.get()), 0);  // registered twice, told once
    manager->SetSkin("blue");
    const TSbSkinOptions* first = manager->CurrentSkin().get();
    EXPECT_EQ(first->SkinName, "Office 2007 Blue");
    EXPECT_EQ(manager->GetSkinType(), sknSkin);
    manager->SetSkin("Blue");
    EXPECT_NE(manager->CurrentSkin().get(), first);
    EXPECT_EQ(a->Messages, 2);
    EXPECT_EQ(b->Messages, 2);
}

TEST_F(ManagerFixture, DefaultInAnyCaseEmptiesTheSkin) {
    TOwned<TReceiver> a = Receiver();
    manager->SetSkin("Leopard");
    for (const char* name : {"default", "DEFAULT", "Default"}) {
        manager->SetSkin("Leopard");
        manager->SetSkin(name);
        EXPECT_TRUE(manager->IsDefaultSkin());
        EXPECT_EQ(manager->CurrentSkin()->ClassType(), TSbLeopardSkin::ClassInfo());
        EXPECT_TRUE(manager->CurrentSkin()->Options(skncDock)->IsEmpty());
        EXPECT_EQ(manager->GetSkinType(), sknNone);
    }
    EXPECT_EQ(a->Messages, 7);
    TThemesEnabledOverride themed(true);
    manager->SetSkin("default");
    EXPECT_EQ(manager->GetSkinType(), sknWindows);
}

TEST_F(ManagerFixture, UnknownNameChangesNothing) {
    TOwned<TReceiver> a = Receiver();
    const auto before = manager->CurrentSkin();
    manager->SetSkin("No such skin");
    EXPECT_EQ(manager->CurrentSkin(), before);
    EXPECT_EQ(a->Messages, 0);
}

TEST_F(ManagerFixture, FirstRegistrationOfANameWins) {
    EXPECT_EQ(manager->SkinsList()->AddSkin("BLUE", TSbXitoSkin::ClassInfo()), -1);
    EXPECT_EQ(manager->SkinsList()->AddSkin("", TSbXitoSkin::ClassInfo()), -1);
    manager->SetSkin("Blue");
    EXPECT_EQ(manager->CurrentSkin()->ClassType(), TSbOffice2007BlueSkin::ClassInfo());
}

TEST_F(ManagerFixture, FailingSkinKeepsTheOldOneAndTellsNobody) {
    TOwned<TReceiver> a = Receiver();
    manager->SetSkin("Blue");
    const auto before = manager->CurrentSkin();
    const int live = TSbSkinOptions::LiveCount();
    EXPECT_THROW(manager->SetSkin("Broken"), EConvertError);
    EXPECT_EQ(manager->CurrentSkin(), before);
    EXPECT_EQ(a->Messages, 1);
    EXPECT_EQ(TSbSkinOptions::LiveCount(), live);
}

TEST_F(ManagerFixture, APainterKeepsTheSkinItIsUsing) {
    manager->SetSkin("Blue");
    const int live = TSbSkinOptions::LiveCount();
    std::shared_ptr<TSbSkinOptions> painting = manager->CurrentSkin();
    manager->SetSkin("Leopard");
    EXPECT_EQ(painting->SkinName, "Office 2007 Blue");
    EXPECT_EQ(TSbSkinOptions::LiveCount(), live + 1);
    painting.reset();
    EXPECT_EQ(TSbSkinOptions::LiveCount(), live);
}

TEST_F(ManagerFixture, ASkinTextIsAPlainSkin) {
    TOwned<TSbSkinOptions> xito = MakeSkin(TSbXitoSkin::ClassInfo());
    TOwned<TStringList> text = Lines(SkinText(xito.get()));
    TOwned<TSbSkinsListEntry> entry = MakeOwned<TSbSkinsListEntry>(text.get());
    manager->SkinsList()->AddObject("Xito text", entry.release());
    manager->SetSkin("Leopard");
    manager->SetSkin("xito TEXT");
    EXPECT_EQ(manager->CurrentSkin()->ClassType(), TSbSkinOptions::ClassInfo());
    EXPECT_TRUE(manager->CurrentSkin()->SameAs(*xito));
}

TEST_F(ManagerFixture, AReceiverMayFreeAnotherOrSelectASkin) {
    TOwned<TReceiver> a = Receiver();
    TReceiver* b = Create<TReceiver>(nullptr);
    b->Listen(manager.get());
    TOwned<TReceiver> c = Receiver();
    a->OnSkinChange = [&] {
        if (b) FreeAndNil(b);
    };
    manager->SetSkin("Blue");
    EXPECT_EQ(b, nullptr);
    EXPECT_EQ(c->Messages, 1);
    EXPECT_EQ(manager->NotifyCount(), 2);

    // The receiver selecting a skin makes a newer broadcast: the older one
    // stops there, and everyone has heard once about the newest skin.
    bool selected = false;
    a->OnSkinChange = [&] {
        if (selected) return;
        selected = true;
        manager->SetSkin("Leopard");
    };
    manager->SetSkin("Blue");
    EXPECT_EQ(manager->CurrentSkin()->SkinName, "Leopard");
    EXPECT_EQ(a->Messages, 3);
    EXPECT_EQ(c->Messages, 2);
}

TEST_F(ManagerFixture, WithoutReceiversASelectionStillTakesEffect) {
    manager->SetSkin("Leopard");
    EXPECT_EQ(manager->CurrentSkin()->SkinName, "Leopard");
    EXPECT_EQ(manager->GetSkinType(), sknSkin);
}

TEST_F(ManagerFixture, ThemeChangeIsBroadcast) {
    TOwned<TReceiver> a = Receiver();
    ThemeServices()->UpdateThemes();
    EXPECT_EQ(a->Messages, 1);
    TMessage message;
    message.Msg = WM_THEMECHANGED;
    manager->WMThemeChanged(message);
    EXPECT_EQ(a->Messages, 2);
}

TEST(SkinManagerUnit, LeavingAfterShutDownBuildsNoManager) {
    TOwned<TReceiver> a = MakeOwned<TReceiver>(nullptr);
    SkinManager()->AddSkinNotification(a.get());
    FinalizeSkinsUnit();
    RemoveSkinNotification(a.get());
    EXPECT_EQ(SkinManager(), nullptr);
    EXPECT_EQ(CurrentSkinType(), sknNone);
    InitSkinsUnit();
    EXPECT_NE(SkinManager(), nullptr);
}

TEST(SkinManagerUnit, LunaColourSchemeFromTheThemeNames) {
    struct Case {
        const wchar_t* file;
        const wchar_t* scheme;
        int expected;
    } cases[] = {
        {L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", 0},
        {L"C:\\WINDOWS\\Resources\\Themes\\Luna\\luna.MSSTYLES", L"metallic", 1},
        {L"Luna.msstyles", L"HomeStead", 2},
        {L"C:\\Themes\\Luna.msstyles", L"Other", 3},
        // Another style file with a Luna scheme name is not Luna.
        {L"C:\\Themes\\Royale.msstyles", L"NormalColor", 3},
        {L"", L"", 3},
    };
    for (const Case& c : cases) EXPECT_EQ(LunaColorSchemeOf(c.file, c.scheme), c.expected);
}

}  // namespace
