#include "ModelerTestUtil.h"

#include "facet/host/modeler/TriangulatorInternal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using namespace AModeler;
using namespace mtest;

namespace {

const double kPi = 3.14159265358979323846;

double cross2(const Point3d& a, const Point3d& b, const Point3d& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool segmentsCross(const Point3d& a, const Point3d& b, const Point3d& c, const Point3d& d)
{
    const double d1 = cross2(c, d, a), d2 = cross2(c, d, b), d3 = cross2(a, b, c), d4 = cross2(a, b, d);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 && d4 != 0;
}

struct RandomFace
{
    Body body;
    Face* face = nullptr;
    std::vector<Point3d> outer;
    std::vector<std::vector<Point3d>> holes;
};

// A star-shaped, non-convex outline in z = 0 with non-overlapping polygonal
// holes, each bridged to a vertex it can see.
RandomFace makeFace(std::mt19937& rng, int outerCount, int holeCount)
{
    RandomFace rf;
    std::uniform_real_distribution<double> radius(5.0, 10.0), unit(0.0, 1.0);
    for (int i = 0; i < outerCount; ++i) {
        const double t = 2 * kPi * (i + 0.2 + 0.6 * unit(rng)) / outerCount;
        const double r = radius(rng);
        rf.outer.emplace_back(r * std::cos(t), r * std::sin(t), 0.0);
    }
    rf.face = new Face(rf.outer.data(), static_cast<int>(rf.outer.size()), 0, false, &rf.body);
    std::vector<std::pair<Point3d, double>> placed;
    for (int attempt = 0; attempt < 200 && static_cast<int>(rf.holes.size()) < holeCount; ++attempt) {
        const Point3d c((unit(rng) - 0.5) * 7.0, (unit(rng) - 0.5) * 7.0, 0.0);
        const double r = 0.3 + 0.5 * unit(rng);
        bool free = true;
        for (const auto& p : placed)
            free = free && c.distanceTo(p.first) > r + p.second + 0.2;
        if (!free)
            continue;
        const int k = 3 + static_cast<int>(unit(rng) * 6);
        std::vector<Point3d> h;
        for (int i = 0; i < k; ++i) {  // clockwise
            const double t = -2 * kPi * i / k;
            h.emplace_back(c.x + r * std::cos(t), c.y + r * std::sin(t), 0.0);
        }
        // Every current boundary segment, to keep the bridge clear of them.
        std::vector<std::pair<Point3d, Point3d>> segs;
        for (Edge* e : loopOf(rf.face))
            segs.emplace_back(e->startPoint(), e->endPoint());
        // The hole must not straddle an earlier bridge either.
        bool straddles = false;
        for (size_t i = 0; i < h.size(); ++i)
            for (const auto& s : segs)
                straddles = straddles || segmentsCross(h[i], h[(i + 1) % h.size()], s.first, s.second);
        if (straddles)
            continue;
        for (size_t i = 0; i < h.size(); ++i)
            segs.emplace_back(h[i], h[(i + 1) % h.size()]);
        Edge* from = nullptr;
        size_t toIndex = 0;
        double best = 1e300;
        for (Edge* e : loopOf(rf.face))
            for (size_t i = 0; i < h.size(); ++i) {
                const double d = e->startPoint().distanceTo(h[i]);
                if (d >= best)
                    continue;
                bool clear = true;
                for (const auto& s : segs)
                    clear = clear && !segmentsCross(e->startPoint(), h[i], s.first, s.second);
                if (clear) {
                    best = d;
                    from = e;
                    toIndex = i;
                }
            }
        if (!from)
            continue;
        Edge* holeEdges[16];
        Face* hole = new Face(h.data(), static_cast<int>(h.size()), 0, false, &rf.body, holeEdges);
        rf.face->mergeLoop(from, holeEdges[toIndex]);
        hole->setFlagOn(1);
        rf.body.deleteMarkedFaces(1);
        placed.emplace_back(c, r);
        rf.holes.push_back(h);
    }
    return rf;
}

void checkCover(const RandomFace& rf, bool improve)
{
    Collector col;
    rf.body.triangulate(&col, kGenerateTriangles, improve);
    const std::vector<Edge*> loop = loopOf(rf.face);
    ASSERT_EQ(col.tris.size(), loop.size() - 2);
    EXPECT_EQ(static_cast<int>(col.tris.size()), rf.body.triangleCount());
    double sum = 0.0;
    std::map<Edge*, int> visible;
    for (const Triangle& t : col.tris) {
        const double signedArea = 0.5 * cross2(t.p[0], t.p[1], t.p[2]);
        EXPECT_GE(signedArea, -1e-12);
        sum += signedArea;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(t.e[i]->face(), rf.face);
            if (!t.e[i]->isBridge() && t.e[i]->next()->vertex() == t.e[(i + 1) % 3]->vertex()) {
                ++visible[t.e[i]];
            }
        }
        if (signedArea > 1e-9) {
            const double cx = (t.p[0].x + t.p[1].x + t.p[2].x) / 3, cy = (t.p[0].y + t.p[1].y + t.p[2].y) / 3;
            EXPECT_TRUE(insideXY(rf.outer, cx, cy));
            for (const auto& h : rf.holes)
                EXPECT_FALSE(insideXY(h, cx, cy));
        }
    }
    double expected = shoelace(rf.outer);
    for (const auto& h : rf.holes)
        expected += shoelace(h);  // clockwise: negative
    EXPECT_NEAR(sum, expected, 1e-9 * std::fabs(expected));
    EXPECT_NEAR(rf.face->area(), expected, 1e-9 * std::fabs(expected));
    // Every real boundary edge is the visible side of exactly one triangle.
    for (Edge* e : loop) {
        if (!e->isBridge()) {
            EXPECT_EQ(visible[e], 1);
        }
    }
}

} // namespace

TEST(ModelerTriangulate, RandomNonConvexFacesWithHolesAreCoveredExactly)
{
    std::mt19937 rng(2024);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        RandomFace rf = makeFace(rng, 8 + round % 17, round % 9);
        ASSERT_TRUE(rf.body.isValid(0));
        checkCover(rf, false);
        checkCover(rf, true);
        if (HasFailure())
            break;
    }
}

TEST(ModelerTriangulate, TiltedFacesAndCollinearVertices)
{
    // A U shape with extra points along its edges, turned out of the xy plane.
    const Point3d u[10] = {Point3d(0, 0, 0), Point3d(1.5, 0, 0), Point3d(3, 0, 0), Point3d(3, 3, 0),
                           Point3d(2, 3, 0), Point3d(2, 1, 0),   Point3d(1, 1, 0), Point3d(1, 3, 0),
                           Point3d(0, 3, 0), Point3d(0, 1.5, 0)};
    Body b = Body::extrusion(u, nullptr, 10, Vector3d(0, 0, 1), Vector3d(0, 0, 1));
    b.transformBy(Transf3d::rotation(0.9, Vector3d(1, 2, 3)) * Transf3d::translation(Vector3d(5, 6, 7)));
    Collector col;
    b.triangulate(&col);
    ASSERT_EQ(static_cast<int>(col.tris.size()), b.triangleCount());
    std::map<Face*, double> area;
    for (const Triangle& t : col.tris) {
        Face* f = t.e[0]->face();
        const Vector3d n = (t.p[1] - t.p[0]).cross(t.p[2] - t.p[0]);
        EXPECT_GE(n.dot(f->plane().normal()), -1e-12);
        area[f] += t.area();
    }
    for (Face* f : facesOf(b))
        EXPECT_NEAR(area[f], f->area(), 1e-9);
    EXPECT_NEAR(facesOf(b).back()->area(), 7.0, 1e-9);
}

TEST(ModelerTriangulate, StripsAndFansCoverConvexFaces)
{
    const Body c = Body::cylinder(Line3d(Point3d(), Point3d(0, 0, 2)), 1.0, 10);
    for (int type : {kGenerateTriStrips, kGenerateTriFans}) {
        struct Counting : Collector
        {
            int strips = 0;
            void outputTriStrip(Edge* const* e, int n, bool fan) override
            {
                ++strips;
                OutputTriangleCallback::outputTriStrip(e, n, fan);
            }
        } col;
        c.triangulate(&col, type, false);
        EXPECT_EQ(col.strips, c.faceCount());
        ASSERT_EQ(static_cast<int>(col.tris.size()), c.triangleCount());
        std::map<Face*, double> area;
        for (const Triangle& t : col.tris) {
            Face* f = t.e[0]->face();
            EXPECT_GT((t.p[1] - t.p[0]).cross(t.p[2] - t.p[0]).dot(f->plane().normal()), 0.0);
            area[f] += t.area();
        }
        for (Face* f : facesOf(c))
            EXPECT_NEAR(area[f], f->area(), 1e-12);
    }
    Collector col;
    EXPECT_THROW(c.triangulate(&col, 7, false), ErrorCode);
    EXPECT_THROW(c.triangulate(nullptr, 0, false), ErrorCode);
}

namespace {

// The circumcircle test done directly from the circle's centre.
bool strictlyInCircumcircle(const Point2& a, const Point2& b, const Point2& c, const Point2& d)
{
    const double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
    const double den = 2.0 * (bx * cy - by * cx);
    const double ux = (cy * (bx * bx + by * by) - by * (cx * cx + cy * cy)) / den;
    const double uy = (bx * (cx * cx + cy * cy) - cx * (bx * bx + by * by)) / den;
    const double r2 = ux * ux + uy * uy;
    const double dx = d.x - a.x - ux, dy = d.y - a.y - uy;
    return dx * dx + dy * dy < r2 * (1.0 - 1e-6);
}

double orient2(const Point2& a, const Point2& b, const Point2& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

} // namespace

TEST(ModelerTriangulate, DelaunayFlipsTurnAFanIntoDelaunayTriangles)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> angle(0.0, 2.0 * kPi);
    for (int round = 0; round < 20; ++round) {
        // Points in convex position with the fan from the first: on an
        // ellipse at random angles, or (odd rounds) a regular polygon, whose
        // cocircular points must not make the flips run for ever.
        const int n = 8 + round * 3;
        std::vector<double> at(n);
        for (int i = 0; i < n; ++i)
            at[i] = round % 2 ? 2.0 * kPi * i / n : angle(rng);
        std::sort(at.begin(), at.end());
        std::vector<Point2> pts;
        for (double a : at)
            pts.push_back(round % 2 ? Point2{10.0 * std::cos(a), 10.0 * std::sin(a)}
                                    : Point2{10.0 * std::cos(a), 6.0 * std::sin(a)});
        std::vector<std::array<int, 3>> tris;
        for (int i = 1; i + 1 < n; ++i)
            tris.push_back({0, i, i + 1});
        double area = 0.0;
        for (const auto& t : tris)
            area += orient2(pts[t[0]], pts[t[1]], pts[t[2]]);
        delaunayFlips(pts, tris);
        ASSERT_EQ(tris.size(), static_cast<size_t>(n - 2));
        double after = 0.0;
        std::map<std::pair<int, int>, int> opposite;  // directed edge -> the third corner
        for (const auto& t : tris) {
            const double o = orient2(pts[t[0]], pts[t[1]], pts[t[2]]);
            ASSERT_GT(o, 0.0);
            after += o;
            for (int k = 0; k < 3; ++k)
                ASSERT_TRUE(opposite.emplace(std::make_pair(t[k], t[(k + 1) % 3]), t[(k + 2) % 3]).second);
        }
        EXPECT_NEAR(after, area, 1e-9 * area);
        if (round % 2)
            continue;  // cocircular points: any triangulation is Delaunay; it only has to stop
        for (const auto& t : tris)
            for (int k = 0; k < 3; ++k) {
                auto it = opposite.find(std::make_pair(t[(k + 1) % 3], t[k]));
                if (it != opposite.end()) {
                    EXPECT_FALSE(strictlyInCircumcircle(pts[t[0]], pts[t[1]], pts[t[2]], pts[it->second]))
                        << "round " << round;
                }
            }
    }
}
