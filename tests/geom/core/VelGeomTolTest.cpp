#include "geom/core/VelGeomTol.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
// Puts the process-wide precision state back however a test ends.
struct PrecStateGuard {
    ~PrecStateGuard()
    {
        VelGeomTol::enablePrecOverride(false);
        VelGeomTol::resetPrecTol();
    }
};
} // namespace

TEST(VelGeomTol, DefaultsAndLayout)
{
    EXPECT_EQ(VelGeomTol::gTol.equalPoint(), 1e-10);
    EXPECT_EQ(VelGeomTol::gTol.equalVector(), 1e-10);
    // Line intersections run earlier in the same process move the floor;
    // resetting it gives the value it starts with.
    VelGeomTol::resetPrecTol();
    EXPECT_EQ(VelGeomTol::precTol.equalPoint(), 1e-16);
    EXPECT_EQ(VelGeomTol::precTol.equalVector(), 1e-16);
    const VelGeomTol t(0.25, 0.5);
    const double* fields = reinterpret_cast<const double*>(&t);
    EXPECT_EQ(fields[0], 0.25);  // equalPoint first, then equalVector
    EXPECT_EQ(fields[1], 0.5);
    EXPECT_EQ(sizeof(VelGeomTol), 2 * sizeof(double));
}

TEST(VelGeomTol, ScalarPredicatesHaveStrictBounds)
{
    const VelGeomTol& g = VelGeomTol::gTol;
    EXPECT_FALSE(g.equal(0, 1e-10));
    EXPECT_FALSE(g.equal(1e-10, 0));
    EXPECT_TRUE(g.equal(0, 0.5e-10));
    EXPECT_TRUE(g.equal(0.5e-10, 0));
    EXPECT_TRUE(g.lessEqual(0.5e-10, 0));
    EXPECT_FALSE(g.lessEqual(1e-10, 0));
    EXPECT_TRUE(g.lessEqual(-5, 0));
    EXPECT_FALSE(g.lessNotEqual(0, 1e-10));
    EXPECT_TRUE(g.lessNotEqual(0, 2e-10));
    EXPECT_FALSE(g.lessNotEqual(5, 0));
    // The vector field plays no part in the scalar predicates.
    const VelGeomTol wideVector(1e-10, 1.0);
    EXPECT_FALSE(wideVector.equal(0, 0.5));
}

TEST(VelGeomTol, SettersRefuseNonPositiveAndNaN)
{
    VelGeomTol t;
    EXPECT_FALSE(t.setEqualPoint(0.0));
    EXPECT_FALSE(t.setEqualPoint(-1.0));
    EXPECT_FALSE(t.setEqualPoint(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(t.equalPoint(), 1e-10);
    EXPECT_TRUE(t.setEqualVector(0.001));
    EXPECT_EQ(t.equalVector(), 0.001);
    EXPECT_FALSE(t.setEqualVector(-0.001));
    EXPECT_EQ(t.equalVector(), 0.001);
    const VelGeomTol copy(t);
    EXPECT_EQ(copy.equalVector(), 0.001);
    EXPECT_EQ(copy.equalPoint(), 1e-10);
}

TEST(VelGeomTol, OverrideRaisesTheEffectiveToleranceToThePrecisionFloor)
{
    PrecStateGuard restore;
    const VelGeomTol tiny(1e-20, 1e-20);
    ASSERT_TRUE(VelGeomTol::precTol.setEqualPoint(1e-9));
    EXPECT_FALSE(tiny.equal(0, 0.5e-9));
    VelGeomTol::enablePrecOverride(true);
    EXPECT_TRUE(tiny.equal(0, 0.5e-9));
    EXPECT_TRUE(tiny.lessEqual(0.5e-9, 0));
    EXPECT_FALSE(tiny.lessNotEqual(0, 0.5e-9));
    // A tolerance above the floor keeps its own value.
    const VelGeomTol loose(1e-3, 1e-3);
    EXPECT_TRUE(loose.equal(0, 0.5e-3));
    VelGeomTol::enablePrecOverride(false);
    EXPECT_FALSE(tiny.equal(0, 0.5e-9));
    // The floor is read at every call.
    VelGeomTol::enablePrecOverride(true);
    VelGeomTol::resetPrecTol();
    EXPECT_FALSE(tiny.equal(0, 0.5e-9));
    EXPECT_EQ(VelGeomTol::precTol.equalPoint(), 1e-16);
}

TEST(VelGeomTol, ScopeGuardsDoNotNest)
{
    PrecStateGuard restore;
    {
        VelEnablePrecOverride outer;
        EXPECT_TRUE(VelGeomTol::m_bPrecOverride);
        {
            VelEnablePrecOverride inner;
            EXPECT_TRUE(VelGeomTol::m_bPrecOverride);
        }
        // The inner guard's end switched the override off for the outer one too.
        EXPECT_FALSE(VelGeomTol::m_bPrecOverride);
    }
    EXPECT_FALSE(VelGeomTol::m_bPrecOverride);
}
