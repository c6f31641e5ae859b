#include "ModelerTestUtil.h"

#include <gtest/gtest.h>

#include <set>

using namespace AModeler;
using namespace mtest;

namespace {

const double kPi = 3.14159265358979323846;

// A prism with holes built the way the solid layer does it: the outer prism,
// each hole prism turned inside out and combined, its end loops bridged into
// the outer end faces, the emptied hole faces deleted.
Body plateWithHoles(const std::vector<std::pair<Point3d, double>>& holes, int facets)
{
    const Point3d outer[4] = {Point3d(0, 0, 0), Point3d(20, 0, 0), Point3d(20, 10, 0), Point3d(0, 10, 0)};
    Body body = Body::extrusion(outer, nullptr, 4, Vector3d(0, 0, 1), Vector3d(0, 0, 2));
    const std::vector<Face*> f = facesOf(body);
    Face* bottom = f[f.size() - 2];
    Face* top = f[f.size() - 1];
    for (const auto& h : holes) {
        const Point3d start = h.first + Vector3d(h.second, 0, 0);
        PolygonVertexData arc(PolygonVertexData::kArc, Circle3d(h.first, Vector3d(0, 0, 1), h.second), facets);
        PolygonVertexData* vd[1] = {&arc};
        Body hole = Body::extrusion(&start, vd, 1, Vector3d(0, 0, 1), Vector3d(0, 0, 2));
        hole.reverse();
        const std::vector<Face*> hf = facesOf(hole);
        Face* hb = hf[hf.size() - 2];
        Face* ht = hf[hf.size() - 1];
        body.combine(hole);
        EXPECT_TRUE(hole.isNull());
        bottom->mergeLoop(bottom->edgeLoop(), hb->edgeLoop());
        top->mergeLoop(top->edgeLoop(), ht->edgeLoop());
        hb->setFlagOn(8192);
        ht->setFlagOn(8192);
        body.deleteMarkedFaces(8192);
    }
    return body;
}

} // namespace

TEST(ModelerTopology, PlateWithHolesFromLoopSurgery)
{
    const int n = 16;
    const Body b = plateWithHoles({{Point3d(5, 5, 0), 2.0}, {Point3d(14, 5, 0), 3.0}}, n);
    ASSERT_TRUE(b.isValid(3));
    const double ng = 0.5 * n * std::sin(2 * kPi / n);
    EXPECT_NEAR(b.volume(), (200.0 - ng * (4.0 + 9.0)) * 2.0, 1e-9);
    EXPECT_EQ(b.faceCount(), 4 + 2 * n + 2);
    const std::vector<Face*> f = facesOf(b);
    // The outer prism's end faces keep their places, now with two holes each.
    for (Face* end : {f[4], f[5]}) {
        int bridges = 0, full = 0;
        for (Edge* e : loopOf(end)) {
            bridges += e->isBridge();
            full += e->isOnFullCircle();
            if (e->isBridge()) {
                EXPECT_FALSE(e->isEulerEdge());
            }
        }
        EXPECT_EQ(bridges, 4);
        EXPECT_EQ(full, 2 * n);
        EXPECT_NEAR(end->area(), 200.0 - ng * 13.0, 1e-9);
    }
    EXPECT_EQ(b.curveCount(), 4);
}

TEST(ModelerTopology, FacesAddedOneByOneCloseIntoASolid)
{
    const Point3d a(0, 0, 0), b(1, 0, 0), c(0, 1, 0), d(0, 0, 1);
    Body t;
    const Point3d f0[3] = {a, c, b}, f1[3] = {a, b, d}, f2[3] = {b, c, d}, f3[3] = {c, a, d};
    for (const Point3d* f : {f0, f1, f2, f3})
        new Face(f, 3, 0, true, &t);
    EXPECT_EQ(t.vertexCount(), 4);
    ASSERT_TRUE(t.isValid(3));
    EXPECT_NEAR(t.volume(), 1.0 / 6.0, 1e-15);

    // Without connecting, nothing is shared and the body is open.
    Body open;
    Edge* edges[3];
    new Face(f0, 3, 0, false, &open, edges);
    new Face(f1, 3, 0, false, &open);
    EXPECT_EQ(open.vertexCount(), 6);
    EXPECT_TRUE(open.isValid(0));
    EXPECT_FALSE(open.isValid(1));
    EXPECT_TRUE(edges[0]->startPoint().isEqual(a, 0) && edges[0]->endPoint().isEqual(c, 0));
    // A bad face leaves the body as it was.
    const Point3d bent[4] = {Point3d(0, 0, 0), Point3d(1, 0, 0), Point3d(1, 1, 1), Point3d(0, 1, 0)};
    EXPECT_THROW(new Face(bent, 4, 0, true, &open), ErrorCode);
    EXPECT_EQ(open.faceCount(), 2);
    EXPECT_EQ(open.edgeCount(), 6);
    EXPECT_EQ(open.vertexCount(), 6);
}

TEST(ModelerTopology, HandBuiltEdgesAndValidityLevels)
{
    Body b = Body::box(Point3d(), Vector3d(1, 1, 1));
    ASSERT_TRUE(b.isValid(3));
    // Break one partnership: loops still fine, the manifold test fails.
    Edge* e = b.faceList()->edgeLoop();
    Edge* p = e->partner();
    e->setPartner(nullptr);
    EXPECT_EQ(p->partner(), nullptr);
    EXPECT_TRUE(b.isValid(0));
    EXPECT_FALSE(b.isValid(1));
    e->setPartner(p);
    EXPECT_TRUE(b.isValid(3));
    // Lift one vertex out of its faces' planes: only the geometry level sees it.
    Vertex* v = b.vertexList();
    const Point3d keep = v->point();
    v->setPoint(keep + Vector3d(0, 0, 0.01));
    EXPECT_TRUE(b.isValid(1));
    EXPECT_FALSE(b.isValid(2));
    v->setPoint(keep);
    // A half-edge in no loop breaks level 0.
    new Edge(v, b.faceList());
    EXPECT_FALSE(b.isValid(0));
    EXPECT_THROW(new Edge(nullptr, b.faceList()), ErrorCode);
    Body other;
    Vertex* foreign = new Vertex(Point3d(), &other);
    EXPECT_THROW(new Edge(foreign, b.faceList()), ErrorCode);
    EXPECT_THROW(b.faceList()->edgeLoop()->setVertex(foreign), ErrorCode);

    // The process-wide level drives isValid() and isValid(-1); both spellings
    // return the previous level.
    Body inside = Body::box(Point3d(), Vector3d(1, 1, 1));
    inside.reverse();
    EXPECT_TRUE(inside.isValid(2));
    EXPECT_FALSE(inside.isValid(3));  // inside out: negative volume
    const int old = setValidityCheckingLevel(2);
    EXPECT_EQ(old, 3);
    EXPECT_TRUE(inside.isValid());
    EXPECT_EQ(SetValidityCheckingLevel(3), 2);
    EXPECT_FALSE(inside.isValid(-1));
    EXPECT_EQ(setValidityCheckingLevel(old), 3);
}

TEST(ModelerTopology, CopiesAreIndependentAndKeepEverything)
{
    Body a = Body::pipe(Line3d(Point3d(), Point3d(0, 0, 3)), Vector3d(0, 0, 1), 2.0, 1.0, 12);
    a.faceList()->setFlagOn(0x10);
    a.faceList()->setColor(7);
    a.vertexList()->setFlagOn(0x20);
    a.faceList()->edgeLoop()->setFlagOn(0x40);
    const Body b = a;
    Body c;
    c = a;
    const Body d = a.copy();
    std::set<const void*> mine;
    for (Face* f : facesOf(a)) {
        mine.insert(f);
        for (Edge* e : loopOf(f))
        {
                mine.insert(e);
                mine.insert(e->vertex());
            }
    }
    for (const Body* x : std::vector<const Body*>{&b, &c, &d}) {
        ASSERT_TRUE(x->isValid(3));
        EXPECT_EQ(x->faceCount(), a.faceCount());
        EXPECT_EQ(x->curveCount(), a.curveCount());
        EXPECT_TRUE(x->faceList()->isFlagOn(0x10));
        EXPECT_EQ(x->faceList()->color(), 7);
        EXPECT_TRUE(x->vertexList()->isFlagOn(0x20));
        EXPECT_TRUE(x->faceList()->edgeLoop()->isFlagOn(0x40));
        for (Face* f : facesOf(*x)) {
            EXPECT_EQ(mine.count(f), 0u);
            for (Edge* e : loopOf(f)) {
                EXPECT_EQ(mine.count(e), 0u);
                EXPECT_EQ(mine.count(e->partner()), 0u);
                EXPECT_EQ(mine.count(e->vertex()), 0u);
                EXPECT_EQ(e->face(), f);
                EXPECT_EQ(e->body(), x);
            }
        }
    }
    a.transformBy(Transf3d::translation(Vector3d(5, 0, 0)));
    EXPECT_NEAR(b.interval().lower().x, -2.0, 1e-9);
    // Moving keeps the entities and re-points them at their new owner.
    Face* first = a.faceList();
    Body moved = std::move(a);
    EXPECT_EQ(moved.faceList(), first);
    EXPECT_EQ(first->body(), &moved);
    EXPECT_TRUE(a.isNull());
    EXPECT_TRUE(a.isValid());
}

TEST(ModelerTopology, DeleteMarkedFacesCleansUp)
{
    Body b = Body::box(Point3d(), Vector3d(1, 1, 1));
    const std::vector<Face*> f = facesOf(b);
    f[1]->setFlagOn(4);  // the top
    b.deleteMarkedFaces(2);
    EXPECT_EQ(b.faceCount(), 6);
    b.deleteMarkedFaces(4 | 8);
    EXPECT_EQ(b.faceCount(), 5);
    EXPECT_EQ(b.edgeCount(), 20);
    EXPECT_EQ(b.vertexCount(), 8);
    EXPECT_TRUE(b.isValid(0));
    EXPECT_FALSE(b.isValid(1));  // open at the top now
    for (Face* x : facesOf(b))
        x->setFlagOn(1);
    b.deleteMarkedFaces(1);
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(b.edgeCount(), 0);
    EXPECT_EQ(b.vertexCount(), 0);
}

TEST(ModelerTopology, TransformationsKeepTheSolidOutward)
{
    const Body base = Body::cylinder(Line3d(Point3d(1, 2, 3), Point3d(1, 2, 7)), 1.5, 16);
    const double v0 = base.volume();
    Body r = base;
    r.transformBy(Transf3d::rotation(0.7, Vector3d(1, 1, 0), Point3d(3, 0, 0)));
    ASSERT_TRUE(r.isValid(3));
    EXPECT_NEAR(r.volume(), v0, 1e-9);
    EXPECT_EQ(r.curveCount(), 2);
    Body m = base;
    m.transformBy(Transf3d::mirroring(Point3d(0, 0, 0), Vector3d(1, 0, 0)));
    ASSERT_TRUE(m.isValid(3));
    EXPECT_NEAR(m.volume(), v0, 1e-9);
    EXPECT_NEAR(m.interval().upper().x, -1.0 + 1.5, 1e-9);
    Body s = base;
    double rows[4][4] = {{2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    s.transformBy(Transf3d(rows));
    ASSERT_TRUE(s.isValid(3));
    EXPECT_NEAR(s.volume(), 2 * v0, 1e-9);
    EXPECT_EQ(s.curveCount(), 0);  // circles became ellipses
    EXPECT_FALSE(facesOf(s)[16]->edgeLoop()->isOnCircle());
    Body u = base;
    u.transformBy(Transf3d::scaling(3.0, Point3d(1, 2, 3)));
    EXPECT_NEAR(u.volume(), 27 * v0, 1e-8);
    EXPECT_NEAR(facesOf(u)[16]->edgeLoop()->circle().radius(), 4.5, 1e-12);
    double singular[4][4] = {{1, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Body keep = base;
    EXPECT_THROW(keep.transformBy(Transf3d(singular)), ErrorCode);
    EXPECT_NEAR(keep.volume(), v0, 1e-12);
}

TEST(ModelerTopology, ExtremesIntervalsAndSettings)
{
    const Body b = Body::box(Point3d(0, 0, 0), Vector3d(1, 2, 3));
    Vertex* lo = nullptr;
    Vertex* hi = nullptr;
    b.extremeVertices(Vector3d(1, 1, 1), lo, hi);
    ASSERT_TRUE(lo && hi);
    EXPECT_TRUE(lo->point().isEqual(Point3d(0, 0, 0), 0));
    EXPECT_TRUE(hi->point().isEqual(Point3d(1, 2, 3), 0));
    Body().extremeVertices(Vector3d(1, 0, 0), lo, hi);
    EXPECT_EQ(lo, nullptr);
    const Interval3d grown = b.interval(0.5);
    EXPECT_NEAR(grown.lower().x, -0.5, 0);
    EXPECT_NEAR(grown.upper().z, 3.5, 0);
    EXPECT_TRUE(Body().interval().isEmpty());

    EXPECT_DOUBLE_EQ(gEpsAbs(), 1e-6);
    EXPECT_DOUBLE_EQ(setEpsAbs(0.01), 1e-6);
    EXPECT_DOUBLE_EQ(setEpsAbs(-1.0), 0.01);  // refused
    EXPECT_DOUBLE_EQ(setEpsAbs(NAN), 0.01);
    EXPECT_DOUBLE_EQ(setEpsAbs(1e-6), 0.01);
    EXPECT_TRUE(keepInputBodiesWhenBooleanOperationsFail());
    EXPECT_TRUE(setKeepInputBodiesWhenBooleanOperationsFail(false));
    EXPECT_FALSE(setKeepInputBodiesWhenBooleanOperationsFail(true));

    Body c = Body::box(Point3d(), Vector3d(1, 1, 1));
    c.setColor(3);
    EXPECT_EQ(c.faceList()->next()->color(), 3);
    c.init(false);
    EXPECT_TRUE(c.isNull());
    EXPECT_EQ(c.color(), 3);
    c.init(true);
    EXPECT_EQ(c.color(), 0);
}
