// Hint texts: a control's hint holds a short part for the tooltip and a long
// part for the status line, split at the first "|".
#pragma once

#include <string>

// The part before the first "|", or the whole hint when it has none.
std::string GetShortHint(const std::string& Hint);
std::wstring GetShortHint(const std::wstring& Hint);
// The part after the first "|", or the whole hint when it has none.
std::string GetLongHint(const std::string& Hint);
std::wstring GetLongHint(const std::wstring& Hint);
