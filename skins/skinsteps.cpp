#include "skins/skinsteps.h"

namespace {

TColor Resolve(TColor color, std::span<const TColor> palette) {
    if ((static_cast<std::uint32_t>(color) & 0xFF000000u) != 0x40000000u) return color;
    const std::size_t index = static_cast<std::uint32_t>(color) & 0xFFu;
    return index < palette.size() ? palette[index] : clNone;
}

}  // namespace

void ApplySkinSteps(TSbSkinOptions* Skin, std::span<const TSbSkinStep> Steps,
                    std::span<const TColor> Palette) {
    for (const TSbSkinStep& step : Steps) {
        TSbSkinOptionCategory* category = Skin->Options(step.Component, step.State);
        auto fill = [&](TSbSkinOptionEntry* entry) {
            entry->Fill(step.Type, Resolve(step.C1, Palette), Resolve(step.C2, Palette),
                        Resolve(step.C3, Palette), Resolve(step.C4, Palette));
        };
        switch (step.Kind) {
            case sskBody:
                fill(category->Body());
                break;
            case sskBorders:
                fill(category->Borders());
                break;
            case sskTextColor:
                category->TextColor = Resolve(step.C1, Palette);
                break;
            case sskCopy:
                Skin->CopyOptions(step.From, step.Component);
                break;
            case sskAssign:
                category->Assign(Skin->Options(step.From, step.FromState));
                break;
            case sskResetBody:
                category->Body()->Reset();
                break;
            case sskResetCategory:
                category->Reset();
                break;
            case sskZeroBordersType:
                category->Borders()->SkinType = 0;
                break;
        }
    }
}
