#pragma once
// The modeler's door to CGAL. Every CGAL use lives in CgalBridge.cpp behind
// these plain-type functions, so the templates compile once and no CGAL type
// reaches another source or an installed header.

#include "facet/host/modeler/Point3d.h"

#include <array>
#include <vector>

namespace AModeler {
namespace cgal {

// Triangles of the convex hull of the points, as indices into `points`,
// counterclockwise seen from outside (exact predicates). Duplicate points
// map to their first occurrence. Throws eDegenerateGeometry when the points
// span no volume.
void convexHullTriangles(const std::vector<Point3d>& points, std::vector<std::array<int, 3>>& triangles);

} // namespace cgal
} // namespace AModeler
