#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/zktypes.h"

namespace {

struct EventLog {
    std::vector<std::string> events;
    void Changing(TObject*) { events.push_back("changing"); }
    void Changed(TObject*) { events.push_back("changed"); }
    void ChangingProperty(TObject*, const std::string& Name) { events.push_back("changing " + Name); }
    void ChangedProperty(TObject*, const std::string& Name) { events.push_back("changed " + Name); }
    void Attach(TZkPersistentProperty* Options) {
        Options->OnChanging = TNotifyEvent(this, &EventLog::Changing);
        Options->OnChange = TNotifyEvent(this, &EventLog::Changed);
        Options->OnChangingProperty = TZkPropertyEvent(this, &EventLog::ChangingProperty);
        Options->OnChangedProperty = TZkPropertyEvent(this, &EventLog::ChangedProperty);
    }
};

using Strings = std::vector<std::string>;

TEST(HotTrackOptions, SetterFiresChangingPropertyStoreChangedInOrder) {
    auto options = MakeOwned<TZkHotTrackOptions>();
    EventLog log;
    log.Attach(options.get());
    options->SetFrameColor(0x123456);
    EXPECT_EQ(log.events, (Strings{"changing", "changing FrameColor", "changed FrameColor", "changed"}));
    EXPECT_EQ(options->FrameColor(), 0x123456);
}

TEST(HotTrackOptions, SettingTheCurrentValueFiresNothing) {
    auto options = MakeOwned<TZkHotTrackOptions>();
    EventLog log;
    log.Attach(options.get());
    options->SetEnabled(false);
    options->SetColor(0xD2BDB6);
    options->SetFrameVisible(false);
    options->SetFrameColor(0x6A240A);
    EXPECT_TRUE(log.events.empty());
}

TEST(PersistentProperty, UpdateCountingHoldsChangeEventsUntilTheLastEndUpdate) {
    auto options = MakeOwned<TZkHotTrackOptions>();
    EventLog log;
    log.Attach(options.get());
    options->BeginUpdate();
    options->BeginUpdate();
    EXPECT_EQ(log.events, Strings{"changing"});
    log.events.clear();
    options->SetEnabled(true);
    // Property events fire always; the plain ones wait for the update to end.
    EXPECT_EQ(log.events, (Strings{"changing Enabled", "changed Enabled"}));
    log.events.clear();
    options->EndUpdate();
    EXPECT_TRUE(log.events.empty());
    options->EndUpdate();
    EXPECT_EQ(log.events, Strings{"changed"});
    EXPECT_EQ(options->UpdateCount(), 0);
}

TEST(HotTrackOptions, AssignCopiesAllFourInsideOneUpdate) {
    auto source = MakeOwned<TZkHotTrackOptions>();
    source->SetEnabled(true);
    source->SetColor(1);
    source->SetFrameVisible(true);
    source->SetFrameColor(2);
    auto target = MakeOwned<TZkHotTrackOptions>();
    EventLog log;
    log.Attach(target.get());
    target->Assign(source.get());
    EXPECT_EQ(log.events, (Strings{"changing", "changing Enabled", "changed Enabled", "changing Color",
                                   "changed Color", "changing FrameVisible", "changed FrameVisible",
                                   "changing FrameColor", "changed FrameColor", "changed"}));
    EXPECT_TRUE(target->Enabled());
    EXPECT_EQ(target->Color(), 1);
    EXPECT_TRUE(target->FrameVisible());
    EXPECT_EQ(target->FrameColor(), 2);
}

TEST(DialogCodes, ConvertBothWaysFlagByFlag) {
    const struct {
        TDlgCode code;
        LRESULT bit;
    } cases[] = {{dcWantAllKeys, 4}, {dcWantArrows, 1}, {dcWantChars, 0x80},
                 {dcButton, 0x2000}, {dcHasSetSel, 8},  {dcWantTab, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(DlgCodesFromResult(c.bit), TDlgCodes{c.code}) << c.bit;
        EXPECT_EQ(DlgCodesToResult(TDlgCodes{c.code}), c.bit) << c.bit;
    }
    EXPECT_EQ(DlgCodesToResult(TDlgCodes{dcNative}), 0);
}

}  // namespace
