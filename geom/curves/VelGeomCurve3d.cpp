#include "geom/curves/VelGeomCurve3d.h"

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

VelGeomPoint3d VelGeomCurve3d::projClosestPointTo(const VelGeomPoint3d&, const VelGeomVector3d&,
                                                  const VelGeomTol&) const
{
    // The search runs on the curve's augmented polyline (projected along dir,
    // then the line through its nearest point intersected with the curve);
    // it comes with VelGeomAugPolyline. Until then nothing is found.
    return VelGeomPoint3d(0.0, 0.0, 0.0);
}

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
