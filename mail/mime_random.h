// The mail unit's pseudo-random generator, seeded once at start from the
// performance counter (else the tick count): multipart boundaries and
// Message-IDs draw from it. Tests fix the seed to get known texts.
#pragma once

#include <cstdint>
#include <string>

// A value from 0 to 0xFFFFFFFE (the whole unsigned range but its largest).
std::uint32_t MimeRandom();
void SetMimeRandomSeed(std::uint32_t Seed);

// "boundary" and eight upper-case hexadecimal digits.
std::string NewBoundary();
