// Box, sphere, cylinder, cone and pipe.

#include "facet/host/modeler/BodyBuilderInternal.h"
#include "facet/host/modeler/GeomInternal.h"
#include "facet/host/modeler/Settings.h"

#include <cmath>

namespace AModeler {

namespace {

bool finite(double v) { return std::isfinite(v); }

// The frame of a faceted circular prism or frustum: base centre, far centre,
// the unit normal of the end planes turned to face along the axis, and the
// unit directions of the n vertices.
struct RoundFrame
{
    Point3d base, top;
    Vector3d normal;
    std::vector<Vector3d> dirs;
};

RoundFrame roundFrame(const Line3d& axis, const Vector3d& baseNormal, int facets)
{
    if (!axis.isValid() || !baseNormal.isFinite() || facets < 3)
        throw eInvalidInput;
    Vector3d n = baseNormal.isNull() ? axis.direction.normalized() : baseNormal.normalized();
    const double height = n.dot(axis.direction);
    if (std::fabs(height) <= gEpsAbs())
        throw eDegenerateGeometry;
    if (height < 0.0)
        n = -n;
    RoundFrame f;
    f.base = axis.point;
    f.top = axis.endPoint();
    f.normal = n;
    const Circle3d unit(Point3d(), n, 1.0);
    f.dirs.reserve(facets);
    for (int j = 0; j < facets; ++j)
        f.dirs.push_back(unit.pointAt(kTwoPi * j / facets).asVector());
    return f;
}

// Frustum with radii r1 (base) and r2 (far end); either may be 0 (apex).
Body frustum(const Line3d& axis, const Vector3d& baseNormal, double r1, double r2, int facets)
{
    if (!finite(r1) || !finite(r2) || r1 < 0.0 || r2 < 0.0)
        throw eInvalidInput;
    const double eps = gEpsAbs();
    if (r1 <= eps && r2 <= eps)
        throw eDegenerateGeometry;
    const RoundFrame fr = roundFrame(axis, baseNormal, facets);
    const int n = facets;
    BodyBuilder b;
    std::vector<int> bot(n), top(n);
    const bool baseApex = r1 <= eps, topApex = r2 <= eps;
    const int bApex = baseApex ? b.addVertex(fr.base) : -1;
    const int tApex = topApex ? b.addVertex(fr.top) : -1;
    for (int j = 0; j < n; ++j) {
        bot[j] = baseApex ? bApex : b.addVertex(fr.base + fr.dirs[j] * r1);
        top[j] = topApex ? tApex : b.addVertex(fr.top + fr.dirs[j] * r2);
    }
    const int cb = baseApex ? -1 : b.addCurve(Circle3d(fr.base, fr.normal, r1), n);
    const int ct = topApex ? -1 : b.addCurve(Circle3d(fr.top, fr.normal, r2), n);
    for (int j = 0; j < n; ++j) {
        const int k = (j + 1) % n;
        b.addFace({bot[j], bot[k], top[k], top[j]});
        b.setApprox(bot[j], top[j]);
        if (cb >= 0)
            b.setCurve(bot[j], bot[k], cb);
        if (ct >= 0)
            b.setCurve(top[j], top[k], ct);
    }
    if (!baseApex)
        b.addFace(std::vector<int>(bot.rbegin(), bot.rend()));
    if (!topApex)
        b.addFace(top);
    return b.build();
}

} // namespace

Body Body::box(const Point3d& corner, const Vector3d& diagonal)
{
    if (!corner.isFinite() || !diagonal.isFinite())
        throw eInvalidInput;
    const double eps = gEpsAbs();
    if (std::fabs(diagonal.x) <= eps || std::fabs(diagonal.y) <= eps || std::fabs(diagonal.z) <= eps)
        throw eDegenerateGeometry;
    const Point3d far = corner + diagonal;
    const double x0 = std::fmin(corner.x, far.x), x1 = std::fmax(corner.x, far.x);
    const double y0 = std::fmin(corner.y, far.y), y1 = std::fmax(corner.y, far.y);
    const double z0 = std::fmin(corner.z, far.z), z1 = std::fmax(corner.z, far.z);
    BodyBuilder b;
    const int v0 = b.addVertex(Point3d(x0, y0, z0)), v1 = b.addVertex(Point3d(x1, y0, z0));
    const int v2 = b.addVertex(Point3d(x1, y1, z0)), v3 = b.addVertex(Point3d(x0, y1, z0));
    const int v4 = b.addVertex(Point3d(x0, y0, z1)), v5 = b.addVertex(Point3d(x1, y0, z1));
    const int v6 = b.addVertex(Point3d(x1, y1, z1)), v7 = b.addVertex(Point3d(x0, y1, z1));
    b.addFace({v0, v3, v2, v1});  // z-min
    b.addFace({v4, v5, v6, v7});  // z-max
    b.addFace({v0, v1, v5, v4});  // y-min
    b.addFace({v1, v2, v6, v5});  // x-max
    b.addFace({v2, v3, v7, v6});  // y-max
    b.addFace({v3, v0, v4, v7});  // x-min
    return b.build();
}

Body Body::sphere(const Point3d& centre, double radius, int facets)
{
    if (!centre.isFinite() || !finite(radius) || facets < 4)
        throw eInvalidInput;
    if (radius <= gEpsAbs())
        throw eDegenerateGeometry;
    const int n = facets;
    const int bands = n / 2;
    BodyBuilder b;
    const int north = b.addVertex(centre + Vector3d::kZDir * radius);
    std::vector<std::vector<int>> ring(bands + 1);
    std::vector<int> ringCurve(bands + 1, -1);
    for (int k = 1; k < bands; ++k) {
        const double phi = kPi * k / bands;
        const double rr = radius * std::sin(phi), z = radius * std::cos(phi);
        ring[k].resize(n);
        for (int j = 0; j < n; ++j) {
            const double th = kTwoPi * j / n;
            ring[k][j] = b.addVertex(centre + Vector3d(rr * std::cos(th), rr * std::sin(th), z));
        }
        ringCurve[k] = b.addCurve(Circle3d(centre + Vector3d::kZDir * z, Vector3d::kZDir, rr), n);
    }
    const int south = b.addVertex(centre - Vector3d::kZDir * radius);
    ring[0].assign(n, north);
    ring[bands].assign(n, south);
    for (int k = 0; k < bands; ++k)
        for (int j = 0; j < n; ++j) {
            const int jn = (j + 1) % n;
            b.addFace({ring[k][j], ring[k + 1][j], ring[k + 1][jn], ring[k][jn]});
            b.setApprox(ring[k][j], ring[k + 1][j]);
            if (k > 0) {
                b.setApprox(ring[k][j], ring[k][jn]);
                b.setCurve(ring[k][j], ring[k][jn], ringCurve[k]);
            }
        }
    return b.build();
}

Body Body::cylinder(const Line3d& axis, double radius, int facets)
{
    return cylinder(axis, axis.direction, radius, facets);
}

Body Body::cylinder(const Line3d& axis, const Vector3d& baseNormal, double radius, int facets)
{
    if (!finite(radius) || radius < 0.0)
        throw eInvalidInput;
    if (radius <= gEpsAbs())
        throw eDegenerateGeometry;
    return frustum(axis, baseNormal, radius, radius, facets);
}

Body Body::cone(const Line3d& axis, const Vector3d& baseNormal, double radius1, double radius2, int facets)
{
    return frustum(axis, baseNormal, radius1, radius2, facets);
}

Body Body::pipe(const Line3d& axis, const Vector3d& baseNormal, double outerRadius, double innerRadius, int facets)
{
    if (!finite(outerRadius) || !finite(innerRadius) || innerRadius < 0.0)
        throw eInvalidInput;
    const double eps = gEpsAbs();
    if (innerRadius <= eps || outerRadius - innerRadius <= eps)
        throw eDegenerateGeometry;
    const RoundFrame fr = roundFrame(axis, baseNormal, facets);
    const int n = facets;
    BodyBuilder b;
    std::vector<int> ob(n), ot(n), ib(n), it(n);
    for (int j = 0; j < n; ++j) {
        ob[j] = b.addVertex(fr.base + fr.dirs[j] * outerRadius);
        ot[j] = b.addVertex(fr.top + fr.dirs[j] * outerRadius);
    }
    for (int j = 0; j < n; ++j) {
        ib[j] = b.addVertex(fr.base + fr.dirs[j] * innerRadius);
        it[j] = b.addVertex(fr.top + fr.dirs[j] * innerRadius);
    }
    const int cob = b.addCurve(Circle3d(fr.base, fr.normal, outerRadius), n);
    const int cot = b.addCurve(Circle3d(fr.top, fr.normal, outerRadius), n);
    const int cib = b.addCurve(Circle3d(fr.base, fr.normal, innerRadius), n);
    const int cit = b.addCurve(Circle3d(fr.top, fr.normal, innerRadius), n);
    for (int j = 0; j < n; ++j) {
        const int k = (j + 1) % n;
        b.addFace({ob[j], ob[k], ot[k], ot[j]});
        b.setApprox(ob[j], ot[j]);
        b.setCurve(ob[j], ob[k], cob);
        b.setCurve(ot[j], ot[k], cot);
    }
    for (int j = 0; j < n; ++j) {
        const int k = (j + 1) % n;
        b.addFace({ib[k], ib[j], it[j], it[k]});
        b.setApprox(ib[j], it[j]);
        b.setCurve(ib[j], ib[k], cib);
        b.setCurve(it[j], it[k], cit);
    }
    // Annuli: the outer circle, a bridge, the inner circle the other way round.
    std::vector<int> bottom{ob[0]};
    for (int j = 0; j < n; ++j)
        bottom.push_back(ib[j]);
    bottom.push_back(ib[0]);
    for (int j = 0; j < n; ++j)
        bottom.push_back(ob[(n - j) % n]);
    b.addFace(bottom);
    std::vector<int> top;
    for (int j = 0; j < n; ++j)
        top.push_back(ot[j]);
    top.push_back(ot[0]);
    for (int j = 0; j < n; ++j)
        top.push_back(it[(n - j) % n]);
    top.push_back(it[0]);
    b.addFace(top);
    return b.build();
}

} // namespace AModeler
