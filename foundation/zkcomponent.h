// `TZkComponent`: the base of the foundation's non-visual components; it adds
// nothing but the never-stored about-box property.
#pragma once

#include "classlib/core/component.h"
#include "foundation/zktypes.h"

class TZkComponent : public TComponent {
    VX_CLASS(TZkComponent, TComponent)
public:
    explicit TZkComponent(TComponent* AOwner) : TComponent(AOwner) {}

    TZKCLAboutInfo AboutZKCL() const { return {}; }
    void SetAboutZKCL(const TZKCLAboutInfo&) {}
};
