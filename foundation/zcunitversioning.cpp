#include "foundation/zcunitversioning.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace {

constexpr std::uint32_t kProcessXor1 = 0x23456789;
constexpr std::uint32_t kMagic1 = 0xABCDEF01;
constexpr std::uint32_t kProcessXor2 = 0x10FEDCBA;
constexpr std::uint32_t kMagic2 = 0x98765432;
constexpr int kProbes = 21;

#pragma pack(push, 1)
struct TProcessBlockHeader {
    std::uint32_t ProcessMark;
    std::uint32_t Magic1;
    unsigned char Name[256];  // a length byte, then the characters
    std::int32_t RefCount;
    std::uint32_t Reserved;
    std::uint32_t ProcessMark2;
    std::uint32_t Magic2;
    std::uintptr_t Data;
};
#pragma pack(pop)
static_assert(sizeof(void*) == 4, "the block's layout is that of a 32-bit process");
static_assert(offsetof(TProcessBlockHeader, RefCount) == 264);
static_assert(offsetof(TProcessBlockHeader, ProcessMark2) == 272);
static_assert(offsetof(TProcessBlockHeader, Data) == 280);

void SetBlockName(unsigned char (&Target)[256], const char* Name) {
    const size_t length = std::min<size_t>(std::strlen(Name), 255);
    std::memset(Target, 0, sizeof Target);
    Target[0] = static_cast<unsigned char>(length);
    std::memcpy(Target + 1, Name, length);
}

// Only committed read-write memory may be read: a guard page would lose its
// guard (and break the thread stack it protects), a no-access page would fault.
bool IsReadableBlock(std::uintptr_t Address) {
    MEMORY_BASIC_INFORMATION info{};
    if (!VirtualQuery(reinterpret_cast<void*>(Address), &info, sizeof info)) return false;
    if (info.State != MEM_COMMIT || info.Protect != PAGE_READWRITE) return false;
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
    return end - Address >= sizeof(TProcessBlockHeader);
}

bool IsOurBlock(const TProcessBlockHeader& Header, const unsigned char (&Name)[256]) {
    const std::uint32_t process = GetCurrentProcessId();
    return Header.ProcessMark == (process ^ kProcessXor1) && Header.Magic1 == kMagic1 &&
           Header.ProcessMark2 == (process ^ kProcessXor2) && Header.Magic2 == kMagic2 &&
           std::memcmp(Header.Name, Name, 1u + Name[0]) == 0;
}

TProcessBlockHeader* HeaderOf(void* Data) {
    return reinterpret_cast<TProcessBlockHeader*>(static_cast<char*>(Data) -
                                                  offsetof(TProcessBlockHeader, Data));
}

struct TRegistryState {
    TUnitVersioning* registry = nullptr;
    std::unique_ptr<TUnitVersioning> owned;
    void* block = nullptr;
};

TRegistryState& State() {
    static TRegistryState state;
    return state;
}

std::uintptr_t& Ceiling() {
    static std::uintptr_t ceiling = 0;
    return ceiling;
}

}  // namespace

void TUnitVersioningModule::Add(const TUnitVersionInfo* Info) {
    for (const TUnitVersion& version : versions_)
        if (version.Info() == Info) return;
    versions_.emplace_back(Info);
}

const TUnitVersioningModule* TUnitVersioning::FindModule(HINSTANCE Instance) const {
    for (const auto& module : modules_)
        if (module->Instance() == Instance) return module.get();
    return nullptr;
}

void TUnitVersioning::RegisterModule(HINSTANCE Instance, const TUnitVersionInfo* Info) {
    auto* module = const_cast<TUnitVersioningModule*>(FindModule(Instance));
    if (!module) module = modules_.emplace_back(std::make_unique<TUnitVersioningModule>(Instance)).get();
    module->Add(Info);
}

void TUnitVersioning::UnregisterModule(HINSTANCE Instance) {
    std::erase_if(modules_, [&](const auto& module) { return module->Instance() == Instance; });
    for (const auto& provider : providers_) provider->ReleaseModule(Instance);
}

void TUnitVersioning::AddProvider(std::unique_ptr<TUnitVersioningProvider> Provider) {
    providers_.push_back(std::move(Provider));
}

void SetProcessBlockCeiling(std::uintptr_t Highest) {
    Ceiling() = Highest;
}

std::uintptr_t ProcessBlockAddress(int I) {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    const std::uintptr_t highest =
        Ceiling() ? Ceiling() : reinterpret_cast<std::uintptr_t>(info.lpMaximumApplicationAddress);
    const std::uintptr_t address = (highest / 65536 - static_cast<std::uintptr_t>(I)) * 65536;
    return address - address % info.dwPageSize;
}

void* FindOrCreateProcessBlock(const char* Name, int& Count) {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    unsigned char name[256];
    SetBlockName(name, Name);
    for (int i = 0; i < kProbes; ++i) {
        const std::uintptr_t address = ProcessBlockAddress(i);
        void* wanted = reinterpret_cast<void*>(address);
        void* got = VirtualAlloc(wanted, info.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (got == wanted) {
            auto* header = static_cast<TProcessBlockHeader*>(got);
            const std::uint32_t process = GetCurrentProcessId();
            header->ProcessMark = process ^ kProcessXor1;
            header->Magic1 = kMagic1;
            std::memcpy(header->Name, name, sizeof name);
            header->RefCount = 1;
            header->ProcessMark2 = process ^ kProcessXor2;
            header->Magic2 = kMagic2;
            header->Data = 0;
            Count = 1;
            return &header->Data;
        }
        if (got) {
            VirtualFree(got, 0, MEM_RELEASE);
            continue;
        }
        if (!IsReadableBlock(address)) continue;
        auto* header = reinterpret_cast<TProcessBlockHeader*>(address);
        if (!IsOurBlock(*header, name)) continue;
        Count = ++header->RefCount;
        return &header->Data;
    }
    return nullptr;
}

int ReleaseProcessBlock(void* Data) {
    TProcessBlockHeader* header = HeaderOf(Data);
    const int count = --header->RefCount;
    if (count == 0) VirtualFree(header, 0, MEM_RELEASE);
    return count;
}

TUnitVersioning* GetUnitVersioning() {
    TRegistryState& state = State();
    if (state.registry) return state.registry;
    int count = 0;
    state.block = FindOrCreateProcessBlock("UnitVersioning", count);
    auto* slot = static_cast<std::uintptr_t*>(state.block);
    if (slot && count > 1 && *slot) {
        state.registry = reinterpret_cast<TUnitVersioning*>(*slot);
    } else {
        state.owned = std::make_unique<TUnitVersioning>();
        state.registry = state.owned.get();
        if (slot) *slot = reinterpret_cast<std::uintptr_t>(state.registry);
    }
    return state.registry;
}

void RegisterUnitVersion(HINSTANCE Instance, const TUnitVersionInfo* Info) {
    GetUnitVersioning()->RegisterModule(Instance, Info);
}

void UnregisterUnitVersion(HINSTANCE Instance) {
    if (TUnitVersioning* registry = State().registry) registry->UnregisterModule(Instance);
}

void ShutDownUnitVersioning() {
    TRegistryState& state = State();
    if (state.block) {
        // Other modules still holding the block must not find a freed registry.
        if (state.owned && HeaderOf(state.block)->RefCount > 1)
            *static_cast<std::uintptr_t*>(state.block) = 0;
        ReleaseProcessBlock(state.block);
        state.block = nullptr;
    }
    state.owned.reset();
    state.registry = nullptr;
}
