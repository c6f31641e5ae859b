// Validity, volume and mass properties.

#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/Settings.h"

#include <cmath>

namespace AModeler {

namespace {

bool checkLoops(const BodyData* d)
{
    for (Edge* e = d->edgeHead; e; e = BodyImpl::edgeListNext(e))
        BodyImpl::scratch(e) = 0;
    long visited = 0;
    for (Face* f = d->faceHead; f; f = f->next()) {
        if (!f->edgeLoop())
            return false;
        long len = 0;
        bool ok = true;
        const bool closed = BodyImpl::walkLoop(f, [&](Edge* e) {
            if (e->face() != f || !e->vertex() || !e->next() || e->next()->prev() != e ||
                BodyImpl::owner(e->vertex()) != d || BodyImpl::scratch(e) != 0) {
                ok = false;
                return false;
            }
            if (e->partner() && (e->partner()->partner() != e || BodyImpl::owner(e->partner()) != d)) {
                ok = false;
                return false;
            }
            if (e->curve() && BodyImpl::owner(e->curve()) != d) {
                ok = false;
                return false;
            }
            BodyImpl::scratch(e) = 1;
            ++len;
            return true;
        });
        if (!closed || !ok || len < 3)
            return false;
        visited += len;
    }
    return visited == d->edgeCount;
}

bool checkManifold(const BodyData* d)
{
    for (Edge* e = d->edgeHead; e; e = BodyImpl::edgeListNext(e)) {
        const Edge* p = e->partner();
        if (!p || p == e || p->vertex() != e->endVertex() || p->endVertex() != e->vertex())
            return false;
    }
    return true;
}

bool checkGeometry(const BodyData* d, double eps)
{
    for (Vertex* v = d->vertexHead; v; v = v->next())
        if (!v->point().isFinite())
            return false;
    std::vector<Point3d> pts;
    for (Face* f = d->faceHead; f; f = f->next()) {
        const Plane& pl = f->plane();
        if (!pl.isValid() || !pl.normal().isFinite() || !std::isfinite(pl.d()))
            return false;
        pts.clear();
        bool ok = true;
        BodyImpl::walkLoop(f, [&](Edge* e) {
            const Point3d& p = e->vertex()->point();
            if (pl.distanceTo(p) > eps || p.isEqual(e->endVertex()->point(), eps)) {
                ok = false;
                return false;
            }
            pts.push_back(p);
            return true;
        });
        if (!ok || newellNormal(pts).dot(pl.normal()) <= 0.0)
            return false;
    }
    return true;
}

bool checkVertexFans(const BodyData* d)
{
    // Outgoing half-edges per vertex, then one turn round each vertex
    // (e -> e->prev()->partner()) must meet all of them.
    for (Vertex* v = d->vertexHead; v; v = v->next())
        BodyImpl::scratch(v) = 0;
    for (Edge* e = d->edgeHead; e; e = BodyImpl::edgeListNext(e)) {
        ++BodyImpl::scratch(e->vertex());
        BodyImpl::scratch(e) = 0;
    }
    for (Edge* e = d->edgeHead; e; e = BodyImpl::edgeListNext(e)) {
        long& count = BodyImpl::scratch(e->vertex());
        if (count < 0)
            continue;  // this vertex's fan was walked already
        long n = 0;
        const Edge* x = e;
        do {
            ++n;
            x = x->prev()->partner();
            if (x->vertex() != e->vertex() || n > count)
                return false;
        } while (x != e);
        if (n != count)
            return false;
        count = -1;
    }
    return true;
}

// Signed tetrahedra from a reference point over every face's fan.
template <class Fn>
void forEachTetra(const BodyData* d, Fn&& fn)
{
    if (!d->vertexHead)
        return;
    const Point3d o = d->vertexHead->point();
    std::vector<Vector3d> pts;
    for (Face* f = d->faceHead; f; f = f->next()) {
        pts.clear();
        if (!BodyImpl::walkLoop(f, [&](Edge* e) {
                if (!e->vertex())
                    return false;
                pts.push_back(e->vertex()->point() - o);
                return true;
            }))
            continue;
        for (size_t i = 1; i + 1 < pts.size(); ++i)
            fn(pts[0], pts[i], pts[i + 1]);
    }
}

} // namespace

bool Body::isValid() const { return isValid(-1); }

bool Body::isValid(int level) const
{
    if (level < 0)
        level = validityCheckingLevel();
    if (level > 3)
        level = 3;
    const BodyData* d = BodyImpl::data(*this);
    if (!d->faceHead)
        return d->edgeCount == 0;
    if (!checkLoops(d))
        return false;
    if (level >= 1 && !checkManifold(d))
        return false;
    if (level >= 2 && !checkGeometry(d, gEpsAbs()))
        return false;
    if (level >= 3 && (!checkVertexFans(d) || !(volume() > 0.0)))
        return false;
    return true;
}

double Body::volume() const
{
    double six = 0.0;
    forEachTetra(BodyImpl::data(*this), [&](const Vector3d& a, const Vector3d& b, const Vector3d& c) {
        six += a.dot(b.cross(c));
    });
    return six / 6.0;
}

void Body::massProperties(double& volume, Point3d& centroid, double inertia[3][3]) const
{
    const BodyData* d = BodyImpl::data(*this);
    double vol = 0.0;
    Vector3d first;
    double second[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    forEachTetra(d, [&](const Vector3d& a, const Vector3d& b, const Vector3d& c) {
        const double v = a.dot(b.cross(c)) / 6.0;
        vol += v;
        const Vector3d s = a + b + c;
        first += s * (v / 4.0);
        const double av[3] = {a.x, a.y, a.z}, bv[3] = {b.x, b.y, b.z}, cv[3] = {c.x, c.y, c.z};
        const double sv[3] = {s.x, s.y, s.z};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                second[i][j] += v / 20.0 * (av[i] * av[j] + bv[i] * bv[j] + cv[i] * cv[j] + sv[i] * sv[j]);
    });
    volume = vol;
    const Point3d o = d->vertexHead ? d->vertexHead->point() : Point3d();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            inertia[i][j] = 0.0;
    if (vol == 0.0) {
        centroid = o;
        return;
    }
    const Vector3d g = first / vol;
    centroid = o + g;
    const double gv[3] = {g.x, g.y, g.z};
    double c[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            c[i][j] = second[i][j] - vol * gv[i] * gv[j];
    const double trace = c[0][0] + c[1][1] + c[2][2];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            inertia[i][j] = (i == j ? trace : 0.0) - c[i][j];
}

} // namespace AModeler
