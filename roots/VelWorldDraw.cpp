#include "roots/VelWorldDraw.h"

VelWorldDraw::~VelWorldDraw() = default;
