#pragma once
// Ear clipping of one face loop in its plane's 2D coordinates. The loop may
// visit a point twice (bridges to holes) and may hold collinear or
// coincident neighbours; it always yields exactly n - 2 triangles (index
// triples into the loop, counterclockwise), those for merged neighbours of
// zero area, so the triangles of a face number its loop length minus two.

#include <array>
#include <vector>

namespace AModeler {

struct Point2 
{
    double x, y;
};

// improve: Lawson flips of inner diagonals towards Delaunay triangles.
void triangulateLoop(const std::vector<Point2>& pts, bool improve, std::vector<std::array<int, 3>>& triangles);

} // namespace AModeler
