#include "geom/contours/VelGeomAugPolygon.h"

#include "geom/contours/VelGeomAugPolyline.h"

#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeCurve3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <algorithm>
#include <cmath>
#include <vector>

double VelGeomAugPolygon::kMinEdgeLength = 0.01;
double VelGeomAugPolygon::kAbsoluteMinEdgeLength = 1e-5;
double VelGeomAugPolygon::kEpsForEdgeParallel = 1e-7;

namespace {

const double kTwoPi = 2.0 * VelGeomBase::PI;

bool finite(const VelGeomPoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
bool finite(const VelGeomVector3d& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

VelGeomVector3d unit(const VelGeomVector3d& v)
{
    VelGeomVector3d u = v;
    u.normalize();
    return u;
}

// The directed angle about the info's normal from (a - centre) to
// (b - centre), in [0, 2*pi); 0 for coincident end points. atan2 of the
// projected cross and dot products keeps small angles exact.
double sweep(const VelGeomVertexInfo& info, const VelGeomPoint3d& a, const VelGeomPoint3d& b)
{
    if ((a - b).lengthSqrd() < 1e-16)
        return 0.0;
    const VelGeomVector3d n = unit(info.getNormal());
    const VelGeomVector3d u = a - info.getCenter();
    const VelGeomVector3d w = b - info.getCenter();
    const double s = n.dotProduct(u.crossProduct(w));
    const double c = u.dotProduct(w) - n.dotProduct(u) * n.dotProduct(w);
    if (s == 0.0 && c == 0.0)
        return 0.0;
    double angle = std::atan2(s, c);
    if (angle < 0.0)
        angle += kTwoPi;
    return angle >= kTwoPi ? 0.0 : angle;
}

double edgeLength(const VelGeomVertexInfo& info, const VelGeomPoint3d& a, const VelGeomPoint3d& b)
{
    if (!info.isArc())
        return a.distanceTo(b);
    return info.getRadius() * sweep(info, a, b);
}

bool sameCircle(const VelGeomVertexInfo& a, const VelGeomVertexInfo& b, double tol)
{
    return a.isArc() && b.isArc() && a.getCenter().distanceTo(b.getCenter()) < tol &&
           std::fabs(a.getRadius() - b.getRadius()) < tol;
}

VelGeomPoint3d arcMidPoint(const VelGeomVertexInfo& info, const VelGeomPoint3d& a, const VelGeomPoint3d& b)
{
    VelGeomPoint3d m = a;
    double angle = sweep(info, a, b);
    if (angle == 0.0)
        angle = kTwoPi;
    return m.rotateBy(angle / 2.0, unit(info.getNormal()), info.getCenter());
}

// Recentres a merged arc from a to b so that both ends lie on it.
void recentre(VelGeomVertexInfo& info, const VelGeomPoint3d& a, const VelGeomPoint3d& b)
{
    const VelGeomVector3d h = (b - a) * 0.5;
    const double hl = h.length();
    const double r = info.getRadius();
    const VelGeomPoint3d mid = a + h;
    const VelGeomVector3d n = unit(info.getNormal());
    if (r <= hl + 1e-12) {
        info = VelGeomVertexInfo(hl, mid, info.getNormal(), info.getAbsError());
        return;
    }
    VelGeomVector3d d = n.crossProduct(h);
    const double dl = d.length();
    if (!(dl > 0.0))
        return;
    d = d / dl;
    const double k = std::sqrt(r * r - hl * hl);
    const VelGeomPoint3d c1 = mid + d * k, c2 = mid - d * k;
    const VelGeomPoint3d& old = info.getCenter();
    const VelGeomPoint3d c = c1.distanceTo(old) <= c2.distanceTo(old) ? c1 : c2;
    if (c != old)
        info = VelGeomVertexInfo(r, c, info.getNormal(), info.getAbsError());
}

// The contour as a doubly linked ring, so that the cleaning steps remove
// vertices in constant time.
struct Ring {
    std::vector<VelGeomPoint3d> p;
    std::vector<VelGeomVertexInfo> info;
    std::vector<int> nx, pv;
    int head = 0;
    int count = 0;

    Ring(const VelArray<VelGeomPoint3d>& v, const VelArray<VelGeomVertexInfo>& in)
    {
        count = v.length();
        p.assign(v.asArrayPtr(), v.asArrayPtr() + count);
        info.assign(in.asArrayPtr(), in.asArrayPtr() + count);
        nx.resize(count);
        pv.resize(count);
        for (int i = 0; i < count; ++i) {
            nx[i] = (i + 1) % count;
            pv[i] = (i + count - 1) % count;
        }
    }
    void remove(int k)
    {
        nx[pv[k]] = nx[k];
        pv[nx[k]] = pv[k];
        if (head == k)
            head = nx[k];
        --count;
    }
    double length(int k) const { return edgeLength(info[k], p[k], p[nx[k]]); }
    VelGeomVector3d direction(int k) const { return p[nx[k]] - p[k]; }
    void store(VelArray<VelGeomPoint3d>& v, VelArray<VelGeomVertexInfo>& in) const
    {
        v.setLogicalLength(0);
        in.setLogicalLength(0);
        int k = head;
        for (int i = 0; i < count; ++i, k = nx[k]) {
            v.append(p[k]);
            in.append(info[k]);
        }
    }
};

// Step 1: edges shorter than the minimum edge length, walked once by
// position; a removal keeps the walk at its position.
void removeShortEdges(Ring& r)
{
    const double minLen = VelGeomAugPolygon::kMinEdgeLength;
    const double absMin = VelGeomAugPolygon::kAbsoluteMinEdgeLength;
    int cur = r.head;
    int pos = 0;
    while (r.count > 2 && pos < r.count) {
        const double len = r.length(cur);
        const int prev = r.pv[cur], next = r.nx[cur];
        if (!(len < minLen)) {
            cur = next;
            ++pos;
            continue;
        }
        const bool thisArc = r.info[cur].isArc(), prevArc = r.info[prev].isArc(), nextArc = r.info[next].isArc();
        // "Drop the edge, the previous one runs on" removes vertex i with its
        // info; "drop the edge, the next one starts here" moves vertex i + 1
        // onto vertex i and removes info i. The ring keeps its head's info at
        // the start, so a removal across the closing edge keeps the start.
        bool runOn = false, startHere = false;
        if (len < absMin) {
            if (!thisArc || nextArc)
                runOn = true;
            else
                startHere = true;
        } else if (!prevArc) {
            runOn = true;
        } else if (!nextArc) {
            startHere = true;
        } else if (thisArc) {
            if (sameCircle(r.info[prev], r.info[next], minLen) || sameCircle(r.info[cur], r.info[next], minLen))
                startHere = true;
            else if (sameCircle(r.info[cur], r.info[prev], minLen))
                runOn = true;  // the tiny arc continues the previous one, which takes it over exactly
        } else if (sameCircle(r.info[prev], r.info[next], minLen)) {
            startHere = true;
        }
        if (startHere)
            r.p[next] = r.p[cur];
        if (runOn || startHere) {
            r.remove(cur);
            cur = next;
            continue;
        }
        cur = next;
        ++pos;
    }
}

bool parallelDirections(const VelGeomVector3d& a, const VelGeomVector3d& b)
{
    if (!(a.lengthSqrd() > 0.0) || !(b.lengthSqrd() > 0.0))
        return false;
    const double eps = VelGeomAugPolygon::kEpsForEdgeParallel;
    return a.isParallelTo(b, VelGeomTol(eps, eps));
}

// Step 2: a straight edge parallel to the straight edge just before it is
// merged into it; when the merged edge has collapsed (a spike that ran out
// and back), it goes too.
void mergeCollinear(Ring& r)
{
    const double minLen = VelGeomAugPolygon::kMinEdgeLength;
    if (r.count <= 2)
        return;
    const int last = r.pv[r.head];
    if (!r.info[last].isArc() && r.length(last) < minLen)
        r.remove(last);
    int cur = r.head;
    int stable = 0;
    while (r.count > 2 && stable < r.count) {
        const int prev = r.pv[cur];
        if (!r.info[cur].isArc() && !r.info[prev].isArc() &&
            parallelDirections(r.direction(prev), r.direction(cur))) {
            const int next = r.nx[cur];
            r.remove(cur);
            if (r.count > 2 && r.length(prev) < minLen)
                r.remove(prev);
            cur = next;
            stable = 0;
            continue;
        }
        ++stable;
        cur = r.nx[cur];
    }
}

// Step 3: consecutive arcs of one circle turning the same way.
void mergeCoCircular(Ring& r)
{
    const double minLen = VelGeomAugPolygon::kMinEdgeLength;
    const VelGeomTol closedTol(0.001, 0.001);
    int cur = r.head;
    int stable = 0;
    while (r.count > 1 && stable < r.count) {
        const int next = r.nx[cur];
        const VelGeomVertexInfo& a = r.info[cur];
        const VelGeomVertexInfo& b = r.info[next];
        if (next != cur && sameCircle(a, b, minLen) && a.getNormal().dotProduct(b.getNormal()) > 0.0) {
            const int end = r.nx[next];
            // An arc may not close on itself: its ends would no longer say
            // which way round it runs.
            if (!r.p[cur].isEqualTo(r.p[end], closedTol)) {
                r.remove(next);
                recentre(r.info[cur], r.p[cur], r.p[end]);
                stable = 0;
                continue;
            }
        }
        ++stable;
        cur = r.nx[cur];
    }
}

void appendChords(const VelGeomVertexInfo& info, const VelGeomPoint3d& a, const VelGeomPoint3d& b,
                  double deviation, VelArray<VelGeomPoint3d>& points)
{
    VelGeomVertexInfo chordInfo = info;
    if (deviation > 0.0)
        chordInfo.setAbsError(deviation);
    points.append(chordInfo.getApproxVertices(a, b));
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction

VelGeomAugPolygon::VelGeomAugPolygon()
    : m_vertices(5, 20), m_vertexInfo(5, 20), m_normal(0.0, 0.0, 0.0), m_validity(kNotChecked)
{
}

VelGeomAugPolygon::VelGeomAugPolygon(const VelArray<VelGeomPoint3d>& vertices,
                                     const VelArray<VelGeomVertexInfo>& infos)
    : VelGeomAugPolygon()
{
    if (vertices.length() == infos.length()) {
        m_vertices.append(vertices);
        m_vertexInfo.append(infos);
    }
    reinitialize(1);
}

VelGeomAugPolygon::VelGeomAugPolygon(const VelGeomAugPolyline& polyline) : VelGeomAugPolygon()
{
    const VelArray<VelGeomPoint3d>& v = polyline.getVertices();
    const VelArray<VelGeomVertexInfo>& in = polyline.getVertexInfo();
    int n = v.length();
    if (n >= 2 && v[n - 1].isEqualTo(v[0], VelGeomTol::gTol))
        --n;
    for (int i = 0; i < n; ++i) {
        m_vertices.append(v[i]);
        m_vertexInfo.append(i < in.length() ? in[i] : VelGeomVertexInfo::kNone);
    }
    m_normal = polyline.getNormal();
    updateValidity();
}

VelGeomAugPolygon::VelGeomAugPolygon(const VelArray<VelGeomPoint3d>& vertices, const VelArray<double>& radii,
                                     const VelGeomVector3d& normal, bool roundNegative, bool roundPositive,
                                     double absError)
    : VelGeomAugPolygon()
{
    if (!buildFillets(vertices, radii, absError, roundNegative, roundPositive, false))
        return;
    makeCCW(normal);
    reinitialize(1);
}

VelGeomAugPolygon::VelGeomAugPolygon(const VelArray<VelGeomPoint3d>& vertices, const VelGeomVector3d& normal,
                                     const VelArray<double>& bulges, double absError)
    : VelGeomAugPolygon()
{
    m_normal = normal;
    const int given = vertices.length();
    int n = given;
    if (n >= 2 && vertices[n - 1].isEqualTo(vertices[0], VelGeomTol::gTol))
        --n;
    // A closed list may come with a bulge for its repeated start or without.
    const bool withBulges = n >= 2 && (bulges.length() == given || bulges.length() == n);
    for (int i = 0; i < n; ++i) {
        m_vertices.append(vertices[i]);
        if (withBulges && bulges[i] != 0.0)
            m_vertexInfo.append(VelGeomVertexInfo(vertices[i], vertices[(i + 1) % n], normal, bulges[i], absError));
        else
            m_vertexInfo.append(VelGeomVertexInfo::kNone);
    }
    reinitialize(1);
}

VelGeomAugPolygon::VelGeomAugPolygon(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices,
                                     const VelArray<double>& radii, double absError, bool roundNegative,
                                     bool roundPositive, bool clamp)
    : VelGeomAugPolygon()
{
    if (!buildFillets(vertices, radii, absError, roundNegative, roundPositive, clamp))
        return;
    makeCCW(normal);
    reinitialize(1);
}

VelGeomAugPolygon::VelGeomAugPolygon(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices,
                                     int /*unused*/, const VelArray<double>& radii, double absError, bool flag)
    : VelGeomAugPolygon(normal, vertices, radii, absError, flag, flag, true)
{
}

VelGeomAugPolygon::VelGeomAugPolygon(const VelGeomAugPolygon& other)
    : m_vertices(other.m_vertices), m_vertexInfo(other.m_vertexInfo), m_normal(other.m_normal),
      m_validity(other.m_validity)
{
}

VelGeomAugPolygon& VelGeomAugPolygon::operator=(const VelGeomAugPolygon& other)
{
    if (this != &other) {
        m_vertices = other.m_vertices;
        m_vertexInfo = other.m_vertexInfo;
        m_normal = other.m_normal;
        m_validity = other.m_validity;
    }
    return *this;
}

VelGeomAugPolygon::~VelGeomAugPolygon() = default;

bool VelGeomAugPolygon::buildFillets(const VelArray<VelGeomPoint3d>& input, const VelArray<double>& inputRadii,
                                     double absError, bool roundNegative, bool roundPositive, bool clamp)
{
    m_vertices.setLogicalLength(0);
    m_vertexInfo.setLogicalLength(0);
    m_validity = kNotChecked;
    int n = input.length();
    if (n == 0 || inputRadii.length() != n)
        return false;
    if (n >= 2 && input[n - 1].isEqualTo(input[0], VelGeomTol::gTol))
        --n;  // a closed input list: the repeated start is no corner

    struct Corner {
        bool round = false;
        double t = 0.0;
        VelGeomPoint3d p, q;
        VelGeomVertexInfo info;
    };
    std::vector<Corner> corners(n);
    for (int k = 0; k < n; ++k) {
        const double radius = inputRadii[k];
        if (!((radius < 0.0 && roundNegative) || (radius > 0.0 && roundPositive)))
            continue;
        const VelGeomPoint3d& v = input[k];
        const VelGeomVector3d u = input[(k + n - 1) % n] - v;
        const VelGeomVector3d w = input[(k + 1) % n] - v;
        const VelGeomVector3d cross = u.crossProduct(w);
        const double ul = u.length(), wl = w.length(), cl = cross.length();
        // Collinear neighbours (or a repeated vertex) leave no corner to round.
        if (!(ul > 0.0) || !(wl > 0.0) || !(cl > 1e-12 * ul * wl))
            continue;
        const VelGeomVector3d axis = cross / cl;
        const double alpha = std::atan2(cl, u.dotProduct(w)) / 2.0;
        const double tanA = std::tan(alpha);
        if (tanA == 0.0)
            continue;
        double r = std::fabs(radius);
        double t = std::fabs(r / tanA);
        if (clamp) {
            if (t > VelGeomAugPolyline::kFilletPercentEdge * ul) {
                t = VelGeomAugPolyline::kFilletPercentEdge * ul;
                r = t * tanA;
            }
            if (t > VelGeomAugPolyline::kFilletPercentEdge * wl) {
                t = VelGeomAugPolyline::kFilletPercentEdge * wl;
                r = t * tanA;
            }
        } else if (VelGeomTol::gTol.lessNotEqual(ul, t) || VelGeomTol::gTol.lessNotEqual(wl, t)) {
            return false;
        }
        VelGeomVector3d bis = u / ul;
        bis.rotateBy(alpha, axis);
        Corner& c = corners[k];
        c.round = true;
        c.t = t;
        c.p = v + u * (t / ul);
        c.q = v + w * (t / wl);
        c.info = VelGeomVertexInfo(r, v + bis * (r / std::sin(alpha)), -axis, absError);
    }
    if (!clamp)
        // Two fillets sharing an edge must not run past each other.
        for (int k = 0; k < n; ++k) {
            const int j = (k + 1) % n;
            if (j == k || !(corners[k].round || corners[j].round))
                continue;
            if (VelGeomTol::gTol.lessNotEqual(input[k].distanceTo(input[j]), corners[k].t + corners[j].t))
                return false;
        }

    auto appendPoint = [this](const VelGeomPoint3d& p, const VelGeomVertexInfo& info) {
        if (!m_vertices.isEmpty() && m_vertices.last().isEqualTo(p, VelGeomTol::gTol)) {
            m_vertices.removeLast();
            m_vertexInfo.removeLast();
        }
        m_vertices.append(p);
        m_vertexInfo.append(info);
    };
    for (int k = 0; k < n; ++k) {
        if (corners[k].round) {
            appendPoint(corners[k].p, corners[k].info);
            appendPoint(corners[k].q, VelGeomVertexInfo::kNone);
        } else {
            appendPoint(input[k], VelGeomVertexInfo::kNone);
        }
    }
    if (m_vertices.length() >= 2 && m_vertices.last().isEqualTo(m_vertices.first(), VelGeomTol::gTol)) {
        m_vertices.removeLast();
        m_vertexInfo.removeLast();
    }
    return true;
}

// ---------------------------------------------------------------------------
// Editing

int VelGeomAugPolygon::append(const VelGeomPoint3d& point, const VelGeomVertexInfo& info)
{
    return coreAppend(point, 1, info);
}

int VelGeomAugPolygon::coreAppend(const VelGeomPoint3d& point, int reinitialise, const VelGeomVertexInfo& info)
{
    m_vertices.append(point);
    m_vertexInfo.append(info);
    if (reinitialise)
        reinitialize(1);
    return 1;
}

void VelGeomAugPolygon::removeLast(int revalidate)
{
    if (m_vertices.isEmpty())
        return;
    m_vertices.removeLast();
    m_vertexInfo.removeLast();
    if (revalidate)
        updateValidity();
}

void VelGeomAugPolygon::reset()
{
    m_vertices.setLogicalLength(0);
    m_vertexInfo.setLogicalLength(0);
    m_validity = kNotChecked;
}

bool VelGeomAugPolygon::finiteData() const
{
    for (int i = 0; i < m_vertices.length(); ++i) {
        const VelGeomVertexInfo& info = m_vertexInfo[i];
        if (!finite(m_vertices[i]))
            return false;
        if (info.isArc() &&
            (!finite(info.getCenter()) || !finite(info.getNormal()) || !std::isfinite(info.getRadius())))
            return false;
    }
    return true;
}

void VelGeomAugPolygon::reinitialize(int cleanFlag)
{
    if (m_vertexInfo.length() != m_vertices.length() || !finiteData()) {
        m_validity = kTooFewVertices;
        return;
    }
    if (cleanFlag && !clean())
        return;
    updateValidity();
    m_normal = polygonNormal();
}

bool VelGeomAugPolygon::clean()
{
    if (m_vertices.length() > 2) {
        Ring ring(m_vertices, m_vertexInfo);
        removeShortEdges(ring);
        mergeCollinear(ring);
        mergeCoCircular(ring);
        ring.store(m_vertices, m_vertexInfo);
    } else if (m_vertices.length() == 2) {
        Ring ring(m_vertices, m_vertexInfo);
        mergeCoCircular(ring);
        ring.store(m_vertices, m_vertexInfo);
    }
    if (m_vertices.length() != 2)
        return true;

    // Two vertices enclose something only with an arc; the longer arc is
    // split so that every edge has its own end points.
    const VelGeomVertexInfo& a = m_vertexInfo[0];
    const VelGeomVertexInfo& b = m_vertexInfo[1];
    if (!a.isArc() && !b.isArc()) {
        m_validity = kTooFewVertices;
        return false;
    }
    int split;
    if (a.isArc() && b.isArc()) {
        if (sameCircle(a, b, kMinEdgeLength) && unit(a.getNormal()).isEqualTo(-unit(b.getNormal()), VelGeomTol::gTol)) {
            m_validity = kTooFewVertices;
            return false;
        }
        const double la = edgeLength(a, m_vertices[0], m_vertices[1]);
        const double lb = edgeLength(b, m_vertices[1], m_vertices[0]);
        split = la > lb ? 0 : 1;
    } else {
        split = a.isArc() ? 0 : 1;
    }
    const VelGeomVertexInfo info = m_vertexInfo[split];
    const VelGeomPoint3d mid = arcMidPoint(info, m_vertices[split], m_vertices[1 - split]);
    m_vertices.insertAt(split + 1, mid);
    m_vertexInfo.insertAt(split + 1, info);
    return true;
}

void VelGeomAugPolygon::updateValidity()
{
    const int n = m_vertices.length();
    if (m_vertexInfo.length() != n || !finiteData()) {
        m_validity = kTooFewVertices;
        return;
    }
    if (n == 1) {
        const VelGeomVertexInfo& info = m_vertexInfo[0];
        m_validity = info.isArc() && info.getRadius() > 0.0 ? kValid : kTooFewVertices;
        return;
    }
    if (n <= 2) {
        m_validity = kTooFewVertices;
        return;
    }
    VelArray<VelGeomCurve3d*> curves;
    getCurves(curves);
    VelArray<int> owned;
    for (int i = 0; i < curves.length(); ++i)
        owned.append(1);
    VelGeomCompositeCurve3d composite;
    if (!composite.setCurveList(curves, owned)) {
        deleteCurves(curves);
        m_validity = kSelfIntersecting;
        return;
    }
    const VelGeomTol tol(kMinEdgeLength / 1000.0, kMinEdgeLength / 1000.0);
    m_validity = composite.isSelfIntersecting(true, tol) ? kSelfIntersecting : kValid;
}

int VelGeomAugPolygon::rotate(bool forward, int k)
{
    const int n = m_vertices.length();
    if (k < 0 || k > n)
        return 0;
    if (n == 0 || k == 0 || k == n)
        return 1;
    VelArray<VelGeomPoint3d> v(n, 20);
    VelArray<VelGeomVertexInfo> in(n, 20);
    v.setLogicalLength(n);
    in.setLogicalLength(n);
    if (v.length() != n || in.length() != n)
        return 0;
    for (int i = 0; i < n; ++i) {
        const int j = forward ? (i + k) % n : (i - k + n) % n;
        v[j] = m_vertices[i];
        in[j] = m_vertexInfo[i];
    }
    m_vertices = v;
    m_vertexInfo = in;
    return 1;
}

void VelGeomAugPolygon::setDeviation(double error)
{
    for (int i = 0; i < m_vertexInfo.length(); ++i)
        if (m_vertexInfo[i].isArc())
            m_vertexInfo[i].setAbsError(error);
}

void VelGeomAugPolygon::removeEqual(double length)
{
    int n = m_vertices.length();
    if (n < 2 || m_vertexInfo.length() != n || std::isnan(length))
        return;
    std::vector<char> shortEdge(n);
    int shortCount = 0;
    for (int i = 0; i < n; ++i) {
        shortEdge[i] = edgeLength(m_vertexInfo[i], m_vertices[i], m_vertices[(i + 1) % n]) <= length;
        shortCount += shortEdge[i];
    }
    if (shortCount == 0)
        return;
    if (shortCount == n) {
        const VelGeomPoint3d p = m_vertices[n / 2];
        reset();
        m_vertices.append(p);
        m_vertexInfo.append(VelGeomVertexInfo::kNone);
        return;
    }
    if (shortEdge[n - 1]) {
        // A run through the closing edge ends at vertex 0 or beyond: start
        // after the last edge that stays, so that no run wraps.
        int keep = n - 1;
        while (shortEdge[keep])
            --keep;
        rotate(false, keep + 1);
        std::rotate(shortEdge.begin(), shortEdge.begin() + keep + 1, shortEdge.end());
    }
    VelArray<VelGeomPoint3d> v(n, 20);
    VelArray<VelGeomVertexInfo> in(n, 20);
    int i = 0;
    while (i < n) {
        if (!shortEdge[i]) {
            v.append(m_vertices[i]);
            in.append(m_vertexInfo[i]);
            ++i;
            continue;
        }
        const int a = i;
        while (shortEdge[i])
            ++i;  // the last edge stays, so the run ends before it
        const int edges = i - a;
        v.append(m_vertices[a + (edges + 1) / 2]);
        in.append(m_vertexInfo[i]);
        ++i;
    }
    m_vertices = v;
    m_vertexInfo = in;
}

int VelGeomAugPolygon::makeCCW(const VelGeomVector3d& reference)
{
    if (reference == VelGeomVector3d::kIdentity)
        return 0;
    const VelGeomTol tol(kEpsForEdgeParallel, kEpsForEdgeParallel);
    const VelGeomVector3d pn = polygonNormal();
    if (pn.isCodirectionalTo(reference, tol)) {
        if (!m_normal.isCodirectionalTo(pn, VelGeomTol::gTol))
            m_normal = pn;
        return 1;
    }
    if (!pn.isParallelTo(reference, tol) || !(pn.lengthSqrd() > 0.0))
        return 0;
    const int n = m_vertices.length();
    VelArray<VelGeomPoint3d> v(n, 20);
    VelArray<VelGeomVertexInfo> in(n, 20);
    for (int k = 0; k < n; ++k) {
        v.append(m_vertices[n - 1 - k]);
        const VelGeomVertexInfo& old = m_vertexInfo[((n - 2 - k) % n + n) % n];
        if (old.isArc())
            in.append(VelGeomVertexInfo(old.getRadius(), old.getCenter(), -old.getNormal(), old.getAbsError()));
        else
            in.append(old);
    }
    m_vertices = v;
    m_vertexInfo = in;
    m_normal = unit(reference);
    return 1;
}

void VelGeomAugPolygon::transformBy(const VelGeomMatrix3d& m)
{
    const int n = m_vertices.length();
    VelArray<VelGeomPoint3d> v(n, 20);
    VelArray<VelGeomVertexInfo> in(n, 20);
    VelArray<VelGeomPoint3d> chords;
    for (int i = 0; i < n; ++i) {
        VelGeomVertexInfo info = m_vertexInfo[i];
        if (info.transformBy(m)) {
            VelGeomPoint3d p = m_vertices[i];
            v.append(p.transformBy(m));
            in.append(info);
            continue;
        }
        chords.setLogicalLength(0);
        appendChords(m_vertexInfo[i], m_vertices[i], m_vertices[(i + 1) % n], 0.0, chords);
        for (int k = 0; k < chords.length(); ++k) {
            v.append(chords[k].transformBy(m));
            in.append(VelGeomVertexInfo::kNone);
        }
    }
    m_vertices = v;
    m_vertexInfo = in;
    m_normal.transformBy(m);
    if (m.isMirror())
        m_normal.negate();
    m_normal.normalize();
}

int VelGeomAugPolygon::project(const VelGeomPlane& plane, const VelGeomVector3d& direction)
{
    const VelGeomVector3d d = unit(direction);
    const VelGeomVector3d pn = unit(plane.normal());
    const double c = d.dotProduct(pn);
    if (!(c * c >= 1e-16))
        return 0;
    const int n = m_vertices.length();
    VelArray<VelGeomPoint3d> v(n, 20);
    VelArray<VelGeomVertexInfo> in(n, 20);
    VelArray<VelGeomPoint3d> chords;
    for (int i = 0; i < n; ++i) {
        VelGeomVertexInfo info = m_vertexInfo[i];
        if (!info.isArc() || info.project(plane, direction)) {
            v.append(m_vertices[i].project(plane, direction));
            in.append(info);
            continue;
        }
        chords.setLogicalLength(0);
        appendChords(m_vertexInfo[i], m_vertices[i], m_vertices[(i + 1) % n], 0.0, chords);
        for (int k = 0; k < chords.length(); ++k) {
            v.append(chords[k].project(plane, direction));
            in.append(VelGeomVertexInfo::kNone);
        }
    }
    m_vertices = v;
    m_vertexInfo = in;
    reinitialize(0);
    return 1;
}

// ---------------------------------------------------------------------------
// Derived data

VelGeomVector3d VelGeomAugPolygon::getSignedArea() const
{
    const int n = m_vertices.length();
    if (n == 0)
        return VelGeomVector3d::kIdentity;
    if (n == 1) {
        const VelGeomVertexInfo& info = m_vertexInfo[0];
        if (!info.isArc())
            return VelGeomVector3d(0.0, 0.0, 0.0);
        return unit(info.getNormal()) * (VelGeomBase::PI * info.getRadius() * info.getRadius());
    }
    // The closing edge runs back to the first vertex unless the last one
    // already lies on it.
    const int edges = m_vertices[n - 1] == m_vertices[0] ? n - 1 : n;
    if (edges + 1 < 3)
        return VelGeomVector3d(0.0, 0.0, 0.0);
    const VelGeomPoint3d& o = m_vertices[0];
    VelGeomVector3d area(0.0, 0.0, 0.0);
    for (int i = 0; i < edges; ++i) {
        const VelGeomPoint3d& a = m_vertices[i];
        const VelGeomPoint3d& b = m_vertices[(i + 1) % n];
        area += (a - o).crossProduct(b - o) * 0.5;
        const VelGeomVertexInfo& info = m_vertexInfo[i];
        if (!info.isArc())
            continue;
        const double r = info.getRadius();
        const VelGeomPoint3d& c = info.getCenter();
        area += unit(info.getNormal()) * (0.5 * r * r * sweep(info, a, b));
        area -= (a - c).crossProduct(b - c) * 0.5;
    }
    return area;
}

double VelGeomAugPolygon::getArea() const { return getSignedArea().length(); }

VelGeomVector3d VelGeomAugPolygon::polygonNormal() const { return unit(getSignedArea()); }

void VelGeomAugPolygon::getCurves(VelArray<VelGeomCurve3d*>& curves) const
{
    const int n = m_vertices.length();
    for (int i = 0; i < n; ++i) {
        const VelGeomVertexInfo& info = m_vertexInfo[i];
        const VelGeomPoint3d& a = m_vertices[i];
        const VelGeomPoint3d& b = m_vertices[(i + 1) % n];
        if (!info.isArc())
            curves.append(new VelGeomLineSeg3d(a, b));
        else if (n == 1)
            curves.append(new VelGeomCircArc3d(info.getCenter(), info.getNormal(), info.getRadius(),
                                               a - info.getCenter()));
        else
            curves.append(new VelGeomCircArc3d(info.getCenter(), info.getNormal(), info.getRadius(), a, b));
    }
}

void VelGeomAugPolygon::deleteCurves(VelArray<VelGeomCurve3d*>& curves)
{
    for (int i = curves.length() - 1; i >= 0; --i)
        VelGeomCurve3d::deleteCurve(curves[i]);
    curves.setLogicalLength(0);
}

void VelGeomAugPolygon::getCompositeCurve3d(VelGeomCompositeCurve3d& curve) const
{
    VelArray<VelGeomCurve3d*> curves;
    getCurves(curves);
    VelArray<int> owned;
    for (int i = 0; i < curves.length(); ++i)
        owned.append(1);
    if (!curve.setCurveList(curves, owned))
        deleteCurves(curves);
}

VelArray<VelGeomPoint3d> VelGeomAugPolygon::getApproxVertices() const
{
    VelArray<VelGeomPoint3d> points;
    const int n = m_vertices.length();
    for (int i = 0; i < n; ++i) {
        const VelGeomVertexInfo& info = m_vertexInfo[i];
        if (info.isArc())
            points.append(info.getApproxVertices(m_vertices[i], m_vertices[(i + 1) % n]));
        else
            points.append(m_vertices[i]);
    }
    if (n == 1 && m_vertexInfo[0].isArc() && points.length() < 4) {
        const VelGeomVertexInfo& info = m_vertexInfo[0];
        points.setLogicalLength(0);
        for (int k = 0; k < 4; ++k) {
            VelGeomPoint3d p = m_vertices[0];
            points.append(p.rotateBy(k * VelGeomBase::PI / 2.0, unit(info.getNormal()), info.getCenter()));
        }
    }
    return points;
}

int VelGeomAugPolygon::get(VelArray<VelGeomPoint3d>& points, VelArray<double>& bulges) const
{
    points.setLogicalLength(0);
    bulges.setLogicalLength(0);
    const int n = m_vertices.length();
    if (n == 0 || (n == 1 && m_vertexInfo[0].isArc()))
        return 0;
    for (int i = 0; i < n; ++i) {
        points.append(m_vertices[i]);
        bulges.append(m_vertexInfo[i].getBulge(m_normal, m_vertices[i], m_vertices[(i + 1) % n]));
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Region operations

void VelGeomAugPolygon::replaceArcsByChords(bool onlyTurningBack, double deviation)
{
    const int n = m_vertices.length();
    VelArray<VelGeomPoint3d> v(n, 20);
    VelArray<VelGeomVertexInfo> in(n, 20);
    VelArray<VelGeomPoint3d> chords;
    for (int i = 0; i < n; ++i) {
        const VelGeomVertexInfo& info = m_vertexInfo[i];
        if (!info.isArc() || (onlyTurningBack && info.getNormal().dotProduct(m_normal) > 0.0)) {
            v.append(m_vertices[i]);
            in.append(info);
            continue;
        }
        chords.setLogicalLength(0);
        appendChords(info, m_vertices[i], m_vertices[(i + 1) % n], deviation, chords);
        for (int k = 0; k < chords.length(); ++k) {
            v.append(chords[k]);
            in.append(VelGeomVertexInfo::kNone);
        }
    }
    m_vertices = v;
    m_vertexInfo = in;
}

VelGeomAugPolygon VelGeomAugPolygon::getNormalised(double deviation) const
{
    VelGeomAugPolygon copy(*this);
    copy.reinitialize(1);
    if (copy.m_validity != kSelfIntersecting)
        return copy;
    copy.replaceArcsByChords(true, deviation);
    copy.reinitialize(0);
    if (copy.m_validity == kSelfIntersecting) {
        copy.replaceArcsByChords(false, deviation);
        copy.reinitialize(0);
    }
    return copy;
}

int VelGeomAugPolygon::separateBy(const VelArray<VelGeomAugPolyline>&, const VelArray<double>&,
                                  VelArray<VelGeomAugPolygon>&)
{
    return 0;
}

int VelGeomAugPolygon::separate(const VelGeomAugPolyline&, double, VelArray<VelGeomAugPolygon>&) { return 0; }

int VelGeomAugPolygon::add(const VelGeomAugPolygon&, double) { return 0; }

int VelGeomAugPolygon::add(const VelArray<VelGeomAugPolygon>&, double) { return 0; }

int VelGeomAugPolygon::addWithHoles(const VelGeomAugPolygon&, const VelArray<VelGeomAugPolygon>&,
                                    const VelArray<VelGeomAugPolygon>&, VelArray<VelGeomAugPolygon>&, double)
{
    return 0;
}

int VelGeomAugPolygon::addWithHoles(const VelArray<VelGeomAugPolygon>&, const VelArray<VelGeomAugPolygon>&,
                                    const VelArray<VelArray<VelGeomAugPolygon>>&, VelArray<VelGeomAugPolygon>&,
                                    double)
{
    return 0;
}

int VelGeomAugPolygon::intersect(const VelGeomAugPolygon&, const VelGeomTol&) { return 0; }
