// The small vocabulary the mail unit publishes: transfer encodings, how
// embedded parts are referenced, the SMTP handshake mode and the progress
// notification of a send, and how far a received reply has come.
#pragma once

#include "classlib/core/delegate.h"

class TObject;

enum TEncodingType { etBase64, etQuotedPrintable, etNoEncoding };
enum TEmbedMethod { emContentID, emContentLocation };
enum THandshaking { hsAuto, hsManual };
// How far a reply has come: still arriving, whole, not a reply of the
// protocol at all, or past the length any sound server sends.
enum class TReplyState { Partial, Complete, Invalid, TooLong };

using TProgressEvent = TDelegate<void(TObject* Sender, int Total, int Current)>;
