#include "foundation/zcsupportunits.h"

#include <algorithm>

#include "classlib/services/osversion.h"

namespace {

struct TSupportState {
    bool started = false;
    std::unique_ptr<TZcCharacterTables> characters;
    std::unique_ptr<TZcSystemInfo> system;
    std::shared_ptr<TZcIntfCriticalSection> section;
    std::unique_ptr<TZcRuntimeTypeList> types;
    std::unique_ptr<TZkAppStoragePropertyEngineList> engines;
};

TSupportState& Support() {
    static TSupportState state;
    return state;
}

void BuildCharacterTables() {
    auto tables = std::make_unique<TZcCharacterTables>();
    char all[256];
    for (int c = 0; c < 256; ++c) all[c] = static_cast<char>(c);
    GetStringTypeExA(LOCALE_USER_DEFAULT, CT_CTYPE1, all, 256, tables->CharTypes.data());
    char lower[256], upper[256];
    std::copy(all, all + 256, lower);
    std::copy(all, all + 256, upper);
    CharLowerBuffA(lower, 256);
    CharUpperBuffA(upper, 256);
    for (int c = 0; c < 256; ++c) {
        tables->Lower[c] = static_cast<unsigned char>(lower[c]);
        tables->Upper[c] = static_cast<unsigned char>(upper[c]);
        const WORD type = tables->CharTypes[c];
        tables->Reflected[c] = (type & C1_UPPER)   ? tables->Lower[c]
                               : (type & C1_LOWER) ? tables->Upper[c]
                                                   : static_cast<unsigned char>(c);
    }
    Support().characters = std::move(tables);
}

void ReadSystemInfo() {
    auto info = std::make_unique<TZcSystemInfo>();
    using TNativeInfo = void(WINAPI*)(LPSYSTEM_INFO);
    auto native = reinterpret_cast<TNativeInfo>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo")));
    if (native) {
        native(&info->Processor);
        info->Native = true;
    } else {
        GetSystemInfo(&info->Processor);
    }
    const TOSVersionInfo version = OSVersion();
    info->Version = ClassifyWindowsVersion(version.Platform, version.Major, version.Minor);
    Support().system = std::move(info);
}

struct TSupportUnit {
    TUnitVersionInfo Version;
    void (*Start)();
    void (*Stop)();
};

#define VX_UNIT(Name) \
    { "$RCSfile: " Name ".cpp $", "$Revision: 1 $", "$Date: 2026-12-07 $", "foundation", "", "" }

// Start-up order; shut-down runs it backwards.
const TSupportUnit kUnits[] = {
    {VX_UNIT("ZcUnitVersioning"), nullptr, nullptr},
    {VX_UNIT("ZcResources"), nullptr, nullptr},
    {VX_UNIT("ZcBase"), nullptr, nullptr},
    {VX_UNIT("ZcStrings"), BuildCharacterTables, [] { Support().characters.reset(); }},
    {VX_UNIT("ZcSysInfo"), ReadSystemInfo, [] { Support().system.reset(); }},
    {VX_UNIT("ZcSysUtils"), [] { Support().section = std::make_shared<TZcIntfCriticalSection>(); },
     [] { Support().section.reset(); }},
    {VX_UNIT("ZcRTTI"), [] { Support().types = std::make_unique<TZcRuntimeTypeList>(); },
     [] { Support().types.reset(); }},
    {VX_UNIT("ZkAppStorage"), [] { Support().engines = std::make_unique<TZkAppStoragePropertyEngineList>(); },
     [] { Support().engines.reset(); }},
    {VX_UNIT("ZcWideStrings"), nullptr, nullptr},
    {VX_UNIT("ZcLogic"), nullptr, nullptr},
    {VX_UNIT("ZcDateTime"), nullptr, nullptr},
    {VX_UNIT("ZcWin32"), nullptr, nullptr},
    {VX_UNIT("ZcIniFiles"), nullptr, nullptr},
    {VX_UNIT("Zc8087"), nullptr, nullptr},
    {VX_UNIT("ZcRegistry"), nullptr, nullptr},
    {VX_UNIT("ZcShell"), nullptr, nullptr},
    {VX_UNIT("ZcSecurity"), nullptr, nullptr},
    {VX_UNIT("ZcFileUtils"), nullptr, nullptr},
    {VX_UNIT("ZcMath"), nullptr, nullptr},
    {VX_UNIT("ZcConsole"), nullptr, nullptr},
    {VX_UNIT("ZcSynch"), nullptr, nullptr},
    {VX_UNIT("ZcMime"), nullptr, nullptr},
};
#undef VX_UNIT
constexpr int kUnitCount = static_cast<int>(sizeof kUnits / sizeof kUnits[0]);

HINSTANCE ThisModule() {
    return GetModuleHandleA(nullptr);
}

}  // namespace

void TZcRuntimeTypeList::Add(std::shared_ptr<TZcRuntimeTypeRecord> Record) {
    std::lock_guard<std::mutex> guard(lock_);
    records_.push_back(std::move(Record));
}

void TZcRuntimeTypeList::Release(const TZcRuntimeTypeRecord* Record) {
    std::lock_guard<std::mutex> guard(lock_);
    auto found =
        std::find_if(records_.begin(), records_.end(), [&](const auto& r) { return r.get() == Record; });
    if (found != records_.end()) records_.erase(found);
}

int TZcRuntimeTypeList::Count() {
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(records_.size());
}

TZcWindowsVersion ClassifyWindowsVersion(DWORD Platform, DWORD Major, DWORD Minor) {
    if (Platform == VER_PLATFORM_WIN32_WINDOWS) {
        if (Major != 4) return wvUnknown;
        return Minor < 10 ? wvWin95 : Minor < 90 ? wvWin98 : wvWinME;
    }
    if (Platform != VER_PLATFORM_WIN32_NT) return wvUnknown;
    struct TRow {
        DWORD Major, Minor;
        TZcWindowsVersion Version;
    };
    static const TRow kNt[] = {{3, 0, wvWinNT3},  {4, 0, wvWinNT4},   {5, 0, wvWin2000}, {5, 1, wvWinXP},
                               {5, 2, wvWin2003}, {6, 0, wvWinVista}, {6, 1, wvWin7},    {6, 2, wvWin8},
                               {6, 3, wvWin81},   {10, 0, wvWin10}};
    TZcWindowsVersion result = wvUnknown;
    // The newest row at or below the reported version: later releases read as
    // the last one known.
    for (const TRow& row : kNt)
        if (Major > row.Major || (Major == row.Major && Minor >= row.Minor)) result = row.Version;
    return result;
}

void StartSupportUnits() {
    TSupportState& state = Support();
    if (state.started) return;
    state.started = true;
    for (const TSupportUnit& unit : kUnits) {
        RegisterUnitVersion(ThisModule(), &unit.Version);
        if (unit.Start) unit.Start();
    }
}

void StopSupportUnits() {
    TSupportState& state = Support();
    if (!state.started) return;
    for (int i = kUnitCount - 1; i >= 0; --i) {
        if (kUnits[i].Stop) kUnits[i].Stop();
        UnregisterUnitVersion(ThisModule());
    }
    ShutDownUnitVersioning();
    state.started = false;
}

const TZcCharacterTables* ZcCharacterTables() {
    return Support().characters.get();
}
const TZcSystemInfo* ZcSystemInfo() {
    return Support().system.get();
}
std::shared_ptr<TZcIntfCriticalSection> ZcGlobalCriticalSection() {
    return Support().section;
}
TZcRuntimeTypeList* ZcRuntimeTypes() {
    return Support().types.get();
}
TZkAppStoragePropertyEngineList* ZkAppStorageEngines() {
    return Support().engines.get();
}

int SupportUnitCount() {
    return kUnitCount;
}
const TUnitVersionInfo& SupportUnitVersion(int Index) {
    return kUnits[Index].Version;
}
