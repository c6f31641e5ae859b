#pragma once
// Shorthands shared by the augmented-polyline tests.

#include "geom/contours/VelGeomVertexInfo.h"
#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector3d.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace augpl_test {

using P = VelGeomPoint3d;
using V = VelGeomVector3d;
using Info = VelGeomVertexInfo;
const double kPi = 3.14159265358979323846;
const V kZ(0.0, 0.0, 1.0);

inline VelArray<P> points(std::initializer_list<P> ps)
{
    VelArray<P> out;
    for (const P& p : ps)
        out.append(p);
    return out;
}

inline VelArray<double> values(std::initializer_list<double> vs)
{
    VelArray<double> out;
    for (double v : vs)
        out.append(v);
    return out;
}

inline void expectPoint(const P& a, const P& b, double tol = 1e-12)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

} // namespace augpl_test
