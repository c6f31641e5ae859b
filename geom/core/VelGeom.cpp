#include "geom/core/VelGeom.h"

#include "geom/core/VelGeomBase.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>
#include <vector>

double VelGeom::gradToRad(double degrees) { return degrees * VelGeomBase::PIDIV180; }

VelGeomVector2d VelGeom::gradToVector2d(double degrees)
{
    const double r = gradToRad(degrees);
    return VelGeomVector2d(std::cos(r), std::sin(r));
}

bool VelGeom::orthogonal(const VelGeomVector3d& a, const VelGeomVector3d& b)
{
    static const double lo = std::cos(VelGeomBase::PI * 0.999 * 0.5);
    static const double hi = std::cos(VelGeomBase::PI * 0.001 * 0.5);
    const double c = std::fabs(a.normal(VelGeomTol::gTol).dotProduct(b.normal(VelGeomTol::gTol)));
    return c < lo || c > hi;
}

void VelGeom::sortPointsInDirection(VelGeomVector3d dir, VelArray<VelGeomPoint3d>& pts)
{
    dir.normalize();
    const int n = pts.length();
    if (n < 2)
        return;
    // A stable sort on the projections orders exactly as adjacent swaps on a
    // strict comparison would, without their quadratic cost.
    std::vector<double> key(static_cast<size_t>(n));
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        key[static_cast<size_t>(i)] = dir.dotProduct(pts[i].asVector());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&key](int a, int b) { return key[static_cast<size_t>(a)] < key[static_cast<size_t>(b)]; });
    std::vector<VelGeomPoint3d> sorted(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        sorted[static_cast<size_t>(i)] = pts[order[static_cast<size_t>(i)]];
    for (int i = 0; i < n; ++i)
        pts[i] = sorted[static_cast<size_t>(i)];
}

namespace {

// Greedy near-duplicate removal shared by the 2D and 3D forms. A point
// survives when no earlier survivor lies within tol. Survivors are indexed
// in a grid of cell size 2 tol, so each test looks at the neighbouring cells
// only (a point within tol is at most half a cell away, which leaves room for
// the rounding of the cell index); the distance is computed exactly as a
// plain pairwise walk would.
template <class P, int Dim>
void removeEqualImpl(VelArray<P>& pts, double tol)
{
    const int n = pts.length();
    VelArray<P> result(0, 8);
    auto coord = [](const P& p, int k) { return p[k]; };

    const double cell = 2.0 * tol;
    bool useGrid = tol > 0.0 && std::isfinite(cell);
    if (useGrid) {
        for (int i = 0; i < n && useGrid; ++i)
            for (int k = 0; k < Dim; ++k) {
                const double c = coord(pts[i], k) / cell;
                if (!std::isfinite(c) || std::fabs(c) > 1e14)
                    useGrid = false;
            }
    }

    if (!useGrid) {
        for (int i = 0; i < n; ++i) {
            bool keep = true;
            for (int s = 0; s < result.length() && keep; ++s)
                if ((result[s] - pts[i]).length() <= tol)
                    keep = false;
            if (keep)
                result.append(pts[i]);
        }
        pts = result;
        return;
    }

    struct KeyHash {
        size_t operator()(const std::array<std::int64_t, 3>& k) const
        {
            size_t h = 1469598103934665603ull;
            for (auto v : k)
                h = (h ^ static_cast<size_t>(v)) * 1099511628211ull;
            return h;
        }
    };
    std::unordered_map<std::array<std::int64_t, 3>, std::vector<int>, KeyHash> grid;
    grid.reserve(static_cast<size_t>(n));
    auto cellOf = [&](const P& p) {
        std::array<std::int64_t, 3> c{0, 0, 0};
        for (int k = 0; k < Dim; ++k)
            c[static_cast<size_t>(k)] = static_cast<std::int64_t>(std::floor(coord(p, k) / cell));
        return c;
    };

    for (int i = 0; i < n; ++i) {
        const P& p = pts[i];
        const auto c = cellOf(p);
        bool keep = true;
        const int dz = Dim == 3 ? 1 : 0;
        for (std::int64_t ox = -1; ox <= 1 && keep; ++ox)
            for (std::int64_t oy = -1; oy <= 1 && keep; ++oy)
                for (std::int64_t oz = -dz; oz <= dz && keep; ++oz) {
                    auto it = grid.find({c[0] + ox, c[1] + oy, c[2] + oz});
                    if (it == grid.end())
                        continue;
                    for (int s : it->second)
                        if ((result[s] - p).length() <= tol) {
                            keep = false;
                            break;
                        }
                }
        if (keep)
            grid[c].push_back(result.append(p));
    }
    pts = result;
}

} // namespace

void VelGeom::removeEqual(VelArray<VelGeomPoint3d>& pts, double tol) { removeEqualImpl<VelGeomPoint3d, 3>(pts, tol); }

void VelGeom::removeEqual(VelArray<VelGeomPoint2d>& pts, double tol) { removeEqualImpl<VelGeomPoint2d, 2>(pts, tol); }

VelGeomVector3d VelGeom::polygonNormal(VelArray<VelGeomPoint3d>& pts)
{
    VelGeomVector3d s(0.0, 0.0, 0.0);
    if (pts.isEmpty())
        return s.normalize();
    if (pts.first() != pts.last())
        pts.append(VelGeomPoint3d(pts.first()));
    const int n = pts.length();

    int edge = -1;
    VelGeomVector3d e;
    for (int i = 0; i + 1 < n; ++i) {
        e = pts[i + 1] - pts[i];
        if (std::fabs(e.x) + std::fabs(e.y) + std::fabs(e.z) >= 1.0) {
            edge = i;
            break;
        }
    }
    if (edge < 0)
        return konkavNormalTest(pts);

    for (int j = 0; j + 1 < n; ++j) {
        if (j == edge || j == edge + 1)
            continue;
        const VelGeomVector3d c = e.crossProduct(pts[j] - pts[edge]);
        if (c.dotProduct(s) < 0.0)
            return konkavNormalTest(pts);
        s += c;
    }
    return s.normalize();
}

VelGeomVector3d VelGeom::konkavNormalTest(const VelArray<VelGeomPoint3d>& pts)
{
    // The sum over edges i (0 .. n-3) and vertices j (0 .. n-2, j != i, i+1) of
    // e_i x (p_j - p_i). The inner sum over j is a sum of differences, so it
    // is gathered once: linear instead of quadratic. Coordinates are taken
    // relative to the first point to keep that sum small.
    VelGeomVector3d s(0.0, 0.0, 0.0);
    const int n = pts.length();
    if (n < 3)
        return s.normalize();
    const VelGeomPoint3d origin = pts[0];
    VelGeomVector3d total(0.0, 0.0, 0.0);  // sum of q_j, j = 0 .. n-2
    for (int j = 0; j + 1 < n; ++j)
        total += pts[j] - origin;
    const double others = static_cast<double>(n - 3);
    for (int i = 0; i + 2 < n; ++i) {
        const VelGeomVector3d qi = pts[i] - origin;
        const VelGeomVector3d qi1 = pts[i + 1] - origin;
        const VelGeomVector3d e = qi1 - qi;
        const VelGeomVector3d sumDiff = total - qi - qi1 - qi * others;
        s += e.crossProduct(sumDiff);
    }
    return s.normalize();
}
