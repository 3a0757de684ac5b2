#include "classlib/core/exceptions.h"

#include "classlib/core/text.h"

Exception::Exception(const std::wstring& message) : message_(ToAnsi(message)), wideMessage_(message) {}

std::wstring Exception::WideMessage() const {
    return wideMessage_.empty() ? ToWide(message_) : wideMessage_;
}

void Abort() {
    throw EAbort("Operation aborted");
}
