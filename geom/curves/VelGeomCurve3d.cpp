#include "geom/curves/VelGeomCurve3d.h"

#include "geom/core/VelGeomExtents.h"

#include "geom/contours/VelGeomAugPolyline.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomPlane.h"

VelGeomCurve3d::~VelGeomCurve3d() = default;

void VelGeomCurve3d::deleteCurve(VelGeomCurve3d*& curve)
{
    if (!curve)
        return;
    delete curve;
    curve = nullptr;
}

bool VelGeomCurve3d::intersectWith(const VelGeomCurve3d& other, bool extended, VelArray<VelGeomPoint3d>& points,
                                   VelArray<VelGeomCurve3d::intersectionLocation>* locations,
                                   const VelGeomTol& tol) const
{
    if (!extended) {
        const bool r = intersectWith(other, points, tol);
        if (locations) {
            locations->setLogicalLength(points.length());
            for (int i = 0; i < locations->length(); ++i)
                (*locations)[i] = kOnBoth;
        }
        return r;
    }
    VelGeomCurve3d* mine = getInfiniteCurve();
    VelGeomCurve3d* theirs = other.getInfiniteCurve();
    bool r = false;
    if (mine && theirs) {
        r = mine->intersectWith(*theirs, points, tol);
        if (locations) {
            for (int i = 0; i < points.length(); ++i) {
                const bool onThis = isOn(points[i], tol);
                const bool onOther = other.isOn(points[i], tol);
                locations->append(onThis ? (onOther ? kOnBoth : kOnThisOnly) : (onOther ? kOnOtherOnly : kOnNeither));
            }
        }
    } else {
        points.setLogicalLength(0);
    }
    deleteCurve(mine);
    deleteCurve(theirs);
    return r;
}

VelGeomPoint3d VelGeomCurve3d::getClosestPointTo(const VelGeomCurve3d&, VelGeomPoint3d&, const VelGeomTol&) const
{
    return VelGeomPoint3d(0.0, 0.0, 0.0);
}

VelGeomPoint3d VelGeomCurve3d::projClosestPointTo(const VelGeomPoint3d& p, const VelGeomVector3d& dir,
                                                  const VelGeomTol&) const
{
    const VelGeomPoint3d none(0.0, 0.0, 0.0);
    double s = 0.0, e = 0.0;
    if (!hasStartParam(s) || !hasEndParam(e) || dir.isZeroLength())
        return none;
    // The nearest point seen along dir is searched on the curve's polyline
    // flattened onto the plane normal to dir, then lifted back onto the curve
    // by the line through it along dir; the loose tolerance lets that line
    // meet the curve where the flattened polyline only approximates it.
    const VelGeomPlane plane(p, dir);
    VelGeomAugPolyline flat = getAugPolyline();
    flat.project(plane, dir);
    int edge = -1;
    const VelGeomPoint3d c = flat.getClosestPointTo(p, edge);
    if (edge < 0)
        return none;
    const VelGeomLine3d sight(c, dir);
    VelArray<VelGeomPoint3d> points;
    const VelGeomTol loose(0.3, 0.3);
    if (!intersectWith(sight, points, loose) || points.isEmpty())
        return none;
    return points[0];
}

void VelGeomCurve3d::getAugPolyline(VelGeomAugPolyline& out) const { out = getAugPolyline(); }

VelGeomAugPolyline VelGeomCurve3d::getAugPolyline() const { return VelGeomAugPolyline(); }

void VelGeomCurve3d::getExtents(VelGeomExtents& out) const { out = VelGeomExtents(); }

double VelGeomCurve3d::distanceTo(const VelGeomCurve3d& other, const VelGeomTol& tol) const
{
    VelGeomPoint3d q(0.0, 0.0, 0.0);
    const VelGeomPoint3d p = getClosestPointTo(other, q, tol);
    return p.distanceTo(q);
}

double VelGeomCurve3d::distanceTo(const VelGeomPoint3d& p, const VelGeomTol&) const
{
    return getClosestPointTo(p).distanceTo(p);
}

double VelGeomCurve3d::getLength() const { return 0.0; }

void VelGeomCurve3d::getSamplePoints(int count, VelArray<VelGeomPoint3d>& points) const
{
    points.setLogicalLength(0);
    double s = 0.0, e = 0.0;
    if (!hasStartParam(s) || !hasEndParam(e) || count <= 0)
        return;
    if (count == 1) {
        points.append(evalPoint(s + (e - s) / 2.0));
        return;
    }
    const double step = (e - s) / (count - 1);
    for (int i = 0; i < count; ++i)
        points.append(evalPoint(s + i * step));
}

int VelGeomCurve3d::cutAt(VelGeomPlane, int, int, const VelGeomTol&) { return 0; }

VelGeomVector3d VelGeomCurve3d::tangentVector(const VelGeomPoint3d&) const { return VelGeomVector3d(0.0, 0.0, 0.0); }

VelArray<VelGeomPoint3d> VelGeomCurve3d::getPerpIntersections(const VelGeomPoint3d&, int) const
{
    return VelArray<VelGeomPoint3d>();
}

VelArray<VelGeomPoint3d> VelGeomCurve3d::getTanIntersections(const VelGeomPoint3d&, int) const
{
    return VelArray<VelGeomPoint3d>();
}
