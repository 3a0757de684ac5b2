#include "mail/mime_codecs.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr int kBase64LineBytes = 57;  // 76 characters
constexpr int kBase64LineChars = 76;
constexpr int kBase64BlockLines = 40;
constexpr size_t kQPMaxColumn = 71;  // the soft-break "=" may make it 72
constexpr int kUULineBytes = 45;
constexpr int kUULineChars = 60;

struct THexValues {
    std::array<signed char, 256> Values{};
    THexValues() {
        Values.fill(-1);
        for (int i = 0; i < 10; ++i) Values['0' + i] = static_cast<signed char>(i);
        for (int i = 0; i < 6; ++i) Values['A' + i] = Values['a' + i] = static_cast<signed char>(10 + i);
    }
};

// 0-15 for a hexadecimal digit of either case, -1 otherwise.
int HexValue(char c) {
    static const THexValues table;
    return table.Values[static_cast<unsigned char>(c)];
}

void AppendEscape(std::string& out, unsigned char c) {
    out += '=';
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 15];
}

// Escapes shared by both modes; CR and LF are handled by the caller, which
// knows whether they form a pair.
bool AlwaysEscaped(unsigned char c) {
    return c >= 0x80 || c == '=' || (c < 0x20 && c != '\t' && c != '\r' && c != '\n');
}

// Header mode also escapes what would end or split an encoded word: blanks,
// quotes, brackets, "?" and "_", and the "," ";" "\" at which folding breaks.
bool HeaderEscaped(unsigned char c) {
    switch (c) {
        case '\t':
        case '\r':
        case '\n':
        case ' ':
        case '"':
        case '\'':
        case '(':
        case ')':
        case '<':
        case '>':
        case '?':
        case '_':
        case ',':
        case ';':
        case '\\':
            return true;
        default:
            return false;
    }
}

// Writes the body-mode text: tokens (a character or a three-character
// escape) go onto lines of at most 71 characters, a soft break "=" ending a
// full one, so an escape never straddles a break. Blanks are held back until
// it is known whether a line end follows them: a decoder would strip blanks
// that end a line, so those travel as escapes.
class TQuotedPrintableWriter {
public:
    explicit TQuotedPrintableWriter(char* out) : start_(out), out_(out) {}

    void Literal(char c) {
        if (!blanks_.empty()) FlushBlanks(false);
        Room(1);
        *out_++ = c;
        ++column_;
    }
    void Escape(unsigned char c) {
        if (!blanks_.empty()) FlushBlanks(false);
        EscapeToken(c);
    }
    void Blank(char c) { blanks_ += c; }
    void LineEnd() {
        if (!blanks_.empty()) FlushBlanks(true);
        *out_++ = '\r';
        *out_++ = '\n';
        column_ = 0;
    }
    // The last line is ended too, unless the text ended with a line end.
    size_t Finish() {
        if (column_ > 0 || !blanks_.empty()) LineEnd();
        return static_cast<size_t>(out_ - start_);
    }

private:
    // A soft break first when a token of this length no longer fits.
    void Room(size_t length) {
        if (column_ + length <= kQPMaxColumn) return;
        *out_++ = '=';
        *out_++ = '\r';
        *out_++ = '\n';
        column_ = 0;
    }
    void EscapeToken(unsigned char c) {
        Room(3);
        out_[0] = '=';
        out_[1] = kHexDigits[c >> 4];
        out_[2] = kHexDigits[c & 15];
        out_ += 3;
        column_ += 3;
    }
    void FlushBlanks(bool atLineEnd) {
        for (char c : blanks_) {
            if (atLineEnd) {
                EscapeToken(static_cast<unsigned char>(c));
            } else {
                Room(1);
                *out_++ = c;
                ++column_;
            }
        }
        blanks_.clear();
    }

    char* start_;
    char* out_;
    size_t column_ = 0;
    std::string blanks_;
};

// Two alphabet characters for every 12-bit value: one look-up per half group.
struct TBase64Pairs {
    std::array<std::uint16_t, 4096> Pairs{};
    TBase64Pairs() {
        for (int v = 0; v < 4096; ++v) {
            const auto first = static_cast<unsigned char>(kBase64Alphabet[v >> 6]);
            const auto second = static_cast<unsigned char>(kBase64Alphabet[v & 63]);
            const unsigned char bytes[2] = {first, second};
            std::memcpy(&Pairs[v], bytes, 2);
        }
    }
};

const TBase64Pairs& Base64Pairs() {
    static const TBase64Pairs pairs;
    return pairs;
}

// Encodes up to 57 bytes as one line without its line end; returns the end.
char* EncodeBase64Line(const unsigned char* src, size_t count, char* dst, const TBase64Pairs& table) {
    size_t i = 0;
    // Four bytes read at once where a fourth byte exists (its bits unused).
    for (; i + 4 <= count; i += 3) {
        std::uint32_t word;
        std::memcpy(&word, src + i, 4);
        const std::uint32_t v = __builtin_bswap32(word) >> 8;
        std::uint32_t chars = table.Pairs[v >> 12] | (std::uint32_t{table.Pairs[v & 0xFFF]} << 16);
        std::memcpy(dst, &chars, 4);
        dst += 4;
    }
    for (; i + 3 <= count; i += 3) {
        const std::uint32_t v = (std::uint32_t{src[i]} << 16) | (std::uint32_t{src[i + 1]} << 8) | src[i + 2];
        std::memcpy(dst, &table.Pairs[v >> 12], 2);
        std::memcpy(dst + 2, &table.Pairs[v & 0xFFF], 2);
        dst += 4;
    }
    const size_t rest = count - i;
    if (rest == 1) {
        const unsigned v = src[i];
        *dst++ = kBase64Alphabet[v >> 2];
        *dst++ = kBase64Alphabet[(v & 3) << 4];
        *dst++ = '=';
        *dst++ = '=';
    } else if (rest == 2) {
        const unsigned v = (unsigned{src[i]} << 8) | src[i + 1];
        *dst++ = kBase64Alphabet[v >> 10];
        *dst++ = kBase64Alphabet[(v >> 4) & 63];
        *dst++ = kBase64Alphabet[(v & 15) << 2];
        *dst++ = '=';
    }
    return dst;
}

// Whole lines, each followed by CR LF; returns the end of the output.
char* EncodeBase64Block(const unsigned char* src, size_t count, char* dst) {
    const TBase64Pairs& table = Base64Pairs();
    while (count > 0) {
        const size_t take = count < kBase64LineBytes ? count : kBase64LineBytes;
        dst = EncodeBase64Line(src, take, dst, table);
        *dst++ = '\r';
        *dst++ = '\n';
        src += take;
        count -= take;
    }
    return dst;
}

size_t Base64LinesSize(size_t count) {
    const size_t full = count / kBase64LineBytes;
    const size_t rest = count % kBase64LineBytes;
    return full * (kBase64LineChars + 2) + (rest ? (rest + 2) / 3 * 4 + 2 : 0);
}

// Alphabet value, kPad for "=", kSkip for anything else.
constexpr signed char kPad = -2;
constexpr signed char kSkip = -1;

struct TBase64Values {
    std::array<signed char, 256> Values{};
    TBase64Values() {
        Values.fill(kSkip);
        for (int i = 0; i < 64; ++i)
            Values[static_cast<unsigned char>(kBase64Alphabet[i])] = static_cast<signed char>(i);
        Values['='] = kPad;
    }
};

const TBase64Values& Base64Values() {
    static const TBase64Values values;
    return values;
}

// The UU value of a character, -1 outside the alphabet.
int UUValue(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code == ' ' || code == 0x60) return 0;
    if (code >= 0x21 && code <= 0x5F) return code - 0x20;
    return -1;
}

}  // namespace

std::string EncodeQuotedPrintable(std::string_view Text, bool HeaderMode) {
    std::string out;
    const size_t n = Text.size();
    if (HeaderMode) {
        out.reserve(n * 3);
        for (char ch : Text) {
            const auto c = static_cast<unsigned char>(ch);
            if (AlwaysEscaped(c) || HeaderEscaped(c))
                AppendEscape(out, c);
            else
                out += ch;
        }
        return out;
    }
    // At most three characters a byte, a soft break per 69 of those, and the
    // last line end.
    out.resize(n * 3 + n / 7 + 8);
    TQuotedPrintableWriter writer(out.data());
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(Text[i]);
        if (c == '\r' && i + 1 < n && Text[i + 1] == '\n') {
            writer.LineEnd();
            ++i;
        } else if (c == ' ' || c == '\t') {
            writer.Blank(static_cast<char>(c));
        } else if (AlwaysEscaped(c) || c == '\r' || c == '\n') {
            writer.Escape(c);  // a CR or LF that is not part of a pair
        } else {
            writer.Literal(static_cast<char>(c));
        }
    }
    out.resize(writer.Finish());
    return out;
}

std::string DecodeQuotedPrintable(std::string_view Text) {
    std::string out(Text.size(), '\0');
    char* dst = out.data();
    const size_t n = Text.size();
    size_t i = 0;
    while (i < n) {
        const char c = Text[i];
        if (c != '=') {
            *dst++ = c;
            ++i;
            continue;
        }
        if (n - i - 1 < 2) break;
        const char c1 = Text[i + 1];
        if (c1 == '\n') {
            i += 2;  // soft break before a bare LF
            continue;
        }
        const int high = HexValue(c1);
        const int low = HexValue(Text[i + 2]);
        if (high >= 0 && low >= 0) *dst++ = static_cast<char>(high * 16 + low);
        // "=" CR LF is a soft break; any other sequence is dropped.
        i += 3;
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

void EncodeBase64(TStream* Dest, TStream* Source) {
    Source->SetPosition(0);
    // Dest is sized once up front and overwritten, so a memory stream
    // neither grows line by line nor gives up memory it can reuse.
    const int64_t expected = static_cast<int64_t>(Base64LinesSize(static_cast<size_t>(Source->Size())));
    Dest->SetSize(expected);
    Dest->SetPosition(0);
    constexpr int kBlock = kBase64LineBytes * kBase64BlockLines;
    unsigned char in[kBlock];
    char out[kBase64BlockLines * (kBase64LineChars + 2)];
    for (;;) {
        int filled = 0;
        while (filled < kBlock) {
            const int got = Source->Read(in + filled, kBlock - filled);
            if (got <= 0) break;
            filled += got;
        }
        if (filled == 0) break;
        const char* end = EncodeBase64Block(in, static_cast<size_t>(filled), out);
        Dest->WriteBuffer(out, static_cast<int>(end - out));
        if (filled < kBlock) break;
    }
    if (Dest->Position() != expected) Dest->SetSize(Dest->Position());
}

std::string EncodeBase64Lines(std::string_view Data) {
    std::string out(Base64LinesSize(Data.size()), '\0');
    EncodeBase64Block(reinterpret_cast<const unsigned char*>(Data.data()), Data.size(), out.data());
    return out;
}

std::string EncodeBase64String(std::string_view Text) {
    std::string out((Text.size() + 2) / 3 * 4, '\0');
    const TBase64Pairs& table = Base64Pairs();
    const auto* src = reinterpret_cast<const unsigned char*>(Text.data());
    char* dst = out.data();
    for (size_t done = 0; done < Text.size(); done += kBase64LineBytes) {
        const size_t take = Text.size() - done < kBase64LineBytes ? Text.size() - done : kBase64LineBytes;
        dst = EncodeBase64Line(src + done, take, dst, table);
    }
    return out;
}

namespace {

// Decodes groups of four alphabet characters, skipping anything else; with
// `linewise`, a group left unfinished at a CR LF is dropped there, as when
// each line is decoded on its own. Returns the end of the output.
char* DecodeBase64Groups(std::string_view text, char* dst, bool linewise) {
    const TBase64Values& table = Base64Values();
    int group[4];
    int filled = 0;
    const auto* values = table.Values.data();
    for (size_t i = 0; i < text.size(); ++i) {
        if (filled == 0 && i + 4 <= text.size()) {
            // The common case: four alphabet characters in a row.
            const int a = values[static_cast<unsigned char>(text[i])];
            const int b = values[static_cast<unsigned char>(text[i + 1])];
            const int c = values[static_cast<unsigned char>(text[i + 2])];
            const int d = values[static_cast<unsigned char>(text[i + 3])];
            if ((a | b | c | d) >= 0) {
                const std::uint32_t v = (std::uint32_t(a) << 18) | (std::uint32_t(b) << 12) |
                                        (std::uint32_t(c) << 6) | std::uint32_t(d);
                dst[0] = static_cast<char>(v >> 16);
                dst[1] = static_cast<char>(v >> 8);
                dst[2] = static_cast<char>(v);
                dst += 3;
                i += 3;
                continue;
            }
        }
        const char ch = text[i];
        if (linewise && ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            filled = 0;
            ++i;
            continue;
        }
        const signed char v = table.Values[static_cast<unsigned char>(ch)];
        if (v == kSkip) continue;
        group[filled++] = v;
        if (filled < 4) continue;
        filled = 0;
        if (group[0] == kPad) continue;
        const int a = group[0];
        const int b = group[1] < 0 ? 0 : group[1];
        const int c = group[2] < 0 ? 0 : group[2];
        const int d = group[3] < 0 ? 0 : group[3];
        *dst++ = static_cast<char>(a * 4 + b / 16);
        if (group[2] == kPad) continue;
        *dst++ = static_cast<char>((b % 16) * 16 + c / 4);
        if (group[3] == kPad) continue;
        *dst++ = static_cast<char>((c % 4) * 64 + d);
    }
    return dst;
}

}  // namespace

int DecodeBase64(std::string_view Text, std::string& Buffer) {
    Buffer.resize(Text.size() / 4 * 3);
    Buffer.resize(static_cast<size_t>(DecodeBase64Groups(Text, Buffer.data(), false) - Buffer.data()));
    return static_cast<int>(Buffer.size());
}

std::string DecodeBase64Lines(std::string_view Text) {
    std::string out(Text.size() / 4 * 3, '\0');
    out.resize(static_cast<size_t>(DecodeBase64Groups(Text, out.data(), true) - out.data()));
    return out;
}

void DecodeBase64Lines(TMemoryStream* Dest, std::string_view Text) {
    // Decoded in place; a stream that already has the room keeps its memory.
    Dest->SetSize(static_cast<int64_t>(Text.size() / 4 * 3));
    char* start = static_cast<char*>(Dest->Memory());
    const char* end = start ? DecodeBase64Groups(Text, start, true) : start;
    Dest->SetSize(end - start);
    Dest->SetPosition(0);
}

int UUCharValue(char C) {
    const int value = UUValue(C);
    if (value < 0) throw Exception("UUCODE message format error");
    return value;
}

int DecodeUULine(std::string_view Line, std::string& Buffer) {
    Buffer.clear();
    while (!Line.empty() && (Line.back() == '\r' || Line.back() == '\n')) Line.remove_suffix(1);
    if (Line.empty()) return 0;
    int count = UUValue(Line[0]);
    if (count <= 0) return 0;
    if (count > kUULineBytes) count = kUULineBytes;
    // Characters past the line's end count as zero; past 60 they are not data.
    unsigned char bytes[kUULineBytes] = {};
    const size_t chars = Line.size() - 1 < kUULineChars ? Line.size() - 1 : kUULineChars;
    for (size_t k = 0; k < chars; ++k) {
        const int value = UUValue(Line[k + 1]);
        if (value < 0) return 0;
        const size_t bit = k * 6;
        const unsigned wide = static_cast<unsigned>(value)
                              << (10 - bit % 8);  // 6 bits at bit%8 of a 16-bit window
        bytes[bit / 8] |= static_cast<unsigned char>(wide >> 8);
        if (bit / 8 + 1 < kUULineBytes) bytes[bit / 8 + 1] |= static_cast<unsigned char>(wide & 0xFF);
    }
    Buffer.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    return count;
}
