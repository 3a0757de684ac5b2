// The painters of the skinned bar parts: item backgrounds, separators, item
// images, popups, the status bar, window captions and frames, dock and
// toolbar backgrounds, and a docked toolbar's grip and close button. Each
// paints by the effective skin type: system colours and classic edges,
// visual styles (classic again where the theme draws nothing), or the skin.
#pragma once

#include "classlib/graphics/canvas.h"
#include "skins/skinoptions.h"

class TControl;
class TCustomImageList;

// What an item painter needs to know of the item.
struct TSbItemPaintInfo {
    TSbSkinStatesType State = sknsNormal;
    bool InMenu = false;     // an entry of a popup menu
    bool OnMenuBar = false;  // an entry of a menu bar
    bool SplitButton = false;
    int SplitWidth = 12;  // the drop-down part of a split button
    bool SubmenuOpen = false;
    bool VerticalBar = false;
};

void PaintItemBackground(TCanvas* Canvas, const TRect& R, const TSbItemPaintInfo& Item);
// Vertical: the separator line runs top to bottom (items side by side).
void PaintSeparator(TCanvas* Canvas, const TRect& R, bool Vertical);
void PaintItemImage(TCanvas* Canvas, const TRect& R, TCustomImageList* Images, int Index, bool Enabled,
                    bool HotTrack);
// GutterWidth: the image column at the left (0: none).
void PaintPopupBackground(TCanvas* Canvas, const TRect& R, int GutterWidth);
// SkinType: the bar's own; sknNone or sknWindows paint that way whatever
// the skin.
void PaintStatusBar(TCanvas* Canvas, const TRect& R, bool SizeGrip, TSbSkinType SkinType = sknSkin);
// The size grip's square at the bottom right of a status bar.
TRect StatusBarGripRect(const TRect& R);
void PaintWindowCaption(TCanvas* Canvas, const TRect& R, bool Active);
void PaintWindowFrame(TCanvas* Canvas, const TRect& R, int RingCount, bool Active);
// Component: the bar's own ("Dock", "Toolbar", "MenuBar", ...). Control
// gives the parent background under the classic look.
void PaintDockBackground(TControl* Control, TCanvas* Canvas, const TRect& R, TSbSkinComponentsType Component,
                         bool Toolbar, bool VerticalBar);
// Grip and close button of a docked toolbar; an empty rectangle skips its part.
void PaintToolbarNC(TCanvas* Canvas, const TRect& Grip, const TRect& Close, bool VerticalBar,
                    TSbSkinStatesType CloseState);
