#include "mail/header_lines.h"

#include <vector>

#include "classlib/core/strings.h"

namespace {

constexpr size_t kFoldWidth = 73;  // lines shorter than this stay whole
constexpr size_t kContinuationValueColumn = 36;

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

// Positions of ":" and ";" outside double quotes, scanning from the line's
// start so that the quote state is right.
struct THeaderScan {
    size_t Colon = std::string_view::npos;
    std::vector<size_t> Semicolons;  // after the colon only
};

THeaderScan ScanHeaderLine(std::string_view line) {
    THeaderScan scan;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted) {
            if (c == ':' && scan.Colon == std::string_view::npos)
                scan.Colon = i;
            else if (c == ';' && scan.Colon != std::string_view::npos)
                scan.Semicolons.push_back(i);
        }
    }
    return scan;
}

std::string StripDoubleQuotes(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

// The parameter segments of a scanned line: [start, end) after each ";".
struct TParamSpan {
    size_t NameStart, Equals, End;  // Equals is npos without "="
};

std::vector<TParamSpan> ParamSpans(std::string_view line, const THeaderScan& scan) {
    std::vector<TParamSpan> spans;
    for (size_t k = 0; k < scan.Semicolons.size(); ++k) {
        const size_t start = scan.Semicolons[k] + 1;
        const size_t end = k + 1 < scan.Semicolons.size() ? scan.Semicolons[k + 1] : line.size();
        const size_t eq = line.substr(start, end - start).find('=');
        spans.push_back({start, eq == std::string_view::npos ? eq : start + eq, end});
    }
    return spans;
}

const TParamSpan* FindParam(std::string_view line, const std::vector<TParamSpan>& spans,
                            std::string_view param) {
    const std::string wanted = TrimSpace(param);
    for (const TParamSpan& span : spans) {
        if (span.Equals == std::string_view::npos) continue;
        if (SameTextAscii(TrimSpace(line.substr(span.NameStart, span.Equals - span.NameStart)), wanted))
            return &span;
    }
    return nullptr;
}

// The column (from 1) where the value of a header line starts: after its
// first ": ", or 2 when there is none.
size_t ValueColumn(std::string_view line) {
    const size_t colon = line.find(": ");
    return colon == std::string_view::npos ? 2 : colon + 3;
}

bool OnlyBlanks(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// The 0-based index of the break character for a line of kFoldWidth
// characters or more, or npos. A break that would leave nothing but blanks
// for the continuation line is not taken: an empty continuation line would
// end the header.
size_t FindFoldBreak(std::string_view line, size_t valueColumn) {
    std::vector<bool> quoted(line.size());
    char quote = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        quoted[i] = quote != 0;
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
            quoted[i] = true;
        }
    }
    const size_t first = valueColumn > 0 ? valueColumn - 1 : 0;
    for (size_t i = kFoldWidth - 1; i-- > first;) {
        if (i >= line.size()) continue;
        const char c = line[i];
        if ((c == ' ' || c == ',' || c == ';') && !quoted[i] && !OnlyBlanks(line.substr(i + 1))) return i;
    }
    return std::string_view::npos;
}

}  // namespace

std::string TrimSpace(std::string_view Text) {
    size_t start = 0;
    while (start < Text.size() && (Text[start] == ' ' || Text[start] == '\t')) ++start;
    size_t end = Text.size();
    while (end > start && Text[end - 1] == ' ') --end;
    return std::string(Text.substr(start, end - start));
}

std::string TrimLeftSpace(std::string_view Text) {
    size_t start = 0;
    while (start < Text.size() && (Text[start] == ' ' || Text[start] == '\t')) ++start;
    return std::string(Text.substr(start));
}

std::string PadLeft(std::string_view Text, int Width, std::string_view Fill) {
    std::string result = TrimLeftSpace(Text);
    const size_t width = Width > 0 ? static_cast<size_t>(Width) : 0;
    if (result.size() > width) return result.substr(result.size() - width);
    if (Fill.empty()) return result;
    while (result.size() < width) result.insert(0, Fill);
    return result;
}

std::string GetHeaderLineValue(std::string_view Line) {
    const THeaderScan scan = ScanHeaderLine(Line);
    if (scan.Colon == std::string_view::npos) return {};
    const size_t end = scan.Semicolons.empty() ? Line.size() : scan.Semicolons.front();
    return StripDoubleQuotes(TrimSpace(Line.substr(scan.Colon + 1, end - scan.Colon - 1)));
}

std::string GetHeaderLineText(std::string_view Line) {
    const THeaderScan scan = ScanHeaderLine(Line);
    if (scan.Colon == std::string_view::npos) return {};
    return TrimSpace(Line.substr(scan.Colon + 1));
}

std::string SetHeaderLineValue(std::string_view Line, std::string_view Value) {
    const THeaderScan scan = ScanHeaderLine(Line);
    if (scan.Colon == std::string_view::npos) return std::string(Line);
    const size_t end = scan.Semicolons.empty() ? Line.size() : scan.Semicolons.front();
    std::string result(Line.substr(0, scan.Colon + 1));
    result += ' ';
    result += TrimSpace(Value);
    result += Line.substr(end);
    return result;
}

std::string GetHeaderParamValue(std::string_view Line, std::string_view Param) {
    std::string line = TrimSpace(Line);
    if (line.empty() || line.back() != ';') line += ';';
    const THeaderScan scan = ScanHeaderLine(line);
    const std::vector<TParamSpan> spans = ParamSpans(line, scan);
    const TParamSpan* span = FindParam(line, spans, Param);
    if (!span) return {};
    return StripDoubleQuotes(
        TrimSpace(std::string_view(line).substr(span->Equals + 1, span->End - span->Equals - 1)));
}

std::string SetHeaderParamValue(std::string_view Line, std::string_view Param, std::string_view Value) {
    const THeaderScan scan = ScanHeaderLine(Line);
    const std::vector<TParamSpan> spans = ParamSpans(Line, scan);
    if (const TParamSpan* span = FindParam(Line, spans, Param)) {
        std::string result(Line.substr(0, span->Equals + 1));
        result += TrimSpace(Value);
        result += Line.substr(span->End);
        return result;
    }
    std::string result = TrimSpace(Line);
    if (!result.empty() && result.back() == ';') result.pop_back();
    result += "; ";
    result += TrimSpace(Param);
    result += '=';
    result += TrimSpace(Value);
    return result;
}

int FindLabelLine(const TStrings* Lines, std::string_view Label, int N) {
    int seen = 0;
    for (int i = 0; i < Lines->Count(); ++i) {
        const std::string line = Lines->Strings(i);
        if (line.size() >= Label.size() &&
            SameTextAscii(std::string_view(line).substr(0, Label.size()), Label)) {
            if (seen == N) return i;
            ++seen;
        }
    }
    return -1;
}

void ReadLine(std::string_view Text, std::string& Line, int& Pos) {
    Line.clear();
    if (Pos < 0 || static_cast<size_t>(Pos) >= Text.size()) {
        Pos = -1;
        return;
    }
    const size_t start = static_cast<size_t>(Pos);
    const size_t crlf = Text.find("\r\n", start);
    const size_t end = crlf == std::string_view::npos ? Text.size() : crlf + 2;
    Line.assign(Text.substr(start, end - start));
    Pos = end >= Text.size() ? -1 : static_cast<int>(end);
}

std::string FoldHeaderLines(std::string_view Text) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < Text.size(); ++i) {
        const char c = Text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    lines.push_back(current);
    // Line ends at the end of the text go; an empty text has no lines at all.
    while (!lines.empty() && lines.back().empty()) lines.pop_back();

    std::string out;
    for (std::string& line : lines) {
        size_t valueColumn = !line.empty() && line[0] == '\t' ? kContinuationValueColumn : ValueColumn(line);
        for (;;) {
            if (line.size() < kFoldWidth) {
                out += line;
                out += "\r\n";
                break;
            }
            const size_t at = FindFoldBreak(line, valueColumn);
            if (at == std::string_view::npos) {
                out += line;
                out += "\r\n";
                break;
            }
            out.append(line, 0, line[at] == ' ' ? at : at + 1);
            out += "\r\n\t";
            line.erase(0, at + 1);
            valueColumn = ValueColumn(line);
        }
    }
    return out;
}
