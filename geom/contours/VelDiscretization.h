#pragma once
// Cuts planar segments and rectangles into vertical strips of bounded width
// along X and returns the boxes of the strips (z = 0), so that long or
// slanted shapes can be tested against other geometry box by box.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomExtents.h"
#include "geom/core/VelGeomPoint2d.h"

class VelDiscretization
{
public:
    VelDiscretization() = default;
    VelDiscretization(const VelDiscretization&) = default;
    VelDiscretization& operator=(const VelDiscretization&) = default;
    virtual ~VelDiscretization();

    // The two ends of a segment, put in order of increasing x in the caller's
    // array. An array of any other length gives no box and stays as it is.
    static VelArray<VelGeomExtents> sampleLine(VelArray<VelGeomPoint2d>& points);

    // The four corners of a rectangle, sorted by increasing x in the caller's
    // array (equal x keep their order). The strips follow the lower and upper
    // outline from the leftmost to the rightmost corner; the breaks at the two
    // middle corners are strip boundaries, so every box is the exact bound of
    // its slice. With `wholeFirst` nonzero the first box is the box of the
    // whole rectangle, spanning from the leftmost corner, before the strips.
    // An array of any other length gives no box and stays as it is.
    static VelArray<VelGeomExtents> sampleRectangle(VelArray<VelGeomPoint2d>& points, int wholeFirst);

    // The largest strip width along X; applies to all later calls.
    static double m_dfDiscretizationIntervalLength;  // 10.0
};
