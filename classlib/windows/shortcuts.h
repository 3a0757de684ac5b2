// Keyboard shortcuts as menus and actions keep them: a virtual-key code with
// Shift, Ctrl and Alt bits in one word, made from a key and a shift state, and
// turned into the text menus show ("Ctrl+S", "Shift+Del") and back.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/windows/messages.h"

using TShortCut = std::uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// The key in the low byte; Shift, Ctrl and Alt of the state as flag bits
// (mouse buttons in the state are ignored).
TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);

// "Shift+", "Ctrl+", "Alt+" (in that order) before the key's name; empty for
// 0 or for a key without a name.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse, without regard to case; 0 when the text names no key.
TShortCut TextToShortCut(const std::string& Text);
