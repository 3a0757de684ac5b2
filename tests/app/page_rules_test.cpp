// The rules behind the pages, without windows: which threshold texts are
// taken, how the poll time is bounded and read back, the attribute rows and
// the looks of the list rows.
#include "app/page_rules.h"

#include <gtest/gtest.h>

TEST(PageRules, ThresholdTextIsAWholeNumberOfAtLeast21ThatFitsAnInteger) {
    struct Case {
        const char* Text;
        bool Taken;
    } cases[] = {
        {"21", true},
        {"20", false},           // below the lowest threshold
        {"", false},             // nothing typed
        {"2a1", false},          // pasted text gets past the key filter
        {"-30", false},          // no sign
        {" 40", false},          // no blanks
        {"0045", true},          // leading zeros are still a number
        {"2147483647", true},    // the largest Integer
        {"2147483648", false},   // one beyond it
        {"99999999999", false},  // far beyond it, without overflowing the check
    };
    for (const Case& c : cases) EXPECT_EQ(IsThresholdText(c.Text), c.Taken) << '"' << c.Text << '"';
}

TEST(PageRules, PollTimeStaysAnIntegerAndANegativeStoreMeansOff) {
    EXPECT_EQ(PollIntervalOfMinutes(5), 300000);
    EXPECT_EQ(PollIntervalOfMinutes(0), 0);
    EXPECT_EQ(PollIntervalOfMinutes(MaxPollMinutes), 2147460000);
    EXPECT_EQ(PollIntervalOfMinutes(MaxPollMinutes + 1), PollIntervalOfMinutes(MaxPollMinutes));
    EXPECT_EQ(PollIntervalOfMinutes(-3), 0);
    EXPECT_EQ(PollIntervalFromStore(-60000), 0);
    EXPECT_EQ(PollIntervalFromStore(300000), 300000);
}

TEST(PageRules, AttributeRowsCarryTheWholeRawValue) {
    TSmartResult smart;
    smart.AttrCount = 2;
    smart.AttrName[0] = "Raw Read Error Rate";
    smart.AttrThreshold[0] = 6;
    smart.AttrCurrent[0] = 117;
    smart.AttrWorst[0] = 99;
    smart.AttrRaw[0] = 0x123456789ABLL;
    smart.AttrStatus[0] = "OK";
    smart.AttrName[1] = "Power On Count";
    smart.AttrStatus[1] = "Always passes";
    smart.AttrName[2] = "not filled";
    const auto rows = AttributeRows(smart);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Name, "Raw Read Error Rate");
    EXPECT_EQ(rows[0].SubItems, (std::vector<std::string>{"6", "117", "99", "1250999896491", "OK"}));
    EXPECT_EQ(rows[1].SubItems.back(), "Always passes");

    smart.AttrCount = 99;  // a damaged count never reads past the slots
    EXPECT_EQ(AttributeRows(smart).size(), static_cast<size_t>(SmartResultSlots));
}

TEST(PageRules, InformationTextsJoinSizeAndUnitWithoutABlank) {
    TSmartResult smart;
    smart.SerialNumber = "5VM1ABCD";
    smart.PowerCycles = 1012;
    const auto texts = DriveInformationTexts(smart, "465", "Seagate");
    EXPECT_EQ(texts[0], "SerialNumber: 5VM1ABCD");
    EXPECT_EQ(texts[3], "PowerCycles: 1012");
    EXPECT_EQ(texts[6], "Size: 465GB");
    EXPECT_EQ(texts[7], "Manufacture: Seagate");
}

TEST(PageRules, RowLooks) {
    const TColor green = TColor(0x008000), red = TColor(0x0000FF), grey = TColor(0xE0E0E0);
    struct Case {
        TRowLook Look;
        TColor Text;
        bool Bold;
        TColor Background;
    } cases[] = {
        {DriveRowLook("OK"), green, false, clNone},
        {DriveRowLook("Warning"), red, true, clNone},
        {DriveRowLook(""), red, true, clNone},  // a drive without readings is not "OK"
        {AttributeRowLook("OK", 0), green, false, grey},
        {AttributeRowLook("Always passes", 1), green, false, clNone},
        {AttributeRowLook("Failing Now", 2), red, true, grey},
        {AttributeRowLook("Warning", 3), red, true, clNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.Look.Text, c.Text);
        EXPECT_EQ(c.Look.Bold, c.Bold);
        EXPECT_EQ(c.Look.Background, c.Background);
    }
}
