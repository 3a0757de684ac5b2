// Transfer encodings of mail bodies and header words: quoted-printable (body
// and header modes) and base64 in both directions, and UU decoding. All texts
// are byte strings; hexadecimal is always written in upper case.
#pragma once

#include <string>
#include <string_view>

class TStream;
class TMemoryStream;

// Body mode: lines of at most 72 characters ending in CR LF, soft breaks
// never inside an escape, blanks before a line end escaped. Header mode:
// the word text of an encoded header word, no line breaks.
std::string EncodeQuotedPrintable(std::string_view Text, bool HeaderMode);
// Accepts upper- and lower-case hex and soft breaks before CR LF or a bare
// LF; a malformed escape is dropped with the two characters after its "=".
std::string DecodeQuotedPrintable(std::string_view Text);

// Dest is emptied, then receives the base64 of the whole Source in lines of
// 76 characters, each (the last too) followed by CR LF.
void EncodeBase64(TStream* Dest, TStream* Source);
// The same over byte strings.
std::string EncodeBase64Lines(std::string_view Data);
// The base64 of the whole text on one line, no line break (credentials).
std::string EncodeBase64String(std::string_view Text);
// Decodes one line; characters outside the alphabet (line ends, blanks) are
// skipped. Buffer receives the bytes; returns their number.
int DecodeBase64(std::string_view Text, std::string& Buffer);
// A whole body, line by line: as DecodeBase64 of each line ended by CR LF.
std::string DecodeBase64Lines(std::string_view Text);
// The same into a memory stream, which is replaced by the bytes.
void DecodeBase64Lines(TMemoryStream* Dest, std::string_view Text);

// The value 0..63 of a UU character (a space is 0); raises Exception
// "UUCODE message format error" for any other character.
int UUCharValue(char C);
// Decodes one UU line into Buffer and returns the byte count the line holds
// (at most 45); a line that is not UU data (such as "begin" and "end") gives 0.
int DecodeUULine(std::string_view Line, std::string& Buffer);
