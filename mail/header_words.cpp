#include "mail/header_words.h"

#include <algorithm>
#include <vector>

#include "classlib/core/text.h"
#include "mail/header_lines.h"
#include "mail/mime_codecs.h"

namespace {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string DecodeWordText(char encoding, std::string_view text) {
    std::string bytes;
    if (encoding == 'B') {
        DecodeBase64(text, bytes);
    } else if (encoding == 'U') {
        DecodeUULine(text, bytes);
    } else {
        std::string underscoresAsBlanks(text);
        for (char& c : underscoresAsBlanks)
            if (c == '_') c = ' ';
        bytes = DecodeQuotedPrintable(underscoresAsBlanks);
    }
    const size_t zero = bytes.find('\0');
    if (zero != std::string::npos) bytes.resize(zero);
    return bytes;
}

bool IsFoldingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Longer plain text could not share a 998-character line with its label and
// address; as encoded words it folds.
constexpr size_t kLongestPlainText = 900;

// What may stand unescaped in the text of an encoded word inside a name:
// anything else would end the word for a reader that reads names word by word.
bool AllowedInName(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' ||
           c == '*' || c == '+' || c == '-' || c == '/';
}

// The header-mode quoted-printable text cut into characters: one piece per
// character, an escape for each of its bytes. In UTF-8 a character is its
// lead byte with the continuation bytes after it; a word must not end
// between them, or neither word would decode alone.
std::vector<std::string> EncodedCharacters(std::string_view Text, std::string_view Charset, bool InName) {
    const std::string encoded = EncodeQuotedPrintable(Text, true);
    const bool utf8 = SameText(Charset, "utf-8") || SameText(Charset, "utf8");
    std::vector<std::string> characters;
    for (size_t i = 0; i < encoded.size();) {
        std::string piece;
        bool continuation = false;
        if (encoded[i] == '=' && i + 3 <= encoded.size()) {
            piece = encoded.substr(i, 3);
            // Continuation bytes are 0x80 to 0xBF.
            continuation = utf8 && (piece[1] == '8' || piece[1] == '9' || piece[1] == 'A' || piece[1] == 'B');
            i += 3;
        } else {
            const char c = encoded[i++];
            if (InName && !AllowedInName(c)) {
                piece = '=' + IntToHex(static_cast<unsigned char>(c), 2);
            } else {
                piece = c;
            }
        }
        // At most four bytes make a character: stray continuation bytes
        // beyond that start characters of their own.
        if (continuation && !characters.empty() && characters.back()[0] == '=' &&
            characters.back().size() < 12)
            characters.back() += piece;
        else
            characters.push_back(std::move(piece));
    }
    return characters;
}

// The characters packed into words of at most kMaxEncodedWordLength (a
// single character that cannot fit, under a very long charset name, still
// gets a word of its own), joined by blanks.
std::string PackWords(const std::vector<std::string>& Characters, std::string_view Charset) {
    const std::string opening = "=?" + std::string(Charset) + "?Q?";
    const size_t frame = opening.size() + 2;
    std::string words, word;
    auto close = [&] {
        if (!words.empty()) words += ' ';
        words += opening + word + "?=";
        word.clear();
    };
    for (const std::string& character : Characters) {
        if (!word.empty() && frame + word.size() + character.size() > kMaxEncodedWordLength) close();
        word += character;
    }
    if (!word.empty()) close();
    return words;
}

std::string EncodeWords(std::string_view Text, std::string_view Charset, bool InName) {
    return PackWords(EncodedCharacters(Text, Charset, InName), Charset);
}

bool NeedsWords(std::string_view Text) {
    return Text.size() > kLongestPlainText || EncodeQuotedPrintable(Text, true) != Text;
}

}  // namespace

std::string DecodeHeaderWords(std::string_view Text) {
    std::string text = TrimSpace(Text);
    size_t from = 0;
    size_t lastWordEnd = std::string::npos;
    for (;;) {
        size_t start = text.find("=?", from);
        if (start == std::string::npos) break;
        size_t charsetEnd = text.find('?', start + 2);
        if (charsetEnd == std::string::npos) break;
        size_t end = text.find("?=", charsetEnd + 1);
        if (end == std::string::npos) break;
        // "?Q?=3D..." puts a "?=" right after the encoding letter: the word
        // really ends at the next "?" that is followed by "=".
        const size_t next = text.find('?', end + 1);
        if (next != std::string::npos && next + 1 < text.size() && text[next + 1] == '=') end = next;

        // A text split into several words reads as one.
        if (lastWordEnd == from && start > from &&
            std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                        text.begin() + static_cast<std::ptrdiff_t>(start), IsFoldingBlank)) {
            const size_t gap = start - from;
            text.erase(from, gap);
            start -= gap;
            charsetEnd -= gap;
            end -= gap;
        }

        const std::string_view body = std::string_view(text).substr(charsetEnd + 1, end - charsetEnd - 1);
        char encoding = 'Q';
        if (body.size() >= 2 && body[1] == '?') {
            const char letter = UpperAscii(body[0]);
            if (letter == 'B' || letter == 'Q' || letter == 'U') encoding = letter;
        }
        const std::string decoded =
            DecodeWordText(encoding, body.size() > 2 ? body.substr(2) : std::string_view());
        text.replace(start, end + 2 - start, decoded);
        // Decoded bytes are text, not more words.
        from = start + decoded.size();
        lastWordEnd = from;
    }
    return text;
}

std::string EncodeHeaderWords(std::string_view Text, std::string_view Charset) {
    const std::string encoded = EncodeQuotedPrintable(Text, true);
    if (encoded == Text) return std::string(Text);
    std::string word = "=?";
    word += Charset;
    word += "?Q?";
    word += encoded;
    word += "?=";
    return word;
}

std::string EncodeHeaderText(std::string_view Text, std::string_view Charset) {
    if (!NeedsWords(Text)) return std::string(Text);
    return EncodeWords(Text, Charset, false);
}

std::string EncodeDisplayName(std::string_view Name, std::string_view Charset) {
    // A plain name holds no blank, quote or backslash (those need escapes),
    // so it goes between quotes as it is.
    if (!NeedsWords(Name)) return '"' + std::string(Name) + '"';
    return EncodeWords(Name, Charset, true);
}
