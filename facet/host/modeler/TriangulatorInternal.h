#pragma once
// Ear clipping of one face loop in its plane's 2D coordinates. The loop may
// visit a point twice (bridges to holes) and may hold collinear or
// coincident neighbours; it always yields exactly n - 2 triangles (index
// triples into the loop, counterclockwise), those for merged neighbours of
// zero area, so the triangles of a face number its loop length minus two.

#include <array>
#include <cstdint>
#include <vector>

namespace AModeler {

struct Point2 
{
    double x, y;
};

// improve: Lawson flips of inner diagonals towards Delaunay triangles.
void triangulateLoop(const std::vector<Point2>& pts, bool improve, std::vector<std::array<int, 3>>& triangles);

// Lawson flips of the inner edges of a triangulation (counterclockwise index
// triples into pts) towards Delaunay triangles; boundary edges stay. Each
// flip needs a strictly convex quadrilateral, so a valid triangulation stays
// valid. Linear in practice: only edges next to a flip are looked at again.
void delaunayFlips(const std::vector<Point2>& pts, std::vector<std::array<int, 3>>& triangles);

} // namespace AModeler
