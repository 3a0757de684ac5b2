#include "mail/header_words.h"

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

}  // namespace

std::string DecodeHeaderWords(std::string_view Text) {
    std::string text = TrimSpace(Text);
    size_t from = 0;
    for (;;) {
        const size_t start = text.find("=?", from);
        if (start == std::string::npos) break;
        const size_t charsetEnd = text.find('?', start + 2);
        if (charsetEnd == std::string::npos) break;
        size_t end = text.find("?=", charsetEnd + 1);
        if (end == std::string::npos) break;
        // "?Q?=3D..." puts a "?=" right after the encoding letter: the word
        // really ends at the next "?" that is followed by "=".
        const size_t next = text.find('?', end + 1);
        if (next != std::string::npos && next + 1 < text.size() && text[next + 1] == '=') end = next;

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
