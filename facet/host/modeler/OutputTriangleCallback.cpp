#include "facet/host/modeler/OutputTriangleCallback.h"

namespace AModeler {

OutputTriangleCallback::~OutputTriangleCallback() = default;

void OutputTriangleCallback::outputTriStrip(Edge* const* edges, int count, bool fan)
{
    if (!edges)
        return;
    for (int k = 0; k + 2 < count; ++k) {
        Edge* tri[3];
        if (fan) {
            tri[0] = edges[0];
            tri[1] = edges[k + 1];
            tri[2] = edges[k + 2];
        } else if (k % 2 == 0) {
            tri[0] = edges[k];
            tri[1] = edges[k + 1];
            tri[2] = edges[k + 2];
        } else {
            tri[0] = edges[k + 1];
            tri[1] = edges[k];
            tri[2] = edges[k + 2];
        }
        outputTriangle(tri, 3);
    }
}

} // namespace AModeler
