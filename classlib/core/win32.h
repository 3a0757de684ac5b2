// The one way project code reaches the Win32 API: <windows.h> with the
// generic A/W-selecting macros removed where they collide with class-library
// names of ours. Append an #undef here when a new name collides.
#pragma once

#include <windows.h>

#undef DeleteFile

// Window, message and drawing names of the class library (TWinControl's
// CreateWindow-like helpers, TApplication::MessageBox, TCanvas::TextOut and
// DrawText, RegisterClass of the object model, ...). Code calls the W forms.
#undef CopyFile
#undef CreateFont
#undef CreateWindow
#undef DrawText
#undef FindWindow
#undef GetClassName
#undef GetMessage
#undef GetObject
#undef LoadBitmap
#undef LoadCursor
#undef LoadIcon
#undef LoadImage
#undef MessageBox
#undef MoveFile
#undef PostMessage
#undef RegisterClass
#undef SendMessage
#undef TextOut
#undef UnregisterClass

// The common controls' macros send through SNDMSG: keep it pointing at a
// real function now that SendMessage is gone.
#undef SNDMSG
#define SNDMSG ::SendMessageW
#include <commctrl.h>

// The print spooler's SetPort collides with the client socket's setter.
#undef SetPort
