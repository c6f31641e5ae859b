#pragma once
// Static helpers of the geometry library and its shared enumerations.
// ("grad" in a name means degrees of arc.)

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector2d.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeom
{
public:
    // Result of a polygon/segment intersection.
    enum intersectionType {
        kNoIntersection = 0,  // no point, the segment is not inside
        kIntersection = 1,    // intersection points were found
        kSegmentInside = 2    // no point, the segment lies inside the polygon
    };
    // Filter applied to each candidate intersection point.
    enum intersectionTestType {
        kAllPoints = 0,      // every candidate counts
        kNotBothEnds = 1,    // rejected only when equal to both segment ends
        kNoPoints = 2        // this and any other value: no candidate counts
    };
    // Answer of the half-plane tests.
    enum Containment { kBehind = 0, kOnBoundaryLine = 1, kInFront = 2, kCrossing = 3 };
    // Three-way comparison.
    enum result { kLess = -1, kEqual = 0, kGreater = 1 };
    enum sortTypeForPoint2dArray { kSortByX = 0, kSortByY = 1 };

    static double gradToRad(double degrees);
    // The unit vector (cos r, sin r) of an angle in degrees.
    static VelGeomVector2d gradToVector2d(double degrees);

    // True when the two directions are parallel, anti-parallel or perpendicular
    // within 0.09 degrees; zero vectors count as perpendicular.
    static bool orthogonal(const VelGeomVector3d& a, const VelGeomVector3d& b);

    // Sorts ascending by dot(dir, p); stable (equal projections keep order).
    static void sortPointsInDirection(VelGeomVector3d dir, VelArray<VelGeomPoint3d>& pts);

    // Removes near-duplicates: walking from the front, each surviving point
    // removes every later point within tol (inclusive). Greedy: the first of
    // each cluster survives and the order of survivors is kept.
    static void removeEqual(VelArray<VelGeomPoint3d>& pts, double tol);
    static void removeEqual(VelArray<VelGeomPoint2d>& pts, double tol);

    // Unit normal of a point ring by the right-hand rule. Closes the caller's
    // array (appends the first point) when it is open. Falls back to the sum
    // of all cross products when the ring is not convex around its first long
    // edge.
    static VelGeomVector3d polygonNormal(VelArray<VelGeomPoint3d>& pts);

private:
    friend class VelGeomPolygon2d;
    static VelGeomVector3d konkavNormalTest(const VelArray<VelGeomPoint3d>& pts);
};
