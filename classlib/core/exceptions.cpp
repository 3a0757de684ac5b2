#include "classlib/exceptions.h"

void Abort() { throw EAbort("Operation aborted"); }
