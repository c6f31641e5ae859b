// Offsets of long composite curves: every member is offset, neighbours are
// joined at the intersection of their carriers, and the result is tested for
// self-intersection. The argument is the number of edges (the headline case
// is 1000); items/s counts edges per second, so a flat rate over the
// arguments shows that the work grows linearly with the chain. The
// intersection of two crossing 1000-edge chains is timed as well.
#include "geom/core/VelArray.h"
#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeCurve2d.h"
#include "geom/curves/VelGeomCompositeCurve3d.h"
#include "geom/curves/VelGeomLineSeg2d.h"
#include "geom/curves/VelGeomLineSeg3d.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

const VelGeomVector3d kZ(0.0, 0.0, 1.0);

VelArray<int> ownedFlags(int n)
{
    VelArray<int> flags;
    for (int i = 0; i < n; ++i)
        flags.append(1);
    return flags;
}

// A staircase of right-angled steps of random lengths, alternately along
// x and y.
std::unique_ptr<VelGeomCompositeCurve3d> staircase3d(int edges)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> step(0.5, 2.0);
    VelArray<VelGeomCurve3d*> curves;
    VelGeomPoint3d p(0.0, 0.0, 0.0);
    for (int i = 0; i < edges; ++i) {
        const double s = step(rng);
        const VelGeomPoint3d q = i % 2 ? p + VelGeomVector3d(0.0, s, 0.0) : p + VelGeomVector3d(s, 0.0, 0.0);
        curves.append(new VelGeomLineSeg3d(p, q));
        p = q;
    }
    return std::make_unique<VelGeomCompositeCurve3d>(curves, ownedFlags(edges));
}

std::unique_ptr<VelGeomCompositeCurve2d> staircase2d(int edges)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> step(0.5, 2.0);
    VelArray<VelGeomCurve2d*> curves;
    VelGeomPoint2d p(0.0, 0.0);
    for (int i = 0; i < edges; ++i) {
        const double s = step(rng);
        const VelGeomPoint2d q = i % 2 ? p + VelGeomVector2d(0.0, s) : p + VelGeomVector2d(s, 0.0);
        curves.append(new VelGeomLineSeg2d(p, q));
        p = q;
    }
    return std::make_unique<VelGeomCompositeCurve2d>(curves, ownedFlags(edges));
}

// A meander of segments and arcs: each segment is followed by an arc of
// radius 1 turning alternately left and right by 60 degrees, tangent to its
// neighbours, with sharp kinks of 20 degrees between some of them.
std::unique_ptr<VelGeomCompositeCurve3d> meander3d(int edges)
{
    const double pi = VelGeomBase::PI;
    VelArray<VelGeomCurve3d*> curves;
    VelGeomPoint3d p(0.0, 0.0, 0.0);
    double heading = 0.0;
    for (int i = 0; i < edges; ++i) {
        if (i % 2 == 0) {
            if (i % 6 == 4)
                heading += pi / 9.0 * ((i / 6) % 2 ? 1.0 : -1.0);  // a kink
            const VelGeomPoint3d q = p + VelGeomVector3d(std::cos(heading), std::sin(heading), 0.0) * 2.0;
            curves.append(new VelGeomLineSeg3d(p, q));
            p = q;
        } else {
            const bool left = (i / 2) % 2 == 0;
            const VelGeomVector3d side = left ? VelGeomVector3d(-std::sin(heading), std::cos(heading), 0.0)
                                              : VelGeomVector3d(std::sin(heading), -std::cos(heading), 0.0);
            VelGeomCircArc3d* arc = new VelGeomCircArc3d(p + side, left ? kZ : -kZ, 1.0, p, pi / 3.0);
            curves.append(arc);
            p = arc->getEndPoint();
            heading += left ? pi / 3.0 : -pi / 3.0;
        }
    }
    return std::make_unique<VelGeomCompositeCurve3d>(curves, ownedFlags(edges));
}

template <class Chain, class Offset>
void runOffsets(benchmark::State& state, const Chain& chain, Offset offset)
{
    for (auto _ : state) {
        const int pieces = offset(*chain);
        if (pieces != 1) {
            state.SkipWithError("the offset gave no curve");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

int offset3d(const VelGeomCompositeCurve3d& c, double d)
{
    VelArray<VelGeomCurve3d*> out;
    c.getOffset(d, kZ, out, kOffsetExtExtend);
    const int n = out.length();
    for (int i = 0; i < n; ++i)
        VelGeomCurve3d::deleteCurve(out[i]);
    return n;
}

void BM_OffsetStaircase3d(benchmark::State& state)
{
    const auto chain = staircase3d(static_cast<int>(state.range(0)));
    runOffsets(state, chain, [](const VelGeomCompositeCurve3d& c) { return offset3d(c, 0.2); });
}

void BM_OffsetMeander3d(benchmark::State& state)
{
    const auto chain = meander3d(static_cast<int>(state.range(0)));
    runOffsets(state, chain, [](const VelGeomCompositeCurve3d& c) { return offset3d(c, 0.3); });
}

void BM_OffsetStaircase2d(benchmark::State& state)
{
    const auto chain = staircase2d(static_cast<int>(state.range(0)));
    runOffsets(state, chain, [](const VelGeomCompositeCurve2d& c) {
        VelArray<VelGeomCurve2d*> out;
        c.getOffset(0.2, out, kOffsetExtExtend);
        const int n = out.length();
        for (int i = 0; i < n; ++i)
            delete out[i];
        return n;
    });
}

// The self-intersection test alone, on the meander.
void BM_SelfIntersectionMeander3d(benchmark::State& state)
{
    const auto chain = meander3d(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const bool crossing = chain->isSelfIntersecting(false);
        if (crossing) {
            state.SkipWithError("the meander crosses itself");
            break;
        }
        benchmark::DoNotOptimize(crossing);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Two meanders that cross: the second is the first turned by a few degrees
// about a point of it. Only members whose boxes come near are intersected.
void BM_IntersectMeanders3d(benchmark::State& state)
{
    const auto a = meander3d(static_cast<int>(state.range(0)));
    const auto b = meander3d(static_cast<int>(state.range(0)));
    b->transformBy(VelGeomMatrix3d::rotation(0.05, kZ, a->evalPoint(a->getLength() / 2.0)));
    VelArray<VelGeomPoint3d> pts;
    for (auto _ : state) {
        if (!a->intersectWith(*b, pts)) {
            state.SkipWithError("the meanders do not cross");
            break;
        }
        benchmark::DoNotOptimize(pts.length());
    }
    state.counters["points"] = pts.length();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_IntersectMeanders3d)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OffsetStaircase3d)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OffsetMeander3d)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OffsetStaircase2d)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelfIntersectionMeander3d)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
