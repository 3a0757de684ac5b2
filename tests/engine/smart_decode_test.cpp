#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <random>
#include <set>

#include "engine/smart_decode.h"
#include "engine/smart_tables.h"

namespace {

struct TEntry {
    int Position;
    int Id;
    uint16_t Flags;
    int Current;
    int Worst;
    int Threshold;
    int64_t Raw;
};

constexpr uint16_t PreFail = 0x0001;

TSmartResult Decode(std::initializer_list<TEntry> entries) {
    TSmartAttributeTable attributes{};
    TSmartThresholdTable thresholds{};
    for (const TEntry& e : entries) {
        TSmartAttribute& a = attributes.Entries[e.Position];
        a.ID = static_cast<uint8_t>(e.Id);
        a.Flags = e.Flags;
        a.Current = static_cast<uint8_t>(e.Current);
        a.Worst = static_cast<uint8_t>(e.Worst);
        for (int i = 0; i < 6; ++i) a.Raw[i] = static_cast<uint8_t>(e.Raw >> (8 * i));
        // Another ID in the threshold entry: the tables pair by position alone.
        thresholds.Entries[e.Position] = {
            static_cast<uint8_t>(e.Id + 1), static_cast<uint8_t>(e.Threshold), {}};
    }
    TSmartResult result;
    DecodeSmartTables(attributes, thresholds, result);
    return result;
}

}  // namespace

TEST(SmartDecode, AttributeStateRule) {
    using S = TAttributeState;
    const struct {
        bool PreFail;
        int Id, Current, Worst, Threshold;
        int64_t Raw;
        int Baseline;
        S Expected;
    } cases[] = {
        {false, 1, 10, 10, 36, 0, 100, S::AlwaysPasses},  // advisory attribute
        {true, 1, 1, 1, 0, 0, 100, S::AlwaysPasses},      // threshold 0
        {true, 1, 60, 60, 36, 0, 100, S::Warning},        // 36 + 32 = 68 > 60
        {true, 1, 67, 67, 36, 0, 100, S::Warning},
        {true, 1, 68, 68, 36, 0, 100, S::OK},
        {true, 1, 50, 50, 50, 0, 100, S::Warning},  // equal to its threshold: not failing yet
        {true, 1, 49, 49, 50, 0, 100, S::FailingNow},
        {true, 1, 100, 49, 50, 0, 100, S::FailedInPast},
        {true, 1, 40, 30, 50, 0, 100, S::FailingNow},  // the first match wins
        {true, 5, 100, 100, 36, 500, 100, S::OK},
        {true, 5, 100, 100, 36, 501, 100, S::Warning},
        {true, 7, 100, 100, 36, 501, 100, S::OK},     // the raw rule is attribute 5's alone
        {true, 1, 100, 100, 36, 0, 253, S::Warning},  // 36 + 108 = 144
        {true, 1, 144, 144, 36, 0, 253, S::OK},
        {true, 1, 200, 200, 200, 0, 100, S::OK},  // threshold above the baseline
    };
    for (const auto& c : cases)
        EXPECT_EQ(AttributeState(c.PreFail, c.Id, c.Current, c.Worst, c.Threshold, c.Raw, c.Baseline),
                  c.Expected)
            << "id " << c.Id << " current " << c.Current << " worst " << c.Worst << " threshold "
            << c.Threshold << " raw " << c.Raw << " baseline " << c.Baseline;
}

TEST(SmartDecode, EmptyEntriesAreSkippedAndTablesPairByPosition) {
    const TSmartResult r = Decode({{0, 1, PreFail, 100, 100, 6, 0},
                                   {1, 3, PreFail, 100, 100, 0, 0},
                                   {2, 4, 0x22, 100, 100, 20, 0},
                                   {3, 5, 0x33, 100, 100, 36, 0},
                                   {5, 7, 0x0019, 100, 40, 50, 0xFFFFFFFFFFFF},
                                   {6, 9, 0x32, 100, 100, 0, 0},
                                   {7, 194, 0x22, 40, 50, 0, 40}});
    EXPECT_EQ(r.AttrCount, 7);
    EXPECT_EQ(r.AttrID[4], 7);
    EXPECT_EQ(r.AttrName[4], "Seek Error Rate");
    EXPECT_EQ(r.AttrThreshold[4], 50);
    EXPECT_EQ(r.AttrStatus[4], "Failed In Past");
    EXPECT_EQ(r.FailCount, 1);
    EXPECT_TRUE(r.AttrPreFail[4] && r.AttrFlagBit4[4] && r.AttrFlagBit3[4]);
    EXPECT_FALSE(r.AttrPreFail[2] || r.AttrFlagBit4[2] || r.AttrFlagBit3[2]);
    EXPECT_EQ(r.AttrRaw[4], 0xFFFFFFFFFFFF);
    EXPECT_EQ(r.AttrID[7], 0);
}

TEST(SmartDecode, HotSpinUpRaisesTheBaselineForLaterEntriesOnly) {
    const struct {
        int SpinId, SpinCurrent;
        const char* Before;
        const char* After;
    } cases[] = {
        {4, 253, "OK", "Warning"},
        {3, 231, "OK", "Warning"},
        {3, 230, "OK", "OK"},
        {9, 253, "OK", "OK"},
    };
    for (const auto& c : cases) {
        const TSmartResult r = Decode({{0, 1, PreFail, 100, 100, 36, 0},
                                       {1, c.SpinId, 0x32, c.SpinCurrent, c.SpinCurrent, 0, 0},
                                       {2, 7, PreFail, 100, 100, 36, 0}});
        EXPECT_EQ(r.AttrStatus[0], c.Before) << c.SpinId << "/" << c.SpinCurrent;
        EXPECT_EQ(r.AttrStatus[2], c.After) << c.SpinId << "/" << c.SpinCurrent;
    }
}

TEST(SmartDecode, CountersTakeRawValuesBetweenZeroAndTheCeiling) {
    const struct {
        int Id;
        int64_t Raw;
        int Hours, Reallocated, Cycles;
    } cases[] = {
        {9, 10, 11, 0, 0},
        {9, 0, 0, 0, 0},
        {9, 0x7FFFFFFE, 0x7FFFFFFF, 0, 0},
        {9, 0x7FFFFFFF, 0, 0, 0},
        {9, int64_t{1} << 40, 0, 0, 0},
        {5, 612, 0, 612, 0},
        {12, 1554, 0, 0, 1554},
        {4, 1554, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const TSmartResult r = Decode({{0, c.Id, 0x32, 100, 100, 0, c.Raw}});
        EXPECT_EQ(r.HoursRunning, c.Hours) << c.Id << " raw " << c.Raw;
        EXPECT_EQ(r.ReallocatedSectors, c.Reallocated) << c.Id << " raw " << c.Raw;
        EXPECT_EQ(r.PowerCycles, c.Cycles) << c.Id << " raw " << c.Raw;
    }
}

TEST(SmartDecode, TemperatureBytesOfAttribute194) {
    const int64_t raw = 0x004000150028;  // 28 00 15 00 40 00
    TSmartResult r = Decode({{0, 194, 0x22, 72, 80, 0, raw}});
    EXPECT_EQ(r.Temperature, 40);
    EXPECT_EQ(r.TempByte2, 21);
    EXPECT_EQ(r.TempByte4, 64);
    // Raw byte 0 equal to the current value: the worst value stands in for byte 4.
    r = Decode({{0, 194, 0x22, 40, 55, 0, raw}});
    EXPECT_EQ(r.TempByte4, 55);
    r = Decode({{0, 190, 0x22, 40, 55, 0, raw}});
    EXPECT_EQ(r.Temperature, 0);
}

TEST(SmartDecode, SwapIdentifyStringSwapsPairsAndTrims) {
    const struct {
        std::string Bytes;
        const char* Expected;
    } cases[] = {
        {"TS530014A8 S        ", "ST3500418AS"},
        {std::string("\0\0ABCD\0\0", 8), "BADC"},
        {"\t\x01 XY", "X Y"},
        {"ABC", "BAC"},
    };
    for (const auto& c : cases) EXPECT_EQ(SwapIdentifyString(c.Bytes.data(), c.Bytes.size()), c.Expected);
}

TEST(SmartDecode, RandomTablesKeepTheRecordConsistent) {
    std::mt19937 random(20240611);
    const std::set<std::string> words = {"OK", "Always passes", "Failing Now", "Failed In Past", "Warning"};
    for (int round = 0; round < 3000; ++round) {
        TSmartAttributeTable attributes;
        TSmartThresholdTable thresholds;
        auto* a = reinterpret_cast<uint8_t*>(&attributes);
        auto* t = reinterpret_cast<uint8_t*>(&thresholds);
        // Some tables are cut short: the rest of the reply stays zero.
        const size_t length = round % 3 == 0 ? random() % (SmartDataSize + 1) : SmartDataSize;
        for (size_t i = 0; i < SmartDataSize; ++i) {
            a[i] = i < length ? static_cast<uint8_t>(random()) : 0;
            t[i] = static_cast<uint8_t>(random());
        }
        TSmartResult r;
        DecodeSmartTables(attributes, thresholds, r);
        ASSERT_LE(r.AttrCount, SmartTableEntries);
        ASSERT_LE(r.FailCount + r.WarnCount, r.AttrCount);
        for (int slot = 0; slot < SmartResultSlots; ++slot) {
            if (slot < r.AttrCount) {
                ASSERT_NE(r.AttrID[slot], 0);
                ASSERT_TRUE(words.count(r.AttrStatus[slot])) << r.AttrStatus[slot];
            } else {
                ASSERT_EQ(r.AttrID[slot], 0);
                ASSERT_EQ(r.AttrStatus[slot], "");
            }
        }
    }
}
