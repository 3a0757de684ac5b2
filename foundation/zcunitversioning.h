// The process-wide unit version registry: each support unit records a version
// record of itself, per module. Modules of one process find one registry
// through a named page of memory at a fixed, probed address.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "classlib/core/win32.h"

// Static data of a unit; nothing in the system interprets the texts.
struct TUnitVersionInfo {
    const char* RCSfile;
    const char* Revision;
    const char* Date;
    const char* LogPath;
    const char* Extra;
    const char* Data;
};

// One registered record.
class TUnitVersion {
public:
    explicit TUnitVersion(const TUnitVersionInfo* Info) : info_(Info) {}
    const TUnitVersionInfo* Info() const { return info_; }

private:
    const TUnitVersionInfo* info_;
};

// A module instance and the records registered for it.
class TUnitVersioningModule {
public:
    explicit TUnitVersioningModule(HINSTANCE Instance) : instance_(Instance) {}
    HINSTANCE Instance() const { return instance_; }
    int Count() const { return static_cast<int>(versions_.size()); }
    const TUnitVersion& Items(int Index) const { return versions_.at(static_cast<size_t>(Index)); }
    void Add(const TUnitVersionInfo* Info);

private:
    HINSTANCE instance_;
    std::vector<TUnitVersion> versions_;
};

// Told when a module leaves the registry.
class TUnitVersioningProvider {
public:
    virtual ~TUnitVersioningProvider() = default;
    virtual void ReleaseModule(HINSTANCE Instance) = 0;
};

class TUnitVersioning {
public:
    virtual ~TUnitVersioning() = default;

    virtual void RegisterModule(HINSTANCE Instance, const TUnitVersionInfo* Info);
    virtual void UnregisterModule(HINSTANCE Instance);

    int ModuleCount() const { return static_cast<int>(modules_.size()); }
    const TUnitVersioningModule& Modules(int Index) const { return *modules_.at(static_cast<size_t>(Index)); }
    const TUnitVersioningModule* FindModule(HINSTANCE Instance) const;
    void AddProvider(std::unique_ptr<TUnitVersioningProvider> Provider);

private:
    std::vector<std::unique_ptr<TUnitVersioningModule>> modules_;
    std::vector<std::unique_ptr<TUnitVersioningProvider>> providers_;
};

// The shared page. Returns the address of its data field (after the header)
// and the block's reference count after this call, or nullptr when none of
// the probed addresses could be used.
void* FindOrCreateProcessBlock(const char* Name, int& Count);
// Drops one reference; at 0 the page is released. Returns the new count.
int ReleaseProcessBlock(void* Data);
// The I-th address probed for the block (0 to 20).
std::uintptr_t ProcessBlockAddress(int I);
// The probes start below the highest application address; tests move them
// into memory of their own (0 goes back to the system's).
void SetProcessBlockCeiling(std::uintptr_t Highest);

// The registry of this process, made on first use.
TUnitVersioning* GetUnitVersioning();
void RegisterUnitVersion(HINSTANCE Instance, const TUnitVersionInfo* Info);
void UnregisterUnitVersion(HINSTANCE Instance);
// Releases the block and, when this module made the registry, the registry.
void ShutDownUnitVersioning();
