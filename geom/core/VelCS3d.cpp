#include "geom/core/VelCS3d.h"

namespace {

VelGeomVector3d unit(VelGeomVector3d v) { return v.normalize(); }

}  // namespace

VelCS3d::VelCS3d(const VelGeomPoint3d& origin, const VelGeomVector3d& x, const VelGeomVector3d& y,
                 const VelGeomVector3d& z)
{
    store(origin, unit(x), unit(y), unit(z));
}

VelCS3d::VelCS3d(const VelGeomMatrix3d& m)
{
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    m.getCoordSystem(o, x, y, z);
    store(o, unit(x), unit(y), unit(z));
}

VelCS3d& VelCS3d::operator=(const VelGeomMatrix3d& m)
{
    *this = VelCS3d(m);
    return *this;
}

VelCS3d& VelCS3d::operator=(const VelCS3d& cs)
{
    if (this != &cs) {
        VelGeomPoint3d o;
        VelGeomVector3d x, y, z;
        cs.getCoordSystem(o, x, y, z);
        store(o, x, y, z);
    }
    return *this;
}

void VelCS3d::store(const VelGeomPoint3d& origin, const VelGeomVector3d& x, const VelGeomVector3d& y,
                    const VelGeomVector3d& z)
{
    m_matrix.setCoordSystem(origin, x, y, z);
}

VelGeomPoint3d VelCS3d::getOrigin() const
{
    return VelGeomPoint3d(m_matrix.entry[0][3], m_matrix.entry[1][3], m_matrix.entry[2][3]);
}

VelGeomVector3d VelCS3d::getX() const { return getVector(kX); }
VelGeomVector3d VelCS3d::getY() const { return getVector(kY); }
VelGeomVector3d VelCS3d::getZ() const { return getVector(kZ); }

VelGeomVector3d VelCS3d::getVector(eCoor which) const
{
    const int j = static_cast<int>(which);
    if (j < 0 || j > 2)
        return VelGeomVector3d::kIdentity;
    return VelGeomVector3d(m_matrix.entry[0][j], m_matrix.entry[1][j], m_matrix.entry[2][j]);
}

void VelCS3d::getCoordSystem(VelGeomPoint3d& origin, VelGeomVector3d& x, VelGeomVector3d& y,
                             VelGeomVector3d& z) const
{
    m_matrix.getCoordSystem(origin, x, y, z);
}

void VelCS3d::setOrigin(const VelGeomPoint3d& p) { m_matrix.setTranslation(p.asVector()); }

void VelCS3d::setX(const VelGeomVector3d& v) { setVector(kX, v); }
void VelCS3d::setY(const VelGeomVector3d& v) { setVector(kY, v); }
void VelCS3d::setZ(const VelGeomVector3d& v) { setVector(kZ, v); }

void VelCS3d::setVector(eCoor which, const VelGeomVector3d& v)
{
    const int j = static_cast<int>(which);
    if (j < 0 || j > 2)
        return;
    const VelGeomVector3d n = unit(v);
    m_matrix.entry[0][j] = n.x;
    m_matrix.entry[1][j] = n.y;
    m_matrix.entry[2][j] = n.z;
}

void VelCS3d::rotate(eCoor which, double angle)
{
    const int j = static_cast<int>(which);
    if (j < 0 || j > 2)
        return;
    m_matrix.preMultBy(VelGeomMatrix3d::rotation(angle, getVector(which), getOrigin()));
}

void VelCS3d::translate(VelGeomVector3d v) { m_matrix.postMultBy(VelGeomMatrix3d::translation(v)); }

void VelCS3d::change2YZ()
{
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    getCoordSystem(o, x, y, z);
    store(o, y, z, x);
}

namespace {

VelGeomPoint3d applyToPoint(const VelGeomMatrix3d& m, const VelGeomPoint3d& p)
{
    VelGeomPoint3d r(p);
    return r.transformBy(m);
}

VelGeomVector3d applyToVector(const VelGeomMatrix3d& m, const VelGeomVector3d& v)
{
    VelGeomVector3d r(v);
    return r.transformBy(m);
}

}  // namespace

void VelCS3d::transformBy(const VelGeomMatrix3d& m)
{
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    getCoordSystem(o, x, y, z);
    store(applyToPoint(m, o), applyToVector(m, x), applyToVector(m, y), applyToVector(m, z));
}

VelGeomMatrix3d VelCS3d::This2WCS() const
{
    VelGeomMatrix3d r;
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    getCoordSystem(o, x, y, z);
    return r.setToAlignCoordSys(VelGeomPoint3d::kOrigin, VelGeomVector3d::kXAxis, VelGeomVector3d::kYAxis,
                                VelGeomVector3d::kZAxis, o, x, y, z);
}

VelGeomMatrix3d VelCS3d::WCS2This() const
{
    VelGeomMatrix3d r;
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    getCoordSystem(o, x, y, z);
    return r.setToAlignCoordSys(o, x, y, z, VelGeomPoint3d::kOrigin, VelGeomVector3d::kXAxis,
                                VelGeomVector3d::kYAxis, VelGeomVector3d::kZAxis);
}

VelGeomMatrix3d VelCS3d::This2CS(const VelCS3d& cs) const
{
    return VelGeomMatrix3d::alignCoordSys(cs.m_matrix, m_matrix);
}

VelGeomMatrix3d VelCS3d::CS2This(const VelCS3d& cs) const
{
    return VelGeomMatrix3d::alignCoordSys(m_matrix, cs.m_matrix);
}

VelGeomMatrix3d VelCS3d::alignTo(const VelCS3d& cs) const
{
    return VelGeomMatrix3d::alignCoordSys(m_matrix, cs.m_matrix);
}

void VelCS3d::mapFrame(const VelGeomMatrix3d& m, const VelCS3d& in, VelGeomPoint3d& origin, VelGeomVector3d& x,
                       VelGeomVector3d& y, VelGeomVector3d& z)
{
    in.getCoordSystem(origin, x, y, z);
    origin.transformBy(m);
    x.transformBy(m);
    y.transformBy(m);
    z.transformBy(m);
}

VelCS3d VelCS3d::This2WCS(const VelCS3d& cs)
{
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    mapFrame(This2WCS(), cs, o, x, y, z);
    return VelCS3d(o, x, y, z);
}

VelCS3d VelCS3d::WCS2This(const VelCS3d& cs)
{
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    mapFrame(WCS2This(), cs, o, x, y, z);
    return VelCS3d(o, x, y, z);
}

void VelCS3d::This2WCS(VelCS3d& cs) const
{
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    mapFrame(This2WCS(), cs, o, x, y, z);
    cs.store(o, x, y, z);
}

void VelCS3d::WCS2This(VelCS3d& cs) const
{
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    mapFrame(WCS2This(), cs, o, x, y, z);
    cs.store(o, x, y, z);
}

void VelCS3d::This2WCS(VelArray<VelGeomPoint3d>& pts) const
{
    const VelGeomMatrix3d m = This2WCS();
    for (int i = pts.length() - 1; i >= 0; --i)
        pts[i].transformBy(m);
}

void VelCS3d::WCS2This(VelArray<VelGeomPoint3d>& pts) const
{
    const VelGeomMatrix3d m = WCS2This();
    for (int i = pts.length() - 1; i >= 0; --i)
        pts[i].transformBy(m);
}
