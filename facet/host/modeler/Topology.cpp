// Vertices, curves, half-edges and faces: construction, links and the
// per-entity queries.

#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/PointIndexInternal.h"
#include "facet/host/modeler/ProfileInternal.h"
#include "facet/host/modeler/Settings.h"

#include <cmath>
#include <unordered_map>

namespace AModeler {

// ---- BodyData / BodyImpl ---------------------------------------------------

BodyData::~BodyData() { clear(); }

void BodyData::clear()
{
    for (Face* f = faceHead; f;) {
        Face* n = f->next();
        BodyImpl::destroy(f);
        f = n;
    }
    for (Edge* e = edgeHead; e;) {
        Edge* n = BodyImpl::edgeListNext(e);
        BodyImpl::destroy(e);
        e = n;
    }
    for (Vertex* v = vertexHead; v;) {
        Vertex* n = v->next();
        BodyImpl::destroy(v);
        v = n;
    }
    for (Curve* c = curveHead; c;) {
        Curve* n = c->next();
        BodyImpl::destroy(c);
        c = n;
    }
}

BodyData* BodyImpl::data(Body& b)
{
    if (!b.m_data) {
        b.m_data = new BodyData;
        b.m_data->body = &b;
    }
    return b.m_data;
}

const BodyData* BodyImpl::data(const Body& b)
{
    static const BodyData empty;
    return b.m_data ? b.m_data : &empty;
}

namespace {

template <class T, class Next, class Prev>
void appendTo(T*& head, T*& tail, T* x, Next next, Prev prev)
{
    next(x) = nullptr;
    prev(x) = tail;
    if (tail)
        next(tail) = x;
    else
        head = x;
    tail = x;
}

template <class T, class Next, class Prev>
void unlinkFrom(T*& head, T*& tail, T* x, Next next, Prev prev)
{
    if (prev(x))
        next(prev(x)) = next(x);
    else
        head = next(x);
    if (next(x))
        prev(next(x)) = prev(x);
    else
        tail = prev(x);
    next(x) = prev(x) = nullptr;
}

} // namespace

#define KIV_LINKS(T, N, P) [](T* x) -> T*& { return x->N; }, [](T* x) -> T*& { return x->P; }

void BodyImpl::link(BodyData* d, Vertex* v)
{
    appendTo(d->vertexHead, d->vertexTail, v, KIV_LINKS(Vertex, m_next, m_prev));
    ++d->vertexCount;
}

void BodyImpl::link(BodyData* d, Curve* c)
{
    appendTo(d->curveHead, d->curveTail, c, KIV_LINKS(Curve, m_next, m_prev));
    ++d->curveCount;
}

void BodyImpl::link(BodyData* d, Edge* e)
{
    appendTo(d->edgeHead, d->edgeTail, e, KIV_LINKS(Edge, m_bnext, m_bprev));
    ++d->edgeCount;
}

void BodyImpl::link(BodyData* d, Face* f)
{
    appendTo(d->faceHead, d->faceTail, f, KIV_LINKS(Face, m_next, m_prev));
    ++d->faceCount;
}

Vertex* BodyImpl::newVertex(BodyData* d, const Point3d& p)
{
    Vertex* v = new Vertex(p, d);
    link(d, v);
    return v;
}

Curve* BodyImpl::newCurve(BodyData* d, const Circle3d& c, int facets)
{
    Curve* x = new Curve(c, facets, d);
    link(d, x);
    return x;
}

Edge* BodyImpl::newEdge(BodyData* d, Vertex* v, Face* f)
{
    Edge* e = new Edge(v, f, d);
    link(d, e);
    return e;
}

Face* BodyImpl::newFace(BodyData* d, int color)
{
    Face* f = new Face(d, color);
    link(d, f);
    return f;
}

void BodyImpl::destroy(Vertex* v)
{
    BodyData* d = v->m_owner;
    unlinkFrom(d->vertexHead, d->vertexTail, v, KIV_LINKS(Vertex, m_next, m_prev));
    --d->vertexCount;
    delete v;
}

void BodyImpl::destroy(Curve* c)
{
    BodyData* d = c->m_owner;
    unlinkFrom(d->curveHead, d->curveTail, c, KIV_LINKS(Curve, m_next, m_prev));
    --d->curveCount;
    delete c;
}

void BodyImpl::destroy(Edge* e)
{
    BodyData* d = e->m_owner;
    unlinkFrom(d->edgeHead, d->edgeTail, e, KIV_LINKS(Edge, m_bnext, m_bprev));
    --d->edgeCount;
    delete e;
}

void BodyImpl::destroy(Face* f)
{
    BodyData* d = f->m_owner;
    unlinkFrom(d->faceHead, d->faceTail, f, KIV_LINKS(Face, m_next, m_prev));
    --d->faceCount;
    delete f;
}

void BodyImpl::splice(BodyData* to, BodyData* from)
{
    if (to == from)
        return;
    for (Face* f = from->faceHead; f; f = f->m_next)
        f->m_owner = to;
    for (Edge* e = from->edgeHead; e; e = e->m_bnext)
        e->m_owner = to;
    for (Vertex* v = from->vertexHead; v; v = v->m_next)
        v->m_owner = to;
    for (Curve* c = from->curveHead; c; c = c->m_next)
        c->m_owner = to;
    auto join = [](auto*& head, auto*& tail, auto*& fhead, auto*& ftail, auto next, auto prev) {
        if (!fhead)
            return;
        if (tail) {
            next(tail) = fhead;
            prev(fhead) = tail;
        } else {
            head = fhead;
        }
        tail = ftail;
        fhead = ftail = nullptr;
    };
    join(to->faceHead, to->faceTail, from->faceHead, from->faceTail, KIV_LINKS(Face, m_next, m_prev));
    join(to->edgeHead, to->edgeTail, from->edgeHead, from->edgeTail, KIV_LINKS(Edge, m_bnext, m_bprev));
    join(to->vertexHead, to->vertexTail, from->vertexHead, from->vertexTail, KIV_LINKS(Vertex, m_next, m_prev));
    join(to->curveHead, to->curveTail, from->curveHead, from->curveTail, KIV_LINKS(Curve, m_next, m_prev));
    to->faceCount += from->faceCount;
    to->edgeCount += from->edgeCount;
    to->vertexCount += from->vertexCount;
    to->curveCount += from->curveCount;
    from->faceCount = from->edgeCount = from->vertexCount = from->curveCount = 0;
}

#undef KIV_LINKS

void BodyImpl::loopEdges(const Face* f, std::vector<Edge*>& out)
{
    out.clear();
    if (!walkLoop(f, [&](Edge* e) {
            out.push_back(e);
            return true;
        }))
        out.clear();
}

Vector3d newellNormal(const std::vector<Point3d>& pts)
{
    Vector3d n;
    const size_t m = pts.size();
    if (m < 3)
        return n;
    const Point3d& o = pts[0];  // relative coordinates keep far-away faces accurate
    for (size_t i = 0; i < m; ++i) {
        const Vector3d a = pts[i] - o;
        const Vector3d b = pts[(i + 1) % m] - o;
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

namespace {

BodyData* ownerOf(Body* body)
{
    if (!body)
        throw eInvalidInput;
    return BodyImpl::data(*body);
}

} // namespace

// ---- Vertex ------------------------------------------------------------------

Vertex::Vertex(const Point3d& point, BodyData* owner) : m_point(point), m_owner(owner) {}

Vertex::Vertex(const Point3d& point, Body* body) : m_point(point)
{
    BodyData* d = ownerOf(body);
    if (!point.isFinite())
        throw eInvalidInput;
    m_owner = d;
    BodyImpl::link(d, this);
}

Body* Vertex::body() const { return m_owner ? m_owner->body : nullptr; }

// ---- Curve -------------------------------------------------------------------

Curve::Curve(const Circle3d& circle, int facets, BodyData* owner) : m_circle(circle), m_facets(facets), m_owner(owner)
{
}

Curve::Curve(const Circle3d& circle, int facets, Body* body) : m_circle(circle), m_facets(facets)
{
    BodyData* d = ownerOf(body);
    if (!circle.isValid() || facets < 3)
        throw eInvalidInput;
    m_owner = d;
    BodyImpl::link(d, this);
}

Body* Curve::body() const { return m_owner ? m_owner->body : nullptr; }

// ---- Edge ----------------------------------------------------------------------

Edge::Edge(Vertex* start, Face* face, BodyData* owner) : m_vertex(start), m_face(face), m_owner(owner) {}

Edge::Edge(Vertex* start, Face* face) : m_vertex(start), m_face(face)
{
    if (!start || !face || BodyImpl::owner(start) != BodyImpl::owner(face) || !BodyImpl::owner(face))
        throw eInvalidInput;
    BodyData* d = BodyImpl::owner(face);
    m_owner = d;
    BodyImpl::link(d, this);
}

Body* Edge::body() const { return m_owner ? m_owner->body : nullptr; }

Vertex* Edge::endVertex() const { return m_next ? m_next->m_vertex : nullptr; }

Point3d Edge::startPoint() const { return m_vertex ? m_vertex->point() : Point3d(); }

Point3d Edge::endPoint() const
{
    const Vertex* v = endVertex();
    return v ? v->point() : Point3d();
}

Vector3d Edge::vertexNormal() const
{
    if (!m_face)
        return Vector3d();
    Vector3d sum = m_face->plane().normal();
    const long limit = m_owner ? m_owner->edgeCount : 0;
    // One way round: across the incoming edge of each face in turn.
    long steps = 0;
    const Edge* e = this;
    while (e->m_prev && e->m_prev->m_approx && e->m_prev->m_partner && ++steps <= limit) {
        e = e->m_prev->m_partner;  // leaves the same vertex on the next face
        if (e == this)
            return sum.normalized();  // a closed smooth fan
        if (e->m_face)
            sum += e->m_face->plane().normal();
    }
    // The other way: across the outgoing edge.
    steps = 0;
    e = this;
    while (e->m_approx && e->m_partner && e->m_partner->m_next && ++steps <= limit) {
        e = e->m_partner->m_next;
        if (e == this)
            break;
        if (e->m_face)
            sum += e->m_face->plane().normal();
    }
    return sum.normalized();
}

Circle3d Edge::circle() const { return m_curve ? m_curve->circle() : Circle3d(); }

bool Edge::isBridge() const { return m_partner && m_partner->m_face == m_face; }

bool Edge::isEulerEdge() const { return m_partner && m_partner->m_face != m_face; }

bool Edge::isOnFullCircle() const
{
    if (!m_curve)
        return false;
    // Walk back to the start of the run on this curve, then forward to its end.
    const long limit = m_owner ? m_owner->edgeCount : 0;
    const Edge* first = this;
    long steps = 0;
    while (first->m_prev && first->m_prev->m_curve == m_curve && first->m_prev != this) {
        first = first->m_prev;
        if (++steps > limit)
            return false;
    }
    if (first->m_prev == this)  // the whole loop lies on the curve
        return true;
    const Edge* last = first;
    steps = 0;
    while (last->m_next && last->m_next->m_curve == m_curve) {
        last = last->m_next;
        if (++steps > limit)
            return false;
    }
    if (!last->m_next || last == first)
        return false;
    return last->m_next->m_vertex == first->m_vertex;
}

void Edge::checkSameBody(const void* owner) const
{
    if (owner != m_owner)
        throw eInvalidInput;
}

void Edge::setVertex(Vertex* v)
{
    if (v)
        checkSameBody(BodyImpl::owner(v));
    m_vertex = v;
}

void Edge::setFace(Face* f)
{
    if (!f)
        throw eInvalidInput;
    checkSameBody(BodyImpl::owner(f));
    m_face = f;
}

void Edge::setNext(Edge* e)
{
    if (e) {
        checkSameBody(e->m_owner);
        e->m_prev = this;
    }
    m_next = e;
}

void Edge::setPrev(Edge* e)
{
    if (e) {
        checkSameBody(e->m_owner);
        e->m_next = this;
    }
    m_prev = e;
}

void Edge::setPartner(Edge* e)
{
    if (e)
        checkSameBody(e->m_owner);
    if (m_partner && m_partner != e && m_partner->m_partner == this)
        m_partner->m_partner = nullptr;
    if (e && e->m_partner && e->m_partner != this && e->m_partner->m_partner == e)
        e->m_partner->m_partner = nullptr;
    m_partner = e;
    if (e)
        e->m_partner = this;
}

void Edge::setCurve(Curve* c)
{
    if (c)
        checkSameBody(BodyImpl::owner(c));
    m_curve = c;
}

// ---- Face ----------------------------------------------------------------------

Face::Face(BodyData* owner, int color) : m_owner(owner), m_color(color) {}

Face::~Face() { delete m_triangles; }

void BodyImpl::setTriangles(Face* f, FaceTriangles* t)
{
    if (f->m_triangles != t)
        delete f->m_triangles;
    f->m_triangles = t;
}

bool FaceTriangles::matches(const std::vector<Edge*>& loop) const
{
    if (loop.size() != vertices.size())
        return false;
    for (size_t i = 0; i < loop.size(); ++i) {
        const Vertex* v = loop[i]->vertex();
        if (v != vertices[i])
            return false;
        const Point3d& p = v->point();
        if (p.x != points[i].x || p.y != points[i].y || p.z != points[i].z)
            return false;
    }
    return true;
}

Face::Face(Body* body, int color) : m_color(color)
{
    m_owner = ownerOf(body);
    BodyImpl::link(m_owner, this);
}

Face::Face(const Point3d* points, PolygonVertexData* const* vertexData, int count, const Vector3d& normal, int color,
           bool connect, Body* body)
    : m_color(color)
{
    m_owner = ownerOf(body);
    build(points, vertexData, count, normal, connect, nullptr);
    BodyImpl::link(m_owner, this);
}

Face::Face(const Point3d* points, int count, int color, bool connect, Body* body, Edge** edges) : m_color(color)
{
    m_owner = ownerOf(body);
    build(points, nullptr, count, Vector3d(), connect, edges);
    BodyImpl::link(m_owner, this);
}

void Face::build(const Point3d* points, PolygonVertexData* const* vertexData, int count, const Vector3d& normal,
                 bool connect, Edge** edgesOut)
{
    const double eps = gEpsAbs();
    if (!points || count < 1 || !normal.isFinite())
        throw eInvalidInput;
    if (edgesOut)
        for (int i = 0; i < count; ++i)
            edgesOut[i] = nullptr;
    const ExpandedProfile prof = expandProfile(points, vertexData, count, true, eps);
    const int m = static_cast<int>(prof.pts.size());
    if (m < 3)
        throw eDegenerateGeometry;
    const Plane plane = profilePlane(prof.pts, normal, eps);

    // Everything that can fail for a reason of the input has been checked;
    // from here on only allocation can throw, and then the new entities go.
    std::vector<Vertex*> newVertices;
    std::vector<Curve*> newCurves;
    std::vector<Edge*> newEdges;
    try {
        std::vector<Vertex*> verts(m, nullptr);
        if (connect) {
            PointIndex index(eps);
            for (Vertex* v = m_owner->vertexHead; v; v = v->next())
                index.add(v->point(), v);
            for (int j = 0; j < m; ++j)
                verts[j] = static_cast<Vertex*>(index.find(prof.pts[j]));
        }
        for (int j = 0; j < m; ++j)
            if (!verts[j]) {
                verts[j] = BodyImpl::newVertex(m_owner, prof.pts[j]);
                newVertices.push_back(verts[j]);
            }
        std::vector<Curve*> curves;
        for (const ExpandedProfile::Arc& a : prof.arcs) {
            curves.push_back(BodyImpl::newCurve(m_owner, a.circle, a.facets));
            newCurves.push_back(curves.back());
        }
        for (int j = 0; j < m; ++j) {
            Edge* e = BodyImpl::newEdge(m_owner, verts[j], this);
            newEdges.push_back(e);
            if (prof.arcOfEdge[j] >= 0)
                e->m_curve = curves[prof.arcOfEdge[j]];
        }
        for (int j = 0; j < m; ++j) {
            newEdges[j]->m_next = newEdges[(j + 1) % m];
            newEdges[j]->m_prev = newEdges[(j + m - 1) % m];
            if (edgesOut && prof.sourceOfEdge[j] >= 0 && prof.sourceOfEdge[j] < count &&
                !edgesOut[prof.sourceOfEdge[j]])
                edgesOut[prof.sourceOfEdge[j]] = newEdges[j];
        }
        if (connect) {
            // Partner with unpartnered half-edges of the body running the other way.
            struct PairHash {
                size_t operator()(const std::pair<const Vertex*, const Vertex*>& p) const
                {
                    return std::hash<const void*>()(p.first) * 31u ^ std::hash<const void*>()(p.second);
                }
            };
            std::unordered_map<std::pair<const Vertex*, const Vertex*>, Edge*, PairHash> open;
            for (Edge* e = m_owner->edgeHead; e; e = e->m_bnext)
                if (!e->m_partner && e->m_face != this && e->m_next)
                    open.emplace(std::make_pair(e->m_vertex, e->m_next->m_vertex), e);
            for (Edge* e : newEdges) {
                auto it = open.find(std::make_pair(e->m_next->m_vertex, e->m_vertex));
                if (it != open.end()) {
                    e->m_partner = it->second;
                    it->second->m_partner = e;
                    if (e->m_curve == nullptr)
                        e->m_curve = it->second->m_curve;
                    open.erase(it);
                }
            }
        }
        // Inner vertices of an arc are smooth: the edges leaving them along
        // other faces are what the partners will mark; here nothing to mark.
        m_loop = newEdges[0];
        m_plane = plane;
    } catch (...) {
        for (Edge* e : newEdges) {
            if (e->m_partner)
                e->m_partner->m_partner = nullptr;
            BodyImpl::destroy(e);
        }
        for (Curve* c : newCurves)
            BodyImpl::destroy(c);
        for (Vertex* v : newVertices)
            BodyImpl::destroy(v);
        if (edgesOut)
            for (int i = 0; i < count; ++i)
                edgesOut[i] = nullptr;
        m_loop = nullptr;
        throw;
    }
}

Body* Face::body() const { return m_owner ? m_owner->body : nullptr; }

void Face::setEdgeLoop(Edge* e)
{
    if (e && BodyImpl::owner(e) != m_owner)
        throw eInvalidInput;
    if (e && e->face() != this)
        throw eInvalidInput;
    m_loop = e;
}

int Face::loopLength() const
{
    int n = 0;
    BodyImpl::walkLoop(this, [&](Edge*) {
        ++n;
        return true;
    });
    return n;
}

bool Face::updatePlane()
{
    std::vector<Point3d> pts;
    if (!BodyImpl::walkLoop(this, [&](Edge* e) {
            if (!e->vertex())
                return false;
            pts.push_back(e->vertex()->point());
            return true;
        }))
        return false;
    const Vector3d n = newellNormal(pts);
    if (n.isNull() || pts.size() < 3 || !n.isFinite())
        return false;
    Vector3d c;
    for (const Point3d& p : pts)
        c += p.asVector();
    c = c / static_cast<double>(pts.size());
    m_plane = Plane(Point3d(c.x, c.y, c.z), n);
    return true;
}

double Face::area() const
{
    std::vector<Point3d> pts;
    bool ok = BodyImpl::walkLoop(this, [&](Edge* e) {
        if (!e->vertex())
            return false;
        pts.push_back(e->vertex()->point());
        return true;
    });
    if (!ok || pts.size() < 3)
        return 0.0;
    const Vector3d n = newellNormal(pts);
    return 0.5 * (m_plane.isValid() ? std::fabs(n.dot(m_plane.normal())) : n.length());
}

Interval3d Face::interval() const
{
    Interval3d box;
    BodyImpl::walkLoop(this, [&](Edge* e) {
        if (e->vertex())
            box.extend(e->vertex()->point());
        return true;
    });
    return box;
}

void Face::reverse()
{
    std::vector<Edge*> loop;
    BodyImpl::loopEdges(this, loop);
    const size_t m = loop.size();
    if (m == 0) {
        m_plane = -m_plane;
        return;
    }
    std::vector<Vertex*> ends(m);
    for (size_t i = 0; i < m; ++i)
        ends[i] = loop[(i + 1) % m]->vertex();
    for (size_t i = 0; i < m; ++i) {
        Edge* e = loop[i];
        e->m_vertex = ends[i];
        std::swap(e->m_next, e->m_prev);
    }
    m_plane = -m_plane;
}

Edge* Face::mergeLoop(Edge* outerEdge, Edge* innerEdge)
{
    if (!outerEdge || !innerEdge || outerEdge->face() != this || BodyImpl::owner(innerEdge) != m_owner ||
        !outerEdge->vertex() || !innerEdge->vertex())
        throw eInvalidInput;
    std::vector<Edge*> outer, inner;
    // The outer edge's loop, which must be closed; the inner one likewise and
    // disjoint from it.
    {
        Edge* e = outerEdge;
        do {
            outer.push_back(e);
            e = e->next();
            if (!e || outer.size() > static_cast<size_t>(m_owner->edgeCount))
                throw eInvalidInput;
        } while (e != outerEdge);
        e = innerEdge;
        do {
            if (e == outerEdge)
                throw eInvalidInput;
            inner.push_back(e);
            e = e->next();
            if (!e || inner.size() > static_cast<size_t>(m_owner->edgeCount))
                throw eInvalidInput;
        } while (e != innerEdge);
    }
    // Where the outer vertex is visited more than once (it already ends
    // bridges), the bridge belongs in the corner that opens towards the hole.
    if (m_plane.isValid()) {
        const Vector3d toHole = innerEdge->vertex()->point() - outerEdge->vertex()->point();
        const Vector3d& n = m_plane.normal();
        for (Edge* e : outer) {
            if (e->vertex() != outerEdge->vertex())
                continue;
            const Point3d& v = e->vertex()->point();
            const Vector3d out = e->endPoint() - v, back = e->prev()->startPoint() - v;
            const double opening = out.angleTo(back, n);
            const double towards = out.angleTo(toHole, n);
            if (towards > 0.0 && towards < opening) {
                outerEdge = e;
                break;
            }
        }
    }
    Face* holeFace = innerEdge->face();
    Edge* toInner = BodyImpl::newEdge(m_owner, outerEdge->vertex(), this);
    Edge* toOuter = nullptr;
    try {
        toOuter = BodyImpl::newEdge(m_owner, innerEdge->vertex(), this);
    } catch (...) {
        BodyImpl::destroy(toInner);
        throw;
    }
    for (Edge* e : inner)
        e->m_face = this;
    if (holeFace && holeFace != this)
        holeFace->m_loop = nullptr;
    Edge* beforeOuter = outerEdge->m_prev;
    Edge* beforeInner = innerEdge->m_prev;
    beforeOuter->m_next = toInner;
    toInner->m_prev = beforeOuter;
    toInner->m_next = innerEdge;
    innerEdge->m_prev = toInner;
    beforeInner->m_next = toOuter;
    toOuter->m_prev = beforeInner;
    toOuter->m_next = outerEdge;
    outerEdge->m_prev = toOuter;
    toInner->m_partner = toOuter;
    toOuter->m_partner = toInner;
    if (!m_loop)
        m_loop = outerEdge;
    return toInner;
}

} // namespace AModeler
