// The scrambler for the stored SMTP password: three time-derived keys,
// each scrambled with the fixed key, then the text scrambled with them, all
// written as 3-digit decimal byte codes. Also its building blocks.
#pragma once

#include <cstdint>
#include <string>

struct TScramblerKey {
    uint32_t StartKey;
    uint32_t Multiplier;
    uint32_t Addend;
};

// Texts scrambled with another key do not decode.
constexpr TScramblerKey FixedScramblerKey{647, 40961, 18311};

// out = b xor (key shr 8); the key then advances with the output byte
// (scrambling) or the input byte (unscrambling): key = (key + byte) *
// multiplier + addend, modulo 2^32. Every byte is taken, however many.
std::string ScrambleBytes(const std::string& text, uint32_t startKey, uint32_t multiplier, uint32_t addend);
std::string UnscrambleBytes(const std::string& text, uint32_t startKey, uint32_t multiplier, uint32_t addend);

// Decimal text left-padded with "0" to `width`; a longer text stays as it is.
std::string IntToZeroPadded(int64_t value, int width);
// Every byte as three decimal digits.
std::string BytesToDecimalCodes(const std::string& bytes);
// The reverse; empty for a length that is not a multiple of 3, a non-digit
// or a code above 255.
std::string DecimalCodesToBytes(const std::string& codes);

// Scrambles `text` with keys taken from the clock (Now). Stored is all digits:
// 39 for the keys, then 3 per character.
void ScrambleString(const std::string& text, std::string& stored);
// Empty text for anything malformed; no exception leaves either routine.
void UnscrambleString(const std::string& stored, std::string& text);
