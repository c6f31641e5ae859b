#include "roots/VelCommonDraw.h"

VelCommonDraw::~VelCommonDraw() = default;
