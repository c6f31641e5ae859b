#include "roots/VelViewportDraw.h"

VelViewportDraw::~VelViewportDraw() = default;
