// Building, triangulating and copying bodies of the facet modeler.

#include <kiv/kivhost.h>
#include <kiv/kivroots.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace AModeler;

namespace {

const double kPi = 3.14159265358979323846;

class CountingCallback : public OutputTriangleCallback
{
public:
    void outputTriangle(Edge* const*, int) override { ++count; }
    long count = 0;
};

// Joins the hole loop of `hole` into `face` at the closest pair of loop
// vertices (bridges excluded), as the solid layer does.
void joinNearest(Face* face, Face* hole)
{
    Edge* bestOuter = face->edgeLoop();
    Edge* bestInner = hole->edgeLoop();
    double d = 1e300;
    const Interval3d near = hole->interval().enlarge(20.0);
    Edge* e = face->edgeLoop();
    do {
        if (!e->isBridge() && near.contains(e->startPoint())) {
            Edge* h = hole->edgeLoop();
            do {
                const double x = (e->startPoint() - h->startPoint()).lengthSqrd();
                if (x < d) {
                    d = x;
                    bestOuter = e;
                    bestInner = h;
                }
                h = h->next();
            } while (h != hole->edgeLoop());
        }
        e = e->next();
    } while (e != face->edgeLoop());
    face->mergeLoop(bestOuter, bestInner);
}

// 200 round holes of 32 facets in a 400 x 200 plate, joined the way the
// solid layer builds plates: reversed hole prisms bridged into the end faces.
Body plate()
{
    const Point3d outer[4] = {Point3d(0, 0, 0), Point3d(400, 0, 0), Point3d(400, 200, 0), Point3d(0, 200, 0)};
    Body body = Body::extrusion(outer, nullptr, 4, Vector3d(0, 0, 1), Vector3d(0, 0, 10));
    Face* bottom = body.faceList()->next()->next()->next()->next();
    Face* top = bottom->next();
    for (int i = 0; i < 200; ++i) {
        const Point3d c(10 + 19.5 * (i % 20), 12 + 19.5 * (i / 20), 0);
        const Point3d start = c + Vector3d(6, 0, 0);
        PolygonVertexData arc(PolygonVertexData::kArc, Circle3d(c, Vector3d(0, 0, 1), 6.0), 32);
        PolygonVertexData* vd[1] = {&arc};
        Body hole = Body::extrusion(&start, vd, 1, Vector3d(0, 0, 1), Vector3d(0, 0, 10));
        hole.reverse();
        Face* hb = hole.faceList();
        while (hb->next()->next())
            hb = hb->next();
        Face* ht = hb->next();
        body.combine(hole);
        joinNearest(bottom, hb);
        joinNearest(top, ht);
        hb->setFlagOn(8192);
        ht->setFlagOn(8192);
        body.deleteMarkedFaces(8192);
    }
    return body;
}

void BM_Cylinder1024BuildAndTriangulate(benchmark::State& state)
{
    for (auto _ : state) {
        const Body c = Body::cylinder(Line3d(Point3d(), Point3d(0, 0, 100)), 50.0, 1024);
        CountingCallback cb;
        c.triangulate(&cb);
        benchmark::DoNotOptimize(cb.count);
    }
}
BENCHMARK(BM_Cylinder1024BuildAndTriangulate)->Unit(benchmark::kMillisecond);

void BM_Plate200HolesBuild(benchmark::State& state)
{
    for (auto _ : state) {
        Body b = plate();
        benchmark::DoNotOptimize(b.faceCount());
    }
}
BENCHMARK(BM_Plate200HolesBuild)->Unit(benchmark::kMillisecond);

void BM_Plate200HolesTriangulate(benchmark::State& state)
{
    const Body b = plate();
    for (auto _ : state) {
        CountingCallback cb;
        b.triangulate(&cb);
        benchmark::DoNotOptimize(cb.count);
    }
    state.counters["triangles"] = b.triangleCount();
}
BENCHMARK(BM_Plate200HolesTriangulate)->Unit(benchmark::kMillisecond);

void BM_Sweep100SegmentsBuildAndTriangulate(benchmark::State& state)
{
    // A circular profile of 32 facets along a 100-segment spiral.
    std::vector<Point3d> path;
    for (int i = 0; i <= 100; ++i) {
        const double t = 4 * kPi * i / 100;
        path.emplace_back(100 * std::cos(t), 100 * std::sin(t), 5.0 * i);
    }
    const Vector3d d0 = (path[1] - path[0]).normalized();
    Body profile;
    const Point3d start = path[0] + d0.perpendicular() * 8.0;
    PolygonVertexData arc(PolygonVertexData::kArc, Circle3d(path[0], d0, 8.0), 32);
    PolygonVertexData* vd[1] = {&arc};
    new Face(&start, vd, 1, d0, 0, false, &profile);
    const std::vector<int> none;
    for (auto _ : state) {
        const Body b = Body::extrusionAlongPath(profile, Body(), path.data(), nullptr, 101, false, false, Point3d::kNull,
                                                1.0, 0.0, MorphingMap::kNull, true, none, none);
        CountingCallback cb;
        b.triangulate(&cb);
        benchmark::DoNotOptimize(cb.count);
    }
}
BENCHMARK(BM_Sweep100SegmentsBuildAndTriangulate)->Unit(benchmark::kMillisecond);

void BM_Copy100kFaces(benchmark::State& state)
{
    const Body s = Body::sphere(Point3d(), 100.0, 448);  // 224 bands of 448 facets
    for (auto _ : state) {
        Body c = s.copy();
        benchmark::DoNotOptimize(c.faceCount());
    }
    state.counters["faces"] = s.faceCount();
}
BENCHMARK(BM_Copy100kFaces)->Unit(benchmark::kMillisecond);

void BM_SaveRestore100kFaces(benchmark::State& state)
{
    const Body s = Body::sphere(Point3d(), 100.0, 448);
    for (auto _ : state) {
        KivMemoryFilerCallBack filer;
        s.save(&filer);
        Body back;
        back.restore(&filer);
        benchmark::DoNotOptimize(back.faceCount());
    }
}
BENCHMARK(BM_SaveRestore100kFaces)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
