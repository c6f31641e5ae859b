// Revolutions of profiles about an axis in their plane.

#include "facet/host/modeler/BodyBuilderInternal.h"
#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/GeomInternal.h"
#include "facet/host/modeler/ProfileInternal.h"
#include "facet/host/modeler/Settings.h"

#include <cmath>
#include <map>

namespace AModeler {

Body Body::axisRevolution(const Point3d* profile, PolygonVertexData* const* vertexData, int count,
                          const Vector3d& normal, const Line3d& axis, double angle, int facets)
{
    if (!normal.isFinite() || !axis.point.isFinite() || !axis.direction.isFinite() || !std::isfinite(angle) ||
        facets < 3)
        throw eInvalidInput;
    if (axis.direction.isNull() || std::fabs(angle) <= 1e-12)
        throw eDegenerateGeometry;
    const double eps = gEpsAbs();
    const ExpandedProfile prof = expandProfile(profile, vertexData, count, true, eps);
    const int m = static_cast<int>(prof.pts.size());
    if (m < 3)
        throw eDegenerateGeometry;
    const Plane plane = profilePlane(prof.pts, normal, eps);
    const Vector3d n = plane.normal();
    const Vector3d a = axis.direction.normalized();
    double reach = 0.0;
    for (const Point3d& p : prof.pts)
        reach = std::fmax(reach, p.distanceTo(axis.point));
    if (plane.distanceTo(axis.point) > eps || plane.distanceTo(axis.point + a * reach) > eps)
        throw eInvalidInput;  // the axis must lie in the profile's plane

    // Height along the axis and distance from it; the profile must keep to one side.
    std::vector<double> h(m), rho(m);
    double minSide = 0.0, maxSide = 0.0;
    for (int j = 0; j < m; ++j) {
        const Vector3d r = prof.pts[j] - axis.point;
        h[j] = r.dot(a);
        rho[j] = (r - a * h[j]).length();
        const double side = a.cross(r).dot(n);
        minSide = std::fmin(minSide, side);
        maxSide = std::fmax(maxSide, side);
    }
    if (minSide < -eps && maxSide > eps)
        throw eInvalidInput;  // crosses the axis

    const bool full = std::fabs(angle) >= kTwoPi - 1e-9;
    const int steps = full ? facets : Circle3d::arcChordCount(std::fabs(angle), facets);
    const double step = (full ? (angle > 0 ? kTwoPi : -kTwoPi) : angle) / steps;
    const int copies = full ? steps : steps + 1;
    std::vector<Transf3d> rot(copies);
    for (int k = 0; k < copies; ++k)
        rot[k] = Transf3d::rotation(step * k, a, axis.point);

    BodyBuilder b;
    std::vector<std::vector<int>> ring(m);
    for (int j = 0; j < m; ++j) {
        if (rho[j] <= eps) {
            ring[j].assign(copies, b.addVertex(prof.pts[j]));
            continue;
        }
        ring[j].resize(copies);
        for (int k = 0; k < copies; ++k)
            ring[j][k] = b.addVertex(k == 0 ? prof.pts[j] : rot[k].apply(prof.pts[j]));
    }
    auto at = [&](int j, int k) { return ring[j][full ? k % steps : k]; };
    // The circle a profile vertex travels on, made when first needed.
    std::vector<int> ringCurve(m, -1);
    auto ringCurveOf = [&](int j) {
        if (ringCurve[j] < 0)
            ringCurve[j] = b.addCurve(Circle3d(axis.point + a * h[j], a, rho[j]), facets);
        return ringCurve[j];
    };
    // Profile arcs turned to each step.
    std::map<std::pair<int, int>, int> arcCurve;
    auto arcCurveOf = [&](int arc, int k) {
        auto it = arcCurve.find({arc, k});
        if (it != arcCurve.end())
            return it->second;
        const Circle3d& c = prof.arcs[arc].circle;
        const Transf3d& r = rot[full ? k % steps : k];
        const int id = b.addCurve(Circle3d(r.apply(c.center()), r.apply(c.normal()), c.radius()), prof.arcs[arc].facets);
        arcCurve.emplace(std::make_pair(arc, k), id);
        return id;
    };

    for (int j = 0; j < m; ++j) {
        const int q = (j + 1) % m;
        const bool jOn = rho[j] <= eps, qOn = rho[q] <= eps;
        if (jOn && qOn)
            continue;  // lies on the axis: sweeps nothing
        if (std::fabs(h[j] - h[q]) <= eps) {
            // Perpendicular to the axis: one planar face.
            std::vector<int> loop;
            if (!full) {
                loop.push_back(at(j, 0));
                for (int k = 0; k <= steps; ++k)
                    loop.push_back(at(q, k));
                for (int k = steps; k >= 0; --k)
                    loop.push_back(at(j, k));
            } else if (jOn) {
                for (int k = 0; k < steps; ++k)
                    loop.push_back(at(q, k));
            } else if (qOn) {
                for (int k = 0; k < steps; ++k)
                    loop.push_back(at(j, (steps - k) % steps));
            } else {
                loop.push_back(at(j, 0));
                for (int k = 0; k <= steps; ++k)
                    loop.push_back(at(q, k));
                for (int k = 0; k < steps; ++k)
                    loop.push_back(at(j, steps - k));
            }
            b.addFace(loop);
        } else {
            for (int k = 0; k < steps; ++k) {
                b.addFace({at(j, k), at(q, k), at(q, k + 1), at(j, k + 1)});
                const bool inner = full || k > 0;
                if (inner)
                    b.setApprox(at(j, k), at(q, k));
            }
        }
        for (int k = 0; k < copies; ++k) {
            if (prof.arcOfEdge[j] >= 0)
                b.setCurve(at(j, k), at(q, k), arcCurveOf(prof.arcOfEdge[j], k));
        }
        for (int k = 0; k < steps; ++k) {
            if (!qOn) {
                b.setCurve(at(q, k), at(q, k + 1), ringCurveOf(q));
                if (prof.smoothAt(q))
                    b.setApprox(at(q, k), at(q, k + 1));
            }
        }
    }
    if (!full) {
        std::vector<int> start, end;
        for (int j = m - 1; j >= 0; --j)
            start.push_back(at(j, 0));
        for (int j = 0; j < m; ++j)
            end.push_back(at(j, steps));
        b.addFace(start);
        b.addFace(end);
    }
    Body body = b.build();
    if (body.volume() < 0.0)
        body.reverse();
    return body;
}

Body Body::endpointRevolution(const Point3d* profile, PolygonVertexData* const* vertexData, int count,
                              const Vector3d& normal, double angle, int facets)
{
    if (!profile || count < 3)
        throw eInvalidInput;
    if (!profile[0].isFinite() || !profile[count - 1].isFinite())
        throw eInvalidInput;
    if (profile[0].isEqual(profile[count - 1], gEpsAbs()))
        throw eDegenerateGeometry;
    return axisRevolution(profile, vertexData, count, normal, Line3d(profile[0], profile[count - 1]), angle, facets);
}

} // namespace AModeler
