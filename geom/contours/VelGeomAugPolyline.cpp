#include "geom/contours/VelGeomAugPolyline.h"

#include "geom/contours/VelGeomAugPolygon.h"
#include "geom/core/VelGeom.h"
#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomExtents.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeCurve3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <algorithm>
#include <cmath>
#include <vector>

double VelGeomAugPolyline::kMinEdgeLength = 0.01;
double VelGeomAugPolyline::kAbsoluteMinEdgeLength = 1e-5;
double VelGeomAugPolyline::kFilletPercentEdge = 0.99;

namespace {

using Point = VelGeomPoint3d;
using Vector = VelGeomVector3d;
using Info = VelGeomVertexInfo;

const double kTwoPi = 6.28318530717958647692528676655900577;

Vector unitOf(const Vector& v)
{
    const double l = v.length();
    return l > 0.0 ? v / l : v;
}

// Rodrigues' rotation about a unit axis, counter-clockwise seen from its tip.
Vector rotated(const Vector& v, double angle, const Vector& unitAxis)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return v * c + unitAxis.crossProduct(v) * s + unitAxis * (unitAxis.dotProduct(v) * (1.0 - c));
}

// The directed angle about n from a to b in [0, 2*pi), from the cross and dot
// products (an arc cosine loses precision next to 0 and pi).
double directedAngle(const Vector& a, const Vector& b, const Vector& n)
{
    const Vector u = unitOf(n);
    const Vector ap = a - u * a.dotProduct(u);
    const Vector bp = b - u * b.dotProduct(u);
    const double y = ap.crossProduct(bp).dotProduct(u);
    const double x = ap.dotProduct(bp);
    if (y == 0.0 && x == 0.0)
        return 0.0;
    double t = std::atan2(y, x);
    if (t < 0.0)
        t += kTwoPi;
    if (t >= kTwoPi)
        t = 0.0;
    return t;
}

bool samePoint(const Point& a, const Point& b) { return (a - b).lengthSqrd() < 1e-16; }

// Sweep of an arc edge; coincident ends make a full turn.
double arcSweep(const Info& info, const Point& p1, const Point& p2)
{
    if (samePoint(p1, p2))
        return kTwoPi;
    return directedAngle(p1 - info.getCenter(), p2 - info.getCenter(), info.getNormal());
}

double edgeLength(const Info& info, const Point& p1, const Point& p2)
{
    if (!info.isArc())
        return p1.distanceTo(p2);
    return info.getRadius() * arcSweep(info, p1, p2);
}

// The point of the arc edge's circle reached from p1 after `angle` about the
// info's normal.
Point arcPointFrom(const Info& info, const Point& p1, double angle)
{
    return info.getCenter() + rotated(p1 - info.getCenter(), angle, unitOf(info.getNormal()));
}

bool sameCircle(const Info& a, const Info& b, double eps)
{
    return a.getCenter().distanceTo(b.getCenter()) < eps && std::fabs(a.getRadius() - b.getRadius()) < eps;
}

Info withNormal(const Info& info, const Vector& normal)
{
    return Info(info.getRadius(), info.getCenter(), normal, info.getAbsError());
}

// The simple members of a curve, composite members opened up.
void simpleCurves(const VelGeomCurve3d* c, VelArray<const VelGeomCurve3d*>& out)
{
    if (!c)
        return;
    if (c->getType() == VelGeomCurve3d::kCompositeCurve) {
        VelArray<VelGeomCurve3d*> members;
        static_cast<const VelGeomCompositeCurve3d*>(c)->getCurveList(members);
        for (int i = 0; i < members.length(); ++i)
            simpleCurves(members[i], out);
        return;
    }
    out.append(c);
}

// Appends the start of every simple curve (arcs with their info) and the end
// of the last one.
void appendChain(const VelArray<const VelGeomCurve3d*>& curves, VelArray<Point>& vertices, VelArray<Info>& infos)
{
    Point last;
    bool haveEnd = false;
    for (int i = 0; i < curves.length(); ++i) {
        const VelGeomCurve3d* c = curves[i];
        Point s, e;
        if (!c->hasStartPoint(s))
            continue;
        if (c->getType() == VelGeomCurve3d::kCircArc) {
            const VelGeomCircArc3d* a = static_cast<const VelGeomCircArc3d*>(c);
            vertices.append(s);
            infos.append(Info(a->getRadius(), a->getCenter(), a->getNormal(), Info::defAbsError));
        } else {
            vertices.append(s);
            infos.append(Info::kNone);
        }
        haveEnd = c->hasEndPoint(e);
        if (haveEnd)
            last = e;
    }
    if (haveEnd) {
        vertices.append(last);
        infos.append(Info::kNone);
    }
}

}  // namespace

// ---------------------------------------------------------------- construction

VelGeomAugPolyline::VelGeomAugPolyline()
    : m_vertices(2, 20), m_normal(0.0, 0.0, 0.0), m_infos(2, 20), m_validity(kNotChecked),
      m_startNormal(0.0, 0.0, 0.0)
{
}

VelGeomAugPolyline::VelGeomAugPolyline(const VelArray<VelGeomPoint3d>& vertices,
                                       const VelArray<VelGeomVertexInfo>& infos)
    : m_vertices(vertices.length(), 20), m_normal(0.0, 0.0, 0.0), m_infos(infos.length(), 20),
      m_validity(kNotChecked), m_startNormal(0.0, 0.0, 0.0)
{
    // Lists that are not parallel describe no contour.
    if (vertices.length() == infos.length()) {
        m_vertices = vertices;
        m_infos = infos;
    }
    reinitialize();
}

VelGeomAugPolyline::VelGeomAugPolyline(const VelArray<VelGeomPoint3d>& vertices, const VelGeomVector3d& normal,
                                       const VelArray<double>& bulges, double absError)
    : m_vertices(vertices.length(), 20), m_normal(normal), m_infos(vertices.length(), 20),
      m_validity(kNotChecked), m_startNormal(0.0, 0.0, 0.0)
{
    const int n = vertices.length();
    if (n >= 2 && bulges.length() == n) {
        for (int i = 0; i < n; ++i) {
            m_vertices.append(vertices[i]);
            if (i + 1 < n && bulges[i] != 0.0)
                m_infos.append(Info(vertices[i], vertices[i + 1], normal, bulges[i], absError));
            else
                m_infos.append(Info::kNone);
        }
    }
    reinitialize();
}

VelGeomAugPolyline::VelGeomAugPolyline(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices,
                                       const VelArray<double>& radii, double absError, int roundNegative,
                                       int roundPositive, int clamp)
    : m_vertices(vertices.length() + 2, 20), m_normal(0.0, 0.0, 0.0), m_infos(vertices.length() + 2, 20),
      m_validity(kNotChecked), m_startNormal(0.0, 0.0, 0.0)
{
    buildFillets(normal, vertices, radii, absError, roundNegative, roundPositive, clamp);
}

VelGeomAugPolyline::VelGeomAugPolyline(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices,
                                       int, const VelArray<double>& radii, double absError, int flag)
    : m_vertices(vertices.length() + 2, 20), m_normal(0.0, 0.0, 0.0), m_infos(vertices.length() + 2, 20),
      m_validity(kNotChecked), m_startNormal(0.0, 0.0, 0.0)
{
    buildFillets(normal, vertices, radii, absError, flag, flag, 1);
}

VelGeomAugPolyline::VelGeomAugPolyline(const VelGeomAugPolygon& polygon)
    : m_vertices(static_cast<int>(polygon.getLength()) + 1, 20), m_normal(polygon.getNormal()),
      m_infos(static_cast<int>(polygon.getLength()) + 1, 20), m_validity(kNotChecked),
      m_startNormal(0.0, 0.0, 0.0)
{
    const VelArray<Point>& vertices = polygon.getVertices();
    const VelArray<Info>& infos = polygon.getVertexInfo();
    const int n = std::min(vertices.length(), infos.length());
    for (int i = 0; i < n; ++i) {
        m_vertices.append(vertices[i]);
        m_infos.append(infos[i]);
    }
    if (n > 0) {
        m_vertices.append(vertices[0]);
        m_infos.append(infos[0]);
    }
    checkValidity();
}

VelGeomAugPolyline::VelGeomAugPolyline(const VelGeomAugPolyline& other)
    : m_vertices(other.m_vertices), m_normal(other.m_normal), m_infos(other.m_infos),
      m_validity(other.m_validity), m_startNormal(0.0, 0.0, 0.0)
{
}

VelGeomAugPolyline& VelGeomAugPolyline::operator=(const VelGeomAugPolyline& other)
{
    if (this == &other)
        return *this;
    m_vertices = other.m_vertices;
    m_normal = other.m_normal;
    m_infos = other.m_infos;
    m_validity = other.m_validity;
    return *this;
}

VelGeomAugPolyline::~VelGeomAugPolyline() = default;

void VelGeomAugPolyline::buildFillets(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices,
                                      const VelArray<double>& radii, double absError, int roundNegative,
                                      int roundPositive, int clamp)
{
    reset();
    const int n = vertices.length();
    if (n < 2 || radii.length() != n) {
        reinitialize();
        return;
    }
    const VelGeomTol& tol = VelGeomTol::gTol;
    // A corner point, dropping an equal point appended just before.
    auto appendCorner = [this](const Point& p) {
        if (!m_vertices.isEmpty() && m_vertices.last() == p) {
            m_vertices.removeLast();
            m_infos.removeLast();
        }
        m_vertices.append(p);
        m_infos.append(Info::kNone);
    };
    m_vertices.append(vertices[0]);
    m_infos.append(Info::kNone);
    // The tangent length the previous fillet took from the edge that ends at
    // vertex k: two fillets must not overlap on the edge between them.
    double usedBefore = 0.0;
    for (int k = 1; k + 1 < n; ++k) {
        const double used = usedBefore;
        usedBefore = 0.0;
        const double rk = radii[k];
        const bool round = (rk < 0.0 && roundNegative) || (rk > 0.0 && roundPositive);
        const Vector u = vertices[k - 1] - vertices[k];
        const Vector w = vertices[k + 1] - vertices[k];
        const Vector cross = u.crossProduct(w);
        const double lu = u.length(), lw = w.length();
        if (!round || !(cross.length() > 0.0) || !(lu > 0.0) || !(lw > 0.0)) {
            appendCorner(vertices[k]);
            continue;
        }
        const Vector axis = unitOf(cross);
        const double alpha = directedAngle(u, w, axis) / 2.0;
        const double tanA = std::tan(alpha);
        double r = std::fabs(rk);
        if (tanA == 0.0 || !std::isfinite(tanA)) {
            appendCorner(vertices[k]);
            continue;
        }
        double t = std::fabs(r / tanA);
        const double share = kFilletPercentEdge;
        const double free = lu - used;
        if (t > share * free || t > share * lw) {
            if (clamp) {
                t = share * free;
                if (t > share * lw)
                    t = share * lw;
                r = t * tanA;
            } else if (tol.lessNotEqual(free, t) || tol.lessNotEqual(lw, t)) {
                reset();
                return;
            }
        }
        if (!(t > 0.0)) {
            appendCorner(vertices[k]);
            continue;
        }
        usedBefore = t;
        const Point centre = vertices[k] + unitOf(rotated(u, alpha, axis)) * (r / std::sin(alpha));
        const Point p = vertices[k] + (u / lu) * t;
        const Point q = vertices[k] + (w / lw) * t;
        if (!m_vertices.isEmpty() && m_vertices.last() == p) {
            m_vertices.removeLast();
            m_infos.removeLast();
        }
        m_vertices.append(p);
        m_infos.append(Info(r, centre, -axis, absError));
        m_vertices.append(q);
        m_infos.append(Info::kNone);
    }
    appendCorner(vertices[n - 1]);
    reinitialize();
    const VelGeomVector3d given = normal;
    if (given.isZeroLength())
        return;
    const bool singleStraight = m_vertices.length() == 2 && !m_infos[0].isArc();
    if (m_normal.isParallelTo(given) ||
        (singleStraight && (m_vertices[1] - m_vertices[0]).isPerpendicularTo(given)))
        m_normal = given;
}

// ---------------------------------------------------------------- editing

int VelGeomAugPolyline::append(const VelGeomPoint3d& point, const VelGeomVertexInfo& info, int reinitialise)
{
    m_vertices.append(point);
    m_infos.append(info);
    if (reinitialise)
        reinitialize();
    return 1;
}

void VelGeomAugPolyline::removeLast()
{
    if (m_vertices.isEmpty())
        return;
    m_vertices.removeLast();
    m_infos.removeLast();
}

void VelGeomAugPolyline::reset()
{
    m_vertices.setLogicalLength(0);
    m_infos.setLogicalLength(0);
    m_normal = Vector(0.0, 0.0, 0.0);
    m_validity = kNotChecked;
}

int VelGeomAugPolyline::getVertexAt(int i, VelGeomPoint3d& point) const
{
    if (i < 0 || i >= m_vertices.length())
        return 0;
    point = m_vertices[i];
    return 1;
}

int VelGeomAugPolyline::setVertexAt(int i, const VelGeomPoint3d& point)
{
    if (i < 0 || i >= m_vertices.length())
        return 0;
    m_vertices[i] = point;
    return 1;
}

int VelGeomAugPolyline::getVertexInfoAt(int i, VelGeomVertexInfo& info) const
{
    if (i < 0 || i >= m_infos.length())
        return 0;
    info = m_infos[i];
    return 1;
}

int VelGeomAugPolyline::setVertexInfoAt(int i, const VelGeomVertexInfo& info)
{
    if (i < 0 || i >= m_infos.length())
        return 0;
    m_infos[i] = info;
    return 1;
}

void VelGeomAugPolyline::setStartNormal(const VelGeomVector3d& normal)
{
    if (!std::isfinite(normal.x) || !std::isfinite(normal.y) || !std::isfinite(normal.z))
        return;
    m_startNormal = normal.normal(VelGeomTol::gTol);
}

void VelGeomAugPolyline::setDeviation(double absError)
{
    for (int i = 0; i < m_infos.length(); ++i)
        if (m_infos[i].isArc())
            m_infos[i] = Info(m_infos[i].getRadius(), m_infos[i].getCenter(), m_infos[i].getNormal(), absError);
}

void VelGeomAugPolyline::reverse()
{
    const int n = m_vertices.length();
    if (n == 1) {
        // A full circle runs the other way round.
        if (m_infos[0].isArc())
            m_infos[0] = withNormal(m_infos[0], -m_infos[0].getNormal());
    } else if (n > 1) {
        VelArray<Point> vertices(n, 20);
        VelArray<Info> infos(n, 20);
        for (int k = 0; k < n; ++k) {
            vertices.append(m_vertices[n - 1 - k]);
            if (k + 1 < n) {
                const Info& old = m_infos[n - 2 - k];
                infos.append(old.isArc() ? withNormal(old, -old.getNormal()) : Info::kNone);
            } else {
                infos.append(Info::kNone);
            }
        }
        m_vertices = vertices;
        m_infos = infos;
    }
    reinitialize();
}

VelGeomAugPolygon VelGeomAugPolyline::getPolygon() const
{
    VelGeomAugPolygon polygon;
    for (int i = 0; i < m_vertices.length(); ++i)
        polygon.coreAppend(m_vertices[i], 0, m_infos[i]);
    polygon.reinitialize(1);
    return polygon;
}

// ---------------------------------------------------------------- cleaning

void VelGeomAugPolyline::removeShortEdges()
{
    const int n = m_vertices.length();
    if (n <= 2)
        return;
    const double minLen = kMinEdgeLength;
    std::vector<Point> keptV;
    std::vector<Info> keptI;
    keptV.reserve(n);
    keptI.reserve(n);
    // The edge under the walk runs from (cv, ci) to m_vertices[k]; the kept
    // lists hold everything before it.
    Point cv = m_vertices[0];
    Info ci = m_infos[0];
    int k = 1;
    auto remaining = [&]() { return static_cast<int>(keptV.size()) + 1 + (n - k); };
    while (k < n && remaining() > 2) {
        const Point nv = m_vertices[k];
        const double len = edgeLength(ci, cv, nv);
        if (!(len < minLen)) {
            keptV.push_back(cv);
            keptI.push_back(ci);
            cv = nv;
            ci = m_infos[k];
            ++k;
            continue;
        }
        const bool first = keptV.empty();
        if (len < kAbsoluteMinEdgeLength || first || !keptI.back().isArc()) {
            // Drop the edge's start: the previous edge runs on to its end.
            cv = nv;
            ci = m_infos[k];
            ++k;
            continue;
        }
        const bool nextArc = k + 1 < n && m_infos[k].isArc();
        if (!nextArc) {
            // Drop the edge's end: the following straight edge starts here,
            // so the previous arc keeps its exact end.
            ci = m_infos[k];
            ++k;
            continue;
        }
        if (sameCircle(keptI.back(), m_infos[k], minLen)) {
            // The previous arc runs on over this edge and the next one.
            cv = m_vertices[k + 1];
            ci = m_infos[k + 1];
            k += 2;
            continue;
        }
        if (len < 1e-8) {
            cv = nv;
            ci = m_infos[k];
            ++k;
            continue;
        }
        keptV.push_back(cv);
        keptI.push_back(ci);
        cv = nv;
        ci = m_infos[k];
        ++k;
    }
    keptV.push_back(cv);
    keptI.push_back(ci);
    for (; k < n; ++k) {
        keptV.push_back(m_vertices[k]);
        keptI.push_back(m_infos[k]);
    }
    const int m = static_cast<int>(keptV.size());
    for (int i = 0; i < m; ++i) {
        m_vertices[i] = keptV[i];
        m_infos[i] = keptI[i];
    }
    m_vertices.setLogicalLength(m);
    m_infos.setLogicalLength(m);
}

void VelGeomAugPolyline::mergeCollinear()
{
    const int n = m_vertices.length();
    if (n <= 2)
        return;
    // Compaction in place: [0, w) is the cleaned front.
    int w = 1;
    for (int i = 1; i < n; ++i) {
        if (w >= 2 && !m_infos[w - 2].isArc() && !m_infos[w - 1].isArc()) {
            const Vector d1 = (m_vertices[w - 1] - m_vertices[w - 2]).normal(VelGeomTol::gTol);
            const Vector d2 = (m_vertices[i] - m_vertices[w - 1]).normal(VelGeomTol::gTol);
            if (d1.isEqualTo(d2, VelGeomTol::gTol))
                --w;  // the vertex between the two edges goes
        }
        m_vertices[w] = m_vertices[i];
        m_infos[w] = m_infos[i];
        ++w;
    }
    m_vertices.setLogicalLength(w);
    m_infos.setLogicalLength(w);
}

void VelGeomAugPolyline::mergeCocircular()
{
    const int n = m_vertices.length();
    if (n <= 2)
        return;
    const double eps = kMinEdgeLength / 10.0;
    int w = 1;
    for (int i = 1; i < n; ++i) {
        if (w >= 2 && m_infos[w - 2].isArc() && m_infos[w - 1].isArc()) {
            const Info& a = m_infos[w - 2];
            const Info& b = m_infos[w - 1];
            const Point& s = m_vertices[w - 2];
            const Point& mid = m_vertices[w - 1];
            const Point& e = m_vertices[i];
            const bool same = a.getNormal().dotProduct(b.getNormal()) > 0.0 && sameCircle(a, b, eps);
            // One info cannot describe more than a full turn.
            if (same && arcSweep(a, s, mid) + arcSweep(b, mid, e) <= kTwoPi + 1e-9) {
                --w;
                if (s.distanceTo(e) >= 0.001) {
                    // Re-centre so that both ends lie on the merged arc.
                    const Vector h = (e - s) / 2.0;
                    const double hl = h.length();
                    const double r = a.getRadius();
                    const Vector n = unitOf(a.getNormal());
                    if (r <= hl + 1e-12) {
                        m_infos[w - 1] = Info(hl, s + h, a.getNormal(), a.getAbsError());
                    } else {
                        const Point m = s + h;
                        const Vector perp = unitOf(n.crossProduct(h));
                        const double d = std::sqrt(r * r - hl * hl);
                        const Point c1 = m + perp * d, c2 = m - perp * d;
                        const Point& old = a.getCenter();
                        const Point c = c1.distanceTo(old) <= c2.distanceTo(old) ? c1 : c2;
                        if (c.distanceTo(old) < r / 20.0)
                            m_infos[w - 1] = Info(r, c, a.getNormal(), a.getAbsError());
                    }
                }
            }
        }
        m_vertices[w] = m_vertices[i];
        m_infos[w] = m_infos[i];
        ++w;
    }
    m_vertices.setLogicalLength(w);
    m_infos.setLogicalLength(w);
}

bool VelGeomAugPolyline::finiteData() const
{
    auto finite = [](const Point& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); };
    for (int i = 0; i < m_vertices.length(); ++i) {
        if (!finite(m_vertices[i]))
            return false;
        const Info& info = m_infos[i];
        if (info.isArc() && (!finite(info.getCenter()) || !finite(info.getCenter() + info.getNormal()) ||
                             !std::isfinite(info.getRadius())))
            return false;
    }
    return true;
}

void VelGeomAugPolyline::checkValidity()
{
    const int n = m_vertices.length();
    if (!finiteData()) {
        // Nothing can be decided about coordinates that are not numbers.
        m_validity = kTooFewVertices;
        return;
    }
    if (n < 2) {
        m_validity = (n == 1 && m_infos[0].isArc()) ? kValid : kTooFewVertices;
        return;
    }
    VelGeomCompositeCurve3d chain;
    getCompositeCurve3d(chain);
    if (chain.numCurves() == 0) {
        // Only arcs of radius 0: there is no contour to use.
        m_validity = kTooFewVertices;
        return;
    }
    const VelGeomTol tol(kMinEdgeLength / 1000.0, kMinEdgeLength / 1000.0);
    m_validity = chain.isSelfIntersecting(false, tol) ? kSelfIntersecting : kValid;
}

void VelGeomAugPolyline::computeNormal()
{
    if (m_validity != kValid)
        return;
    const int n = m_vertices.length();
    if (n == 1) {
        m_normal = m_infos[0].getNormal();
        return;
    }
    if (n == 2) {
        if (m_infos[0].isArc())
            m_normal = m_infos[0].getNormal();
        else
            m_normal = (m_vertices[1] - m_vertices[0]).perpVector();
        return;
    }
    VelArray<Point> pts(m_vertices);
    Vector normal = VelGeom::polygonNormal(pts);
    if (normal.lengthSqrd() == 0.0) {
        // All vertices on one line: an arc's middle point gives the plane.
        for (int i = 0; i + 1 < n; ++i) {
            const Info& info = m_infos[i];
            if (!info.isArc())
                continue;
            const double sweep = arcSweep(info, m_vertices[i], m_vertices[i + 1]);
            const Point mid = arcPointFrom(info, m_vertices[i], sweep / 2.0);
            const Info copy(info);
            m_vertices.insertAt(i + 1, mid);
            m_infos.insertAt(i + 1, copy);
            VelArray<Point> again(m_vertices);
            normal = VelGeom::polygonNormal(again);
            break;
        }
    }
    m_normal = normal;
}

void VelGeomAugPolyline::reinitialize()
{
    removeShortEdges();
    mergeCollinear();
    mergeCocircular();
    const int n = m_vertices.length();
    if (n >= 2 && m_vertices[0].distanceTo(m_vertices[n - 1]) < kMinEdgeLength / 100.0)
        m_vertices[n - 1] = m_vertices[0];
    if (n == 1 && m_infos[0].isArc()) {
        const Point p = m_vertices[0];
        m_vertices.append(p);
        m_infos.append(Info::kNone);
    }
    checkValidity();
    computeNormal();
}

// ---------------------------------------------------------------- curves

void VelGeomAugPolyline::getCurves(VelArray<VelGeomCurve3d*>& curves) const
{
    const int n = m_vertices.length();
    if (n == 1) {
        const Info& info = m_infos[0];
        if (info.isArc() && info.getRadius() != 0.0) {
            const double d = m_vertices[0].distanceTo(info.getCenter()) - info.getRadius();
            if (d * d <= 0.001)
                curves.append(new VelGeomCircArc3d(info.getCenter(), info.getNormal(), info.getRadius(),
                                                   m_vertices[0] - info.getCenter()));
        }
        return;
    }
    for (int i = 0; i + 1 < n; ++i) {
        const Info& info = m_infos[i];
        const Point& p1 = m_vertices[i];
        const Point& p2 = m_vertices[i + 1];
        if (!info.isArc()) {
            curves.append(new VelGeomLineSeg3d(p1, p2));
        } else if (info.getRadius() != 0.0) {
            if (p1 == p2)
                curves.append(new VelGeomCircArc3d(info.getCenter(), info.getNormal(), info.getRadius(),
                                                   p1 - info.getCenter()));
            else
                curves.append(new VelGeomCircArc3d(info.getCenter(), info.getNormal(), info.getRadius(), p1, p2));
        }
    }
}

void VelGeomAugPolyline::deleteCurves(VelArray<VelGeomCurve3d*>& curves)
{
    for (int i = curves.length() - 1; i >= 0; --i)
        VelGeomCurve3d::deleteCurve(curves[i]);
    curves.setLogicalLength(0);
}

void VelGeomAugPolyline::getCompositeCurve3d(VelGeomCompositeCurve3d& curve, bool finite) const
{
    VelArray<VelGeomCurve3d*> curves(m_vertices.length() + 1, 20);
    getCurves(curves);
    VelArray<int> flags(curves.length() + 1, 20);
    for (int i = 0; i < curves.length(); ++i)
        flags.append(1);
    if (!curve.setCurveList(curves, flags))
        deleteCurves(curves);
    curve.setFinite(finite ? VelGeomCompositeCurve3d::kFinite : VelGeomCompositeCurve3d::kInfiniteBoth);
}

VelArray<VelGeomPoint3d> VelGeomAugPolyline::getApproxVertices() const
{
    VelArray<Point> points(m_vertices.length() + 1, 20);
    const int n = m_vertices.length();
    if (n == 0)
        return points;
    if (n == 1) {
        if (m_infos[0].isArc())
            points.append(m_infos[0].getApproxVertices(m_vertices[0], m_vertices[0]));
        points.append(m_vertices[0]);
        return points;
    }
    for (int i = 0; i + 1 < n; ++i) {
        if (m_infos[i].isArc())
            points.append(m_infos[i].getApproxVertices(m_vertices[i], m_vertices[i + 1]));
        else
            points.append(m_vertices[i]);
    }
    points.append(m_vertices[n - 1]);
    return points;
}

int VelGeomAugPolyline::getExtents(VelGeomPoint3d& min, VelGeomPoint3d& max) const
{
    VelGeomExtents e;
    const int n = m_vertices.length();
    for (int i = 0; i < n; ++i)
        e.extend(m_vertices[i]);
    if (n == 1 && m_infos[0].isArc())
        e.extend(m_infos[0], m_vertices[0], m_vertices[0]);
    for (int i = 0; i + 1 < n; ++i)
        if (m_infos[i].isArc())
            e.extend(m_infos[i], m_vertices[i], m_vertices[i + 1]);
    e.getMinMaxPoints(min, max);
    return e.isValid() ? 1 : 0;
}

double VelGeomAugPolyline::getPerimeter() const
{
    VelArray<VelGeomCurve3d*> curves;
    getCurves(curves);
    double total = 0.0;
    for (int i = 0; i < curves.length(); ++i)
        total += curves[i]->getLength();
    deleteCurves(curves);
    return total;
}

double VelGeomAugPolyline::distanceTo(const VelGeomPoint3d& point) const
{
    int edge = -1;
    const Point q = getClosestPointTo(point, edge);
    if (edge < 0)
        return VelGeomBase::INFINITY;
    return q.distanceTo(point);
}

VelGeomPoint3d VelGeomAugPolyline::getClosestPointTo(const VelGeomPoint3d& point, int& edge) const
{
    edge = -1;
    const int n = m_vertices.length();
    if (n == 0)
        return Point(0.0, 0.0, 0.0);
    // Edge by edge, so that the index is that of the edge even where an arc
    // of radius 0 has no curve.
    Point best = m_vertices[0];
    double bestDist = -1.0;
    const int edges = n == 1 ? 1 : n - 1;
    for (int i = 0; i < edges; ++i) {
        VelGeomCurve3d* c = nullptr;
        const Info& info = m_infos[i];
        const Point& p1 = m_vertices[i];
        const Point& p2 = n == 1 ? m_vertices[0] : m_vertices[i + 1];
        if (!info.isArc()) {
            if (n == 1)
                break;
            c = new VelGeomLineSeg3d(p1, p2);
        } else if (info.getRadius() != 0.0) {
            if (n == 1) {
                const double d = p1.distanceTo(info.getCenter()) - info.getRadius();
                if (d * d > 0.001)
                    break;
            }
            if (p1 == p2)
                c = new VelGeomCircArc3d(info.getCenter(), info.getNormal(), info.getRadius(), p1 - info.getCenter());
            else
                c = new VelGeomCircArc3d(info.getCenter(), info.getNormal(), info.getRadius(), p1, p2);
        }
        if (!c)
            continue;
        const Point q = c->getClosestPointTo(point);
        delete c;
        const double d = q.distanceTo(point);
        if (bestDist < 0.0 || d < bestDist) {
            bestDist = d;
            best = q;
            edge = i;
        }
    }
    if (edge < 0 && n == 1) {
        edge = 0;
        return m_vertices[0];
    }
    return best;
}

// ---------------------------------------------------------------- frames

int VelGeomAugPolyline::get3dNormals(VelArray<VelGeomVector3d>& normals) const
{
    if (m_startNormal.length() < 0.5)
        return 0;
    const int n = m_vertices.length();
    if (n < 2)
        return 0;
    Vector carried = m_startNormal;
    normals.append(carried);
    for (int k = 1; k + 1 < n; ++k) {
        const Point& v = m_vertices[k];
        const Info& in = m_infos[k - 1];
        const Info& out = m_infos[k];
        Vector incoming, outgoing;
        if (in.isArc()) {
            const Vector axis = unitOf(in.getNormal());
            incoming = axis.crossProduct(v - in.getCenter());
            carried = rotated(carried, arcSweep(in, m_vertices[k - 1], v), axis);
        } else {
            incoming = v - m_vertices[k - 1];
        }
        if (out.isArc())
            outgoing = unitOf(out.getNormal()).crossProduct(v - out.getCenter());
        else
            outgoing = m_vertices[k + 1] - v;
        const Vector a = -unitOf(incoming);
        const Vector b = unitOf(outgoing);
        if (!a.isZeroLength() && !b.isZeroLength() && !a.isParallelTo(b)) {
            // Mirror in the plane that bisects the corner.
            const Vector d = unitOf(a + b);
            const Vector m = unitOf(d.crossProduct(a.crossProduct(b)));
            carried -= m * (2.0 * carried.dotProduct(m));
        }
        normals.append(carried);
    }
    return 1;
}

int VelGeomAugPolyline::get3dNormalAtPoint(const VelGeomPoint3d& point, VelGeomVector3d& normal) const
{
    if (m_startNormal.length() < 1e-5)
        return 0;
    VelArray<Vector> normals;
    if (!get3dNormals(normals))
        return 0;
    int edge = -1;
    const Point q = getClosestPointTo(point, edge);
    if (edge < 0 || edge >= normals.length())
        return 0;
    Vector result = normals[edge];
    const Info& info = m_infos[edge];
    if (info.isArc()) {
        const Vector axis = unitOf(info.getNormal());
        result = rotated(result, directedAngle(m_vertices[edge] - info.getCenter(), q - info.getCenter(), axis), axis);
    }
    normal = result;
    return 1;
}

// ---------------------------------------------------------------- offsets

int VelGeomAugPolyline::expand(double distance)
{
    if (std::fabs(distance) < 1e-10)
        return 1;
    if (!std::isfinite(distance))
        return 0;
    // Without a plane there is no side to offset to.
    if (m_normal.isZeroLength() || m_vertices.length() < 2)
        return 0;
    VelGeomCompositeCurve3d chain;
    getCompositeCurve3d(chain);
    VelArray<VelGeomCurve3d*> pieces;
    {
        // Line intersections of the joins raise the precision floor; the
        // override lets the later comparisons of the offset follow it.
        VelEnablePrecOverride guard;
        chain.getOffset(-distance, m_normal, pieces, kOffsetExtExtend, VelGeomTol::gTol);
    }
    VelArray<const VelGeomCurve3d*> simple;
    for (int i = 0; i < pieces.length(); ++i)
        simpleCurves(pieces[i], simple);
    VelArray<Point> vertices(simple.length() + 2, 20);
    VelArray<Info> infos(simple.length() + 2, 20);
    appendChain(simple, vertices, infos);
    deleteCurves(pieces);
    if (vertices.length() < 2)
        return 0;
    m_vertices = vertices;
    m_infos = infos;
    reinitialize();
    return 1;
}

int VelGeomAugPolyline::get3dOffset(const VelGeomVector3d& offset, VelGeomAugPolyline& result,
                                    const VelGeomTol& tol) const
{
    VelGeomCompositeCurve3d chain;
    getCompositeCurve3d(chain);
    VelGeomCurve3d* moved = nullptr;
    int r = 0;
    {
        VelEnablePrecOverride guard;
        r = chain.get3dOffset(offset, moved, tol);
    }
    if (moved) {
        moved->getAugPolyline(result);
        VelGeomCurve3d::deleteCurve(moved);
    }
    return r;
}

// ---------------------------------------------------------------- elongation

int VelGeomAugPolyline::elongate(double length, bool atStart, bool shorten, bool addVertex, double margin)
{
    if (!(length >= 0.01))
        return 1;
    const int n = m_vertices.length();
    if (n < 2)
        return 0;
    const int e = atStart ? 0 : n - 2;
    const Point& endV = atStart ? m_vertices[0] : m_vertices[n - 1];    // the end that moves
    const Point& otherV = atStart ? m_vertices[1] : m_vertices[n - 2];  // the edge's other vertex
    const Info& info = m_infos[e];
    Point newPoint;
    VelGeomCurve3d* extension = nullptr;
    if (!info.isArc()) {
        const Vector dir = unitOf(endV - otherV);
        if (dir.isZeroLength())
            return 0;
        newPoint = endV + dir * length;
        extension = new VelGeomLineSeg3d(otherV, newPoint);
    } else {
        const double r = info.getRadius();
        if (!(r > 0.0))
            return 0;
        // Travel towards the end being extended.
        const Vector axis = atStart ? -unitOf(info.getNormal()) : unitOf(info.getNormal());
        const double sweep = arcSweep(info, m_vertices[e], m_vertices[e + 1]);
        const double freeLength = kTwoPi * r - sweep * r;
        if (length > freeLength) {
            if (!shorten)
                return 0;
            length = freeLength - margin;
            if (!(length > 0.0))
                return 0;
        }
        const Vector ve = endV - info.getCenter();
        newPoint = info.getCenter() + rotated(ve, length / r, axis);
        extension = new VelGeomCircArc3d(info.getCenter(), axis, r, otherV, newPoint);
    }
    if (n > 2) {
        VelArray<VelGeomCurve3d*> rest;
        for (int i = 0; i + 1 < n; ++i) {
            if (i == e)
                continue;
            const Info& ri = m_infos[i];
            if (!ri.isArc())
                rest.append(new VelGeomLineSeg3d(m_vertices[i], m_vertices[i + 1]));
            else if (ri.getRadius() != 0.0)
                rest.append(m_vertices[i] == m_vertices[i + 1]
                                ? new VelGeomCircArc3d(ri.getCenter(), ri.getNormal(), ri.getRadius(),
                                                       m_vertices[i] - ri.getCenter())
                                : new VelGeomCircArc3d(ri.getCenter(), ri.getNormal(), ri.getRadius(),
                                                       m_vertices[i], m_vertices[i + 1]));
        }
        VelArray<int> flags;
        for (int i = 0; i < rest.length(); ++i)
            flags.append(1);
        VelGeomCompositeCurve3d others(rest, flags);
        VelArray<Point> hits;
        others.intersectWith(*extension, hits);
        if (hits.length() >= 2) {
            if (!shorten) {
                delete extension;
                return 0;
            }
            double start = 0.0;
            extension->hasStartParam(start);
            double best = -1.0;
            for (int i = 0; i < hits.length(); ++i) {
                const double t = extension->paramOf(hits[i]);
                if (t - start > 0.01 && (best < 0.0 || t < best))
                    best = t;
            }
            if (best >= 0.0)
                newPoint = extension->evalPoint(start + 0.9 * (best - start));
        }
    }
    delete extension;
    if (addVertex) {
        if (atStart) {
            const Info first(m_infos[0]);
            m_vertices.insertAt(0, newPoint);
            m_infos.insertAt(0, first);
        } else {
            const Info last(m_infos[n - 2]);
            m_infos[n - 1] = last;
            m_vertices.append(newPoint);
            m_infos.append(Info::kNone);
        }
    } else if (atStart) {
        m_vertices[0] = newPoint;
    } else {
        m_vertices[n - 1] = newPoint;
    }
    return 1;
}

// ---------------------------------------------------------------- transformations

void VelGeomAugPolyline::transformBy(const VelGeomMatrix3d& m)
{
    const int n = m_vertices.length();
    VelArray<Point> vertices(n + 2, 20);
    VelArray<Info> infos(n + 2, 20);
    bool chords = false;
    const int edges = n == 1 ? 1 : n - 1;
    for (int i = 0; i < n; ++i) {
        Point p = m_vertices[i];
        const Info& info = m_infos[i];
        if (i < edges && info.isArc()) {
            Info moved(info);
            if (moved.transformBy(m)) {
                vertices.append(p.transformBy(m));
                infos.append(moved);
                continue;
            }
            // The matrix would make an ellipse of the arc: chords instead.
            const Point& next = n == 1 ? m_vertices[0] : m_vertices[i + 1];
            const VelArray<Point> pts = info.getApproxVertices(m_vertices[i], next);
            for (int k = 0; k < pts.length(); ++k) {
                Point q = pts[k];
                vertices.append(q.transformBy(m));
                infos.append(Info::kNone);
            }
            if (pts.isEmpty()) {
                vertices.append(p.transformBy(m));
                infos.append(Info::kNone);
            }
            if (n == 1) {
                Point q = m_vertices[0];
                vertices.append(q.transformBy(m));
                infos.append(Info::kNone);
            }
            chords = true;
            continue;
        }
        vertices.append(p.transformBy(m));
        infos.append(i < edges ? info : Info::kNone);
    }
    if (n > 1)
        infos[infos.length() - 1] = Info::kNone;
    m_vertices = vertices;
    m_infos = infos;
    m_normal.transformBy(m);
    m_startNormal.transformBy(m);
    if (chords)
        reinitialize();
}

void VelGeomAugPolyline::project(const VelGeomPlane& plane, const VelGeomVector3d& direction)
{
    const int n = m_vertices.length();
    VelArray<Point> vertices(n + 2, 20);
    VelArray<Info> infos(n + 2, 20);
    const int edges = n == 1 ? 1 : n - 1;
    for (int i = 0; i < n; ++i) {
        const Info& info = m_infos[i];
        if (i < edges && info.isArc()) {
            Info moved(info);
            if (moved.project(plane, direction)) {
                vertices.append(m_vertices[i].project(plane, direction));
                infos.append(moved);
                continue;
            }
            const Point& next = n == 1 ? m_vertices[0] : m_vertices[i + 1];
            const VelArray<Point> pts = info.getApproxVertices(m_vertices[i], next);
            for (int k = 0; k < pts.length(); ++k) {
                vertices.append(pts[k].project(plane, direction));
                infos.append(Info::kNone);
            }
            if (pts.isEmpty()) {
                vertices.append(m_vertices[i].project(plane, direction));
                infos.append(Info::kNone);
            }
            if (n == 1) {
                vertices.append(m_vertices[0].project(plane, direction));
                infos.append(Info::kNone);
            }
            continue;
        }
        vertices.append(m_vertices[i].project(plane, direction));
        infos.append(i < edges ? info : Info::kNone);
    }
    m_vertices = vertices;
    m_infos = infos;
    reinitialize();
}

// ---------------------------------------------------------------- pieces

namespace {

// Arc-length stations of the vertices: cum[i] is the length up to vertex i.
std::vector<double> stations(const VelArray<Point>& v, const VelArray<Info>& infos)
{
    const int n = v.length();
    std::vector<double> cum(n > 0 ? n : 1, 0.0);
    for (int i = 0; i + 1 < n; ++i)
        cum[i + 1] = cum[i] + edgeLength(infos[i], v[i], v[i + 1]);
    return cum;
}

Point pointOnEdge(const VelArray<Point>& v, const VelArray<Info>& infos, int e, double along)
{
    const Info& info = infos[e];
    if (info.isArc() && info.getRadius() > 0.0)
        return arcPointFrom(info, v[e], along / info.getRadius());
    const Vector d = unitOf(v[e + 1] - v[e]);
    return v[e] + d * along;
}

// The edge a piece starting at station t leaves from (the last edge whose
// start is not beyond t), and the point there.
int locateStart(const std::vector<double>& cum, double t)
{
    const int n = static_cast<int>(cum.size());
    int e = static_cast<int>(std::upper_bound(cum.begin(), cum.end(), t) - cum.begin()) - 1;
    return std::max(0, std::min(e, n - 2));
}

// The edge a piece ending at station t ends on (the first edge whose end is
// not before t).
int locateEnd(const std::vector<double>& cum, double t)
{
    const int n = static_cast<int>(cum.size());
    int e = static_cast<int>(std::lower_bound(cum.begin() + 1, cum.end(), t) - (cum.begin() + 1));
    return std::max(0, std::min(e, n - 2));
}

// Length along edge e from its start to q (q on the edge).
double alongEdge(const VelArray<Point>& v, const VelArray<Info>& infos, int e, const Point& q)
{
    const Info& info = infos[e];
    if (info.isArc() && info.getRadius() > 0.0) {
        if (samePoint(q, v[e]))
            return 0.0;
        return info.getRadius() * directedAngle(v[e] - info.getCenter(), q - info.getCenter(), info.getNormal());
    }
    return v[e].distanceTo(q);
}

}  // namespace

int VelGeomAugPolyline::split(const VelGeomPoint3d& point, double gap, VelArray<VelGeomAugPolyline>& pieces) const
{
    const int n = m_vertices.length();
    if (n < 2 || !(gap >= 0.0) || !std::isfinite(gap))
        return 0;
    int edge = -1;
    const Point q = getClosestPointTo(point, edge);
    if (edge < 0 || q.distanceTo(m_vertices[0]) < 1e-5 || q.distanceTo(m_vertices[n - 1]) < 1e-5)
        return 0;
    const std::vector<double> cum = stations(m_vertices, m_infos);
    const double s = cum[edge] + alongEdge(m_vertices, m_infos, edge, q);
    const double total = cum[n - 1];
    const double s1 = s - gap / 2.0, s2 = s + gap / 2.0;
    int added = 0;
    if (s1 > 0.0) {
        const int e1 = locateEnd(cum, s1);
        VelGeomAugPolyline piece;
        for (int i = 0; i <= e1; ++i)
            piece.append(m_vertices[i], m_infos[i], 0);
        piece.append(pointOnEdge(m_vertices, m_infos, e1, s1 - cum[e1]), Info::kNone, 0);
        piece.reinitialize();
        pieces.append(piece);
        ++added;
    }
    if (s2 < total) {
        const int e2 = locateStart(cum, s2);
        VelGeomAugPolyline piece;
        piece.append(pointOnEdge(m_vertices, m_infos, e2, s2 - cum[e2]), m_infos[e2], 0);
        for (int i = e2 + 1; i < n; ++i)
            piece.append(m_vertices[i], m_infos[i], 0);
        piece.reinitialize();
        pieces.append(piece);
        ++added;
    }
    return added;
}

int VelGeomAugPolyline::setEndAtPoint(const VelGeomPoint3d& point, bool atStart)
{
    const int n = m_vertices.length();
    if (n < 2)
        return 0;
    int edge = -1;
    const Point c = getClosestPointTo(point, edge);
    if (edge < 0)
        return 0;
    const int endIndex = atStart ? 0 : n - 1;
    const Point endV = m_vertices[endIndex];
    {
        VelGeomCompositeCurve3d chain;
        getCompositeCurve3d(chain);
        VelGeomCurve3d* ext = chain.getExtension(!atStart);
        if (ext) {
            const Point qe = ext->getClosestPointTo(point);
            delete ext;
            if (qe.distanceTo(point) < c.distanceTo(point) && !samePoint(qe, endV)) {
                m_vertices[endIndex] = qe;
                reinitialize();
                return 1;
            }
        }
    }
    const Point otherV = m_vertices[atStart ? n - 1 : 0];
    if (c.distanceTo(endV) < 1e-5 || c.distanceTo(otherV) < 1e-5)
        return 0;
    VelArray<Point> vertices(n + 1, 20);
    VelArray<Info> infos(n + 1, 20);
    if (atStart) {
        int from = edge + 1;
        if (!samePoint(c, m_vertices[edge + 1])) {
            vertices.append(c);
            infos.append(m_infos[edge]);
        }
        for (int i = from; i < n; ++i) {
            vertices.append(m_vertices[i]);
            infos.append(m_infos[i]);
        }
    } else {
        for (int i = 0; i <= edge; ++i) {
            vertices.append(m_vertices[i]);
            infos.append(m_infos[i]);
        }
        if (samePoint(c, m_vertices[edge])) {
            infos[infos.length() - 1] = Info::kNone;
        } else {
            vertices.append(c);
            infos.append(Info::kNone);
        }
    }
    m_vertices = vertices;
    m_infos = infos;
    reinitialize();
    return 1;
}

int VelGeomAugPolyline::FilletPolyLine(const VelArray<double>& radii, int count, double absError)
{
    const int n = m_vertices.length();
    if (count != n || radii.length() < count || n < 2)
        return 0;
    // Corners only: the radii belong to the vertices of a straight contour.
    for (int i = 0; i + 1 < n; ++i)
        if (m_infos[i].isArc())
            return 0;
    VelArray<double> r(count, 20);
    for (int i = 0; i < count; ++i)
        r.append(radii[i]);
    const VelGeomAugPolyline rounded(m_normal, m_vertices, r, absError, 1, 1, 1);
    if (rounded.isValid() != kValid)
        return 0;
    m_vertices = rounded.m_vertices;
    m_infos = rounded.m_infos;
    m_normal = rounded.m_normal;
    m_validity = rounded.m_validity;
    return 1;
}

int VelGeomAugPolyline::getFilleted(VelArray<VelGeomPoint3d>& points, VelArray<double>& radii, double deviation,
                                    int flag) const
{
    points.setLogicalLength(0);
    radii.setLogicalLength(0);
    const int n = m_vertices.length();
    const VelGeomTol tangent(1e-6, 1e-6);
    int i = 0;
    while (i < n) {
        const Info& info = m_infos[i];
        if (i + 1 >= n || !info.isArc()) {
            points.append(m_vertices[i]);
            radii.append(0.0);
            ++i;
            continue;
        }
        const Point& a = m_vertices[i];
        const Point& b = m_vertices[i + 1];
        const Vector axis = unitOf(info.getNormal());
        const double sweep = arcSweep(info, a, b);
        bool fillet = i >= 1 && i + 2 < n && !m_infos[i - 1].isArc() && !m_infos[i + 1].isArc() &&
                      sweep < VelGeomBase::PI - 1e-9 && info.getRadius() > 0.0;
        Vector din, dout;
        if (fillet) {
            din = unitOf(a - m_vertices[i - 1]);
            dout = unitOf(m_vertices[i + 2] - b);
            const Vector t1 = unitOf(axis.crossProduct(a - info.getCenter()));
            const Vector t2 = unitOf(axis.crossProduct(b - info.getCenter()));
            fillet = din.isCodirectionalTo(t1, tangent) && dout.isCodirectionalTo(t2, tangent);
        }
        if (fillet) {
            // Both tangents are r tan(sweep / 2) long.
            const double t = info.getRadius() * std::tan(sweep / 2.0);
            points.append(a + din * t);
            double r = info.getRadius();
            if (flag && !(m_normal.isZeroLength()) && axis.dotProduct(m_normal) < 0.0)
                r = -r;
            radii.append(r);
            i += 2;
            continue;
        }
        Info chordInfo(info);
        if (deviation > 0.0)
            chordInfo.setAbsError(deviation);
        const VelArray<Point> pts = chordInfo.getApproxVertices(a, b);
        for (int k = 0; k < pts.length(); ++k) {
            points.append(pts[k]);
            radii.append(0.0);
        }
        ++i;
    }
    return points.length();
}

int VelGeomAugPolyline::getSamplePolys(double step, VelArray<VelGeomAugPolyline>& polylines,
                                       VelArray<int>& indices) const
{
    const int n = m_vertices.length();
    if (n < 2 || !(step > 0.0) || !std::isfinite(step))
        return 0;
    const std::vector<double> cum = stations(m_vertices, m_infos);
    const double total = cum[n - 1];
    if (!(total > 0.0))
        return 0;
    const double count = std::ceil(total / step);
    if (count > 1e6)
        return 0;
    const int pieces = std::max(1, static_cast<int>(count));
    int added = 0;
    for (int k = 0; k < pieces; ++k) {
        const double sa = k * step;
        const double sb = k + 1 == pieces ? total : std::min(total, (k + 1) * step);
        if (!(sb > sa))
            continue;
        const int ea = locateStart(cum, sa);
        const int eb = locateEnd(cum, sb);
        VelGeomAugPolyline piece;
        piece.append(k == 0 ? m_vertices[0] : pointOnEdge(m_vertices, m_infos, ea, sa - cum[ea]), m_infos[ea], 0);
        for (int i = ea + 1; i <= eb; ++i)
            piece.append(m_vertices[i], m_infos[i], 0);
        piece.append(k + 1 == pieces ? m_vertices[n - 1] : pointOnEdge(m_vertices, m_infos, eb, sb - cum[eb]),
                     Info::kNone, 0);
        piece.reinitialize();
        polylines.append(piece);
        indices.append(ea);
        ++added;
    }
    return added;
}
