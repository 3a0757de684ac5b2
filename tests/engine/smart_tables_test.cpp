#include <gtest/gtest.h>

#include "engine/smart_result.h"
#include "engine/smart_tables.h"

TEST(SmartTables, NameLookupUsesOnlyIds1To12And192To209) {
    const struct {
        int Id;
        const char* Name;
    } cases[] = {{1, "Raw Read Error Rate"},
                 {12, "Power Cycle Count"},
                 {13, "Unknown"},
                 {100, "Unknown"},
                 {191, "Unknown"},
                 {192, "Emergency Retract Cycle"},
                 {194, "Temperature Celcius"},
                 {206, "Unknown Attribute"},
                 {209, "Offline Seek Perf"},
                 {210, "Unknown"}};
    for (const auto& c : cases) EXPECT_EQ(AttributeName(c.Id), c.Name) << "ID " << c.Id;
}

TEST(SmartTables, DriverStatusBeyondTheTableHasItsOwnText) {
    EXPECT_EQ(DriverStatusText(0), "No error");
    EXPECT_EQ(DriverStatusText(10), "Cmd issued to device not present although drive number is valid");
    EXPECT_EQ(DriverStatusText(11), "Unknown driver status 11");
    EXPECT_EQ(DriverStatusText(255), "Unknown driver status 255");
}

TEST(SmartTables, OnlyOkAndAlwaysPassesAreFine) {
    EXPECT_TRUE(IsFineState(AttributeStateWord(TAttributeState::OK)));
    EXPECT_TRUE(IsFineState(AttributeStateWord(TAttributeState::AlwaysPasses)));
    EXPECT_FALSE(IsFineState(AttributeStateWord(TAttributeState::Warning)));
    EXPECT_FALSE(IsFineState(AttributeStateWord(TAttributeState::FailingNow)));
    EXPECT_FALSE(IsFineState(AttributeStateWord(TAttributeState::FailedInPast)));
    EXPECT_STREQ(AttributeStateWord(TAttributeState::FailedInPast), "Failed In Past");
}

TEST(SmartResult, ClearedRecordNamesNoDevice) {
    const TSmartResult result;
    EXPECT_EQ(result.DriveIndex, -1);
    EXPECT_EQ(result.AttrCount, 0);
    EXPECT_EQ(result.AttrStatus[31], "");
}
