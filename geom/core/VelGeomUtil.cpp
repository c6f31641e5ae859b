#include "geom/core/VelGeomUtil.h"

VelGeomUtil::~VelGeomUtil() = default;
