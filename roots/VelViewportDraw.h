#pragma once
// The host's viewport-dependent draw context.

#include "roots/VelCommonDraw.h"

class VelViewportDraw : public VelCommonDraw
{
public:
    ~VelViewportDraw() override;

    // Identifier of the viewport being drawn.
    virtual long viewportId() const = 0;
};
