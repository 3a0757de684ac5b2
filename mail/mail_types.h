// The small vocabulary the mail unit publishes: transfer encodings, how
// embedded parts are referenced, the SMTP handshake mode and the progress
// notification of a send.
#pragma once

#include "classlib/core/delegate.h"

class TObject;

enum TEncodingType { etBase64, etQuotedPrintable, etNoEncoding };
enum TEmbedMethod { emContentID, emContentLocation };
enum THandshaking { hsAuto, hsManual };

using TProgressEvent = TDelegate<void(TObject* Sender, int Total, int Current)>;
