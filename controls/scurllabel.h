// `TScURLLabel`: a label that opens its address (or, without one, its
// caption) through the shell when clicked, or from the keyboard with Enter
// or Space once Tab brought the focus to it, shows the hand cursor, and
// turns to the visited colour once the address opened.
#pragma once

#include <string>

#include "controls/sclabel.h"

// The screen cursor id of the hand the URL labels show.
constexpr TCursor crScHand = 26000;

class TScURLFocus;

class TScURLLabel : public TScLabel {
    VX_CLASS(TScURLLabel, TScLabel)
public:
    explicit TScURLLabel(TComponent* AOwner);
    void BeforeDestruction() override;

    const std::string& URL() const { return url_; }
    void SetURL(const std::string& Value) { url_ = Value; }
    bool Visited() const { return visited_; }
    virtual void SetVisited(bool Value);
    TColor UnvisitedColor() const { return unvisitedColor_; }
    virtual void SetUnvisitedColor(TColor Value);
    TColor VisitedColor() const { return visitedColor_; }
    virtual void SetVisitedColor(TColor Value);

    void Click() override;

    // The window that takes the keyboard focus for the label, which has
    // none of its own: a tab stop at the label's place among its parent's.
    TWinControl* FocusWindow() const;
    bool Focused() const;

    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

protected:
    virtual void UpdateURLColor();
    void Paint() override;

private:
    TScURLFocus* focus_ = nullptr;
    std::string url_;
    bool visited_ = false;
    TColor unvisitedColor_ = clHighlight;
    TColor visitedColor_ = 0x800080;
};

// The hand cursor, registered as crScHand on first use: the program's own
// on Windows 95 and NT 4, which lack one, else the system's; the system's
// also when the program carries none.
void RegisterHandCursor();
