// Booleans of the facet modeler against CGAL's corefinement on plain triangle
// meshes and Open CASCADE's Boolean operations, on the same polyhedra:
// 40 through-holes (32-gon prisms) cut one after another from a
// 1000 x 500 x 20 plate, and the union of 100 overlapping boxes. After the
// runs the program prints the time ratios (of the fastest repetitions, so
// run it with --benchmark_repetitions=5 on a busy machine) and checks that
// all three agree on the volumes.

#include <kiv/kivhost.h>

#include <benchmark/benchmark.h>

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/measure.h>
#include <CGAL/Surface_mesh.h>

#ifdef KIV_BENCH_OCCT
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepGProp.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <GProp_GProps.hxx>
#include <TopoDS_Shape.hxx>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

using namespace AModeler;

namespace {

const double kPi = 3.14159265358979323846;
const int kFacets = 32;
const double kHoleRadius = 8.0;

// ---- the input, as facet-modeler bodies -----------------------------------

Body plateBody() { return Body::box(Point3d(0, 0, 0), Vector3d(1000, 500, 20)); }

Point3d holeCentre(int i) { return Point3d(60.0 + 110.0 * (i % 8) + 7.0 * (i / 8), 70.0 + 90.0 * (i / 8), 0.0); }

Body holeBody(int i)
{
    const Point3d c = holeCentre(i);
    return Body::cylinder(Line3d(Point3d(c.x, c.y, -5.0), Point3d(c.x, c.y, 25.0)), kHoleRadius, kFacets);
}

// Boxes of a 10 x 10 pattern, each overlapping its neighbours.
Body unionBox(int i)
{
    const double x = 30.0 * (i % 10) + 3.0 * (i / 10 % 3), y = 30.0 * (i / 10) + 2.0 * (i % 4);
    const double z = 1.5 * (i % 5);
    return Body::box(Point3d(x, y, z), Vector3d(40.0, 37.0, 20.0 + (i % 3)));
}

// ---- CGAL on triangle meshes of the same polyhedra -------------------------

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Mesh = CGAL::Surface_mesh<Kernel::Point_3>;
namespace PMP = CGAL::Polygon_mesh_processing;

class MeshMaker : public OutputTriangleCallback
{
public:
    explicit MeshMaker(Mesh& m) : m_mesh(m) {}
    void outputTriangle(Edge* const* edges, int count) override
    {
        if (count != 3)
            return;
        Mesh::Vertex_index v[3];
        for (int k = 0; k < 3; ++k) {
            const Vertex* x = edges[k]->vertex();
            auto it = m_index.find(x);
            if (it == m_index.end()) {
                const Point3d& p = x->point();
                it = m_index.emplace(x, m_mesh.add_vertex(Kernel::Point_3(p.x, p.y, p.z))).first;
            }
            v[k] = it->second;
        }
        m_mesh.add_face(v[0], v[1], v[2]);
    }

private:
    Mesh& m_mesh;
    std::unordered_map<const Vertex*, Mesh::Vertex_index> m_index;
};

Mesh meshOf(const Body& b)
{
    Mesh m;
    MeshMaker maker(m);
    b.triangulate(&maker);
    return m;
}

#ifdef KIV_BENCH_OCCT
// ---- Open CASCADE on the same polyhedra ------------------------------------

TopoDS_Shape occtBox(const Body& b)
{
    const Interval3d box = b.interval();
    const Point3d& lo = box.lower();
    const Point3d& hi = box.upper();
    return BRepPrimAPI_MakeBox(gp_Pnt(lo.x, lo.y, lo.z), gp_Pnt(hi.x, hi.y, hi.z)).Shape();
}

TopoDS_Shape occtHole(int i)
{
    // The hole body's base polygon, extruded the same way.
    const Body h = holeBody(i);
    BRepBuilderAPI_MakePolygon poly;
    for (Face* f = h.faceList(); f; f = f->next()) {
        if (f->plane().normal().z > -0.5)
            continue;  // the base face
        Edge* e = f->edgeLoop();
        do {
            const Point3d& p = e->vertex()->point();
            poly.Add(gp_Pnt(p.x, p.y, p.z));
            e = e->next();
        } while (e != f->edgeLoop());
    }
    poly.Close();
    const TopoDS_Face face = BRepBuilderAPI_MakeFace(poly.Wire(), true).Face();
    return BRepPrimAPI_MakePrism(face, gp_Vec(0, 0, 30)).Shape();
}

double occtVolume(const TopoDS_Shape& s)
{
    GProp_GProps g;
    BRepGProp::VolumeProperties(s, g);
    return g.Mass();
}
#endif

// Volumes of the last run of each method, checked after the benchmarks.
std::map<std::string, double> g_volume;

void BM_PlateHoles_Modeler(benchmark::State& state)
{
    std::vector<Body> holes;
    for (int i = 0; i < 40; ++i)
        holes.push_back(holeBody(i));
    for (auto _ : state) {
        Body plate = plateBody();
        for (const Body& h : holes)
            plate -= h;
        g_volume["plate modeler"] = plate.volume();
        benchmark::DoNotOptimize(plate);
    }
}

void BM_PlateHoles_CgalMesh(benchmark::State& state)
{
    std::vector<Mesh> holes;
    for (int i = 0; i < 40; ++i)
        holes.push_back(meshOf(holeBody(i)));
    const Mesh start = meshOf(plateBody());
    for (auto _ : state) {
        Mesh plate = start;
        for (Mesh& h : holes) {
            Mesh hole = h;
            PMP::corefine_and_compute_difference(plate, hole, plate);
        }
        g_volume["plate cgal"] = CGAL::to_double(PMP::volume(plate));
        benchmark::DoNotOptimize(plate);
    }
}

#ifdef KIV_BENCH_OCCT
void BM_PlateHoles_Occt(benchmark::State& state)
{
    std::vector<TopoDS_Shape> holes;
    for (int i = 0; i < 40; ++i)
        holes.push_back(occtHole(i));
    for (auto _ : state) {
        TopoDS_Shape plate = occtBox(plateBody());
        for (const TopoDS_Shape& h : holes)
            plate = BRepAlgoAPI_Cut(plate, h).Shape();
        g_volume["plate occt"] = occtVolume(plate);
        benchmark::DoNotOptimize(plate);
    }
}
#endif

void BM_UnionBoxes_Modeler(benchmark::State& state)
{
    std::vector<Body> boxes;
    for (int i = 0; i < 100; ++i)
        boxes.push_back(unionBox(i));
    for (auto _ : state) {
        Body all = boxes[0];
        for (int i = 1; i < 100; ++i)
            all += boxes[i];
        g_volume["union modeler"] = all.volume();
        benchmark::DoNotOptimize(all);
    }
}

void BM_UnionBoxes_CgalMesh(benchmark::State& state)
{
    std::vector<Mesh> boxes;
    for (int i = 0; i < 100; ++i)
        boxes.push_back(meshOf(unionBox(i)));
    for (auto _ : state) {
        Mesh all = boxes[0];
        for (int i = 1; i < 100; ++i) {
            Mesh b = boxes[i];
            PMP::corefine_and_compute_union(all, b, all);
        }
        g_volume["union cgal"] = CGAL::to_double(PMP::volume(all));
        benchmark::DoNotOptimize(all);
    }
}

#ifdef KIV_BENCH_OCCT
void BM_UnionBoxes_Occt(benchmark::State& state)
{
    std::vector<TopoDS_Shape> boxes;
    for (int i = 0; i < 100; ++i)
        boxes.push_back(occtBox(unionBox(i)));
    for (auto _ : state) {
        TopoDS_Shape all = boxes[0];
        for (int i = 1; i < 100; ++i)
            all = BRepAlgoAPI_Fuse(all, boxes[i]).Shape();
        g_volume["union occt"] = occtVolume(all);
        benchmark::DoNotOptimize(all);
    }
}
#endif

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // The fastest repetition of each: on a shared machine the others
        // measure the neighbours as well (--benchmark_repetitions=N).
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration) {
                auto it = times.emplace(r.run_name.function_name, r.GetAdjustedRealTime()).first;
                it->second = std::min(it->second, r.GetAdjustedRealTime());
            }
    }
    std::map<std::string, double> times;
};

} // namespace

BENCHMARK(BM_PlateHoles_Modeler)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlateHoles_CgalMesh)->Unit(benchmark::kMillisecond);
#ifdef KIV_BENCH_OCCT
BENCHMARK(BM_PlateHoles_Occt)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_UnionBoxes_Modeler)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnionBoxes_CgalMesh)->Unit(benchmark::kMillisecond);
#ifdef KIV_BENCH_OCCT
BENCHMARK(BM_UnionBoxes_Occt)->Unit(benchmark::kMillisecond);
#endif

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* a, const char* b) {
        auto x = reporter.times.find(a), y = reporter.times.find(b);
        if (x == reporter.times.end() || y == reporter.times.end() || !(y->second > 0))
            return;
        std::printf("%-24s / %-24s = %7.2f x faster\n", b, a, x->second / y->second);
    };
    std::printf("\n");
    ratio("BM_PlateHoles_CgalMesh", "BM_PlateHoles_Modeler");
    ratio("BM_PlateHoles_Occt", "BM_PlateHoles_Modeler");
    ratio("BM_UnionBoxes_CgalMesh", "BM_UnionBoxes_Modeler");
    ratio("BM_UnionBoxes_Occt", "BM_UnionBoxes_Modeler");
    int bad = 0;
    for (const char* what : {"plate", "union"}) {
        const std::string w(what);
        auto m = g_volume.find(w + " modeler");
        if (m == g_volume.end())
            continue;
        for (const char* other : {" cgal", " occt"}) {
            auto o = g_volume.find(w + other);
            if (o == g_volume.end())
                continue;
            const double rel = std::fabs(m->second - o->second) / std::fabs(o->second);
            std::printf("%s volume: modeler %.9g,%s %.9g, relative difference %.2e\n", what, m->second, other,
                        o->second, rel);
            bad += rel > 1e-6;
        }
    }
    const double hole = 0.5 * kFacets * kHoleRadius * kHoleRadius * std::sin(2 * kPi / kFacets);
    std::printf("plate volume expected %.9g\n", 1000.0 * 500.0 * 20.0 - 40 * hole * 20.0);
    return bad ? 1 : 0;
}
