#include "facet/host/modeler/MorphingMap.h"

namespace AModeler {

const MorphingMap MorphingMap::kNull;

} // namespace AModeler
