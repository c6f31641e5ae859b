#pragma once
// Finds stored points within a distance of a query point: a hash grid of
// cells twice that size, so only the 27 surrounding cells are looked at.

#include "facet/host/modeler/Point3d.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace AModeler {

class PointIndex
{
public:
    explicit PointIndex(double eps) : m_eps(eps > 0.0 ? eps : 1e-12), m_cell(2.0 * m_eps) {}

    void add(const Point3d& p, void* item) { m_cells[key(cellOf(p.x), cellOf(p.y), cellOf(p.z))].push_back({p, item}); }

    // The first stored item within eps of p, else null.
    void* find(const Point3d& p) const
    {
        const int64_t cx = cellOf(p.x), cy = cellOf(p.y), cz = cellOf(p.z);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dz = -1; dz <= 1; ++dz) {
                    auto it = m_cells.find(key(cx + dx, cy + dy, cz + dz));
                    if (it == m_cells.end())
                        continue;
                    for (const Entry& e : it->second)
                        if (e.p.isEqual(p, m_eps))
                            return e.item;
                }
        return nullptr;
    }

private:
    struct Entry
    {
        Point3d p;
        void* item;
    };
    int64_t cellOf(double v) const
    {
        const double c = std::floor(v / m_cell);
        if (!(c > -4e18))
            return static_cast<int64_t>(-4e18);
        if (!(c < 4e18))
            return static_cast<int64_t>(4e18);
        return static_cast<int64_t>(c);
    }
    static uint64_t key(int64_t x, int64_t y, int64_t z)
    {
        uint64_t h = static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull;
        h ^= static_cast<uint64_t>(y) * 0xC2B2AE3D27D4EB4Full + (h << 6) + (h >> 2);
        h ^= static_cast<uint64_t>(z) * 0x165667B19E3779F9ull + (h << 6) + (h >> 2);
        return h;
    }

    double m_eps;
    double m_cell;
    // Distinct cells may share a key; find() compares the points themselves.
    std::unordered_map<uint64_t, std::vector<Entry>> m_cells;
};

} // namespace AModeler
