// The cleaning pass of augmented polylines (reinitialize) on paths of 10^2,
// 10^3 and 10^4 vertices: tiny edges to remove, collinear runs and arcs of
// one circle to merge, then the validity test and the normal. Each
// iteration cleans a fresh copy of the same raw path. After the runs the
// growth factor per decade (time at 10n / time at n) is printed for every
// path: 10 means linear work, 100 quadratic.
//
// Two paths: a meander that advances along x, and the same meander turned to
// advance along y, so that a self-intersection test sweeping its boxes along
// one fixed axis would show up as quadratic growth in one of them.

#include "geom/contours/VelGeomAugPolyline.h"
#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector3d.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const VelGeomVector3d kZ(0.0, 0.0, 1.0);

struct RawPath {
    VelArray<VelGeomPoint3d> vertices;
    VelArray<VelGeomVertexInfo> infos;
};

// A meander, monotone along its axis so that it stays free of crossings,
// with something for every cleaning step: every 5th edge starts with a tiny
// one, every 7th is split by a collinear midpoint, every 4th is a pair of
// quarter arcs of one circle.
RawPath meander(int n, bool alongY)
{
    RawPath raw;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> wiggle(-0.4, 0.4);
    auto put = [&](double x, double y, const VelGeomVertexInfo& info) {
        raw.vertices.append(alongY ? VelGeomPoint3d(-y, x, 0.0) : VelGeomPoint3d(x, y, 0.0));
        raw.infos.append(info);
    };
    double y = 0.0;
    for (int i = 0; raw.vertices.length() < n; ++i) {
        const double x = i;
        const bool arcs = i % 4 == 3;
        // The arcs end at the height they start from.
        const double next = arcs ? y : (i % 2 ? 1.0 : -1.0) + wiggle(rng);
        if (arcs) {
            // Rotating the path about z keeps the arcs' sense.
            const VelGeomPoint3d c = alongY ? VelGeomPoint3d(-y, x + 0.5, 0.0) : VelGeomPoint3d(x + 0.5, y, 0.0);
            const VelGeomVertexInfo arc(0.5, c, kZ);
            put(x, y, arc);
            put(x + 0.5, y - 0.5, arc);
        } else {
            if (i % 5 == 0) {
                put(x, y, VelGeomVertexInfo::kNone);
                put(x + 0.003, y + 0.003 * (next - y), VelGeomVertexInfo::kNone);
            } else {
                put(x, y, VelGeomVertexInfo::kNone);
            }
            if (i % 7 == 0)
                put(x + 0.5, (y + next) / 2.0, VelGeomVertexInfo::kNone);
        }
        y = next;
    }
    raw.vertices.setLogicalLength(n);
    raw.infos.setLogicalLength(n);
    raw.infos[n - 1] = VelGeomVertexInfo::kNone;
    return raw;
}

void BM_Reinitialize(benchmark::State& state, bool alongY)
{
    const int n = static_cast<int>(state.range(0));
    const RawPath raw = meander(n, alongY);
    VelGeomAugPolyline dirty;
    for (int k = 0; k < n; ++k)
        dirty.append(raw.vertices[k], raw.infos[k], 0);
    long kept = 0;
    int valid = 0;
    for (auto _ : state) {
        VelGeomAugPolyline pl(dirty);
        pl.reinitialize();
        kept = pl.getLength();
        valid = pl.isValid();
        benchmark::DoNotOptimize(pl.getNormal());
    }
    state.counters["kept"] = static_cast<double>(kept);
    state.counters["valid"] = valid;
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_ReinitializeAlongX(benchmark::State& state) { BM_Reinitialize(state, false); }
void BM_ReinitializeAlongY(benchmark::State& state) { BM_Reinitialize(state, true); }

BENCHMARK(BM_ReinitializeAlongX)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReinitializeAlongY)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Keeps the per-iteration times so that the growth per decade can be
// printed after the console report.
class GrowthReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            const std::string name = run.benchmark_name();
            const size_t slash = name.rfind('/');
            if (slash == std::string::npos)
                continue;
            times[name.substr(0, slash)][std::stol(name.substr(slash + 1))] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printGrowth() const
    {
        for (const auto& family : times) {
            std::printf("%s growth per decade:", family.first.c_str());
            long previous = 0;
            double previousTime = 0.0;
            for (const auto& point : family.second) {
                if (previous > 0 && point.first == previous * 10 && previousTime > 0.0)
                    std::printf("  %ld -> %ld: x%.1f", previous, point.first, point.second / previousTime);
                previous = point.first;
                previousTime = point.second;
            }
            std::printf("\n");
        }
    }

private:
    std::map<std::string, std::map<long, double>> times;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printGrowth();
    benchmark::Shutdown();
    return 0;
}
