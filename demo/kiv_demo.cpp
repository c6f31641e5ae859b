// A small tour of the geometry core: the corner points of a plate outline as a
// survey would deliver them (unordered, with near-duplicate measurements), made
// into a clean ring, with its normal and its extent along a chosen direction,
// then turned into a plate outline with rounded corners.
#include <cmath>
#include <cstdio>
#include <initializer_list>

#include <kiv/kivgeombase.h>

namespace {

void print(const char* title, const VelArray<VelGeomPoint3d>& pts)
{
    std::printf("%s (%d points)\n", title, pts.length());
    for (int i = 0; i < pts.length(); ++i)
        std::printf("  %2d: (%9.4f, %9.4f, %9.4f)\n", i, pts[i].x, pts[i].y, pts[i].z);
}

} // namespace

int main()
{
    // A 400 x 250 plate, tilted 30 degrees about the x axis, measured twice at
    // some corners.
    const double tilt = VelGeom::gradToRad(30.0);
    const VelGeomVector3d up(0, std::cos(tilt), std::sin(tilt));
    const VelGeomPoint3d base(1000, 500, 0);
    VelArray<VelGeomPoint3d> measured;
    const double corners[][2] = {{0, 0}, {400, 0}, {400, 250}, {0, 250}, {400, 0.0004}, {0.0003, 250}, {0, 0}};
    for (const auto& c : corners)
        measured.append(base + VelGeomVector3d(c[0], 0, 0) + up * c[1]);
    print("measured", measured);

    VelArray<VelGeomPoint3d> ring(measured);
    VelGeom::removeEqual(ring, 0.001);
    print("without near-duplicates (tolerance 0.001)", ring);

    VelArray<VelGeomPoint3d> closed(ring);
    const VelGeomVector3d normal = VelGeom::polygonNormal(closed);
    std::printf("normal of the ring: (%.6f, %.6f, %.6f)\n", normal.x, normal.y, normal.z);
    std::printf("angle between normal and z axis: %.3f degrees\n",
                normal.angleTo(VelGeomVector3d::kZAxis) / VelGeomBase::PIDIV180);

    VelArray<VelGeomPoint3d> sorted(ring);
    VelGeom::sortPointsInDirection(up, sorted);
    print("sorted up the slope", sorted);
    const double rise = up.dotProduct(sorted.last() - sorted.first());
    std::printf("extent up the slope: %.4f\n", rise);

    // The plate's outline as a contour with two corners rounded (radius 20):
    // the library cleans it, checks it and measures it with its arcs.
    VelArray<double> radii;
    const double r = 20.0;
    for (double v : {0.0, r, r, 0.0})
        radii.append(v);
    const VelGeomAugPolygon outline(ring, radii, normal, true, true);
    const double expected = 400.0 * 250.0 - 2.0 * r * r * (1.0 - VelGeomBase::PI / 4.0);
    std::printf("outline: %ld vertices, %s, area %.4f (expected %.4f)\n", outline.getLength(),
                outline.isValid() == VelGeomAugPolygon::kValid ? "valid" : "not valid", outline.getArea(), expected);

    const bool ok = ring.length() == 4 && std::fabs(rise - 250.0) < 1e-9 &&
                    normal.isParallelTo(VelGeomVector3d(0, -std::sin(tilt), std::cos(tilt))) &&
                    outline.isValid() == VelGeomAugPolygon::kValid && std::fabs(outline.getArea() - expected) < 1e-6;
    std::printf("%s\n", ok ? "demo finished" : "demo found an inconsistency");
    return ok ? 0 : 1;
}
