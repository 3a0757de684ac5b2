// Reading and editing single header lines: the value and the parameters of a
// line (":" and ";" count only outside double quotes), finding a label among
// the header lines, reading a text line by line and folding header text.
#pragma once

#include <string>
#include <string_view>

class TStrings;

// Leading TABs and spaces and trailing spaces removed.
std::string TrimSpace(std::string_view Text);
// Leading TABs and spaces removed.
std::string TrimLeftSpace(std::string_view Text);
// Left-trimmed; the last Width characters when longer, else Fill put in front
// until the text is at least Width long.
std::string PadLeft(std::string_view Text, int Width, std::string_view Fill);

// Between the first ":" and the first ";" after it, trimmed, with a
// surrounding pair of double quotes removed.
std::string GetHeaderLineValue(std::string_view Line);
// Everything after the first ":", trimmed: the value with its parameters
// and quotes (address lists read it whole).
std::string GetHeaderLineText(std::string_view Line);
// Replaces the value (up to the first ";") by a space and the trimmed Value; a line without ":"
// comes back unchanged.
std::string SetHeaderLineValue(std::string_view Line, std::string_view Value);
// The value of parameter Param (name without regard to case), trimmed and
// unquoted; empty when the line has no such parameter.
std::string GetHeaderParamValue(std::string_view Line, std::string_view Param);
// Replaces the parameter's value, or appends "; Param=Value". Callers that
// want quotes pass them in Value.
std::string SetHeaderParamValue(std::string_view Line, std::string_view Param, std::string_view Value);

// Index of the (N+1)-th line (N from 0) that begins with Label (with its ":",
// without regard to case); -1 when there is none.
int FindLabelLine(const TStrings* Lines, std::string_view Label, int N);

// Line receives the characters from Pos (counted from 0) up to and including
// the next CR LF, or to the end; Pos moves past them, or becomes -1 once the
// text's last character has been read (or when it already was -1).
void ReadLine(std::string_view Text, std::string& Line, int& Pos);

// Header text as it goes out: line ends made CR LF, lines of 73 characters
// or more broken at a blank, "," or ";" outside quotes before column 73 and
// continued after CR LF TAB. The result ends with CR LF (empty text: empty).
std::string FoldHeaderLines(std::string_view Text);
