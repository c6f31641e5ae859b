// Corefinement of two open triangle meshes and the classification of the
// refined patches: the second translation unit that includes CGAL.
//
// Exact constructions (Epeck): the intersection points stay exact while the
// patches are classified, so coplanar and touching configurations are decided
// without rounding; coordinates are rounded to doubles only on the way out.

#include "facet/host/modeler/CgalCorefineInternal.h"

#include "facet/host/modeler/ErrorCode.h"

// CGAL's own headers are not warning-clean under -Wextra.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Surface_mesh.h>

#include <new>

namespace AModeler {
namespace cgal {

namespace {

using K = CGAL::Exact_predicates_exact_constructions_kernel;
using KPoint = K::Point_3;
using Mesh = CGAL::Surface_mesh<KPoint>;
using VI = Mesh::Vertex_index;
using FI = Mesh::Face_index;
using HI = Mesh::Halfedge_index;
using EI = Mesh::Edge_index;
namespace PMP = CGAL::Polygon_mesh_processing;

struct State
{
    Mesh* mesh[2] = {nullptr, nullptr};
    Mesh::Property_map<FI, int> origin[2];
    Mesh::Property_map<VI, int> nodeOf[2];
    int current[2] = {-1, -1};
    std::vector<CorefineNode>* nodes = nullptr;

    int which(const Mesh& m) const { return &m == mesh[0] ? 0 : 1; }
    CorefineNode& node(std::size_t id)
    {
        if (nodes->size() <= id)
            nodes->resize(id + 1);
        return (*nodes)[id];
    }
};

struct Visitor : public PMP::Corefinement::Default_visitor<Mesh>
{
    State* s = nullptr;

    void before_subface_creations(FI f, Mesh& m)
    {
        const int k = s->which(m);
        s->current[k] = s->origin[k][f];
    }
    void after_subface_created(FI f, Mesh& m)
    {
        const int k = s->which(m);
        s->origin[k][f] = s->current[k];
    }
    void new_vertex_added(std::size_t node, VI v, const Mesh& m)
    {
        s->node(node);
        s->nodeOf[s->which(m)][v] = static_cast<int>(node);
    }
    void intersection_point_detected(std::size_t node, int sdim, HI h1, HI h2, const Mesh& m1, const Mesh& m2,
                                     bool targetOn, bool sourceOn)
    {
        CorefineNode& n = s->node(node);
        const int k1 = s->which(m1), k2 = s->which(m2);
        if (targetOn)
            n.vertex[k1] = static_cast<int>(m1.target(h1).idx());
        else if (sourceOn)
            n.vertex[k1] = static_cast<int>(m1.source(h1).idx());
        else {
            n.edge[k1][0] = static_cast<int>(m1.source(h1).idx());
            n.edge[k1][1] = static_cast<int>(m1.target(h1).idx());
        }
        if (sdim == PMP::Corefinement::ON_VERTEX)
            n.vertex[k2] = static_cast<int>(m2.target(h2).idx());
        else if (sdim == PMP::Corefinement::ON_EDGE) {
            n.edge[k2][0] = static_cast<int>(m2.source(h2).idx());
            n.edge[k2][1] = static_cast<int>(m2.target(h2).idx());
        }
    }
};

void build(const CorefineMesh& in, Mesh& m)
{
    m.reserve(static_cast<Mesh::size_type>(in.points.size()), static_cast<Mesh::size_type>(in.triangles.size() * 3),
              static_cast<Mesh::size_type>(in.triangles.size()));
    for (const Point3d& p : in.points)
        m.add_vertex(KPoint(p.x, p.y, p.z));
    const int n = static_cast<int>(in.points.size());
    for (const auto& t : in.triangles) {
        if (t[0] < 0 || t[1] < 0 || t[2] < 0 || t[0] >= n || t[1] >= n || t[2] >= n)
            throw eInternalError;
        if (m.add_face(VI(t[0]), VI(t[1]), VI(t[2])) == Mesh::null_face())
            throw eInvalidBody;  // not a manifold triangle set
    }
}

// The sign CGAL::orientation gives a point on the side the normal of a
// counterclockwise triangle points to.
CGAL::Orientation outsideSign()
{
    static const CGAL::Orientation s = CGAL::orientation(KPoint(0, 0, 0), KPoint(1, 0, 0), KPoint(0, 1, 0), KPoint(0, 0, 1));
    return s;
}

// Where the triangle (p, q, a) lies near its edge p->q relative to the solid
// whose surface has the faces (p, q, r1) and (q, p, r2) at that edge; flat:
// the two are parts of one planar face.
signed char wedge(const KPoint& p, const KPoint& q, const KPoint& a, const KPoint& r1, const KPoint& r2, bool flat)
{
    const CGAL::Orientation out = outsideSign();
    auto side = [out](const KPoint& u, const KPoint& v, const KPoint& w, const KPoint& x) {
        const CGAL::Orientation o = CGAL::orientation(u, v, w, x);
        return o == CGAL::COPLANAR ? 0 : (o == out ? 1 : -1);
    };
    const int s1 = side(p, q, r1, a);
    const int s2 = side(q, p, r2, a);
    if (s1 == 0 && CGAL::coplanar_orientation(p, q, r1, a) == CGAL::POSITIVE)
        return kOnSame;
    if (s2 == 0 && CGAL::coplanar_orientation(q, p, r2, a) == CGAL::POSITIVE)
        return kOnOpposite;
    if (flat)
        return s1 < 0 ? kInside : kOutside;
    const int bend = side(p, q, r1, r2);
    if (bend == 0) {
        if (CGAL::coplanar_orientation(p, q, r1, r2) == CGAL::POSITIVE)
            throw eInternalError;  // the two faces fold onto each other
        return s1 < 0 ? kInside : kOutside;
    }
    if (bend < 0)
        return (s1 < 0 && s2 < 0) ? kInside : kOutside;
    return (s1 < 0 || s2 < 0) ? kInside : kOutside;
}

struct Side
{
    Mesh mesh;
    Mesh::Property_map<EI, bool> constrained;
    int inputVertices = 0;
};

// The vertex of mesh k at node j, or a null vertex.
VI vertexOfNode(const std::vector<CorefineNode>& nodes, const std::vector<VI>& newVertex, int k, int j)
{
    if (nodes[j].vertex[k] >= 0)
        return VI(nodes[j].vertex[k]);
    return newVertex[j];
}

void classify(int k, Side* sides, const State& st, const std::vector<std::vector<VI>>& nodeVertex,
              const std::vector<std::vector<int>>& inputNode, const std::vector<int>& otherFace, CorefineResult& out)
{
    Mesh& m = sides[k].mesh;
    Mesh& o = sides[1 - k].mesh;
    auto faceOf = [&](HI g) {
        const int t = st.origin[1 - k][o.face(g)];
        return t >= 0 && t < static_cast<int>(otherFace.size()) ? otherFace[t] : -1;
    };
    auto nodeOfVertex = [&](VI v) -> int {
        if (static_cast<int>(v.idx()) < sides[k].inputVertices)
            return inputNode[k][v.idx()];
        return st.nodeOf[k][v];
    };
    std::vector<int>& patch = out.patch[k];
    std::vector<signed char>& cls = out.patchClass[k];
    std::vector<int> faceIndex(m.number_of_faces() + m.number_of_removed_faces(), -1);
    int idx = 0;
    for (FI f : m.faces())
        faceIndex[f.idx()] = idx++;
    patch.assign(idx, -1);
    std::vector<FI> stack;
    for (FI seed : m.faces()) {
        if (patch[faceIndex[seed.idx()]] >= 0)
            continue;
        const int id = static_cast<int>(cls.size());
        cls.push_back(kUnknown);
        bool classified = false;
        patch[faceIndex[seed.idx()]] = id;
        stack.assign(1, seed);
        while (!stack.empty()) {
            const FI f = stack.back();
            stack.pop_back();
            for (HI h : CGAL::halfedges_around_face(m.halfedge(f), m)) {
                const EI e = m.edge(h);
                if (sides[k].constrained[e]) {
                    const int nu = nodeOfVertex(m.source(h)), nv = nodeOfVertex(m.target(h));
                    if (nu < 0 || nv < 0)
                        throw eInternalError;
                    const VI ou = vertexOfNode(*st.nodes, nodeVertex[1 - k], 1 - k, nu);
                    const VI ov = vertexOfNode(*st.nodes, nodeVertex[1 - k], 1 - k, nv);
                    if (ou == Mesh::null_vertex() || ov == Mesh::null_vertex())
                        throw eInternalError;
                    const auto found = CGAL::halfedge(ou, ov, o);
                    if (!found.second)
                        throw eInternalError;
                    const HI g = found.first;
                    if (o.is_border(g) || o.is_border(o.opposite(g)))
                        throw eInternalError;
                    const int fg = faceOf(g);
                    const bool flat = fg >= 0 && fg == faceOf(o.opposite(g));
                    const signed char c =
                        wedge(m.point(m.source(h)), m.point(m.target(h)), m.point(m.target(m.next(h))),
                              o.point(o.target(o.next(g))), o.point(o.target(o.next(o.opposite(g)))), flat);
                    if (!classified) {
                        cls[id] = c;
                        classified = true;
                    } else if (cls[id] != c) {
                        throw eInternalError;
                    }
                    continue;
                }
                const HI opp = m.opposite(h);
                if (m.is_border(opp))
                    continue;
                const FI g = m.face(opp);
                int& pg = patch[faceIndex[g.idx()]];
                if (pg < 0) {
                    pg = id;
                    stack.push_back(g);
                }
            }
        }
    }
}

} // namespace

bool collinear(const Point3d& a, const Point3d& b, const Point3d& c)
{
    using KI = CGAL::Exact_predicates_exact_constructions_kernel;
    return CGAL::collinear(KI::Point_3(a.x, a.y, a.z), KI::Point_3(b.x, b.y, b.z), KI::Point_3(c.x, c.y, c.z));
}

void corefine(const CorefineMesh& a, const CorefineMesh& b, CorefineResult& out)
{
    out = CorefineResult();
    try {
        Side sides[2];
        build(a, sides[0].mesh);
        build(b, sides[1].mesh);
        State st;
        st.nodes = &out.nodes;
        for (int k = 0; k < 2; ++k) {
            Mesh& m = sides[k].mesh;
            sides[k].inputVertices = static_cast<int>(m.number_of_vertices());
            st.mesh[k] = &m;
            st.origin[k] = m.add_property_map<FI, int>("f:origin", -1).first;
            for (FI f : m.faces())
                st.origin[k][f] = static_cast<int>(f.idx());
            st.nodeOf[k] = m.add_property_map<VI, int>("v:node", -1).first;
            sides[k].constrained = m.add_property_map<EI, bool>("e:constrained", false).first;
        }
        Visitor vis;
        vis.s = &st;
        PMP::corefine(sides[0].mesh, sides[1].mesh,
                      CGAL::parameters::visitor(vis).edge_is_constrained_map(sides[0].constrained)
                          .throw_on_self_intersection(true),
                      CGAL::parameters::edge_is_constrained_map(sides[1].constrained));

        // Vertices of each mesh at each node, and the node of each input vertex.
        const std::size_t nn = out.nodes.size();
        std::vector<std::vector<VI>> nodeVertex(2, std::vector<VI>(nn, Mesh::null_vertex()));
        std::vector<std::vector<int>> inputNode(2);
        std::vector<char> pointSet(nn, 0);
        for (int k = 0; k < 2; ++k) {
            Mesh& m = sides[k].mesh;
            inputNode[k].assign(sides[k].inputVertices, -1);
            for (VI v : m.vertices()) {
                const int j = st.nodeOf[k][v];
                if (j < 0)
                    continue;
                if (static_cast<std::size_t>(j) >= nn)
                    throw eInternalError;
                nodeVertex[k][j] = v;
                if (!pointSet[j]) {
                    const KPoint& p = m.point(v);
                    out.nodes[j].point = Point3d(CGAL::to_double(p.x()), CGAL::to_double(p.y()), CGAL::to_double(p.z()));
                    pointSet[j] = 1;
                }
            }
            for (std::size_t j = 0; j < nn; ++j) {
                const int v = out.nodes[j].vertex[k];
                if (v >= 0 && v < sides[k].inputVertices)
                    inputNode[k][v] = static_cast<int>(j);
            }
        }
        for (std::size_t j = 0; j < nn; ++j)
            if (!pointSet[j]) {
                const CorefineNode& n = out.nodes[j];
                const Point3d* src = n.vertex[0] >= 0 ? &a.points[n.vertex[0]]
                                                      : (n.vertex[1] >= 0 ? &b.points[n.vertex[1]] : nullptr);
                if (!src)
                    throw eInternalError;
                out.nodes[j].point = *src;
            }

        for (int k = 0; k < 2; ++k) {
            Mesh& m = sides[k].mesh;
            auto idOf = [&](VI v) -> int {
                if (static_cast<int>(v.idx()) < sides[k].inputVertices)
                    return static_cast<int>(v.idx());
                const int j = st.nodeOf[k][v];
                if (j < 0)
                    throw eInternalError;
                return -(j + 1);
            };
            out.triangles[k].reserve(m.number_of_faces());
            out.origin[k].reserve(m.number_of_faces());
            for (FI f : m.faces()) {
                std::array<int, 3> t{};
                int i = 0;
                for (VI v : CGAL::vertices_around_face(m.halfedge(f), m)) {
                    if (i == 3)
                        throw eInternalError;
                    t[i++] = idOf(v);
                }
                if (i != 3)
                    throw eInternalError;
                out.triangles[k].push_back(t);
                out.origin[k].push_back(st.origin[k][f]);
            }
            for (EI e : m.edges())
                if (sides[k].constrained[e])
                    out.constrained[k].push_back({idOf(m.vertex(e, 0)), idOf(m.vertex(e, 1))});
        }
        classify(0, sides, st, nodeVertex, inputNode, b.face, out);
        classify(1, sides, st, nodeVertex, inputNode, a.face, out);
    } catch (ErrorCode) {
        throw;
    } catch (const PMP::Corefinement::Self_intersection_exception&) {
        throw eDegenerateGeometry;
    } catch (const std::bad_alloc&) {
        throw eOutOfMemory;
    } catch (...) {
        throw eInternalError;
    }
}

} // namespace cgal
} // namespace AModeler
