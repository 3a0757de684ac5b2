// What every benchmark takes on its command line: "--short" runs a few
// rounds only, enough to show that it still runs (the tests run each one
// so); figures worth quoting come from full runs.
#pragma once

#include <cstring>

namespace bench {

inline bool& ShortFlag() {
    static bool value = false;
    return value;
}

// Reads the arguments; true when the run is a short one.
inline bool ReadArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--short") == 0) ShortFlag() = true;
    return ShortFlag();
}

inline bool IsShort() {
    return ShortFlag();
}

// Full in a full run, Short in a short one.
inline int Rounds(int Full, int Short) {
    return IsShort() ? Short : Full;
}

}  // namespace bench
