// UTF-7 (RFC 2152), the 7-bit form in which wide form properties were
// streamed.
#pragma once

#include <string>

// Direct and optional direct characters stay as they are, "+" becomes "+-",
// everything else goes into "+...-" runs of base64.
std::string WideStringToUTF7(const std::wstring& W);
// Raises EWsGeneralError "Invalid UTF7" for a run that gives nothing (other
// than "+-"), a run that leaves bits set, or a byte above 127.
std::wstring UTF7ToWideString(const std::string& S);
