// The whole-program tests run VexmoraU.exe, which keeps its settings in the
// real current user's key of the tests' Wine prefix. A guard puts that key
// aside and empties it for the test, and at the end puts it back exactly as
// it was; a key that was not there goes again.
#pragma once

#include <string>

class TUserSettingsGuard {
public:
    TUserSettingsGuard();
    ~TUserSettingsGuard();
    TUserSettingsGuard(const TUserSettingsGuard&) = delete;
    TUserSettingsGuard& operator=(const TUserSettingsGuard&) = delete;

    // False when the settings could not be put aside: they are then left
    // as they are, and a test must not run on them.
    bool Ready() const { return state_ != sUntouched; }

private:
    enum TState { sUntouched, sNoneBefore, sPutAside } state_ = sUntouched;
    // Where the settings wait meanwhile, so that a run that dies keeps them.
    std::string asideName_;
};
