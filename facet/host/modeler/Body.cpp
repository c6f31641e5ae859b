// Body: ownership, copying, direct building, traversal and simple queries.

#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/Settings.h"

#include <cmath>
#include <new>
#include <utility>

namespace AModeler {

Body::Body() = default;

Body::~Body() { delete m_data; }

namespace {

// Deep copy of `src` into the empty `dst`.
void copyInto(const BodyData* src, BodyData* dst)
{
    std::vector<Vertex*> verts;
    std::vector<Curve*> curves;
    std::vector<Face*> faces;
    std::vector<Edge*> edges;
    verts.reserve(src->vertexCount);
    curves.reserve(src->curveCount);
    faces.reserve(src->faceCount);
    edges.reserve(src->edgeCount);
    long i = 0;
    for (Vertex* v = src->vertexHead; v; v = v->next(), ++i) {
        BodyImpl::scratch(v) = i;
        Vertex* nv = BodyImpl::newVertex(dst, v->point());
        nv->setFlags(v->flags());
        verts.push_back(nv);
    }
    i = 0;
    for (Curve* c = src->curveHead; c; c = c->next(), ++i) {
        BodyImpl::scratch(c) = i;
        Curve* nc = BodyImpl::newCurve(dst, c->circle(), c->facetCount());
        nc->setFlags(c->flags());
        curves.push_back(nc);
    }
    i = 0;
    for (Face* f = src->faceHead; f; f = f->next(), ++i) {
        BodyImpl::scratch(f) = i;
        Face* nf = BodyImpl::newFace(dst, f->color());
        nf->setFlags(f->flags());
        nf->setPlane(f->plane());
        faces.push_back(nf);
    }
    i = 0;
    for (Edge* e = src->edgeHead; e; e = BodyImpl::edgeListNext(e), ++i) {
        BodyImpl::scratch(e) = i;
        Edge* ne = BodyImpl::newEdge(dst, e->vertex() ? verts[BodyImpl::scratch(e->vertex())] : nullptr,
                                     e->face() ? faces[BodyImpl::scratch(e->face())] : nullptr);
        ne->setFlags(e->flags());
        ne->setApprox(e->isApprox());
        if (e->curve())
            BodyImpl::setCurveRaw(ne, curves[BodyImpl::scratch(e->curve())]);
        edges.push_back(ne);
    }
    i = 0;
    for (Edge* e = src->edgeHead; e; e = BodyImpl::edgeListNext(e), ++i) {
        Edge* ne = edges[i];
        BodyImpl::setLinks(ne, e->next() ? edges[BodyImpl::scratch(e->next())] : nullptr,
                           e->prev() ? edges[BodyImpl::scratch(e->prev())] : nullptr);
        BodyImpl::setPartnerRaw(ne, e->partner() ? edges[BodyImpl::scratch(e->partner())] : nullptr);
    }
    i = 0;
    for (Face* f = src->faceHead; f; f = f->next(), ++i)
        if (f->edgeLoop())
            BodyImpl::setLoopRaw(faces[i], edges[BodyImpl::scratch(f->edgeLoop())]);
    dst->color = src->color;
}

} // namespace

Body::Body(const Body& other)
{
    if (other.m_data && (other.m_data->faceHead || other.m_data->vertexHead || other.m_data->edgeHead ||
                         other.m_data->curveHead || other.m_data->color)) {
        BodyData* d = BodyImpl::data(*this);
        try {
            copyInto(other.m_data, d);
        } catch (...) {
            delete m_data;
            m_data = nullptr;
            throw;
        }
    }
}

Body& Body::operator=(const Body& other)
{
    if (this != &other) {
        Body tmp(other);
        *this = std::move(tmp);
    }
    return *this;
}

Body::Body(Body&& other) noexcept : m_data(other.m_data)
{
    other.m_data = nullptr;
    if (m_data)
        m_data->body = this;
}

Body& Body::operator=(Body&& other) noexcept
{
    if (this != &other) {
        delete m_data;
        m_data = other.m_data;
        other.m_data = nullptr;
        if (m_data)
            m_data->body = this;
    }
    return *this;
}

Body Body::copy() const { return Body(*this); }

// ---- direct building ---------------------------------------------------------

void Body::combine(Body& other)
{
    if (&other == this || !other.m_data)
        return;
    BodyImpl::splice(BodyImpl::data(*this), other.m_data);
}

void Body::reverse()
{
    for (Face* f = faceList(); f; f = f->next())
        f->reverse();
}

void Body::deleteMarkedFaces(unsigned flagMask)
{
    if (!m_data || flagMask == 0)
        return;
    BodyData* d = m_data;
    // scratch: 1 on faces to delete; on vertices and curves the number of
    // surviving users, -1 for "used by a deleted half-edge only so far".
    bool any = false;
    for (Face* f = d->faceHead; f; f = f->next()) {
        BodyImpl::scratch(f) = f->isFlagOn(flagMask) ? 1 : 0;
        any = any || f->isFlagOn(flagMask);
    }
    if (!any)
        return;
    for (Vertex* v = d->vertexHead; v; v = v->next())
        BodyImpl::scratch(v) = 0;
    for (Curve* c = d->curveHead; c; c = c->next())
        BodyImpl::scratch(c) = 0;
    std::vector<Edge*> doomed;
    for (Edge* e = d->edgeHead; e; e = BodyImpl::edgeListNext(e)) {
        const bool dies = e->face() && BodyImpl::scratch(e->face()) == 1;
        BodyImpl::scratch(e) = dies ? 1 : 0;
        if (dies)
            doomed.push_back(e);
    }
    for (Edge* e = d->edgeHead; e; e = BodyImpl::edgeListNext(e)) {
        const bool dies = BodyImpl::scratch(e) == 1;
        if (Vertex* v = e->vertex()) {
            long& s = BodyImpl::scratch(v);
            if (!dies)
                s = s < 0 ? 1 : s + 1;
            else if (s == 0)
                s = -1;
        }
        if (Curve* c = e->curve()) {
            long& s = BodyImpl::scratch(c);
            if (!dies)
                s = s < 0 ? 1 : s + 1;
            else if (s == 0)
                s = -1;
        }
    }
    for (Edge* e : doomed) {
        Edge* p = e->partner();
        if (p && BodyImpl::scratch(p) == 0)
            BodyImpl::setPartnerRaw(p, nullptr);
        // Links from surviving half-edges into a deleted loop are cut.
        if (e->next() && BodyImpl::scratch(e->next()) == 0 && e->next()->prev() == e)
            BodyImpl::setLinks(e->next(), e->next()->next(), nullptr);
        if (e->prev() && BodyImpl::scratch(e->prev()) == 0 && e->prev()->next() == e)
            BodyImpl::setLinks(e->prev(), nullptr, e->prev()->prev());
    }
    for (Edge* e : doomed)
        BodyImpl::destroy(e);
    for (Face* f = d->faceHead; f; f = f->next())
        if (f->edgeLoop() && BodyImpl::scratch(f) == 0 && BodyImpl::scratch(f->edgeLoop()) == 1)
            BodyImpl::setLoopRaw(f, nullptr);
    for (Face* f = d->faceHead; f;) {
        Face* n = f->next();
        if (BodyImpl::scratch(f) == 1)
            BodyImpl::destroy(f);
        f = n;
    }
    for (Vertex* v = d->vertexHead; v;) {
        Vertex* n = v->next();
        if (BodyImpl::scratch(v) == -1)
            BodyImpl::destroy(v);
        v = n;
    }
    for (Curve* c = d->curveHead; c;) {
        Curve* n = c->next();
        if (BodyImpl::scratch(c) == -1)
            BodyImpl::destroy(c);
        c = n;
    }
}

void Body::setColor(int color)
{
    BodyImpl::data(*this)->color = color;
    for (Face* f = faceList(); f; f = f->next())
        f->setColor(color);
}

int Body::color() const { return BodyImpl::data(*this)->color; }

void Body::init(bool resetColor)
{
    if (!m_data)
        return;
    const int keep = m_data->color;
    m_data->clear();
    m_data->color = resetColor ? 0 : keep;
}

// ---- traversal and counts ------------------------------------------------------

Face* Body::faceList() const { return BodyImpl::data(*this)->faceHead; }
Vertex* Body::vertexList() const { return BodyImpl::data(*this)->vertexHead; }
Curve* Body::curveList() const { return BodyImpl::data(*this)->curveHead; }
int Body::faceCount() const { return BodyImpl::data(*this)->faceCount; }
int Body::edgeCount() const { return BodyImpl::data(*this)->edgeCount; }
int Body::vertexCount() const { return BodyImpl::data(*this)->vertexCount; }
int Body::curveCount() const { return BodyImpl::data(*this)->curveCount; }

int Body::triangleCount() const
{
    int n = 0;
    for (Face* f = faceList(); f; f = f->next()) {
        const int len = f->loopLength();
        if (len >= 3)
            n += len - 2;
    }
    return n;
}

bool Body::isNull() const { return faceCount() == 0; }

Interval3d Body::interval(double eps) const
{
    Interval3d box;
    for (Vertex* v = vertexList(); v; v = v->next())
        box.extend(v->point());
    if (eps != 0.0 && std::isfinite(eps))
        box.enlarge(eps);
    return box;
}

void Body::extremeVertices(const Vector3d& direction, Vertex*& lowest, Vertex*& highest) const
{
    lowest = highest = nullptr;
    double lo = 0.0, hi = 0.0;
    for (Vertex* v = vertexList(); v; v = v->next()) {
        const double t = direction.dot(v->point().asVector());
        if (!lowest || t < lo) {
            lowest = v;
            lo = t;
        }
        if (!highest || t > hi) {
            highest = v;
            hi = t;
        }
    }
}

void Body::transformBy(const Transf3d& t)
{
    if (!t.isFinite())
        throw eInvalidInput;
    Transf3d inverse = t;
    if (!inverse.invert())
        throw eInvalidInput;
    if (!m_data)
        return;
    double scale = 0.0;
    const bool similar = t.isSimilarity(scale);
    const bool mirror = t.isAffine() ? t.determinant3() < 0.0 : false;
    for (Vertex* v = m_data->vertexHead; v; v = v->next())
        v->setPoint(t.apply(v->point()));
    for (Curve* c = m_data->curveHead; c; c = c->next())
        if (similar) {
            const Circle3d& k = c->circle();
            const Vector3d axis = t.apply(k.normal()).normalized();
            BodyImpl::setCircleRaw(c, Circle3d(t.apply(k.center()), axis, k.radius() * scale));
        }
    if (!similar) {
        for (Edge* e = m_data->edgeHead; e; e = BodyImpl::edgeListNext(e))
            BodyImpl::setCurveRaw(e, nullptr);
        for (Curve* c = m_data->curveHead; c;) {
            Curve* n = c->next();
            BodyImpl::destroy(c);
            c = n;
        }
    }
    if (mirror)
        reverse();
    for (Face* f = m_data->faceHead; f; f = f->next()) {
        const Plane old = f->plane();
        if (!f->updatePlane())
            continue;
        // Keep the exact normal of a similarity where the loop allows it.
        if (similar && old.isValid()) {
            // The loop was reversed after a mirror, so the image of the old
            // normal still faces the loop's way.
            const Vector3d n = t.apply(old.normal()).normalized();
            if (n.dot(f->plane().normal()) > 0.0)
                f->setPlane(Plane(f->plane().pointOnPlane(), n));
        }
    }
}

} // namespace AModeler
