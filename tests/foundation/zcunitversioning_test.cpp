#include "foundation/zcunitversioning.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/zcsupportunits.h"

namespace {

const char* const kTestBlock = "VexmoraTestBlock";

// Under Wine the top of the address space is Wine's own, so no probe there
// succeeds (the program then keeps a private registry). The tests move the
// probes into a free range of their own.
class ProcessBlockTest : public ::testing::Test {
protected:
    void SetUp() override {
        void* range = VirtualAlloc(nullptr, 4 << 20, MEM_RESERVE, PAGE_NOACCESS);
        ASSERT_NE(range, nullptr);
        VirtualFree(range, 0, MEM_RELEASE);
        SetProcessBlockCeiling(reinterpret_cast<std::uintptr_t>(range) + (4 << 20));
    }
    void TearDown() override { SetProcessBlockCeiling(0); }
};

// The first probed address where a page of our own can be placed, with that
// page committed read-write; the test releases it.
void* TakeFirstFreeProbe() {
    for (int i = 0; i < 21; ++i) {
        void* wanted = reinterpret_cast<void*>(ProcessBlockAddress(i));
        void* got = VirtualAlloc(wanted, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (got == wanted) return got;
        if (got) VirtualFree(got, 0, MEM_RELEASE);
    }
    return nullptr;
}

// A header like the registry's, for the name given, with one mark spoiled when asked.
void WriteHeader(void* Page, const char* Name, bool SpoilMagic) {
    auto* bytes = static_cast<unsigned char*>(Page);
    std::memset(bytes, 0, 284);
    const DWORD process = GetCurrentProcessId();
    const DWORD words[] = {process ^ 0x23456789u, SpoilMagic ? 0xABCDEF02u : 0xABCDEF01u};
    std::memcpy(bytes, words, sizeof words);
    bytes[8] = static_cast<unsigned char>(std::strlen(Name));
    std::memcpy(bytes + 9, Name, std::strlen(Name));
    const DWORD count = 1, tail[] = {process ^ 0x10FEDCBAu, 0x98765432u};
    std::memcpy(bytes + 264, &count, 4);
    std::memcpy(bytes + 272, tail, sizeof tail);
}

bool IsFree(void* Address) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(Address, &info, sizeof info);
    return info.State == MEM_FREE;
}

}  // namespace

TEST_F(ProcessBlockTest, IsCreatedFoundAgainAndReleasedWithItsLastReference) {
    int first = 0, second = 0;
    void* data = FindOrCreateProcessBlock(kTestBlock, first);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(FindOrCreateProcessBlock(kTestBlock, second), data);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(ReleaseProcessBlock(data), 1);
    EXPECT_FALSE(IsFree(data));
    EXPECT_EQ(ReleaseProcessBlock(data), 0);
    EXPECT_TRUE(IsFree(data));
}

TEST_F(ProcessBlockTest, AForeignBlockWithAWrongMarkIsPassedOver) {
    void* foreign = TakeFirstFreeProbe();
    ASSERT_NE(foreign, nullptr);
    WriteHeader(foreign, kTestBlock, true);
    int count = 0;
    void* data = FindOrCreateProcessBlock(kTestBlock, count);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(count, 1) << "a new block, not the foreign one";
    EXPECT_NE(static_cast<char*>(data) - 280, foreign);
    ReleaseProcessBlock(data);
    VirtualFree(foreign, 0, MEM_RELEASE);
}

TEST_F(ProcessBlockTest, AGuardPageIsNeverReadSoItKeepsItsGuard) {
    void* guarded = TakeFirstFreeProbe();
    ASSERT_NE(guarded, nullptr);
    WriteHeader(guarded, kTestBlock, false);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(guarded, 4096, PAGE_READWRITE | PAGE_GUARD, &old));
    int count = 0;
    void* data = FindOrCreateProcessBlock(kTestBlock, count);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(count, 1);
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(guarded, &info, sizeof info);
    EXPECT_TRUE(info.Protect & PAGE_GUARD);
    ReleaseProcessBlock(data);
    VirtualFree(guarded, 0, MEM_RELEASE);
}

TEST(UnitVersioning, KeepsOneModuleEntryAndOneRecordEach) {
    struct Recorder : TUnitVersioningProvider {
        std::vector<HINSTANCE>* released;
        void ReleaseModule(HINSTANCE Instance) override { released->push_back(Instance); }
    };
    std::vector<HINSTANCE> released;
    auto recorder = std::make_unique<Recorder>();
    recorder->released = &released;
    static const TUnitVersionInfo a{"a", "", "", "", "", ""}, b{"b", "", "", "", "", ""};
    const auto one = reinterpret_cast<HINSTANCE>(0x10000), two = reinterpret_cast<HINSTANCE>(0x20000);

    TUnitVersioning registry;
    registry.AddProvider(std::move(recorder));
    registry.RegisterModule(one, &a);
    registry.RegisterModule(one, &b);
    registry.RegisterModule(one, &a);
    registry.RegisterModule(two, &a);
    ASSERT_EQ(registry.ModuleCount(), 2);
    EXPECT_EQ(registry.FindModule(one)->Count(), 2);

    registry.UnregisterModule(one);
    EXPECT_EQ(registry.ModuleCount(), 1);
    EXPECT_EQ(registry.FindModule(one), nullptr);
    EXPECT_EQ(released, std::vector<HINSTANCE>{one});
}

TEST_F(ProcessBlockTest, ARegistryAnotherModuleMadeIsSharedAndLeftToIt) {
    TUnitVersioning theirs;
    int count = 0;
    void* data = FindOrCreateProcessBlock("UnitVersioning", count);
    ASSERT_NE(data, nullptr);
    *static_cast<std::uintptr_t*>(data) = reinterpret_cast<std::uintptr_t>(&theirs);

    EXPECT_EQ(GetUnitVersioning(), &theirs);
    ShutDownUnitVersioning();
    EXPECT_EQ(*static_cast<std::uintptr_t*>(data), reinterpret_cast<std::uintptr_t>(&theirs));
    EXPECT_EQ(ReleaseProcessBlock(data), 0);
}

TEST_F(ProcessBlockTest, SupportUnitsStartRegistersEveryUnitAndStopUndoesIt) {
    StartSupportUnits();
    const HINSTANCE self = GetModuleHandleA(nullptr);
    const TUnitVersioningModule* module = GetUnitVersioning()->FindModule(self);
    ASSERT_NE(module, nullptr);
    ASSERT_EQ(module->Count(), SupportUnitCount());
    EXPECT_EQ(module->Items(0).Info(), &SupportUnitVersion(0));

    const TZcCharacterTables* tables = ZcCharacterTables();
    ASSERT_NE(tables, nullptr);
    EXPECT_EQ(tables->Upper['a'], 'A');
    EXPECT_EQ(tables->Lower['Q'], 'q');
    EXPECT_EQ(tables->Reflected['A'], 'a');
    EXPECT_EQ(tables->Reflected['z'], 'Z');
    EXPECT_EQ(tables->Reflected['7'], '7');
    EXPECT_TRUE(tables->CharTypes['5'] & C1_DIGIT);
    ASSERT_NE(ZcSystemInfo(), nullptr);
    EXPECT_GT(ZcSystemInfo()->Processor.dwPageSize, 0u);
    ASSERT_NE(ZcGlobalCriticalSection(), nullptr);
    EXPECT_EQ(ZcRuntimeTypes()->Count(), 0);
    EXPECT_EQ(ZkAppStorageEngines()->Count(), 0);

    StopSupportUnits();
    EXPECT_EQ(ZcCharacterTables(), nullptr);
    EXPECT_EQ(ZcGlobalCriticalSection(), nullptr);
    EXPECT_EQ(ZkAppStorageEngines(), nullptr);
    int count = 0;
    void* data = FindOrCreateProcessBlock("UnitVersioning", count);
    EXPECT_EQ(count, 1) << "the registry's block went with the stop";
    ReleaseProcessBlock(data);

    StartSupportUnits();  // a second run starts from nothing
    EXPECT_EQ(GetUnitVersioning()->FindModule(self)->Count(), SupportUnitCount());
    StopSupportUnits();
}

TEST(SupportUnits, WindowsVersionsClassifyByTheNewestKnownRow) {
    struct Row {
        DWORD platform, major, minor;
        TZcWindowsVersion expected;
    };
    const Row rows[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, wvWin95},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, wvWin98},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, wvWinME},
        {VER_PLATFORM_WIN32_NT, 5, 1, wvWinXP},
        {VER_PLATFORM_WIN32_NT, 6, 1, wvWin7},
        {VER_PLATFORM_WIN32_NT, 10, 0, wvWin10},
        // A release newer than the table reads as the newest known.
        {VER_PLATFORM_WIN32_NT, 11, 0, wvWin10},
        {VER_PLATFORM_WIN32_NT, 2, 0, wvUnknown},
        {VER_PLATFORM_WIN32s, 3, 1, wvUnknown},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ClassifyWindowsVersion(row.platform, row.major, row.minor), row.expected)
            << row.platform << " " << row.major << "." << row.minor;
}
