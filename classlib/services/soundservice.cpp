#include "classlib/services/soundservice.h"

#include <mmsystem.h>

#include "classlib/core/laterlibrary.h"

namespace {

class TWin32Sound : public TSoundService {
public:
    bool Play(const std::string& Sound, HMODULE Module, DWORD Flags) override {
        static const auto play = LaterFunction<decltype(&PlaySoundA)>(L"winmm.dll", "PlaySoundA");
        return play && play(Sound.empty() ? nullptr : Sound.c_str(), Module, Flags);
    }
};

}  // namespace

TSoundService& TSoundService::Default() {
    static TWin32Sound sound;
    return sound;
}
