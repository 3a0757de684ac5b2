#include "classlib/core/laterlibrary.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"

void RaiseMissingFunction(const wchar_t* Library, const char* Name, unsigned long Error) {
    throw EOSError(Format("The system function %s of %s cannot be used: %s", Name, ToAnsi(Library),
                          SysErrorMessage(Error)),
                   Error);
}
