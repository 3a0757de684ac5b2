#include "mail/mime_random.h"

#include <mutex>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

std::uint32_t StartSeed() {
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter)) return static_cast<std::uint32_t>(counter.QuadPart);
    return GetTickCount();
}

struct TGenerator {
    std::mutex Lock;
    std::uint32_t Seed = StartSeed();
};

TGenerator& Generator() {
    static TGenerator generator;
    return generator;
}

}  // namespace

std::uint32_t MimeRandom() {
    TGenerator& generator = Generator();
    std::lock_guard guard(generator.Lock);
    generator.Seed = generator.Seed * 134775813u + 1u;
    // Scaled to the range rather than reduced, so the high bits decide.
    return static_cast<std::uint32_t>((std::uint64_t{generator.Seed} * 0xFFFFFFFFull) >> 32);
}

void SetMimeRandomSeed(std::uint32_t Seed) {
    TGenerator& generator = Generator();
    std::lock_guard guard(generator.Lock);
    generator.Seed = Seed;
}

std::string NewBoundary() {
    return "boundary" + IntToHex(MimeRandom(), 8);
}
