#include "classlib/services/soundservice.h"

#include <mmsystem.h>

namespace {

class TWin32Sound : public TSoundService {
public:
    bool Play(const std::string& Sound, HMODULE Module, DWORD Flags) override {
        return PlaySoundA(Sound.empty() ? nullptr : Sound.c_str(), Module, Flags);
    }
};

}  // namespace

TSoundService& TSoundService::Default() {
    static TWin32Sound sound;
    return sound;
}
