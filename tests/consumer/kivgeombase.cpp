// Uses the geometry library through its installed umbrella header, the way an
// application does: <cmath> first, then the library.
#include <cmath>
#include <cstdio>

#include <kiv/kivgeombase.h>

int main()
{
    VelArray<VelGeomPoint3d> pts;
    pts.append(VelGeomPoint3d(10, 10, 0));
    pts.append(VelGeomPoint3d(0, 0, 0));
    pts.append(VelGeomPoint3d(10, 0, 0));
    pts.append(VelGeomPoint3d(10, 0, 1e-12));
    pts.append(VelGeomPoint3d(0, 10, 0));
    VelGeom::removeEqual(pts, 1e-6);
    if (pts.length() != 4)
        return 1;
    VelArray<VelGeomPoint3d> ring;
    ring.append(pts[1]);
    ring.append(pts[2]);
    ring.append(pts[0]);
    ring.append(pts[3]);
    const VelGeomVector3d n = VelGeom::polygonNormal(ring);
    if (!(n == VelGeomVector3d::kZAxis))
        return 2;
    if (!(VelGeomBase::INFINITY > 1e30) || std::fabs(VelGeomBase::PI - std::acos(-1.0)) != 0.0)
        return 3;
    std::printf("normal (%g, %g, %g), %d points\n", n.x, n.y, n.z, pts.length());
    return 0;
}
