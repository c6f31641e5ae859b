// VelArray against std::vector on the same work. Each benchmark times both
// containers in the same iteration and reports kiv's time (as the benchmark's
// time) and the ratio kiv / std ("ratio" counter; 1.0 means equal speed).
//
// Arguments: element count, grow length. Growth is linear by contract, so
// appending one by one costs O(n^2 / growLength) element copies; the grow
// length 8 runs stop at 10^5 for that reason.
#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Pair {
    double kiv = 0, std = 0;
    template <class F, class G>
    void time(F&& kivWork, G&& stdWork)
    {
        auto t0 = Clock::now();
        kivWork();
        auto t1 = Clock::now();
        stdWork();
        auto t2 = Clock::now();
        kiv += std::chrono::duration<double>(t1 - t0).count();
        std += std::chrono::duration<double>(t2 - t1).count();
        last = std::chrono::duration<double>(t1 - t0).count();
    }
    double last = 0;
    void report(benchmark::State& state) { state.counters["ratio"] = std > 0 ? kiv / std : 0; }
};

std::vector<int> randomInts(int n)
{
    std::mt19937 rng(42);
    std::vector<int> v(static_cast<size_t>(n));
    for (auto& x : v)
        x = static_cast<int>(rng());
    return v;
}

int compareInts(const void* a, const void* b)
{
    const int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
    return (x > y) - (x < y);
}

void BM_AppendPoints(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0)), grow = static_cast<int>(state.range(1));
    Pair p;
    for (auto _ : state) {
        p.time(
            [&] {
                VelArray<VelGeomPoint3d> a(0, grow);
                for (int i = 0; i < n; ++i)
                    a.append(VelGeomPoint3d(i, 0, 0));
                benchmark::DoNotOptimize(a.asArrayPtr());
            },
            [&] {
                std::vector<VelGeomPoint3d> v;
                for (int i = 0; i < n; ++i)
                    v.push_back(VelGeomPoint3d(i, 0, 0));
                benchmark::DoNotOptimize(v.data());
            });
        state.SetIterationTime(p.last);
    }
    p.report(state);
}

void BM_CopyPoints(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0)), grow = static_cast<int>(state.range(1));
    VelArray<VelGeomPoint3d> a(n, grow);
    a.setLogicalLength(n);
    std::vector<VelGeomPoint3d> v(static_cast<size_t>(n));
    Pair p;
    for (auto _ : state) {
        p.time(
            [&] {
                VelArray<VelGeomPoint3d> b(a);
                benchmark::DoNotOptimize(b.asArrayPtr());
            },
            [&] {
                std::vector<VelGeomPoint3d> w(v);
                benchmark::DoNotOptimize(w.data());
            });
        state.SetIterationTime(p.last);
    }
    p.report(state);
}

// 1000 insertions in the middle of an array of n ints (memory-copy form and
// object-copy form), and 1000 removals from the middle.
template <class Array>
void insertRemove(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0)), grow = static_cast<int>(state.range(1));
    const std::vector<int> data = randomInts(n);
    Pair ins, rem;
    for (auto _ : state) {
        Array a(0, grow);
        for (int x : data)
            a.append(x);
        std::vector<int> v(data);
        ins.time(
            [&] {
                for (int k = 0; k < 1000; ++k)
                    a.insertAt(a.length() / 2, k);
            },
            [&] {
                for (int k = 0; k < 1000; ++k)
                    v.insert(v.begin() + static_cast<long>(v.size() / 2), k);
            });
        rem.time(
            [&] {
                for (int k = 0; k < 1000; ++k)
                    a.removeAt(a.length() / 2);
            },
            [&] {
                for (int k = 0; k < 1000; ++k)
                    v.erase(v.begin() + static_cast<long>(v.size() / 2));
            });
        state.SetIterationTime(ins.last + rem.last);
    }
    state.counters["ratio_insert"] = ins.kiv / ins.std;
    state.counters["ratio_remove"] = rem.kiv / rem.std;
}

void BM_InsertRemoveInts(benchmark::State& state) { insertRemove<VelArray<int>>(state); }
void BM_InsertRemoveIntsMemCopy(benchmark::State& state)
{
    insertRemove<VelArray<int, VelArrayMemCopyReallocator<int>>>(state);
}

void BM_SortInts(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0)), grow = static_cast<int>(state.range(1));
    const std::vector<int> data = randomInts(n);
    Pair p;
    for (auto _ : state) {
        VelArray<int> a(n, grow);
        for (int x : data)
            a.append(x);
        std::vector<int> v(data);
        p.time([&] { a.sort(compareInts); }, [&] { std::sort(v.begin(), v.end()); });
        state.SetIterationTime(p.last);
    }
    p.report(state);
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int n : {1000, 10000, 100000})
        b->Args({n, 8});
    for (int n : {1000, 10000, 100000, 1000000})
        b->Args({n, 1024});
    b->UseManualTime()->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_AppendPoints)->Apply(sizes);
BENCHMARK(BM_CopyPoints)->Apply(sizes);
BENCHMARK(BM_InsertRemoveInts)->Apply(sizes);
BENCHMARK(BM_InsertRemoveIntsMemCopy)->Apply(sizes);
BENCHMARK(BM_SortInts)->Apply(sizes);
BENCHMARK_MAIN();
