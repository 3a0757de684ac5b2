// Playing system sounds (menu sounds), replaceable in tests.
#pragma once

#include <string>

#include "classlib/core/service.h"
#include "classlib/core/win32.h"

class TSoundService {
public:
    virtual ~TSoundService() = default;
    // PlaySoundA of a sound alias or file name; true when it played.
    virtual bool Play(const std::string& Sound, HMODULE Module, DWORD Flags) = 0;

    static TSoundService& Default();
};

inline TSoundService& SoundService() {
    return TServiceSlot<TSoundService>::Current();
}
