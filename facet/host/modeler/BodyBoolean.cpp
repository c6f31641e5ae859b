// Booleans, sections and interference.
//
// Only the faces of each body that come near the other body take part: they
// are triangulated, and only their triangles near the other body's triangles
// go through the corefinement (CgalCorefine.cpp). Everything else is judged
// by connectivity: a region of a surface that no intersection curve crosses
// lies wholly inside or outside the other solid, so faces far away keep their
// place untouched, and only a face whose triangles were cut or dropped is
// rebuilt from its surviving triangles. The result is assembled beside the
// body, checked, and only then swapped in, so a failure leaves it as it was.

#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/BooleanInternal.h"
#include "facet/host/modeler/CgalCorefineInternal.h"
#include "facet/host/modeler/PointIndexInternal.h"
#include "facet/host/modeler/Settings.h"
#include "facet/host/modeler/TriangulatorInternal.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace AModeler {

void BodyImpl::moveFaceBefore(BodyData* d, Face* f, Face* pos)
{
    if (f == pos || !pos || f->m_next == pos)
        return;
    // Unlink.
    if (f->m_prev)
        f->m_prev->m_next = f->m_next;
    else
        d->faceHead = f->m_next;
    if (f->m_next)
        f->m_next->m_prev = f->m_prev;
    else
        d->faceTail = f->m_prev;
    // Link before pos.
    f->m_prev = pos->m_prev;
    f->m_next = pos;
    if (pos->m_prev)
        pos->m_prev->m_next = f;
    else
        d->faceHead = f;
    pos->m_prev = f;
}

namespace {

using cgal::kInside;
using cgal::kOnOpposite;
using cgal::kOnSame;
using cgal::kOutside;
using cgal::kUnknown;

enum class Op
{
    kUnion,
    kDifference,
    kIntersection
};

struct Dsu
{
    std::vector<int> p;
    void reset(size_t n)
    {
        p.resize(n);
        std::iota(p.begin(), p.end(), 0);
    }
    int find(int x)
    {
        while (p[x] != x) {
            p[x] = p[p[x]];
            x = p[x];
        }
        return x;
    }
    void unite(int a, int b)
    {
        a = find(a);
        b = find(b);
        if (a != b)
            p[b] = a;
    }
};

// Whether the part of side `side` (0 the receiving body, 1 the other) that
// lies as `cls` says relative to the other solid belongs to the result.
bool keeps(Op op, int side, signed char cls)
{
    switch (op) {
    case Op::kUnion: return side == 0 ? (cls == kOutside || cls == kOnSame) : cls == kOutside;
    case Op::kIntersection: return side == 0 ? (cls == kInside || cls == kOnSame) : cls == kInside;
    case Op::kDifference: return side == 0 ? (cls == kOutside || cls == kOnOpposite) : cls == kInside;
    }
    return false;
}

// Pairs of overlapping boxes (grown by margin) of two sets, by a sweep along x.
template <class Fn>
void overlappingPairs(const std::vector<Interval3d>& a, const std::vector<Interval3d>& b, double margin, Fn&& fn)
{
    std::vector<int> ia, ib;
    for (size_t i = 0; i < a.size(); ++i)
        if (!a[i].isEmpty())
            ia.push_back(static_cast<int>(i));
    for (size_t i = 0; i < b.size(); ++i)
        if (!b[i].isEmpty())
            ib.push_back(static_cast<int>(i));
    auto byX = [](const std::vector<Interval3d>& s) {
        return [&s](int x, int y) { return s[x].lower().x < s[y].lower().x; };
    };
    std::sort(ia.begin(), ia.end(), byX(a));
    std::sort(ib.begin(), ib.end(), byX(b));
    std::vector<int> la, lb;
    size_t i = 0, j = 0;
    while (i < ia.size() || j < ib.size()) {
        const bool takeA = j >= ib.size() || (i < ia.size() && a[ia[i]].lower().x <= b[ib[j]].lower().x);
        if (takeA) {
            const Interval3d& x = a[ia[i]];
            size_t keep = 0;
            for (int k : lb)
                if (b[k].upper().x + margin >= x.lower().x - margin) {
                    lb[keep++] = k;
                    if (x.intersects(b[k], margin))
                        fn(ia[i], k);
                }
            lb.resize(keep);
            la.push_back(ia[i++]);
        } else {
            const Interval3d& y = b[ib[j]];
            size_t keep = 0;
            for (int k : la)
                if (a[k].upper().x + margin >= y.lower().x - margin) {
                    la[keep++] = k;
                    if (y.intersects(a[k], margin))
                        fn(k, ib[j]);
                }
            la.resize(keep);
            lb.push_back(ib[j++]);
        }
    }
}

Interval3d boxOf(const Point3d& a, const Point3d& b, const Point3d& c)
{
    Interval3d x(a, b);
    x.extend(c);
    return x;
}

// Point-in-solid by counting crossings of a ray with the faces; directions
// that graze an edge or a face are replaced by others.
bool insideSolid(const Point3d& p, const std::vector<Face*>& faces, double scale)
{
    static const double dirs[][3] = {{0.5773, 0.5774, 0.5775}, {-0.2673, 0.5345, 0.8018}, {0.8729, -0.2182, 0.4364},
                                     {0.3015, 0.9045, -0.3015}, {-0.6963, -0.5222, 0.4924}, {0.1078, -0.7548, -0.6470},
                                     {0.9285, 0.3714, 0.0000}, {-0.4082, 0.4082, -0.8165}};
    const double tol = 1e-10 * (scale > 1.0 ? scale : 1.0);
    std::vector<Point3d> pts;
    for (const auto& dd : dirs) {
        const Vector3d d = Vector3d(dd[0], dd[1], dd[2]).normalized();
        int crossings = 0;
        bool clean = true;
        for (Face* f : faces) {
            const Plane& pl = f->plane();
            const double nd = pl.normal().dot(d);
            const double sd = pl.signedDistanceTo(p);
            if (std::fabs(nd) < 1e-9) {
                if (std::fabs(sd) < tol) {
                    clean = false;
                    break;
                }
                continue;
            }
            const double t = -sd / nd;
            if (t < -tol)
                continue;
            const Point3d h = p + d * t;
            pts.clear();
            BodyImpl::walkLoop(f, [&](Edge* e) {
                pts.push_back(e->vertex()->point());
                return true;
            });
            // Project away the normal's largest component.
            const Vector3d& n = pl.normal();
            int ax = 0;
            if (std::fabs(n.y) > std::fabs(n.x))
                ax = 1;
            if (std::fabs(n.z) > std::fabs(ax == 0 ? n.x : n.y))
                ax = 2;
            auto u = [ax](const Point3d& q) { return ax == 0 ? q.y : q.x; };
            auto v = [ax](const Point3d& q) { return ax == 2 ? q.y : q.z; };
            const double hu = u(h), hv = v(h);
            bool in = false;
            bool near = false;
            for (size_t i = 0, k = pts.size() - 1; i < pts.size(); k = i++) {
                const double au = u(pts[i]), av = v(pts[i]), bu = u(pts[k]), bv = v(pts[k]);
                // Distance to the edge in the projection.
                const double eu = bu - au, ev = bv - av;
                const double len2 = eu * eu + ev * ev;
                double s = len2 > 0 ? ((hu - au) * eu + (hv - av) * ev) / len2 : 0.0;
                s = std::clamp(s, 0.0, 1.0);
                const double du = hu - (au + s * eu), dv = hv - (av + s * ev);
                if (du * du + dv * dv < tol * tol)
                    near = true;
                if ((av > hv) != (bv > hv) && hu < (bu - au) * (hv - av) / (bv - av) + au)
                    in = !in;
            }
            if (near) {
                clean = false;
                break;
            }
            if (in) {
                if (t < tol) {
                    clean = false;  // the point is on this face
                    break;
                }
                ++crossings;
            }
        }
        if (clean)
            return (crossings & 1) != 0;
    }
    throw eInternalError;
}

// The result of one side's face: a loop of vertex ids to build.
struct OutFace
{
    int side = 0;
    Face* origin = nullptr;
    bool reversed = false;
    std::vector<int> v;
    std::vector<char> bridge;
    std::vector<Edge*> source;  // per edge: the operand's half-edge it copies (or null)
    std::vector<std::array<int, 3>> tris;  // a triangulation in ids (may be empty), as v runs
    Face* built = nullptr;
};

class Engine
{
public:
    Engine(Body& a, const Body& b, Op op) : m_a(a), m_b(b), m_op(op), m_eps(gEpsAbs()) {}

    void compute();
    void commit();

    // Facts for the interference test.
    bool contact() const { return m_contact; }

private:
    struct Cand
    {
        int side = 0;
        Face* face = nullptr;
        std::vector<Edge*> loop;
        std::vector<int> ids;                    // per loop position
        std::vector<std::array<int, 3>> tris;    // vertex ids
        std::vector<int> meshTri;                // per triangle: index in its mesh, or -1
        std::vector<int> elem;                   // per triangle: classification element (passive ones)
        std::vector<signed char> keep;           // per triangle: survives (passive ones)
        bool reused = false;                     // tris came from the face's remembered ones
    };

    // ---- vertices ----
    int idOf(Vertex* v, int side)
    {
        const auto r = m_ids.emplace(pointerKey(v), static_cast<int>(m_pos.size()));
        if (!r.second)
            return *r.first;
        const int id = *r.first;
        m_pos.push_back(v->point());
        m_vtx.push_back(v);
        m_vside.push_back(static_cast<signed char>(side));
        m_alias.push_back(id);
        return id;
    }
    int addNode(const Point3d& p)
    {
        const int id = static_cast<int>(m_pos.size());
        m_pos.push_back(p);
        m_vtx.push_back(nullptr);
        m_vside.push_back(2);
        m_alias.push_back(id);
        return id;
    }
    int rep(int id) const
    {
        while (m_alias[id] != id)
            id = m_alias[id];
        return id;
    }
    // The id a point finally stands for, after welding.
    int fin(int id) const
    {
        int r = rep(id);
        while (r < static_cast<int>(m_weld.size()) && m_weld[r] != r)
            r = rep(m_weld[r]);
        return r;
    }

    void collectFaces();
    void findCandidates();
    void snap();
    void triangulateCandidates();
    void markActive();
    void runCorefinement();
    void weld();
    void classify(int side);
    void decidePassive(int side);
    void buildOutput();
    void dropSlivers();
    // Drops the sliver's path from the one face across it, if that can be done cleanly.
    bool dropPath(size_t sliver, int x, int y, const std::vector<int>& path);
    void buildEntities();
    void splitFans(size_t newEdges);
    void validate();
    // The half-edges of the new faces, grouped by the vertex they leave.
    void newEdgesByVertex(size_t expected, std::vector<std::pair<Vertex*, Edge*>>& out) const;
    // A half-edge's partner once the result is committed.
    Edge* partnerAfter(const Edge* e) const;
    void remember(Face* f, const std::vector<int>& loopIds, const std::vector<std::array<int, 3>>& tris,
                  std::vector<int>& posOf);

    // The classification element of a candidate face's half-edge (null when none).
    const int* elementAt(Edge* e, int side)
    {
        return m_edgeElem[side].find(directedKey(rep(idOf(e->vertex(), side)), rep(idOf(e->next()->vertex(), side))));
    }

    signed char keepClass(int side, signed char cls) const { return keeps(m_op, side, cls) ? 1 : 0; }

    Body& m_a;
    const Body& m_b;
    Op m_op;
    double m_eps;
    double m_margin = 0.0;
    double m_scale = 1.0;

    std::vector<Face*> m_faces[2];
    std::vector<std::pair<int, int>> m_pairs;  // faces whose boxes overlap
    FlatMap<Edge*> m_edgeAt;  // by vertex: a half-edge leaving each vertex of a candidate
    std::vector<Interval3d> m_faceBox[2];
    Interval3d m_box[2];
    std::unordered_map<const Face*, int> m_candOf[2];  // face -> index in m_cands
    std::vector<Cand> m_cands;

    FlatMap<int> m_ids;  // by vertex
    std::vector<Point3d> m_pos;
    std::vector<Vertex*> m_vtx;
    std::vector<signed char> m_vside;
    std::vector<int> m_alias;
    std::vector<int> m_weld;

    // The corefinement.
    cgal::CorefineMesh m_mesh[2];
    std::vector<int> m_meshGlobal[2];       // mesh vertex -> id
    std::vector<std::pair<int, int>> m_meshTriSrc[2];  // mesh triangle -> (cand, triangle)
    cgal::CorefineResult m_res;
    std::vector<int> m_nodeId;               // node -> id
    std::unordered_map<int, int> m_nodeOfId;  // id of a new point -> node
    std::vector<std::array<int, 3>> m_outTris[2];  // output triangles in ids
    FlatMap<char> m_constrained;    // undirected, ids
    bool m_contact = false;

    // Classification.
    std::vector<signed char> m_groupKeep[2];  // per element root... stored per element
    Dsu m_dsu[2];
    int m_patchCount[2] = {0, 0};
    std::vector<signed char> m_elemKeep[2];   // per element (after groups): 1 keep, 0 drop
    FlatMap<int> m_edgeElem[2];  // directed ids -> element
    std::unordered_map<const Face*, signed char> m_passiveKeep[2];  // decided non-default passive faces
    signed char m_defaultKeep[2] = {1, 1};

    // Lookup of operand half-edges by vertex ids (candidate faces).
    FlatMap<Edge*> m_loopEdge[2];
    std::vector<Edge*> m_nodeEdge[2];        // per node: operand edge whose inside holds it

    // Output.
    std::vector<OutFace> m_out;
    std::vector<int> m_keptTriangulation;    // unchanged faces of the receiving body triangulated afresh
    std::vector<Face*> m_removed;            // faces of the receiving body to delete
    std::unordered_set<const Face*> m_removedSet;
    Body m_t;                                // new entities, spliced in by commit()
    std::vector<std::pair<Edge*, Edge*>> m_openPairs;  // (kept edge of the body, its new partner)
    std::unordered_map<const Edge*, Edge*> m_newPartner;  // the same, by kept edge
    std::vector<std::pair<Edge*, bool>> m_openApprox;
    std::vector<std::pair<Edge*, Vertex*>> m_vertexMoves;  // kept edges that change vertex
    std::unordered_map<const Curve*, Curve*> m_curveCopy;
};

// ---- gathering -------------------------------------------------------------

void Engine::collectFaces()
{
    const Body* bodies[2] = {&m_a, &m_b};
    for (int s = 0; s < 2; ++s) {
        for (Face* f = bodies[s]->faceList(); f; f = f->next()) {
            m_faces[s].push_back(f);
            Interval3d box = f->interval();
            m_faceBox[s].push_back(box);
            m_box[s].extend(box);
        }
    }
    double ext = 1.0;
    for (int s = 0; s < 2; ++s)
        if (!m_box[s].isEmpty()) {
            const Vector3d sz = m_box[s].size();
            ext = std::max({ext, std::fabs(m_box[s].lower().x), std::fabs(m_box[s].lower().y),
                            std::fabs(m_box[s].lower().z), std::fabs(m_box[s].upper().x),
                            std::fabs(m_box[s].upper().y), std::fabs(m_box[s].upper().z), sz.x, sz.y, sz.z});
        }
    m_scale = ext;
    // Snapping moves points by up to eps; rounding of nodes is far below.
    m_margin = 4.0 * m_eps + 1e-12 * ext;
}

void Engine::findCandidates()
{
    std::vector<char> cand[2];
    cand[0].assign(m_faces[0].size(), 0);
    cand[1].assign(m_faces[1].size(), 0);
    overlappingPairs(m_faceBox[0], m_faceBox[1], m_margin, [&](int i, int j) {
        cand[0][i] = 1;
        cand[1][j] = 1;
        m_pairs.emplace_back(i, j);
    });
    for (int s = 0; s < 2; ++s)
        for (size_t i = 0; i < m_faces[s].size(); ++i)
            if (cand[s][i]) {
                m_candOf[s].emplace(m_faces[s][i], static_cast<int>(m_cands.size()));
                Cand c;
                c.side = s;
                c.face = m_faces[s][i];
                BodyImpl::loopEdges(c.face, c.loop);
                if (c.loop.size() < 3)
                    throw eInvalidBody;
                c.ids.reserve(c.loop.size());
                for (Edge* e : c.loop) {
                    if (!e->vertex())
                        throw eInvalidBody;
                    c.ids.push_back(idOf(e->vertex(), s));
                    if (s == 0)
                        m_edgeAt.emplace(pointerKey(e->vertex()), e);
                }
                m_cands.push_back(std::move(c));
            }
}

namespace {

// The axis a plane's normal lies along within a rounding error (a face
// rotated by a quarter turn keeps components of 1e-17), or -1.
int nearAxis(const Plane& pl, bool& exact)
{
    const Vector3d& n = pl.normal();
    const double c[3] = {std::fabs(n.x), std::fabs(n.y), std::fabs(n.z)};
    for (int k = 0; k < 3; ++k) {
        const double o1 = c[(k + 1) % 3], o2 = c[(k + 2) % 3];
        if (c[k] > 0.5 && o1 <= 1e-12 && o2 <= 1e-12) {
            exact = o1 == 0.0 && o2 == 0.0;
            return k;
        }
    }
    return -1;
}

double& coord(Point3d& p, int k) { return k == 0 ? p.x : (k == 1 ? p.y : p.z); }
double coordOf(const Plane& pl, int k)
{
    const Vector3d& n = pl.normal();
    return -pl.d() / (k == 0 ? n.x : (k == 1 ? n.y : n.z));
}

// Caps: triangles with a corner within tol of the opposite edge, which a
// loop with nearly collinear neighbours (points rounded off the edge they
// lie on) gets from ear clipping. The corefinement sees the cap exactly, as
// a sliver folded onto the neighbouring face, and rejects the mesh as self-
// intersecting; flipping the long edge away gives two proper triangles.
// p3: the loop's points; pts: their 2D coordinates in the face's plane.
void flipCaps(const std::vector<Point3d>& p3, const std::vector<Point2>& pts, double tol,
              std::vector<std::array<int, 3>>& tris)
{
    auto capCorner = [&](const std::array<int, 3>& t) {
        for (int k = 0; k < 3; ++k) {
            const Point3d &c = p3[t[k]], &a = p3[t[(k + 1) % 3]], &b = p3[t[(k + 2) % 3]];
            const Vector3d ab = b - a, ac = c - a;
            const double len2 = ab.lengthSqrd();
            if (!(len2 > 0.0))
                continue;
            const double s = ac.dot(ab);
            if (s <= 0.0 || s >= len2)
                continue;
            if (ab.cross(ac).lengthSqrd() <= tol * tol * len2)
                return k;
        }
        return -1;
    };
    std::vector<int> caps;
    for (size_t t = 0; t < tris.size(); ++t)
        if (capCorner(tris[t]) >= 0)
            caps.push_back(static_cast<int>(t));
    if (caps.empty())
        return;
    std::unordered_map<uint64_t, int> owner;
    for (size_t t = 0; t < tris.size(); ++t)
        for (int k = 0; k < 3; ++k)
            owner[directedKey(tris[t][k], tris[t][(k + 1) % 3])] = static_cast<int>(t);
    auto ccw = [&](int a, int b, int c) {
        return (pts[b].x - pts[a].x) * (pts[c].y - pts[a].y) - (pts[b].y - pts[a].y) * (pts[c].x - pts[a].x) > 0.0;
    };
    size_t budget = 4 * tris.size() + 8;
    while (!caps.empty() && budget-- > 0) {
        const int t = caps.back();
        caps.pop_back();
        const int k = capCorner(tris[t]);
        if (k < 0)
            continue;
        const int c = tris[t][k], a = tris[t][(k + 1) % 3], b = tris[t][(k + 2) % 3];
        auto it = owner.find(directedKey(b, a));
        if (it == owner.end())
            continue;  // the long edge is on the loop
        const int t2 = it->second;
        int d = -1;
        for (int j = 0; j < 3; ++j)
            if (tris[t2][j] != a && tris[t2][j] != b)
                d = tris[t2][j];
        if (d < 0 || d == c || owner.count(directedKey(c, d)) || owner.count(directedKey(d, c)))
            continue;
        const std::array<int, 3> n1 = {c, a, d}, n2 = {c, d, b};
        if (!ccw(c, a, d) || !ccw(c, d, b) || capCorner(n1) >= 0 || capCorner(n2) >= 0)
            continue;
        owner.erase(directedKey(a, b));
        owner.erase(directedKey(b, a));
        tris[t] = n1;
        tris[t2] = n2;
        for (int j = 0; j < 3; ++j) {
            owner[directedKey(n1[j], n1[(j + 1) % 3])] = t;
            owner[directedKey(n2[j], n2[(j + 1) % 3])] = t2;
        }
        // A run of nearly collinear points: a cap next to the flipped pair
        // may have become flippable.
        for (const auto* n : {&n1, &n2})
            for (int j = 0; j < 3; ++j) {
                auto o = owner.find(directedKey((*n)[(j + 1) % 3], (*n)[j]));
                if (o != owner.end() && capCorner(tris[o->second]) >= 0)
                    caps.push_back(o->second);
            }
    }
}

} // namespace

void Engine::snap()
{
    // A face that is axis-parallel but for rounding, against an exactly
    // axis-parallel face of the other body in nearly the same plane: its
    // points take that plane's coordinate, so the corefinement sees the two
    // coplanar. Projecting onto the tilted plane cannot be exact, and points
    // off by 1e-17 make slivers whose classification is arbitrary. Only the
    // points the corefinement sees move; the receiving body's vertices keep
    // their places.
    std::unordered_map<int, std::pair<int, double>> axisPlane;  // face of side 0 -> (axis, coordinate)
    for (const auto& pr : m_pairs) {
        Face* f[2] = {m_faces[0][pr.first], m_faces[1][pr.second]};
        if (!f[0]->plane().isValid() || !f[1]->plane().isValid())
            continue;
        bool exact[2] = {false, false};
        const int k0 = nearAxis(f[0]->plane(), exact[0]), k1 = nearAxis(f[1]->plane(), exact[1]);
        if (k0 < 0 || k0 != k1 || exact[0] == exact[1])
            continue;
        const int tilted = exact[0] ? 1 : 0;
        const double value = coordOf(f[1 - tilted]->plane(), k0);
        const Cand& c = m_cands[m_candOf[tilted].at(f[tilted])];
        bool near = true;
        for (int id : c.ids)
            near = near && std::fabs(coord(m_pos[id], k0) - value) <= m_eps;
        if (!near)
            continue;
        for (int id : c.ids)
            if (m_vside[id] == tilted)
                coord(m_pos[id], k0) = value;
        if (tilted == 0)
            axisPlane.emplace(pr.first, std::make_pair(k0, value));
    }

    // The other operand's points within the tolerance of one of this body's
    // points become that point, so the corefinement sees them coincide.
    // Only points near the other body's candidate faces can be that close.
    Interval3d reach;
    for (const Cand& c : m_cands)
        if (c.side == 1)
            for (int id : c.ids)
                reach.extend(m_pos[id]);
    reach.enlarge(2.0 * m_eps);
    PointIndex index(m_eps);
    bool any = false;
    for (const Cand& c : m_cands)
        if (c.side == 0) {
            any = true;
            for (int id : c.ids)
                if (reach.contains(m_pos[id]))
                    index.add(m_pos[id], reinterpret_cast<void*>(static_cast<intptr_t>(id + 1)));
        }
    if (!any)
        return;
    std::unordered_set<int> onPoint;
    for (const Cand& c : m_cands)
        if (c.side == 1)
            for (int id : c.ids) {
                if (m_vside[id] != 1)
                    continue;
                void* hit = index.find(m_pos[id]);
                if (hit) {
                    m_pos[id] = m_pos[static_cast<int>(reinterpret_cast<intptr_t>(hit)) - 1];
                    onPoint.insert(id);
                }
            }
    // Points within the tolerance of a face of this body go into its plane,
    // so nearly coplanar faces become coplanar (exactly so for planes
    // parallel to the axes, the common case of touching parts).
    std::unordered_map<int, int> moved;  // id -> number of planes it went into
    for (const auto& pr : m_pairs) {
        Face* fa = m_faces[0][pr.first];
        const Plane& pl = fa->plane();
        if (!pl.isValid())
            continue;
        Interval3d box = m_faceBox[0][pr.first];
        box.enlarge(m_eps);
        const Cand& cb = m_cands[m_candOf[1].at(m_faces[1][pr.second])];
        for (int id : cb.ids) {
            if (m_vside[id] != 1 || onPoint.count(id))
                continue;
            Point3d& p = m_pos[id];
            auto ax = axisPlane.find(pr.first);
            if (ax != axisPlane.end()) {
                // Aligned above: the exact plane, not the tilted one.
                double& x = coord(p, ax->second.first);
                const double dx = x - ax->second.second;
                if (dx != 0.0 && std::fabs(dx) <= m_eps && box.contains(p) && ++moved[id] <= 3)
                    x = ax->second.second;
                continue;
            }
            const double sd = pl.signedDistanceTo(p);
            if (sd == 0.0 || std::fabs(sd) > m_eps || !box.contains(p))
                continue;
            if (++moved[id] > 3)
                continue;
            Point3d q = p - pl.normal() * sd;
            // Axis planes: put the coordinate exactly.
            const Vector3d& n = pl.normal();
            if (n.y == 0.0 && n.z == 0.0)
                q.x = -pl.d() / n.x;
            else if (n.x == 0.0 && n.z == 0.0)
                q.y = -pl.d() / n.y;
            else if (n.x == 0.0 && n.y == 0.0)
                q.z = -pl.d() / n.z;
            p = q;
        }
    }
}

void Engine::triangulateCandidates()
{
    std::vector<Point2> pts;
    std::vector<std::array<int, 3>> tri;
    std::vector<int> first;
    std::vector<Point3d> loop3;
    for (Cand& c : m_cands) {
        Vector3d n = c.face->plane().normal();
        if (n.isNull())
            throw eInvalidBody;
        const Vector3d u = n.perpendicular(), v = n.cross(u);
        const Point3d& o = m_pos[c.ids[0]];
        pts.clear();
        for (int id : c.ids) {
            const Vector3d d = m_pos[id] - o;
            pts.push_back({d.dot(u), d.dot(v)});
        }
        // The triangulation the face kept from an earlier Boolean, while it
        // fits the loop and every triangle still turns the right way.
        const FaceTriangles* kept = BodyImpl::triangles(c.face);
        bool reuse = kept && kept->matches(c.loop);
        if (reuse) {
            for (const auto& t : kept->triangles) {
                const Point2 &a = pts[t[0]], &b = pts[t[1]], &d = pts[t[2]];
                if (!((b.x - a.x) * (d.y - a.y) - (b.y - a.y) * (d.x - a.x) > 0.0)) {
                    reuse = false;
                    break;
                }
            }
        }
        loop3.clear();
        for (int id : c.ids)
            loop3.push_back(m_pos[id]);
        if (reuse) {
            tri = kept->triangles;
            flipCaps(loop3, pts, m_eps, tri);
            c.tris.reserve(tri.size());
            for (const auto& t : tri)
                c.tris.push_back({c.ids[t[0]], c.ids[t[1]], c.ids[t[2]]});
            c.reused = true;
            c.meshTri.assign(c.tris.size(), -1);
            c.elem.assign(c.tris.size(), -1);
            c.keep.assign(c.tris.size(), 1);
            continue;
        }
        triangulateLoop(pts, false, tri);
        // A vertex the loop passes twice (at a bridge) is one corner: its
        // first loop position stands for it.
        first.resize(m_pos.size(), -1);
        for (size_t i = 0; i < c.ids.size(); ++i)
            if (first[c.ids[i]] < 0)
                first[c.ids[i]] = static_cast<int>(i);
        size_t live = 0;
        for (const auto& t : tri) {
            const std::array<int, 3> x = {first[c.ids[t[0]]], first[c.ids[t[1]]], first[c.ids[t[2]]]};
            if (x[0] != x[1] && x[1] != x[2] && x[0] != x[2])
                tri[live++] = x;
        }
        tri.resize(live);
        for (int id : c.ids)
            first[id] = -1;
        if (c.ids.size() > 6)
            delaunayFlips(pts, tri);
        flipCaps(loop3, pts, m_eps, tri);
        c.tris.reserve(tri.size());
        for (const auto& t : tri)
            c.tris.push_back({c.ids[t[0]], c.ids[t[1]], c.ids[t[2]]});
        c.meshTri.assign(c.tris.size(), -1);
        c.elem.assign(c.tris.size(), -1);
        c.keep.assign(c.tris.size(), 1);
    }
}

void Engine::markActive()
{
    // A triangle can only meet the other side's triangles inside the box of
    // that side's candidate faces: the others stay out of the sweep.
    Interval3d reach[2];
    for (const Cand& c : m_cands)
        for (int id : c.ids)
            reach[c.side].extend(m_pos[id]);
    std::vector<Interval3d> boxes[2];
    std::vector<std::pair<int, int>> ref[2];
    for (size_t ci = 0; ci < m_cands.size(); ++ci) {
        const Cand& c = m_cands[ci];
        for (size_t t = 0; t < c.tris.size(); ++t) {
            const Interval3d box = boxOf(m_pos[c.tris[t][0]], m_pos[c.tris[t][1]], m_pos[c.tris[t][2]]);
            if (!box.intersects(reach[1 - c.side], 2.0 * m_margin))
                continue;
            boxes[c.side].push_back(box);
            ref[c.side].emplace_back(static_cast<int>(ci), static_cast<int>(t));
        }
    }
    std::vector<char> active[2];
    active[0].assign(boxes[0].size(), 0);
    active[1].assign(boxes[1].size(), 0);
    overlappingPairs(boxes[0], boxes[1], m_margin, [&](int i, int j) {
        active[0][i] = 1;
        active[1][j] = 1;
    });
    for (int s = 0; s < 2; ++s) {
        std::unordered_map<int, int> local;
        for (size_t i = 0; i < boxes[s].size(); ++i) {
            if (!active[s][i])
                continue;
            Cand& c = m_cands[ref[s][i].first];
            const int t = ref[s][i].second;
            std::array<int, 3> m{};
            for (int k = 0; k < 3; ++k) {
                const int id = c.tris[t][k];
                auto r = local.emplace(id, static_cast<int>(m_mesh[s].points.size()));
                if (r.second) {
                    m_mesh[s].points.push_back(m_pos[id]);
                    m_meshGlobal[s].push_back(id);
                }
                m[k] = r.first->second;
            }
            if (cgal::collinear(m_pos[c.tris[t][0]], m_pos[c.tris[t][1]], m_pos[c.tris[t][2]]))
                throw eDegenerateGeometry;
            c.meshTri[t] = static_cast<int>(m_mesh[s].triangles.size());
            m_mesh[s].triangles.push_back(m);
            m_mesh[s].face.push_back(ref[s][i].first);
            m_meshTriSrc[s].push_back(ref[s][i]);
        }
    }
}

void Engine::runCorefinement()
{
    if (m_mesh[0].triangles.empty() || m_mesh[1].triangles.empty()) {
        // Nothing near enough to intersect: every face is judged whole.
        for (Cand& c : m_cands)
            std::fill(c.meshTri.begin(), c.meshTri.end(), -1);
        m_mesh[0] = m_mesh[1] = cgal::CorefineMesh();
        m_meshGlobal[0].clear();
        m_meshGlobal[1].clear();
        m_meshTriSrc[0].clear();
        m_meshTriSrc[1].clear();
        return;
    }
    cgal::corefine(m_mesh[0], m_mesh[1], m_res);
    m_contact = !m_res.nodes.empty();
    // Ids of the nodes: an input point of the receiving body, else one of
    // the other, else a new point; points of both become one.
    m_nodeId.assign(m_res.nodes.size(), -1);
    for (size_t j = 0; j < m_res.nodes.size(); ++j) {
        const cgal::CorefineNode& n = m_res.nodes[j];
        const int a = n.vertex[0] >= 0 ? m_meshGlobal[0][n.vertex[0]] : -1;
        const int b = n.vertex[1] >= 0 ? m_meshGlobal[1][n.vertex[1]] : -1;
        if (a >= 0 && b >= 0) {
            const int ra = rep(a), rb = rep(b);
            if (ra != rb)
                m_alias[rb] = ra;
        }
        m_nodeId[j] = a >= 0 ? a : (b >= 0 ? b : addNode(n.point));
        if (a < 0 && b < 0)
            m_nodeOfId.emplace(m_nodeId[j], static_cast<int>(j));
    }
    for (int s = 0; s < 2; ++s) {
        m_outTris[s].resize(m_res.triangles[s].size());
        for (size_t t = 0; t < m_res.triangles[s].size(); ++t)
            for (int k = 0; k < 3; ++k) {
                const int x = m_res.triangles[s][t][k];
                m_outTris[s][t][k] = x >= 0 ? m_meshGlobal[s][x] : m_nodeId[-x - 1];
            }
    }
    for (int s = 0; s < 2; ++s)
        for (const auto& e : m_res.constrained[s]) {
            const int u = e[0] >= 0 ? m_meshGlobal[s][e[0]] : m_nodeId[-e[0] - 1];
            const int v = e[1] >= 0 ? m_meshGlobal[s][e[1]] : m_nodeId[-e[1] - 1];
            m_constrained.emplace(undirectedKey(rep(u), rep(v)), 1);
        }
}

void Engine::weld()
{
    // Points the refinement made closer than the tolerance to another point
    // (slivers of nearly coincident geometry) are taken as that point: an
    // input point of the receiving body before one of the other body before
    // a new point. Input points of one body are never merged with each other.
    m_weld.resize(m_pos.size());
    std::iota(m_weld.begin(), m_weld.end(), 0);
    if (m_res.nodes.empty())
        return;
    std::unordered_set<int> seen;
    std::vector<int> order[3];
    for (int s = 0; s < 2; ++s)
        for (const auto& t : m_outTris[s])
            for (int x : t) {
                const int r = rep(x);
                if (seen.insert(r).second)
                    order[m_vside[r]].push_back(r);
            }
    PointIndex index[3] = {PointIndex(m_eps), PointIndex(m_eps), PointIndex(m_eps)};
    auto tag = [](int id) { return reinterpret_cast<void*>(static_cast<intptr_t>(id + 1)); };
    auto untag = [](void* p) { return static_cast<int>(reinterpret_cast<intptr_t>(p)) - 1; };
    for (int id : order[0])
        index[0].add(m_pos[id], tag(id));
    for (int id : order[1]) {
        if (void* hit = index[0].find(m_pos[id]))
            m_weld[id] = untag(hit);
        else
            index[1].add(m_pos[id], tag(id));
    }
    for (int id : order[2]) {
        void* hit = nullptr;
        for (int k = 0; k < 3 && !hit; ++k)
            hit = index[k].find(m_pos[id]);
        if (hit)
            m_weld[id] = untag(hit);
        else
            index[2].add(m_pos[id], tag(id));
    }
}

// ---- classification --------------------------------------------------------

void Engine::classify(int s)
{
    const int patches = static_cast<int>(m_res.patchClass[s].size());
    m_patchCount[s] = patches;
    int elems = patches;
    for (Cand& c : m_cands)
        if (c.side == s)
            for (size_t t = 0; t < c.tris.size(); ++t)
                if (c.meshTri[t] < 0)
                    c.elem[t] = elems++;
    Dsu& dsu = m_dsu[s];
    dsu.reset(elems);
    auto& edgeElem = m_edgeElem[s];
    edgeElem.clear();
    {
        size_t n = m_outTris[s].size();
        for (const Cand& c : m_cands)
            if (c.side == s)
                n += c.tris.size();
        edgeElem.reserve(3 * n);
    }
    auto add = [&](const std::array<int, 3>& t, int e) {
        for (int k = 0; k < 3; ++k)
            edgeElem.emplace(directedKey(rep(t[k]), rep(t[(k + 1) % 3])), e);
    };
    for (size_t t = 0; t < m_outTris[s].size(); ++t)
        add(m_outTris[s][t], m_res.patch[s][t]);
    for (const Cand& c : m_cands)
        if (c.side == s)
            for (size_t t = 0; t < c.tris.size(); ++t)
                if (c.meshTri[t] < 0)
                    add(c.tris[t], c.elem[t]);
    edgeElem.forEach([&](uint64_t key, int elem) {
        const int u = static_cast<int>(key >> 32), v = static_cast<int>(key & 0xffffffffu);
        const int* other = edgeElem.find(directedKey(v, u));
        if (other && !m_constrained.count(undirectedKey(u, v)))
            dsu.unite(elem, *other);
    });
    // Classes of the groups from their patches.
    std::vector<signed char> groupClass(elems, kUnknown);
    for (int p = 0; p < patches; ++p) {
        const signed char c = m_res.patchClass[s][p];
        if (c == kUnknown)
            continue;
        signed char& g = groupClass[dsu.find(p)];
        if (g == kUnknown)
            g = c;
        else if (g != c)
            throw eInternalError;
    }
    // Groups no intersection edge bounds: a point of them against the other solid.
    std::vector<Face*>& other = m_faces[1 - s];
    auto resolve = [&](int root, const Point3d& p) {
        if (groupClass[root] == kUnknown)
            groupClass[root] = insideSolid(p, other, m_scale) ? kInside : kOutside;
    };
    for (const Cand& c : m_cands)
        if (c.side == s)
            for (size_t t = 0; t < c.tris.size(); ++t)
                if (c.meshTri[t] < 0 && groupClass[dsu.find(c.elem[t])] == kUnknown) {
                    const auto& x = c.tris[t];
                    const Vector3d g = (m_pos[x[0]].asVector() + m_pos[x[1]].asVector() + m_pos[x[2]].asVector()) / 3.0;
                    resolve(dsu.find(c.elem[t]), Point3d(g.x, g.y, g.z));
                }
    for (size_t t = 0; t < m_outTris[s].size(); ++t) {
        const int root = dsu.find(m_res.patch[s][t]);
        if (groupClass[root] != kUnknown)
            continue;
        const auto& x = m_outTris[s][t];
        const Vector3d g = (m_pos[x[0]].asVector() + m_pos[x[1]].asVector() + m_pos[x[2]].asVector()) / 3.0;
        resolve(root, Point3d(g.x, g.y, g.z));
    }
    m_elemKeep[s].assign(elems, 0);
    for (int e = 0; e < elems; ++e)
        m_elemKeep[s][e] = keepClass(s, groupClass[dsu.find(e)]);
    for (Cand& c : m_cands)
        if (c.side == s)
            for (size_t t = 0; t < c.tris.size(); ++t)
                if (c.meshTri[t] < 0)
                    c.keep[t] = m_elemKeep[s][c.elem[t]];
}

void Engine::decidePassive(int s)
{
    // Faces that did not come near the other body's faces: outside it
    // unless connected to a part inside it or enclosed in its box.
    m_defaultKeep[s] = keepClass(s, kOutside);
    auto& decided = m_passiveKeep[s];
    const auto& candOf = m_candOf[s];
    auto flood = [&](Face* start, signed char keep) {
        std::vector<Face*> stack(1, start);
        decided[start] = keep;
        while (!stack.empty()) {
            Face* f = stack.back();
            stack.pop_back();
            BodyImpl::walkLoop(f, [&](Edge* e) {
                Edge* p = e->partner();
                if (!p || !p->face() || p->face() == f)
                    return true;
                Face* g = p->face();
                if (candOf.count(g)) {
                    const int* it = elementAt(p, s);
                    if (it && m_elemKeep[s][*it] != keep)
                        throw eInternalError;
                    return true;
                }
                auto d = decided.find(g);
                if (d == decided.end()) {
                    decided.emplace(g, keep);
                    stack.push_back(g);
                } else if (d->second != keep) {
                    throw eInternalError;
                }
                return true;
            });
        }
    };
    // From the candidate faces across their edges.
    for (const Cand& c : m_cands) {
        if (c.side != s)
            continue;
        for (size_t i = 0; i < c.loop.size(); ++i) {
            Edge* e = c.loop[i];
            Edge* p = e->partner();
            if (!p || !p->face() || candOf.count(p->face()) || e->isBridge())
                continue;
            const int* it = m_edgeElem[s].find(directedKey(rep(c.ids[i]), rep(c.ids[(i + 1) % c.ids.size()])));
            if (!it)
                throw eInternalError;
            const signed char keep = m_elemKeep[s][*it];
            auto d = decided.find(p->face());
            if (d != decided.end()) {
                if (d->second != keep)
                    throw eInternalError;
                continue;
            }
            if (keep != m_defaultKeep[s])
                flood(p->face(), keep);
        }
    }
    // Shells or parts apart from the candidates that may lie inside the
    // other body: only faces in its box can.
    std::unordered_set<const Face*> seen;
    Interval3d otherBox = m_box[1 - s];
    for (size_t i = 0; i < m_faces[s].size(); ++i) {
        Face* f0 = m_faces[s][i];
        if (candOf.count(f0) || decided.count(f0) || seen.count(f0) || !m_faceBox[s][i].intersects(otherBox, m_margin))
            continue;
        // The connected passive region of f0.
        std::vector<Face*> region(1, f0), stack(1, f0);
        seen.insert(f0);
        signed char cls = kUnknown;
        while (!stack.empty()) {
            Face* f = stack.back();
            stack.pop_back();
            BodyImpl::walkLoop(f, [&](Edge* e) {
                Edge* p = e->partner();
                if (!p || !p->face() || p->face() == f)
                    return true;
                Face* g = p->face();
                if (candOf.count(g)) {
                    const int* it = elementAt(p, s);
                    if (it && cls == kUnknown)
                        cls = m_elemKeep[s][*it] == m_defaultKeep[s] ? kOutside : kInside;
                    return true;
                }
                if (seen.insert(g).second) {
                    region.push_back(g);
                    stack.push_back(g);
                }
                return true;
            });
        }
        if (cls == kUnknown) {
            bool outsideBox = false;
            for (Face* f : region)
                if (!f->interval().intersects(otherBox, m_margin)) {
                    outsideBox = true;
                    break;
                }
            if (outsideBox) {
                cls = kOutside;
            } else {
                // Classify by a point of the region's first face.
                const Point3d p = f0->edgeLoop()->vertex()->point();
                cls = insideSolid(p, m_faces[1 - s], m_scale) ? kInside : kOutside;
            }
            const signed char keep = keepClass(s, cls);
            if (keep != m_defaultKeep[s])
                for (Face* f : region)
                    decided[f] = keep;
        } else if (cls == kInside) {
            // Joined to a candidate whose part is not the default: that
            // flood has marked it already unless the body is inconsistent.
            throw eInternalError;
        }
    }
}

// ---- output ----------------------------------------------------------------

void Engine::buildOutput()
{
    // Operand half-edges of candidate faces by their vertex ids.
    {
        size_t n[2] = {0, 0};
        for (const Cand& c : m_cands)
            n[c.side] += c.loop.size();
        m_loopEdge[0].reserve(n[0]);
        m_loopEdge[1].reserve(n[1]);
    }
    for (const Cand& c : m_cands)
        for (size_t i = 0; i < c.loop.size(); ++i)
            m_loopEdge[c.side].emplace(directedKey(fin(c.ids[i]), fin(c.ids[(i + 1) % c.ids.size()])), c.loop[i]);
    for (int s = 0; s < 2; ++s) {
        m_nodeEdge[s].assign(m_res.nodes.size(), nullptr);
        for (size_t j = 0; j < m_res.nodes.size(); ++j) {
            const cgal::CorefineNode& n = m_res.nodes[j];
            if (n.edge[s][0] < 0)
                continue;
            const int u = fin(m_meshGlobal[s][n.edge[s][0]]), v = fin(m_meshGlobal[s][n.edge[s][1]]);
            Edge* const* it = m_loopEdge[s].find(directedKey(u, v));
            if (!it)
                it = m_loopEdge[s].find(directedKey(v, u));
            if (it && !(*it)->isBridge())
                m_nodeEdge[s][j] = *it;
        }
    }

    // Output triangles per candidate, and whether each candidate changed.
    std::vector<std::vector<int>> outOf(m_cands.size());
    std::vector<int> pieces[2];
    for (int s = 0; s < 2; ++s) {
        pieces[s].assign(m_mesh[s].triangles.size(), 0);
        for (size_t t = 0; t < m_outTris[s].size(); ++t) {
            const int mt = m_res.origin[s][t];
            if (mt < 0 || mt >= static_cast<int>(m_meshTriSrc[s].size()))
                throw eInternalError;
            ++pieces[s][mt];
            outOf[m_meshTriSrc[s][mt].first].push_back(static_cast<int>(t));
        }
    }
    // An intersection edge inside the kept part of a face that more kept
    // triangles meet (an edge of one operand lying in a face of the other:
    // parts of the result touch along it). Joined across it, the face would
    // pass through the edge of the faces meeting there; kept apart, the
    // edge is one of the faces round it, paired up like the others.
    FlatMap<char> apart;
    if (m_constrained.size()) {
        FlatMap<int> uses;
        for (int s = 0; s < 2; ++s)
            for (size_t t = 0; t < m_outTris[s].size(); ++t) {
                if (!m_elemKeep[s][m_res.patch[s][t]])
                    continue;
                const auto& x = m_outTris[s][t];
                const int f[3] = {fin(x[0]), fin(x[1]), fin(x[2])};
                if (f[0] == f[1] || f[1] == f[2] || f[0] == f[2])
                    continue;  // welded flat: no part of any face
                {
                    // Flat within the tolerance: a sliver along the edge, not a face meeting it.
                    const Vector3d e0 = m_pos[f[1]] - m_pos[f[0]], e1 = m_pos[f[2]] - m_pos[f[0]];
                    const double l2 = std::max({e0.lengthSqrd(), e1.lengthSqrd(), (m_pos[f[2]] - m_pos[f[1]]).lengthSqrd()});
                    if (e0.cross(e1).lengthSqrd() <= m_eps * m_eps * l2)
                        continue;
                }
                for (int k = 0; k < 3; ++k)
                    if (m_constrained.count(undirectedKey(rep(x[k]), rep(x[(k + 1) % 3]))))
                        ++*uses.emplace(undirectedKey(f[k], f[(k + 1) % 3]), 0).first;
            }
        uses.forEach([&](uint64_t key, int n) {
            if (n > 2)
                apart.emplace(key, 1);
        });
    }
    std::vector<std::array<int, 3>> tris;
    std::vector<MergedLoop> regions;
    std::vector<OutFace> outB;
    for (size_t ci = 0; ci < m_cands.size(); ++ci) {
        Cand& c = m_cands[ci];
        const int s = c.side;
        bool allKept = true, noneKept = true, changed = false;
        for (size_t t = 0; t < c.tris.size(); ++t) {
            if (c.meshTri[t] >= 0) {
                if (pieces[s][c.meshTri[t]] != 1)
                    changed = true;
                continue;
            }
            (c.keep[t] ? noneKept : allKept) = false;
        }
        for (int t : outOf[ci]) {
            const bool k = m_elemKeep[s][m_res.patch[s][t]] != 0;
            (k ? noneKept : allKept) = false;
            if (!changed) {
                // An unsplit triangle keeps its input corners.
                for (int x : m_outTris[s][t])
                    if (m_vside[fin(x)] == 2 || fin(x) != rep(x))
                        changed = true;
            }
        }
        const bool reversed = s == 1 && m_op == Op::kDifference;
        if (allKept && !changed) {
            if (s == 1) {
                OutFace o;
                o.side = 1;
                o.origin = c.face;
                o.reversed = reversed;
                o.v.reserve(c.ids.size());
                for (size_t i = 0; i < c.ids.size(); ++i) {
                    o.v.push_back(fin(c.ids[i]));
                    o.bridge.push_back(c.loop[i]->isBridge());
                    o.source.push_back(c.loop[i]);
                }
                for (const auto& t : c.tris)
                    o.tris.push_back({fin(t[0]), fin(t[1]), fin(t[2])});
                outB.push_back(std::move(o));
            } else if (!c.reused) {
                m_keptTriangulation.push_back(static_cast<int>(ci));
            }
            continue;  // the receiving body's face stays as it is
        }
        if (s == 0) {
            m_removed.push_back(c.face);
            m_removedSet.insert(c.face);
        }
        if (noneKept)
            continue;
        tris.clear();
        for (size_t t = 0; t < c.tris.size(); ++t)
            if (c.meshTri[t] < 0 && c.keep[t])
                tris.push_back({fin(c.tris[t][0]), fin(c.tris[t][1]), fin(c.tris[t][2])});
        for (int t : outOf[ci])
            if (m_elemKeep[s][m_res.patch[s][t]]) {
                const auto& x = m_outTris[s][t];
                tris.push_back({fin(x[0]), fin(x[1]), fin(x[2])});
            }
        mergeTriangles(tris, regions, &apart);
        for (MergedLoop& r : regions) {
            OutFace o;
            o.side = s;
            o.origin = c.face;
            o.reversed = reversed;
            o.v = std::move(r.v);
            o.bridge = std::move(r.bridge);
            o.source.assign(o.v.size(), nullptr);
            o.tris.reserve(r.triangles.size());
            for (int t : r.triangles)
                o.tris.push_back(tris[t]);
            (s == 0 ? m_out : outB).push_back(std::move(o));
        }
    }
    // Faces apart from the candidates.
    for (int s = 0; s < 2; ++s) {
        const bool reversed = s == 1 && m_op == Op::kDifference;
        for (Face* f : m_faces[s]) {
            if (m_candOf[s].count(f))
                continue;
            auto d = m_passiveKeep[s].find(f);
            const signed char keep = d == m_passiveKeep[s].end() ? m_defaultKeep[s] : d->second;
            if (s == 0) {
                if (!keep) {
                    m_removed.push_back(f);
                    m_removedSet.insert(f);
                }
                continue;
            }
            if (!keep)
                continue;
            OutFace o;
            o.side = 1;
            o.origin = f;
            o.reversed = reversed;
            BodyImpl::walkLoop(f, [&](Edge* e) {
                o.v.push_back(fin(idOf(e->vertex(), 1)));
                o.bridge.push_back(e->isBridge());
                o.source.push_back(e);
                return true;
            });
            outB.push_back(std::move(o));
        }
    }
    // The other body's faces in its face order.
    std::unordered_map<const Face*, size_t> order;
    for (size_t i = 0; i < m_faces[1].size(); ++i)
        order.emplace(m_faces[1][i], i);
    std::stable_sort(outB.begin(), outB.end(),
                     [&](const OutFace& x, const OutFace& y) { return order.at(x.origin) < order.at(y.origin); });
    for (OutFace& o : outB) {
        if (o.reversed) {
            // Reversed loop: the edge v[i] -> v[i+1] becomes v[i+1] -> v[i].
            const size_t n = o.v.size();
            OutFace r = o;
            for (size_t i = 0; i < n; ++i) {
                const size_t j = (n - i) % n;                 // new position i holds old vertex j
                r.v[i] = o.v[j];
                const size_t oldEdge = (j + n - 1) % n;       // old edge v[j-1] -> v[j]
                r.bridge[i] = o.bridge[oldEdge];
                r.source[i] = o.source[oldEdge];
            }
            for (auto& t : r.tris)
                std::swap(t[1], t[2]);
            o = std::move(r);
        }
        m_out.push_back(std::move(o));
    }
}

namespace {

// Half-edges of new faces between two points, more than one each way: parts
// of the result that touch along an edge. Each half-edge running pu -> pv
// pairs with its neighbour round the edge on the side of its solid, which
// must run the other way; where the order round the edge is not clear-cut,
// the result is refused.
void pairRoundEdge(const Point3d& pu, const Point3d& pv, std::vector<std::pair<Edge*, bool>>& hs)
{
    const Vector3d a = (pv - pu).normalized();
    const Vector3d e1 = a.perpendicular(), e2 = a.cross(e1);
    struct Around
    {
        double angle;
        Edge* e;
        bool forward;
    };
    std::vector<Around> round;
    int balance = 0;
    for (const auto& h : hs) {
        // Into the face from the edge; the solid lies a quarter turn
        // clockwise of it (about a) for a forward half-edge.
        const Vector3d w = h.first->face()->plane().normal().cross(h.second ? a : -a);
        round.push_back({std::atan2(w.dot(e2), w.dot(e1)), h.first, h.second});
        balance += h.second ? 1 : -1;
    }
    if (balance != 0 || round.size() < 4)
        throw eInvalidBody;
    std::sort(round.begin(), round.end(), [](const Around& x, const Around& y) { return x.angle < y.angle; });
    const size_t m = round.size();
    const double kPi = 3.14159265358979323846;
    for (size_t i = 0; i < m; ++i) {
        const double gap = i + 1 < m ? round[i + 1].angle - round[i].angle : round[0].angle + 2.0 * kPi - round[i].angle;
        if (!(gap > 1e-9))
            throw eInvalidBody;  // faces on one another
    }
    for (size_t i = 0; i < m; ++i) {
        if (!round[i].forward)
            continue;
        const Around& n = round[(i + m - 1) % m];
        if (n.forward || n.e->partner())
            throw eInvalidBody;
        BodyImpl::setPartnerRaw(round[i].e, n.e);
        BodyImpl::setPartnerRaw(n.e, round[i].e);
    }
}

} // namespace

void Engine::dropSlivers()
{
    // A piece of a face can come out flat: points of an operand edge and of
    // an intersection curve a rounding error away from it, all on one line.
    // Such a sliver x -> y -> p1 ... -> x (one long edge x -> y, the path
    // back along it) is dropped, and the face across its long edge takes the
    // path instead of its edge y -> x, so the faces round it still close up.
    auto on = [&](int a, int b, int p, double& t) {
        const Vector3d d = m_pos[b] - m_pos[a];
        const double len2 = d.lengthSqrd();
        if (!(len2 > 0.0))
            return false;
        const Vector3d w = m_pos[p] - m_pos[a];
        t = w.dot(d) / len2;
        return (w - d * t).lengthSqrd() <= m_eps * m_eps;
    };
    for (size_t fi = 0; fi < m_out.size(); ++fi) {
        OutFace& o = m_out[fi];
        const size_t n = o.v.size();
        if (n < 3)
            continue;
        size_t lo = 0;
        double best = -1.0;
        for (size_t i = 0; i < n; ++i) {
            const double l = (m_pos[o.v[(i + 1) % n]] - m_pos[o.v[i]]).lengthSqrd();
            if (l > best) {
                best = l;
                lo = i;
            }
        }
        const int x = o.v[lo], y = o.v[(lo + 1) % n];
        if (o.bridge[lo])
            continue;
        // The path back from y to x, strictly along the line.
        std::vector<int> path;
        double last = 1.0;
        bool flat = true;
        for (size_t k = 2; k < n && flat; ++k) {
            const int p = o.v[(lo + k) % n];
            double t = 0.0;
            flat = !o.bridge[(lo + k - 1) % n] && on(x, y, p, t) && t < last && t > 0.0;
            last = t;
            path.push_back(p);
        }
        if (!flat || o.bridge[(lo + n - 1) % n])
            continue;
        // The face across the long edge.
        OutFace* across = nullptr;
        size_t at = 0;
        for (size_t gi = 0; gi < m_out.size() && !across; ++gi) {
            OutFace& g = m_out[gi];
            if (gi == fi)
                continue;
            for (size_t j = 0; j < g.v.size(); ++j)
                if (g.v[j] == y && g.v[(j + 1) % g.v.size()] == x && !g.bridge[j]) {
                    across = &g;
                    at = j;
                    break;
                }
        }
        if (!across) {
            // Across the long edge lies a face of the receiving body that
            // stays as it is; the face across the path gives its points up
            // instead, running straight from x to y.
            if (dropPath(fi, x, y, path)) {
                m_out.erase(m_out.begin() + static_cast<long>(fi));
                --fi;
            }
            continue;
        }
        OutFace& g = *across;
        g.v.insert(g.v.begin() + static_cast<long>(at) + 1, path.begin(), path.end());
        g.bridge.insert(g.bridge.begin() + static_cast<long>(at) + 1, path.size(), 0);
        g.source.insert(g.source.begin() + static_cast<long>(at) + 1, path.size(), g.source[at]);
        g.tris.clear();  // its edge is split now
        m_out.erase(m_out.begin() + static_cast<long>(fi));
        --fi;
    }
}

bool Engine::dropPath(size_t sliver, int x, int y, const std::vector<int>& path)
{
    // The path runs y -> p1 ... -> pk -> x in the sliver; the face across it
    // runs x -> pk ... -> p1 -> y. Its points must be new ones that no other
    // face uses, so that leaving them out leaves no face with a point on its
    // edge; points of the receiving body may be corners of its kept faces.
    for (int p : path)
        if (m_vside[p] == 0)
            return false;
    OutFace* g = nullptr;
    size_t at = 0;
    for (size_t gi = 0; gi < m_out.size(); ++gi) {
        if (gi == sliver)
            continue;
        const OutFace& h = m_out[gi];
        for (size_t j = 0; j < h.v.size(); ++j)
            for (int p : path)
                if (h.v[j] == p) {
                    if (g && g != &m_out[gi])
                        return false;
                    g = &m_out[gi];
                }
    }
    if (!g)
        return false;
    const size_t n = g->v.size(), k = path.size();
    if (n < k + 3)
        return false;
    bool found = false;
    for (size_t j = 0; j < n && !found; ++j)
        if (g->v[j] == x)
            found = true, at = j;
    if (!found)
        return false;
    // The run x, pk, ..., p1, y, without bridges, each path point once.
    for (size_t i = 0; i <= k; ++i) {
        const size_t j = (at + i) % n;
        if (g->bridge[j])
            return false;
        const int want = i < k ? path[k - 1 - i] : y;
        if (g->v[(j + 1) % n] != want)
            return false;
    }
    size_t times = 0;
    for (int v : g->v)
        for (int p : path)
            times += v == p;
    if (times != k)
        return false;
    OutFace r = *g;
    r.v.clear();
    r.bridge.clear();
    r.source.clear();
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (at + i) % n;
        if (i >= 1 && i <= k)
            continue;  // a path point
        r.v.push_back(g->v[j]);
        r.bridge.push_back(g->bridge[j]);
        r.source.push_back(g->source[j]);
    }
    r.tris.clear();  // its edge is straight now
    *g = std::move(r);
    return true;
}

void Engine::buildEntities()
{
    BodyData* dt = BodyImpl::data(m_t);
    std::vector<Vertex*> vert(m_pos.size(), nullptr);
    auto vertexFor = [&](int id) {
        Vertex*& v = vert[id];
        if (v)
            return v;
        v = (m_vside[id] == 0) ? m_vtx[id] : BodyImpl::newVertex(dt, m_pos[id]);
        if (m_vside[id] == 1)
            v->setFlags(m_vtx[id]->flags());
        return v;
    };
    auto curveFor = [&](Curve* c) -> Curve* {
        if (!c)
            return nullptr;
        if (BodyImpl::owner(c) == BodyImpl::data(m_a))
            return c;
        auto it = m_curveCopy.find(c);
        if (it != m_curveCopy.end())
            return it->second;
        Curve* n = BodyImpl::newCurve(dt, c->circle(), c->facetCount());
        n->setFlags(c->flags());
        m_curveCopy.emplace(c, n);
        return n;
    };
    // Which operand edge an edge between two ids lies on (either side).
    auto onEdge = [&](int u, int v, int side) -> Edge* {
        Edge* const* it = m_loopEdge[side].find(directedKey(u, v));
        if (!it)
            it = m_loopEdge[side].find(directedKey(v, u));
        if (it)
            return (*it)->isBridge() ? nullptr : *it;
        auto nodeEdge = [&](int id) -> Edge* {
            auto it = m_nodeOfId.find(id);
            return it == m_nodeOfId.end() ? nullptr : m_nodeEdge[side][it->second];
        };
        auto hasEnd = [&](Edge* e, int id) {
            return fin(idOf(e->vertex(), side)) == id || fin(idOf(e->next()->vertex(), side)) == id;
        };
        Edge* eu = nodeEdge(u);
        Edge* ev = nodeEdge(v);
        if (eu && (hasEnd(eu, v) || ev == eu || ev == eu->partner()))
            return eu;
        if (ev && hasEnd(ev, u))
            return ev;
        return nullptr;
    };

    struct NewEdge
    {
        Edge* e;
        Edge* src;
        int u, v;
        size_t face;
    };
    std::vector<NewEdge> edges;
    FlatMap<size_t> byKey;
    std::vector<size_t> repeated;  // edges whose way between two points a new edge took already
    {
        size_t total = 0;
        for (const OutFace& o : m_out)
            total += o.v.size();
        edges.reserve(total);
        byKey.reserve(total);
    }
    for (size_t fi = 0; fi < m_out.size(); ++fi) {
        OutFace& o = m_out[fi];
        const size_t n = o.v.size();
        if (n < 3)
            throw eInternalError;
        Face* f = BodyImpl::newFace(dt, o.origin->color());
        f->setFlags(o.origin->flags());
        f->setPlane(o.reversed ? -o.origin->plane() : o.origin->plane());
        o.built = f;
        std::vector<Edge*> loop(n);
        for (size_t i = 0; i < n; ++i) {
            loop[i] = BodyImpl::newEdge(dt, vertexFor(o.v[i]), f);
            Edge* src = o.source[i];
            if (!src && !o.bridge[i]) {
                const int u = o.v[i], v = o.v[(i + 1) % n];
                src = onEdge(u, v, 0);
                if (!src)
                    src = onEdge(u, v, 1);
            }
            if (src && !o.bridge[i]) {
                BodyImpl::setCurveRaw(loop[i], curveFor(src->curve()));
                loop[i]->setFlags(src->flags());
            }
            const uint64_t k = directedKey(o.v[i], o.v[(i + 1) % n]);
            if (!byKey.emplace(k, edges.size()).second)
                repeated.push_back(edges.size());
            edges.push_back({loop[i], o.bridge[i] ? nullptr : src, o.v[i], o.v[(i + 1) % n], fi});
        }
        for (size_t i = 0; i < n; ++i)
            BodyImpl::setLinks(loop[i], loop[(i + 1) % n], loop[(i + n - 1) % n]);
        BodyImpl::setLoopRaw(f, loop[0]);
    }
    // Kept edges of the receiving body whose partner goes away.
    FlatMap<Edge*> open;
    for (Face* f : m_removed)
        BodyImpl::walkLoop(f, [&](Edge* e) {
            Edge* p = e->partner();
            if (p && p->face() && !m_removedSet.count(p->face()))
                open.emplace(directedKey(fin(idOf(p->vertex(), 0)), fin(idOf(p->next()->vertex(), 0))), p);
            return true;
        });
    if (!repeated.empty()) {
        std::unordered_map<uint64_t, std::vector<std::pair<Edge*, bool>>> round;
        for (size_t i : repeated)
            round[undirectedKey(edges[i].u, edges[i].v)];
        for (const NewEdge& ne : edges) {
            auto it = round.find(undirectedKey(ne.u, ne.v));
            if (it != round.end())
                it->second.emplace_back(ne.e, ne.u < ne.v);
        }
        for (auto& kv : round) {
            const int u = static_cast<int>(kv.first >> 32), v = static_cast<int>(kv.first & 0xffffffffu);
            if (open.count(directedKey(u, v)) || open.count(directedKey(v, u)))
                throw eInvalidBody;  // kept faces at the edge too
            pairRoundEdge(m_pos[u], m_pos[v], kv.second);
        }
    }
    auto originOf = [&](const Edge* e) -> const Face* {
        // New edges: the face they come from; kept ones: their own.
        return e->face();
    };
    std::unordered_map<const Face*, const Face*> builtOrigin;
    for (const OutFace& o : m_out)
        builtOrigin.emplace(o.built, o.origin);
    auto origin = [&](const Face* f) {
        auto it = builtOrigin.find(f);
        return it == builtOrigin.end() ? f : it->second;
    };
    size_t matchedOpen = 0;
    for (NewEdge& ne : edges) {
        if (ne.e->partner())
            continue;
        if (const size_t* it = byKey.find(directedKey(ne.v, ne.u))) {
            NewEdge& other = edges[*it];
            BodyImpl::setPartnerRaw(ne.e, other.e);
            BodyImpl::setPartnerRaw(other.e, ne.e);
            continue;
        }
        Edge* const* ot = open.find(directedKey(ne.v, ne.u));
        if (!ot)
            throw eInvalidBody;  // the result would not be closed
        BodyImpl::setPartnerRaw(ne.e, *ot);
        m_openPairs.emplace_back(*ot, ne.e);
        ++matchedOpen;
    }
    if (matchedOpen != open.size())
        throw eInvalidBody;
    // Approximating edges stay so while they join the faces they joined.
    auto joinsSame = [&](const Edge* src, const Edge* e) {
        if (!src || !src->isApprox() || !src->partner())
            return false;
        const Face* a = origin(originOf(e));
        const Face* b = origin(originOf(e->partner()));
        const Face* x = src->face();
        const Face* y = src->partner()->face();
        return a != b && ((a == x && b == y) || (a == y && b == x));
    };
    for (NewEdge& ne : edges)
        ne.e->setApprox(joinsSame(ne.src, ne.e));
    for (auto& op : m_openPairs) {
        // The kept edge's own approx mark, judged by its new neighbour.
        Edge* kept = op.first;
        const Face* a = kept->face();
        const Face* b = origin(op.second->face());
        bool approx = false;
        if (kept->isApprox() && kept->partner()) {
            const Face* x = kept->partner()->face();
            approx = b == x;
        }
        (void)a;
        m_openApprox.emplace_back(kept, approx);
    }
    splitFans(edges.size());
}

void Engine::newEdgesByVertex(size_t expected, std::vector<std::pair<Vertex*, Edge*>>& out) const
{
    out.clear();
    out.reserve(expected);
    for (const OutFace& o : m_out)
        BodyImpl::walkLoop(o.built, [&](Edge* e) {
            out.emplace_back(e->vertex(), e);
            return true;
        });
    // Stable: each vertex's half-edges stay in the order of the faces.
    std::stable_sort(out.begin(), out.end(), [](const std::pair<Vertex*, Edge*>& a, const std::pair<Vertex*, Edge*>& b) {
        return std::less<const Vertex*>()(a.first, b.first);
    });
}

Edge* Engine::partnerAfter(const Edge* e) const
{
    // New half-edges have their final partners already; kept ones may get new ones.
    if (BodyImpl::owner(e) == BodyImpl::data(m_t))
        return e->partner();
    auto it = m_newPartner.find(e);
    return it != m_newPartner.end() ? it->second : e->partner();
}

void Engine::splitFans(size_t newEdges)
{
    // Where parts of the result only touch at a vertex (or along an edge),
    // each fan of faces round the vertex gets a vertex of its own, so every
    // vertex of the result is manifold.
    BodyData* dt = BodyImpl::data(m_t);
    m_newPartner.reserve(m_openPairs.size());
    for (auto& op : m_openPairs)
        m_newPartner.emplace(op.first, op.second);
    std::vector<std::pair<Vertex*, Edge*>> leaving;
    newEdgesByVertex(newEdges, leaving);
    auto partner = [&](const Edge* e) { return partnerAfter(e); };
    std::vector<Edge*> out, fan;
    std::vector<const Edge*> inFan;  // round one vertex: a handful, so a list does
    for (size_t i = 0; i < leaving.size();) {
        Vertex* v = leaving[i].first;
        out.clear();
        for (; i < leaving.size() && leaving[i].first == v; ++i)
            out.push_back(leaving[i].second);
        if (BodyImpl::owner(v) != dt) {
            // A vertex of the receiving body: its kept half-edges count too.
            Edge* const* at = m_edgeAt.find(pointerKey(v));
            Edge* start = at ? *at : nullptr;
            if (start) {
                const Edge* x = start;
                long steps = 0;
                do {
                    if (!m_removedSet.count(x->face()))
                        out.push_back(const_cast<Edge*>(x));
                    const Edge* p = x->prev() ? x->prev()->partner() : nullptr;
                    if (!p || p->vertex() != v || ++steps > 100000)
                        break;
                    x = p;
                } while (x != start);
            }
        }
        if (out.size() < 2)
            continue;
        inFan.clear();
        int fans = 0;
        for (Edge* e0 : out) {
            if (std::find(inFan.begin(), inFan.end(), e0) != inFan.end())
                continue;
            fan.clear();
            const Edge* x = e0;
            long steps = 0;
            do {
                fan.push_back(const_cast<Edge*>(x));
                inFan.push_back(x);
                Edge* p = partner(x->prev());
                if (!p || p->vertex() != v || ++steps > 100000)
                    throw eInvalidBody;
                x = p;
            } while (x != e0);
            if (fans++ == 0)
                continue;
            Vertex* nv = BodyImpl::newVertex(dt, v->point());
            nv->setFlags(v->flags());
            for (Edge* e : fan) {
                if (BodyImpl::owner(e) == dt)
                    BodyImpl::setVertexRaw(e, nv);
                else
                    m_vertexMoves.emplace_back(e, nv);
            }
        }
    }
}

// ---- checks and commit -----------------------------------------------------

void Engine::validate()
{
    const int level = validityCheckingLevel();
    if (level < 2)
        return;
    std::vector<Point3d> pts;
    for (const OutFace& o : m_out) {
        Face* f = o.built;
        const Plane& pl = f->plane();
        if (!pl.isValid())
            throw eInvalidBody;
        pts.clear();
        bool ok = true;
        BodyImpl::walkLoop(f, [&](Edge* e) {
            const Point3d& p = e->vertex()->point();
            if (pl.distanceTo(p) > m_eps || p.isEqual(e->next()->vertex()->point(), m_eps)) {
                ok = false;
                return false;
            }
            pts.push_back(p);
            return true;
        });
        if (!ok || newellNormal(pts).dot(pl.normal()) <= 0.0)
            throw eInvalidBody;
    }
    if (level < 3)
        return;
    // Fans round the vertices of the new faces, across the new partners:
    // one turn round each vertex meets all new half-edges leaving it.
    BodyData* dt = BodyImpl::data(m_t);
    std::vector<std::pair<Vertex*, Edge*>> leaving;
    newEdgesByVertex(0, leaving);
    for (size_t i = 0; i < leaving.size();) {
        const Vertex* v = leaving[i].first;
        const Edge* e = leaving[i].second;
        int outgoing = 0;
        for (; i < leaving.size() && leaving[i].first == v; ++i)
            ++outgoing;
        int seenNew = 0;
        long steps = 0;
        const Edge* x = e;
        do {
            if (BodyImpl::owner(x) == dt)
                ++seenNew;
            Edge* p = partnerAfter(x->prev());
            if (!p || p->vertex() != v || ++steps > 100000)
                throw eInvalidBody;
            x = p;
        } while (x != e);
        if (seenNew != outgoing)
            throw eInvalidBody;
    }
    // Volume: the body's, less what the removed faces bounded, plus the new faces.
    const BodyData* da = BodyImpl::data(m_a);
    const Point3d ref = da->vertexHead ? da->vertexHead->point() : Point3d();
    auto faceVolume = [&](const Face* f) {
        double six = 0.0;
        pts.clear();
        BodyImpl::walkLoop(f, [&](Edge* e) {
            pts.push_back(e->vertex()->point());
            return true;
        });
        for (size_t i = 1; i + 1 < pts.size(); ++i)
            six += (pts[0] - ref).dot((pts[i] - ref).cross(pts[i + 1] - ref));
        return six / 6.0;
    };
    double vol = m_a.volume();
    for (const Face* f : m_removed)
        vol -= faceVolume(f);
    for (const OutFace& o : m_out)
        vol += faceVolume(o.built);
    const bool empty = m_out.empty() && m_removed.size() == m_faces[0].size();
    if (!empty && !(vol > 0.0))
        throw eInvalidBody;
}

void Engine::compute()
{
    // Both operands must be closed shells for inside and outside to mean anything.
    if (validityCheckingLevel() >= 1 && (!m_a.isValid(1) || !m_b.isValid(1)))
        throw eInvalidBody;
    collectFaces();
    if (m_faces[0].empty() || m_faces[1].empty()) {
        // Nothing to combine with: every face of each body lies outside the other.
        m_defaultKeep[0] = keepClass(0, kOutside);
        m_defaultKeep[1] = keepClass(1, kOutside);
        buildOutput();
        buildEntities();
        validate();
        return;
    }
    findCandidates();
    snap();
    triangulateCandidates();
    markActive();
    runCorefinement();
    weld();
    classify(0);
    classify(1);
    decidePassive(0);
    decidePassive(1);
    buildOutput();
    dropSlivers();
    buildEntities();
    validate();
}

void Engine::commit()
{
    BodyData* da = BodyImpl::data(m_a);
    BodyData* dt = BodyImpl::data(m_t);
    static long generation = -1000;
    const long mark = --generation;
    // Vertices and curves only removed faces used are candidates for deletion.
    std::vector<Vertex*> maybeVertices;
    std::vector<Curve*> maybeCurves;
    for (Face* f : m_removed)
        BodyImpl::walkLoop(f, [&](Edge* e) {
            if (e->vertex() && BodyImpl::scratch(e->vertex()) != mark) {
                BodyImpl::scratch(e->vertex()) = mark;
                maybeVertices.push_back(e->vertex());
            }
            if (e->curve() && BodyImpl::scratch(e->curve()) != mark) {
                BodyImpl::scratch(e->curve()) = mark;
                maybeCurves.push_back(e->curve());
            }
            return true;
        });
    BodyImpl::splice(da, dt);
    for (const OutFace& o : m_out)
        if (o.side == 0)
            BodyImpl::moveFaceBefore(da, o.built, o.origin);
    std::vector<Edge*> loop;
    for (Face* f : m_removed) {
        BodyImpl::loopEdges(f, loop);
        for (Edge* e : loop)
            BodyImpl::destroy(e);
        BodyImpl::destroy(f);
    }
    for (auto& op : m_openPairs)
        BodyImpl::setPartnerRaw(op.first, op.second);
    for (auto& oa : m_openApprox)
        oa.first->setApprox(oa.second);
    for (auto& vm : m_vertexMoves)
        BodyImpl::setVertexRaw(vm.first, vm.second);
    if (!maybeVertices.empty() || !maybeCurves.empty()) {
        for (Edge* e = da->edgeHead; e; e = BodyImpl::edgeListNext(e)) {
            if (e->vertex() && BodyImpl::scratch(e->vertex()) == mark)
                BodyImpl::scratch(e->vertex()) = 0;
            if (e->curve() && BodyImpl::scratch(e->curve()) == mark)
                BodyImpl::scratch(e->curve()) = 0;
        }
        for (Vertex* v : maybeVertices)
            if (BodyImpl::scratch(v) == mark)
                BodyImpl::destroy(v);
        for (Curve* c : maybeCurves)
            if (BodyImpl::scratch(c) == mark)
                BodyImpl::destroy(c);
    }
    // The faces remember their triangles, so the next Boolean on this body
    // need not triangulate them again.
    std::vector<int> posOf(m_pos.size(), -1);
    for (const OutFace& o : m_out)
        if (!o.tris.empty())
            remember(o.built, o.v, o.tris, posOf);
    for (int ci : m_keptTriangulation)
        remember(m_cands[ci].face, m_cands[ci].ids, m_cands[ci].tris, posOf);
}

void Engine::remember(Face* f, const std::vector<int>& loopIds, const std::vector<std::array<int, 3>>& tris,
                      std::vector<int>& posOf)
{
    auto ft = std::make_unique<FaceTriangles>();
    for (size_t i = 0; i < loopIds.size(); ++i)
        if (posOf[loopIds[i]] < 0)
            posOf[loopIds[i]] = static_cast<int>(i);
    bool ok = true;
    ft->triangles.reserve(tris.size());
    for (const auto& t : tris) {
        std::array<int, 3> p{};
        for (int k = 0; k < 3 && ok; ++k) {
            p[k] = posOf[t[k]];
            ok = p[k] >= 0;  // a point inside the face: no loop position
        }
        if (!ok)
            break;
        ft->triangles.push_back(p);
    }
    for (int id : loopIds)
        posOf[id] = -1;
    if (!ok)
        return;
    BodyImpl::walkLoop(f, [&](Edge* e) {
        ft->vertices.push_back(e->vertex());
        ft->points.push_back(e->vertex()->point());
        return true;
    });
    if (ft->vertices.size() != loopIds.size())
        return;
    // The refined parts are Delaunay only within the triangles they were
    // cut from; flipping keeps the triangles short, so that the next
    // operation near this face meets few of them.
    if (ft->points.size() > 6 && f->plane().isValid()) {
        const Vector3d n = f->plane().normal();
        const Vector3d u = n.perpendicular(), w = n.cross(u);
        std::vector<Point2> pts;
        pts.reserve(ft->points.size());
        for (const Point3d& p : ft->points) {
            const Vector3d d = p - ft->points[0];
            pts.push_back({d.dot(u), d.dot(w)});
        }
        delaunayFlips(pts, ft->triangles);
    }
    BodyImpl::setTriangles(f, ft.release());
}

// Runs op on target with other, replacing target only on success.
void boolean(Body& target, const Body& other, Op op)
{
    if (&target == &other) {
        const Body copy(other);
        boolean(target, copy, op);
        return;
    }
    try {
        Engine engine(target, other, op);
        engine.compute();
        engine.commit();
    } catch (ErrorCode) {
        if (!keepInputBodiesWhenBooleanOperationsFail())
            target.init(false);
        throw;
    } catch (const std::bad_alloc&) {
        if (!keepInputBodiesWhenBooleanOperationsFail())
            target.init(false);
        throw eOutOfMemory;
    }
}

} // namespace

Body& Body::operator+=(const Body& other)
{
    boolean(*this, other, Op::kUnion);
    return *this;
}

Body& Body::operator-=(const Body& other)
{
    boolean(*this, other, Op::kDifference);
    return *this;
}

Body& Body::operator*=(const Body& other)
{
    boolean(*this, other, Op::kIntersection);
    return *this;
}

Body Body::operator+(const Body& other) const
{
    Body r(*this);
    r += other;
    return r;
}

Body Body::operator-(const Body& other) const
{
    Body r(*this);
    r -= other;
    return r;
}

Body Body::operator*(const Body& other) const
{
    Body r(*this);
    r *= other;
    return r;
}

void Body::section(const Plane& plane) { section(plane, keepInputBodiesWhenBooleanOperationsFail()); }

void Body::section(const Plane& plane, bool keepInputOnFailure)
{
    const bool oldKeep = setKeepInputBodiesWhenBooleanOperationsFail(true);
    try {
        if (!plane.isValid() || !plane.normal().isFinite() || !std::isfinite(plane.d()))
            throw eInvalidInput;
        if (isNull()) {
            setKeepInputBodiesWhenBooleanOperationsFail(oldKeep);
            return;
        }
        double lo = 0.0, hi = 0.0;
        bool first = true;
        for (Vertex* v = vertexList(); v; v = v->next()) {
            const double s = plane.signedDistanceTo(v->point());
            lo = first ? s : std::min(lo, s);
            hi = first ? s : std::max(hi, s);
            first = false;
        }
        // Within the tolerance of the plane counts as on it.
        const double eps = gEpsAbs();
        if (hi <= eps) {
            setKeepInputBodiesWhenBooleanOperationsFail(oldKeep);
            return;  // wholly behind
        }
        if (lo >= -eps) {
            init(false);  // wholly in front
            setKeepInputBodiesWhenBooleanOperationsFail(oldKeep);
            return;
        }
        // The half-space as a box beyond the body on every side but the plane.
        const Interval3d box = interval();
        const Vector3d sz = box.size();
        const double r = sz.length() + 1.0;
        const Point3d c = box.lower() + sz * 0.5;
        const Point3d o = plane.project(c);
        const Vector3d n = plane.normal();
        const Vector3d u = n.perpendicular(), w = n.cross(u);
        const Point3d quad[4] = {o - u * r - w * r, o + u * r - w * r, o + u * r + w * r, o - u * r + w * r};
        const Body half = extrusion(quad, nullptr, 4, n, n * (-(r - lo + 1.0)));
        *this *= half;
    } catch (ErrorCode) {
        setKeepInputBodiesWhenBooleanOperationsFail(oldKeep);
        if (!keepInputOnFailure)
            init(false);
        throw;
    }
    setKeepInputBodiesWhenBooleanOperationsFail(oldKeep);
}

Body::Interference Body::interfere(const Body& other) const
{
    if (isNull() || other.isNull())
        return kNoInterference;
    if (!interval().intersects(other.interval(), 4.0 * gEpsAbs()))
        return kNoInterference;
    Body common(*this);
    bool contact = false;
    {
        Engine engine(common, other, Op::kIntersection);
        engine.compute();
        contact = engine.contact();
        engine.commit();
    }
    if (common.isNull())
        return contact ? kTouching : kNoInterference;
    double area = 0.0;
    for (Face* f = common.faceList(); f; f = f->next())
        area += f->area();
    const double vol = common.volume();
    // Mean thickness of the common part against the tolerance.
    if (area > 0.0 && 2.0 * vol / area > gEpsAbs())
        return kOverlapping;
    return kTouching;
}

} // namespace AModeler
