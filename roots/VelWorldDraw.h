#pragma once
// The host's world (viewport-independent) draw context.

#include "roots/VelCommonDraw.h"

class VelWorldDraw : public VelCommonDraw
{
public:
    ~VelWorldDraw() override;
};
