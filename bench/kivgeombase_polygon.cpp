// Cleaning augmented polygons of 100, 1000 and 10000 vertices: the whole
// reinitialize(1) (short edges, collinear and co-circular merges, the
// self-intersection test behind the validity, the normal). Each iteration
// cleans a fresh copy of the contour. After the runs the growth of the time
// per decade of vertices is printed: about 10 means linear work, about 100
// quadratic.
//
// The contours:
//   gear    a toothed ring of straight flanks and arc tips, with a collinear
//           vertex in every fifth flank and a 0.001 edge after every
//           seventh tip;
//   circle  a ring of co-circular arcs of one circle, merged into three;
//   comb    a row of long thin teeth, so that most edges share their x range
//           with many others.
#include "geom/contours/VelGeomAugPolygon.h"
#include "geom/core/VelGeomBase.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using P = VelGeomPoint3d;
using V = VelGeomVector3d;
using Info = VelGeomVertexInfo;

VelGeomAugPolygon gear(int vertices)
{
    const double pi = VelGeomBase::PI;
    const int teeth = vertices / 4;
    const double r = teeth / pi;  // tips and roots about 1 long
    const double depth = 0.8;
    VelGeomAugPolygon poly;
    for (int t = 0; t < teeth; ++t) {
        const double a0 = 2 * pi * t / teeth, a1 = 2 * pi * (t + 0.5) / teeth;
        const double ro = r + depth;
        const P in0(r * std::cos(a0), r * std::sin(a0), 0), out0(ro * std::cos(a0), ro * std::sin(a0), 0);
        const P in1(r * std::cos(a1), r * std::sin(a1), 0), out1(ro * std::cos(a1), ro * std::sin(a1), 0);
        poly.coreAppend(in0);
        if (t % 5 == 0)
            poly.coreAppend(in0 + (out0 - in0) * 0.5);  // collinear: merged away
        poly.coreAppend(out0, 0, Info(ro, P(0, 0, 0), V::kZAxis));  // the tip, an arc of the outer circle
        if (t % 7 == 0) {
            poly.coreAppend(out1);
            poly.coreAppend(out1 + (in1 - out1) * (0.001 / (out1 - in1).length()));  // a stub: removed
        } else {
            poly.coreAppend(out1);
        }
        poly.coreAppend(in1);
    }
    return poly;
}

VelGeomAugPolygon circle(int vertices)
{
    const double pi = VelGeomBase::PI;
    const double r = vertices / (2 * pi);
    VelGeomAugPolygon poly;
    for (int i = 0; i < vertices; ++i) {
        const double a = 2 * pi * i / vertices;
        poly.coreAppend(P(r * std::cos(a), r * std::sin(a), 0), 0, Info(r, P(0, 0, 0), V::kZAxis));
    }
    return poly;
}

VelGeomAugPolygon comb(int vertices)
{
    // Teeth along x, stacked in y: every tooth spans the same x range.
    const int teeth = vertices / 4;
    VelGeomAugPolygon poly;
    poly.coreAppend(P(-1, teeth, 0));
    poly.coreAppend(P(-1, 0, 0));
    for (int t = 0; t < teeth; ++t) {
        poly.coreAppend(P(0, t + 0.2, 0));
        poly.coreAppend(P(50, t + 0.2, 0), 0, Info(0.3, P(50, t + 0.5, 0), V::kZAxis));
        poly.coreAppend(P(50, t + 0.8, 0));
        if (t + 1 < teeth)
            poly.coreAppend(P(0, t + 0.8, 0));
    }
    return poly;
}

template <VelGeomAugPolygon (*Make)(int)>
void BM_Reinitialize(benchmark::State& state)
{
    const VelGeomAugPolygon contour = Make(static_cast<int>(state.range(0)));
    long left = 0;
    for (auto _ : state) {
        VelGeomAugPolygon poly = contour;
        poly.reinitialize(1);
        if (poly.isValid() != VelGeomAugPolygon::kValid) {
            state.SkipWithError("the contour did not clean to a valid polygon");
            break;
        }
        left = poly.getLength();
    }
    state.counters["vertices_in"] = static_cast<double>(contour.getLength());
    state.counters["vertices_out"] = static_cast<double>(left);
    state.SetItemsProcessed(state.iterations() * contour.getLength());
}

// Prints the runs as usual and keeps their times for the growth table.
class GrowthReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0)
                continue;
            const std::string name = run.benchmark_name();
            const size_t slash = name.rfind('/');
            if (slash == std::string::npos)
                continue;
            times[name.substr(0, slash)][std::stol(name.substr(slash + 1))] = run.GetAdjustedRealTime();
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nGrowth of the time per decade of vertices (10 = linear):\n");
        for (const auto& series : times) {
            std::printf("  %-40s", series.first.c_str());
            const std::map<long, double>& t = series.second;
            for (auto it = t.begin(); it != t.end(); ++it) {
                auto next = std::next(it);
                if (next == t.end())
                    break;
                std::printf("  %ld -> %ld: x%.1f", it->first, next->first, next->second / it->second);
            }
            std::printf("\n");
        }
    }

private:
    std::map<std::string, std::map<long, double>> times;
};

}  // namespace

BENCHMARK_TEMPLATE(BM_Reinitialize, gear)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Reinitialize, circle)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Reinitialize, comb)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
