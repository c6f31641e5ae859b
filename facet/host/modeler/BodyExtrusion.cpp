// Straight extrusions of profiles, optionally scaled and twisted.

#include "facet/host/modeler/BodyBuilderInternal.h"
#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/ProfileInternal.h"
#include "facet/host/modeler/Settings.h"

#include <cmath>

namespace AModeler {

Body Body::extrusion(const Point3d* profile, PolygonVertexData* const* vertexData, int count, const Vector3d& normal,
                     const Vector3d& direction)
{
    return extrusion(profile, vertexData, count, normal, direction, Point3d::kNull, 1.0, 0.0);
}

Body Body::extrusion(const Point3d* profile, PolygonVertexData* const* vertexData, int count, const Vector3d& normal,
                     const Vector3d& direction, const Point3d& fixedPoint, double scale, double twistAngle)
{
    if (!normal.isFinite() || !direction.isFinite() || !fixedPoint.isFinite() || !std::isfinite(scale) ||
        !std::isfinite(twistAngle) || !(scale > 0.0))
        throw eInvalidInput;
    if (normal.isNull() || direction.isNull())
        throw eDegenerateGeometry;
    const double eps = gEpsAbs();
    const ExpandedProfile prof = expandProfile(profile, vertexData, count, true, eps);
    const int m = static_cast<int>(prof.pts.size());
    if (m < 3)
        throw eDegenerateGeometry;
    const Plane plane = profilePlane(prof.pts, normal, eps);
    const Vector3d n = plane.normal();  // turns with the profile
    const double height = direction.dot(n);
    if (std::fabs(height) <= eps)
        throw eDegenerateGeometry;

    const Point3d fixed = plane.project(fixedPoint);
    const bool twisted = std::fabs(twistAngle) > 1e-12;
    auto toTop = [&](const Point3d& q) {
        const Vector3d r = ((q - fixed) * scale).rotatedBy(twistAngle, n);
        return fixed + direction + r;
    };

    BodyBuilder b;
    std::vector<int> bot(m), top(m);
    for (int j = 0; j < m; ++j)
        bot[j] = b.addVertex(prof.pts[j]);
    for (int j = 0; j < m; ++j)
        top[j] = b.addVertex(toTop(prof.pts[j]));
    std::vector<int> botCurve, topCurve;
    for (const ExpandedProfile::Arc& a : prof.arcs) {
        botCurve.push_back(b.addCurve(a.circle, a.facets));
        const Circle3d& c = a.circle;
        topCurve.push_back(b.addCurve(Circle3d(toTop(c.center()), c.normal().rotatedBy(twistAngle, n), c.radius() * scale),
                                      a.facets));
    }
    for (int j = 0; j < m; ++j) {
        const int k = (j + 1) % m;
        const Plane side(b.point(bot[j]), b.point(bot[k]), b.point(top[k]));
        if (twisted && (!side.isValid() || side.distanceTo(b.point(top[j])) > eps)) {
            b.addFace({bot[j], bot[k], top[k]});
            b.addFace({bot[j], top[k], top[j]});
            b.setApprox(bot[j], top[k]);
        } else {
            b.addFace({bot[j], bot[k], top[k], top[j]});
        }
        if (prof.smoothAt(j))
            b.setApprox(bot[j], top[j]);
        const int arc = prof.arcOfEdge[j];
        if (arc >= 0) {
            b.setCurve(bot[j], bot[k], botCurve[arc]);
            b.setCurve(top[j], top[k], topCurve[arc]);
        }
    }
    b.addFace(std::vector<int>(bot.rbegin(), bot.rend()));
    b.addFace(top);
    if (height < 0.0)
        b.reverseAll();  // the profile turns clockwise about the direction
    return b.build();
}

} // namespace AModeler
