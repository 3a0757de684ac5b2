// The drives' stored alert settings held in memory for the poll check and
// the temperature check, which run on the window thread every few seconds:
// each drive's key is read once, again after the program stores new values
// through here, and again after anything else changed the settings key or
// a key below it (a change notification, looked at once per check).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "classlib/core/registry.h"

// What a drive's key held when it was read.
struct TDriveSettings {
    // Value names compare as the registry compares them, without case.
    struct TNameLess {
        bool operator()(const std::string& A, const std::string& B) const;
    };
    // Attribute name -> its action; only values stored as text.
    std::map<std::string, std::string, TNameLess> Actions;
    // "Temperature" when it is an integer.
    std::optional<int> Threshold;

    // The action stored for Attribute, "" when there is none.
    const std::string& Action(const std::string& Attribute) const;
};

class TDriveSettingsStore {
public:
    TDriveSettingsStore() = default;
    TDriveSettingsStore(const TDriveSettingsStore&) = delete;
    TDriveSettingsStore& operator=(const TDriveSettingsStore&) = delete;

    // Forgets what it holds when the settings changed behind its back since
    // the last look. Each check calls it once before it reads.
    void TakeOutsideChanges();
    // Changes each time the store forgot what it held: what was copied out
    // of it under an older one may be stale.
    unsigned Generation() const { return generation_; }
    // Model's settings as held (read when not held). Never null: a missing
    // key reads as no settings. What it returns stays as it is while the
    // store moves on, so a check may hold it across a modal question.
    std::shared_ptr<const TDriveSettings> Of(const std::string& Model);

    // Stores a value in Model's key (created when missing) and in what is
    // held; false when the key cannot be opened.
    bool WriteAction(const std::string& Model, const std::string& Attribute, const std::string& Action);
    bool WriteThreshold(const std::string& Model, int Threshold);
    // Model's key, created when missing, for a writer of many values at once;
    // what is held of it is read again at the next check.
    TOwned<TRegistry> OpenForWriting(const std::string& Model);

private:
    struct TEventCloser {
        void operator()(HANDLE Event) const { CloseHandle(Event); }
    };
    bool Watch();
    // Changes what is held of Model, if anything is.
    template <class F>
    void Update(const std::string& Model, F Change);

    std::map<std::string, std::shared_ptr<const TDriveSettings>> drives_;
    TRegKeyHandle watchedKey_;
    TRegKeyHandle watchedParent_;
    std::unique_ptr<void, TEventCloser> changed_;
    bool watching_ = false;
    unsigned generation_ = 0;
};
