#include "roots/VelRecordingViewportDraw.h"
#include "roots/VelRecordingWorldDraw.h"

#include <gtest/gtest.h>

TEST(VelRecordingWorldDraw, KeepsDeepCopiesOfShellsWithTheirData)
{
    VelRecordingWorldDraw draw;
    VelWorldDraw& ctx = draw;  // used through the abstract interface
    ctx.setColor(3);
    double pts[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
    int faces[] = {3, 0, 1, 2, 3, 1, 3, 2};
    short edgeColors[] = {1, 2, 3, 4, 5, 6};
    unsigned char vis[] = {1, 0, 1, 1, 1, 0};
    short faceColors[] = {10, 20};
    double faceNormals[] = {0, 0, 1, 0, 0, 1};
    VelShellEdgeData ed;
    ed.colors = edgeColors;
    ed.visibility = vis;
    VelShellFaceData fd;
    fd.colors = faceColors;
    fd.normals = faceNormals;
    EXPECT_FALSE(ctx.shell(4, pts, 8, faces, &ed, &fd, nullptr));
    pts[0] = 99;  // the recording does not alias the caller's buffers
    ASSERT_EQ(draw.recording().shells.size(), 1u);
    const VelRecordedShell& s = draw.recording().shells[0];
    EXPECT_EQ(s.color, 3);
    EXPECT_EQ(s.vertexCount(), 4);
    EXPECT_EQ(s.faceCount(), 2);
    EXPECT_EQ(s.edgeCount(), 6);
    EXPECT_EQ(s.vertices[0], 0.0);
    EXPECT_EQ(s.edgeVisibility[5], 0);
    EXPECT_EQ(s.faceColors[1], 20);
    EXPECT_FALSE(s.hasVertexData);
    EXPECT_TRUE(s.vertexNormals.empty());
}

TEST(VelRecordingWorldDraw, RefusesMalformedFaceLists)
{
    VelRecordingWorldDraw draw;
    double pts[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    int tooLong[] = {4, 0, 1, 2};  // declares 4 indices, has 3
    int badIndex[] = {3, 0, 1, 3};
    EXPECT_TRUE(draw.shell(3, pts, 4, tooLong));
    EXPECT_TRUE(draw.shell(3, pts, 4, badIndex));
    EXPECT_TRUE(draw.shell(3, nullptr, 4, badIndex));
    EXPECT_TRUE(draw.recording().shells.empty());
}

TEST(VelRecordingViewportDraw, PolylinesColourChangesAndRegenState)
{
    VelRecordingViewportDraw draw(7);
    VelViewportDraw& ctx = draw;
    EXPECT_EQ(ctx.viewportId(), 7);
    EXPECT_FALSE(ctx.regenAbort());
    draw.recording().regenAbortFlag = true;
    draw.recording().regenTypeValue = 5;
    EXPECT_TRUE(ctx.regenAbort());
    EXPECT_EQ(ctx.regenType(), 5);
    const short start = ctx.color();
    ctx.setColor(start);  // no change
    ctx.setColor(2);
    double line[] = {0, 0, 0, 5, 5, 5};
    EXPECT_FALSE(ctx.polyline(2, line));
    EXPECT_EQ(draw.recording().colorChanges, 1);
    ASSERT_EQ(draw.recording().polylines.size(), 1u);
    EXPECT_EQ(draw.recording().polylines[0].color, 2);
    EXPECT_EQ(draw.recording().polylines[0].points[5], 5.0);
}
