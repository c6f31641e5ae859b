#include "geom/core/VelGeomPoint3dSet.h"
#include "geom/core/VelGeomVector3dSet.h"

#include <gtest/gtest.h>

TEST(VelGeomPoint3dSet, MatchesWithinAnInclusiveBox)
{
    VelGeomPoint3dSet set;
    EXPECT_EQ(set.insert(VelGeomPoint3d(0, 0, 0)), 0);
    EXPECT_EQ(set.insert(VelGeomPoint3d(1e-6, -1e-6, 0)), 0);
    EXPECT_EQ(set.insert(VelGeomPoint3d(2e-6, 0, 0)), 1);
    // A box, not a sphere: each coordinate within the tolerance.
    EXPECT_EQ(set.insert(VelGeomPoint3d(1e-6, 1e-6, 1e-6)), 0);
    EXPECT_EQ(set.length(), 2);
    EXPECT_EQ(set[1], VelGeomPoint3d(2e-6, 0, 0));
}

TEST(VelGeomPoint3dSet, OnlyTheFirstEntriesAreCompared)
{
    VelGeomPoint3dSet set(4, 2, 1e-6);
    EXPECT_EQ(set.insert(VelGeomPoint3d(0, 0, 0)), 0);
    EXPECT_EQ(set.insert(VelGeomPoint3d(1, 0, 0)), 1);
    EXPECT_EQ(set.insert(VelGeomPoint3d(2, 0, 0)), 2);
    EXPECT_EQ(set.insert(VelGeomPoint3d(2, 0, 0)), 3);  // beyond maxCompares
    EXPECT_EQ(set.insert(VelGeomPoint3d(1, 0, 0)), 1);
    EXPECT_EQ(set.length(), 4);
}

TEST(VelGeomPoint3dSet, ReadsOutsideTheRangeAreCounted)
{
    VelGeomPoint3dSet set;
    set.insert(VelGeomPoint3d(1, 2, 3));
    const int before = VelGeomPoint3dSet::NumErrorAccess;
    EXPECT_EQ(set.at(-1), VelGeomPoint3d(0, 0, 0));
    EXPECT_EQ(set.at(1), VelGeomPoint3d(0, 0, 0));
    EXPECT_EQ(VelGeomPoint3dSet::NumErrorAccess, before + 2);
    EXPECT_EQ(set.at(0), VelGeomPoint3d(1, 2, 3));
    EXPECT_EQ(VelGeomPoint3dSet::NumErrorAccess, before + 2);
    EXPECT_TRUE(set.isValid(0));
    EXPECT_FALSE(set.isValid(1));
}

TEST(VelGeomPoint3dSet, SetKeepsDuplicatesAndTransformMovesPoints)
{
    VelArray<VelGeomPoint3d> pts;
    pts.append(VelGeomPoint3d(1, 0, 0));
    pts.append(VelGeomPoint3d(1, 0, 0));
    VelGeomPoint3dSet set;
    set.set(pts);
    EXPECT_EQ(set.length(), 2);
    set.transformBy(VelGeomMatrix3d::translation(VelGeomVector3d(0, 0, 5)));
    EXPECT_EQ(set.getPoints()[1], VelGeomPoint3d(1, 0, 5));
    VelGeomPoint3dSet copy(set);
    EXPECT_EQ(copy.insert(VelGeomPoint3d(1, 0, 5)), 0);
    VelGeomPoint3dSet assigned;
    assigned = set;
    EXPECT_EQ(assigned.length(), 2);
}

TEST(VelGeomVector3dSet, SameRulesForVectors)
{
    VelGeomVector3dSet set;
    EXPECT_EQ(set.insert(VelGeomVector3d(0, 0, 1)), 0);
    EXPECT_EQ(set.insert(VelGeomVector3d(1e-6, -1e-6, 1)), 0);
    EXPECT_EQ(set.insert(VelGeomVector3d(0, 0, -1)), 1);
    const int before = VelGeomVector3dSet::NumErrorAccess;
    EXPECT_EQ(set[2], VelGeomVector3d(0, 0, 0));
    EXPECT_EQ(VelGeomVector3dSet::NumErrorAccess, before + 1);
    // Vectors ignore the translation of a transformation.
    set.transformBy(VelGeomMatrix3d::translation(VelGeomVector3d(5, 5, 5)));
    EXPECT_EQ(set.getVectors()[0], VelGeomVector3d(0, 0, 1));
    set.transformBy(VelGeomMatrix3d::scale(VelGeomPoint3d(1, 1, 1), 3.0));
    EXPECT_EQ(set.getVectors()[1], VelGeomVector3d(0, 0, -3));

    VelGeomVector3dSet small(8, 1, 0.5);
    EXPECT_EQ(small.insert(VelGeomVector3d(0, 0, 0)), 0);
    EXPECT_EQ(small.insert(VelGeomVector3d(1, 0, 0)), 1);
    EXPECT_EQ(small.insert(VelGeomVector3d(1.2, 0, 0)), 2);  // only entry 0 is compared
}
