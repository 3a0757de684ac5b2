// Older form files stored wide properties a second time, as "NameW" (UTF-8)
// and "Name_UTF7"; those values are read and dropped, never written.
#pragma once

class TFiler;
class TPersistent;

// Called from DefineProperties: for each published wide-string or
// wide-character property N of Instance, "NW" and "N_UTF7" are read and
// dropped. A value that does not decode is dropped as well: the form loads on.
void DefineWideProperties(TFiler* Filer, TPersistent* Instance);
