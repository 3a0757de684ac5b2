#include "skins/sbfontsettings.h"

void TSbFontSettings::Changed() {
    if (OnChange) OnChange(this);
}

void TSbFontSettings::SetColor(TColor Value) {
    if (color_ == Value) return;
    color_ = Value;
    Changed();
}

void TSbFontSettings::SetName(const std::string& Value) {
    if (name_ == Value) return;
    name_ = Value;
    Changed();
}

void TSbFontSettings::SetSize(TSbFontSize Value) {
    if (size_ == Value) return;
    size_ = Value;
    Changed();
}

void TSbFontSettings::SetStyle(TFontStyles Value) {
    if (style_ == Value) return;
    style_ = Value;
    Changed();
}

void TSbFontSettings::AssignTo(TPersistent* Dest) {
    auto* other = dynamic_cast<TSbFontSettings*>(Dest);
    if (!other) {
        inherited::AssignTo(Dest);
        return;
    }
    other->color_ = color_;
    other->name_ = name_;
    other->size_ = size_;
    other->style_ = style_;
    other->Changed();
}

int ScaledFontSize(int Base, TSbFontSize Percent) {
    if (Percent == 100) return Base;
    return (Base * Percent + 50) / 100;
}

void TSbFontSettings::Apply(TFont* Font) const {
    Font->SetColor(color_);
    if (size_ != 100) Font->SetSize(ScaledFontSize(Font->Size(), size_));
    if (!name_.empty()) Font->SetName(name_);
    if (Font->Style() != style_) Font->SetStyle(style_);
}
