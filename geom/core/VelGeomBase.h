#pragma once
// Library-wide constants and the qsort comparators of point arrays.
//
// About INFINITY: <cmath> defines a C macro INFINITY, which would turn the
// name of the constant VelGeomBase::INFINITY into nonsense. This header
// includes <cmath> first and then removes the macro for good (the standard
// headers' include guards keep it from coming back). After including any kiv
// geometry header, VelGeomBase::INFINITY (1e35, the library's "unbounded")
// is usable everywhere; for the floating-point infinity use
// std::numeric_limits<double>::infinity() or HUGE_VAL.

#include <cmath>
#ifdef INFINITY
#undef INFINITY
#endif

#include "geom/core/VelGeomVector2d.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomBase
{
public:
    static const double PI;        // acos(-1)
    static const double PIDIV180;  // PI / 180
    static const double INFINITY;  // 1e35: an unbounded quantity, not the IEEE infinity

    // Directions of the comparators below; set by the caller before sorting.
    static VelGeomVector3d vPtsSortDir;
    static VelGeomVector2d vPtsSortDir2d;

    // Three-way comparators over VelGeomPoint3d / VelGeomPoint2d for qsort:
    // the sign of dot(*a - *b, direction), exact. Sorting orders the points
    // ascending along the direction.
    static int sortPointsByDir(const void* a, const void* b);
    static int sortPointsByDir2d(const void* a, const void* b);
};
