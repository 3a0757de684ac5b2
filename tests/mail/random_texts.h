// Deterministic random byte texts for the round-trip and decoder loops:
// every byte value, line ends of all kinds, and some long unbroken lines.
#pragma once

#include <cstdint>
#include <random>
#include <string>

class TRandomTexts {
public:
    explicit TRandomTexts(std::uint32_t seed) : engine_(seed) {}

    int Below(int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(engine_); }

    // Any bytes; now and then a long run without line ends.
    std::string Bytes(int maxLength) {
        std::string text(static_cast<size_t>(Below(maxLength + 1)), '\0');
        for (char& c : text) c = static_cast<char>(Below(256));
        return text;
    }

    // Mostly printable text with blanks, CR LF, bare CR and LF, and any byte.
    std::string MailText(int maxLength) {
        static const char kPieces[][3] = {"\r\n", "\r", "\n", " ", "\t", "=", "?"};
        std::string text;
        const int length = Below(maxLength + 1);
        while (static_cast<int>(text.size()) < length) {
            const int pick = Below(20);
            if (pick < 7)
                text += kPieces[pick];
            else if (pick < 9)
                text += static_cast<char>(Below(256));
            else
                text += static_cast<char>('a' + Below(26));
        }
        return text;
    }

private:
    std::mt19937 engine_;
};
