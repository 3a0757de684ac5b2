// `TScURLLabel`: a label that opens its address (or, without one, its
// caption) through the shell when clicked, shows the hand cursor, and turns
// to the visited colour once the address opened.
#pragma once

#include <string>

#include "controls/sclabel.h"

// The screen cursor id of the hand the URL labels show.
constexpr TCursor crScHand = 26000;

class TScURLLabel : public TScLabel {
    VX_CLASS(TScURLLabel, TScLabel)
public:
    explicit TScURLLabel(TComponent* AOwner);

    const std::string& URL() const { return url_; }
    void SetURL(const std::string& Value) { url_ = Value; }
    bool Visited() const { return visited_; }
    virtual void SetVisited(bool Value);
    TColor UnvisitedColor() const { return unvisitedColor_; }
    virtual void SetUnvisitedColor(TColor Value);
    TColor VisitedColor() const { return visitedColor_; }
    virtual void SetVisitedColor(TColor Value);

    void Click() override;

protected:
    virtual void UpdateURLColor();

private:
    std::string url_;
    bool visited_ = false;
    TColor unvisitedColor_ = clHighlight;
    TColor visitedColor_ = 0x800080;
};

// The hand cursor, registered as crScHand on first use: the program's own
// on Windows 95 and NT 4, which lack one, else the system's; the system's
// also when the program carries none.
void RegisterHandCursor();
