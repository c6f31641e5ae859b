#include "facet/host/modeler/Point3d.h"

namespace AModeler {

const Point3d Point3d::kNull(0.0, 0.0, 0.0);

} // namespace AModeler
