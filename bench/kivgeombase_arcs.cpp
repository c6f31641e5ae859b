// Throughput of the arc intersections the contour code runs most: arc-arc
// (coplanar and in crossing planes) and line-arc, in the plane and in space,
// plus the general closest-point search between arcs in space. Inputs are
// pre-generated; items/s is the number of intersections (or searches) per
// second, and the hits counter the share of calls that found a point.
#include "geom/core/VelArray.h"
#include "geom/curves/VelGeomCircArc2d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomLine2d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg2d.h"
#include "geom/curves/VelGeomLineSeg3d.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kCount = 1024;
const double kTwoPi = 6.283185307179586;

struct Rng {
    std::mt19937 gen;
    explicit Rng(unsigned seed) : gen(seed) {}
    double operator()(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(gen); }
};

std::vector<VelGeomCircArc2d> arcs2d(unsigned seed)
{
    Rng r(seed);
    std::vector<VelGeomCircArc2d> arcs;
    for (int i = 0; i < kCount; ++i)
        arcs.emplace_back(VelGeomPoint2d(r(-10, 10), r(-10, 10)), r(1, 10), VelGeomVector2d(r(-1, 1), r(-1, 1)),
                          r(0.1, kTwoPi), r(0, 1) < 0.5);
    return arcs;
}

std::vector<VelGeomCircArc3d> arcs3d(unsigned seed, bool coplanar)
{
    Rng r(seed);
    std::vector<VelGeomCircArc3d> arcs;
    for (int i = 0; i < kCount; ++i) {
        const VelGeomPoint3d c(r(-10, 10), r(-10, 10), coplanar ? 0.0 : r(-10, 10));
        const VelGeomVector3d n = coplanar ? VelGeomVector3d(0, 0, r(0, 1) < 0.5 ? 1 : -1)
                                           : VelGeomVector3d(r(-1, 1), r(-1, 1), r(-1, 1));
        const VelGeomVector3d start = n.perpVector();
        arcs.emplace_back(c, n, r(1, 10), c + start.crossProduct(n.normal()) * 3.0 + start * 2.0, r(0.1, kTwoPi));
    }
    return arcs;
}

template <class Curve, class Point, class Other>
void run(benchmark::State& state, const std::vector<Curve>& a, const std::vector<Other>& b)
{
    VelArray<Point> pts(2, 8);
    std::size_t i = 0;
    long hits = 0;
    for (auto _ : state) {
        hits += a[i].intersectWith(b[i], pts) ? 1 : 0;
        benchmark::DoNotOptimize(pts.length());
        i = (i + 1) % a.size();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["hits"] = benchmark::Counter(double(hits) / double(state.iterations()));
}

void BM_ArcArc2d(benchmark::State& state)
{
    const auto a = arcs2d(1), b = arcs2d(2);
    run<VelGeomCircArc2d, VelGeomPoint2d>(state, a, b);
}

void BM_LineArc2d(benchmark::State& state)
{
    Rng r(3);
    std::vector<VelGeomLineSeg2d> segs;
    for (int i = 0; i < kCount; ++i)
        segs.emplace_back(VelGeomPoint2d(r(-20, 20), r(-20, 20)), VelGeomPoint2d(r(-20, 20), r(-20, 20)));
    const auto arcs = arcs2d(4);
    run<VelGeomLineSeg2d, VelGeomPoint2d>(state, segs, arcs);
}

void BM_ArcArc3dCoplanar(benchmark::State& state)
{
    const auto a = arcs3d(5, true), b = arcs3d(6, true);
    run<VelGeomCircArc3d, VelGeomPoint3d>(state, a, b);
}

void BM_ArcArc3dCrossingPlanes(benchmark::State& state)
{
    // Each second arc passes through a point of the first, so that the pair
    // shares a point on the planes' common line.
    Rng r(8);
    const auto a = arcs3d(7, false);
    std::vector<VelGeomCircArc3d> b;
    for (const VelGeomCircArc3d& arc : a) {
        const VelGeomPoint3d on = arc.evalPoint(r(0.1, 0.9));
        const VelGeomVector3d off(r(-5, 5), r(-5, 5), r(-5, 5));
        b.emplace_back(on + off, on, on + off * 2.0 + VelGeomVector3d(r(-5, 5), r(-5, 5), r(-5, 5)));
    }
    run<VelGeomCircArc3d, VelGeomPoint3d>(state, a, b);
}

void BM_LineArc3d(benchmark::State& state)
{
    // Lines in the arcs' plane (the quadratic with its refinement).
    Rng r(9);
    std::vector<VelGeomLine3d> lines;
    for (int i = 0; i < kCount; ++i)
        lines.emplace_back(VelGeomPoint3d(r(-20, 20), r(-20, 20), 0), VelGeomVector3d(r(-1, 1), r(-1, 1), 0));
    const auto arcs = arcs3d(10, true);
    run<VelGeomLine3d, VelGeomPoint3d>(state, lines, arcs);
}

void BM_LineArc3dThroughPlane(benchmark::State& state)
{
    // Segments across the arcs' planes, half of them through an arc point.
    Rng r(11);
    const auto arcs = arcs3d(12, false);
    std::vector<VelGeomLineSeg3d> segs;
    for (int i = 0; i < kCount; ++i) {
        const VelGeomPoint3d at = i % 2 ? arcs[i].evalPoint(r(0, 1)) : arcs[i].getCenter();
        const VelGeomVector3d v(r(-5, 5), r(-5, 5), r(-5, 5));
        segs.emplace_back(at - v, at + v);
    }
    run<VelGeomLineSeg3d, VelGeomPoint3d>(state, segs, arcs);
}

void BM_ClosestArcArc3d(benchmark::State& state)
{
    const auto a = arcs3d(13, false), b = arcs3d(14, false);
    std::size_t i = 0;
    VelGeomPoint3d onOther;
    for (auto _ : state) {
        benchmark::DoNotOptimize(a[i].getClosestPointTo(b[i], onOther));
        i = (i + 1) % a.size();
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_ArcArc2d);
BENCHMARK(BM_LineArc2d);
BENCHMARK(BM_ArcArc3dCoplanar);
BENCHMARK(BM_ArcArc3dCrossingPlanes);
BENCHMARK(BM_LineArc3d);
BENCHMARK(BM_LineArc3dThroughPlane);
BENCHMARK(BM_ClosestArcArc3d);

BENCHMARK_MAIN();
