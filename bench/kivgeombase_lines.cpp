// Throughput of the two geometric kernels the contour and solid code leans on
// most: the intersection of two lines in space (with its determinant choice,
// residual check and precision floor) and the projection of a point onto a
// plane. Inputs are pre-generated so the loops time the kernels only; the
// items/s column is the number of intersections or projections per second.
#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kCount = 1024;

std::vector<VelGeomPoint3d> randomPoints(unsigned seed, double range)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-range, range);
    std::vector<VelGeomPoint3d> pts;
    for (int i = 0; i < kCount; ++i)
        pts.emplace_back(u(rng), u(rng), u(rng));
    return pts;
}

// Pairs of lines through a common point, so that every call finds one.
template <class Curve>
void makeCrossingPairs(std::vector<Curve>& a, std::vector<Curve>& b)
{
    const auto at = randomPoints(1, 1000.0);
    const auto from1 = randomPoints(2, 1000.0);
    const auto from2 = randomPoints(3, 1000.0);
    for (int i = 0; i < kCount; ++i) {
        a.emplace_back(from1[i], at[i] + (at[i] - from1[i]));
        b.emplace_back(from2[i], at[i] + (at[i] - from2[i]));
    }
}

void BM_LineLineIntersection(benchmark::State& state)
{
    std::vector<VelGeomLine3d> a, b;
    makeCrossingPairs(a, b);
    VelArray<VelGeomPoint3d> pts(2, 8);
    int i = 0;
    for (auto _ : state) {
        a[i].intersectWith(b[i], pts);
        benchmark::DoNotOptimize(pts.asArrayPtr());
        i = (i + 1) & (kCount - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LineLineIntersection);

void BM_SegmentSegmentIntersection(benchmark::State& state)
{
    std::vector<VelGeomLineSeg3d> a, b;
    makeCrossingPairs(a, b);
    VelArray<VelGeomPoint3d> pts(2, 8);
    int i = 0;
    for (auto _ : state) {
        a[i].intersectWith(b[i], pts);
        benchmark::DoNotOptimize(pts.asArrayPtr());
        i = (i + 1) & (kCount - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SegmentSegmentIntersection);

void BM_SkewLineClosestPoints(benchmark::State& state)
{
    std::vector<VelGeomLineSeg3d> a, b;
    const auto p = randomPoints(4, 1000.0), q = randomPoints(5, 1000.0);
    const auto r = randomPoints(6, 1000.0), s = randomPoints(7, 1000.0);
    for (int i = 0; i < kCount; ++i) {
        a.emplace_back(p[i], q[i]);
        b.emplace_back(r[i], s[i]);
    }
    VelGeomPoint3d other;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(a[i].getClosestPointTo(b[i], other));
        i = (i + 1) & (kCount - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SkewLineClosestPoints);

void BM_PointPlaneProjection(benchmark::State& state)
{
    const VelGeomPlane plane(VelGeomPoint3d(1, 2, 3), VelGeomVector3d(0.3, -0.5, 0.8));
    const auto pts = randomPoints(8, 1000.0);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pts[i].orthoProject(plane));
        i = (i + 1) & (kCount - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PointPlaneProjection);

void BM_PointPlaneProjectionAlongDirection(benchmark::State& state)
{
    const VelGeomPlane plane(VelGeomPoint3d(1, 2, 3), VelGeomVector3d(0.3, -0.5, 0.8));
    const VelGeomVector3d dir(1.0, 1.0, 1.0);
    const auto pts = randomPoints(9, 1000.0);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pts[i].project(plane, dir));
        i = (i + 1) & (kCount - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PointPlaneProjectionAlongDirection);

}  // namespace

BENCHMARK_MAIN();
