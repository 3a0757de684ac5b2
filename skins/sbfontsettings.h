// Per-item font settings of the skinned items: a colour, face, size in per
// cent of the bar's font and styles, applied on top of the bar's font.
#pragma once

#include <string>

#include "classlib/core/delegate.h"
#include "classlib/core/object.h"
#include "classlib/graphics/colors.h"
#include "classlib/graphics/graphics.h"

using TSbFontSize = int;

class TSbFontSettings : public TPersistent {
    VX_CLASS(TSbFontSettings, TPersistent)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    const std::string& Name() const { return name_; }
    void SetName(const std::string& Value);
    TSbFontSize Size() const { return size_; }
    void SetSize(TSbFontSize Value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles Value);

    // Fired by every change.
    TNotifyEvent OnChange;

    // Applies the settings to Font, a copy of the bar's font.
    void Apply(TFont* Font) const;

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    void Changed();

    TColor color_ = clNone;
    std::string name_;
    TSbFontSize size_ = 100;
    TFontStyles style_;
};

// The point size Percent per cent of Base, rounded half up; 100 keeps it.
int ScaledFontSize(int Base, TSbFontSize Percent);
