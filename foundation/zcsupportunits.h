// The support units that run only at program start and shut-down: each
// records its version in the unit version registry, and a few build a table
// or a shared object. The program block starts them in one fixed order and
// stops them in the reverse.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include "classlib/core/win32.h"
#include "foundation/zcunitversioning.h"

// Character classes and case maps of the user's code page, built once.
struct TZcCharacterTables {
    std::array<WORD, 256> CharTypes{};  // CT_CTYPE1 bits
    std::array<unsigned char, 256> Lower{};
    std::array<unsigned char, 256> Upper{};
    std::array<unsigned char, 256> Reflected{};  // the other case, or itself
};

enum TZcWindowsVersion {
    wvUnknown,
    wvWin95,
    wvWin98,
    wvWinME,
    wvWinNT3,
    wvWinNT4,
    wvWin2000,
    wvWinXP,
    wvWin2003,
    wvWinVista,
    wvWin7,
    wvWin8,
    wvWin81,
    wvWin10
};

struct TZcSystemInfo {
    SYSTEM_INFO Processor{};
    bool Native = false;  // read through GetNativeSystemInfo
    TZcWindowsVersion Version = wvUnknown;
};

// A critical section shared by reference count (the shared pointer's).
class TZcIntfCriticalSection {
public:
    void Enter() { lock_.lock(); }
    void Leave() { lock_.unlock(); }

private:
    std::recursive_mutex lock_;
};

// Type-information records made at run time, counted by their shared
// pointers (a record holds those it refers to); nothing in the system makes
// any, so the list stays empty until shut-down releases it.
struct TZcRuntimeTypeRecord {
    std::vector<std::shared_ptr<TZcRuntimeTypeRecord>> Refers;
};
class TZcRuntimeTypeList {
public:
    void Add(std::shared_ptr<TZcRuntimeTypeRecord> Record);
    void Release(const TZcRuntimeTypeRecord* Record);
    int Count();

private:
    std::mutex lock_;
    std::vector<std::shared_ptr<TZcRuntimeTypeRecord>> records_;
};

class TZkAppStoragePropertyEngine {
public:
    virtual ~TZkAppStoragePropertyEngine() = default;
};
// Frees the engines it holds; nothing registers any.
class TZkAppStoragePropertyEngineList {
public:
    void Add(std::unique_ptr<TZkAppStoragePropertyEngine> Engine) { engines_.push_back(std::move(Engine)); }
    int Count() const { return static_cast<int>(engines_.size()); }

private:
    std::vector<std::unique_ptr<TZkAppStoragePropertyEngine>> engines_;
};

void StartSupportUnits();
void StopSupportUnits();

// What the units made; null before start and after stop.
const TZcCharacterTables* ZcCharacterTables();
const TZcSystemInfo* ZcSystemInfo();
std::shared_ptr<TZcIntfCriticalSection> ZcGlobalCriticalSection();
TZcRuntimeTypeList* ZcRuntimeTypes();
TZkAppStoragePropertyEngineList* ZkAppStorageEngines();

// The units in start-up order, with their version records.
int SupportUnitCount();
const TUnitVersionInfo& SupportUnitVersion(int Index);

// The version classification from the numbers the system reports.
TZcWindowsVersion ClassifyWindowsVersion(DWORD Platform, DWORD Major, DWORD Minor);
