// Faces back from triangles: the regions a face's surviving triangles cover,
// each walked into one loop.

#include "facet/host/modeler/BooleanInternal.h"

#include "facet/host/modeler/ErrorCode.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace AModeler {

namespace {

struct Dsu
{
    std::vector<int> p;
    explicit Dsu(size_t n) : p(n) { std::iota(p.begin(), p.end(), 0); }
    int find(int x)
    {
        while (p[x] != x) {
            p[x] = p[p[x]];
            x = p[x];
        }
        return x;
    }
    bool unite(int a, int b)
    {
        a = find(a);
        b = find(b);
        if (a == b)
            return false;
        p[b] = a;
        return true;
    }
};

class RegionWalker
{
public:
    RegionWalker(const std::vector<std::array<int, 3>>& tris, const std::vector<int>& region)
        : m_tris(tris), m_region(region)
    {
        for (int t : region)
            for (int k = 0; k < 3; ++k)
                if (!m_corner.emplace(directedKey(tris[t][k], tris[t][(k + 1) % 3]), t * 3 + k).second)
                    throw eInternalError;
    }

    bool inside(int u, int v) const { return m_corner.count(directedKey(u, v)) != 0; }
    bool isCut(int u, int v) const { return m_cut.count(undirectedKey(u, v)) != 0; }
    // A loop edge: no triangle of the region on the other side, or a cut.
    bool isLoopEdge(int u, int v) const { return !inside(v, u) || isCut(u, v); }
    void cut(int u, int v) { m_cut.insert(undirectedKey(u, v)); }

    // Internal edges, each once.
    template <class Fn>
    void forEachInternal(Fn&& fn) const
    {
        for (int t : m_region)
            for (int k = 0; k < 3; ++k) {
                const int u = m_tris[t][k], v = m_tris[t][(k + 1) % 3];
                if (u < v && inside(v, u))
                    fn(u, v);
            }
    }

    // Loops of the region's boundary (and cuts), each as its vertex sequence.
    void walk(std::vector<MergedLoop>& loops) const
    {
        loops.clear();
        std::unordered_set<uint64_t> done;
        const size_t limit = m_corner.size() * 2 + 4;
        for (int t : m_region)
            for (int k = 0; k < 3; ++k) {
                const int u0 = m_tris[t][k], v0 = m_tris[t][(k + 1) % 3];
                if (!isLoopEdge(u0, v0) || done.count(directedKey(u0, v0)))
                    continue;
                MergedLoop loop;
                int u = u0, v = v0;
                size_t steps = 0;
                do {
                    done.insert(directedKey(u, v));
                    loop.v.push_back(u);
                    loop.bridge.push_back(isCut(u, v) ? 1 : 0);
                    // Turn round v through the region until the next loop edge.
                    int from = u;
                    int w = -1;
                    size_t turns = 0;
                    for (;;) {
                        const int c = m_corner.at(directedKey(from, v));
                        const auto& tri = m_tris[c / 3];
                        w = tri[(c % 3 + 2) % 3];  // the edge v -> w follows from -> v
                        if (isLoopEdge(v, w))
                            break;
                        from = w;
                        if (++turns > limit)
                            throw eInternalError;
                    }
                    u = v;
                    v = w;
                    if (++steps > limit)
                        throw eInternalError;
                } while (u != u0 || v != v0);
                loops.push_back(std::move(loop));
            }
    }

private:
    const std::vector<std::array<int, 3>>& m_tris;
    const std::vector<int>& m_region;
    std::unordered_map<uint64_t, int> m_corner;  // directed edge -> triangle * 3 + corner
    std::unordered_set<uint64_t> m_cut;
};

// Splices loop b into loop a at a vertex they share: a runs to the vertex,
// round b from there, and on.
bool spliceAtSharedVertex(MergedLoop& a, const MergedLoop& b)
{
    std::unordered_map<int, size_t> posB;
    for (size_t j = 0; j < b.v.size(); ++j)
        posB.emplace(b.v[j], j);
    for (size_t i = 0; i < a.v.size(); ++i) {
        auto it = posB.find(a.v[i]);
        if (it == posB.end())
            continue;
        const size_t j = it->second, nb = b.v.size();
        MergedLoop r;
        r.v.reserve(a.v.size() + nb);
        for (size_t k = 0; k < i; ++k) {
            r.v.push_back(a.v[k]);
            r.bridge.push_back(a.bridge[k]);
        }
        for (size_t k = 0; k < nb; ++k) {
            r.v.push_back(b.v[(j + k) % nb]);
            r.bridge.push_back(b.bridge[(j + k) % nb]);
        }
        for (size_t k = i; k < a.v.size(); ++k) {
            r.v.push_back(a.v[k]);
            r.bridge.push_back(a.bridge[k]);
        }
        a = std::move(r);
        return true;
    }
    return false;
}

void mergeRegion(const std::vector<std::array<int, 3>>& tris, const std::vector<int>& region, MergedLoop& out)
{
    RegionWalker walker(tris, region);
    std::vector<MergedLoop> loops;
    walker.walk(loops);
    if (loops.empty())
        throw eInternalError;
    if (loops.size() > 1) {
        // Join the loops by cuts along internal edges: loops that share a
        // vertex are joined there later; the rest by a spanning tree of
        // edges between loop vertices, through inner vertices if need be.
        std::unordered_map<int, int> loopOf;
        Dsu dsu(loops.size());
        for (size_t l = 0; l < loops.size(); ++l)
            for (int v : loops[l].v) {
                auto r = loopOf.emplace(v, static_cast<int>(l));
                if (!r.second)
                    dsu.unite(r.first->second, static_cast<int>(l));
            }
        walker.forEachInternal([&](int u, int v) {
            auto a = loopOf.find(u), b = loopOf.find(v);
            if (a != loopOf.end() && b != loopOf.end() && dsu.unite(a->second, b->second))
                walker.cut(u, v);
        });
        int groups = 0;
        for (size_t l = 0; l < loops.size(); ++l)
            groups += dsu.find(static_cast<int>(l)) == static_cast<int>(l);
        if (groups > 1) {
            // Paths through vertices inside the region.
            std::unordered_map<int, std::vector<int>> adj;
            walker.forEachInternal([&](int u, int v) {
                adj[u].push_back(v);
                adj[v].push_back(u);
            });
            const int root = dsu.find(0);
            bool progress = true;
            while (groups > 1 && progress) {
                progress = false;
                // Breadth-first from the vertices of the root group to the
                // nearest vertex of another group.
                std::unordered_map<int, int> parent;
                std::vector<int> queue;
                for (size_t l = 0; l < loops.size(); ++l)
                    if (dsu.find(static_cast<int>(l)) == root)
                        for (int v : loops[l].v)
                            if (parent.emplace(v, v).second)
                                queue.push_back(v);
                int hit = -1;
                for (size_t q = 0; q < queue.size() && hit < 0; ++q) {
                    const int u = queue[q];
                    for (int w : adj[u]) {
                        if (parent.count(w))
                            continue;
                        parent.emplace(w, u);
                        auto lw = loopOf.find(w);
                        if (lw != loopOf.end() && dsu.find(lw->second) != root) {
                            hit = w;
                            break;
                        }
                        queue.push_back(w);
                    }
                }
                if (hit >= 0) {
                    for (int w = hit; parent.at(w) != w; w = parent.at(w))
                        walker.cut(w, parent.at(w));
                    dsu.unite(root, loopOf.at(hit));
                    --groups;
                    progress = true;
                }
            }
            if (groups > 1)
                throw eInternalError;
        }
        walker.walk(loops);
        // Loops that only touch at a vertex.
        MergedLoop merged = std::move(loops[0]);
        std::vector<char> used(loops.size(), 0);
        used[0] = 1;
        size_t left = loops.size() - 1;
        bool again = true;
        while (left > 0 && again) {
            again = false;
            for (size_t l = 1; l < loops.size(); ++l)
                if (!used[l] && spliceAtSharedVertex(merged, loops[l])) {
                    used[l] = 1;
                    --left;
                    again = true;
                }
        }
        if (left > 0)
            throw eInternalError;
        out = std::move(merged);
        return;
    }
    out = std::move(loops[0]);
}

} // namespace

void mergeTriangles(const std::vector<std::array<int, 3>>& triangles, std::vector<MergedLoop>& regions)
{
    regions.clear();
    std::vector<int> live;
    live.reserve(triangles.size());
    for (size_t t = 0; t < triangles.size(); ++t) {
        const auto& x = triangles[t];
        if (x[0] != x[1] && x[1] != x[2] && x[0] != x[2])
            live.push_back(static_cast<int>(t));
    }
    if (live.empty())
        return;
    std::unordered_map<uint64_t, int> owner;
    owner.reserve(live.size() * 3);
    for (int t : live)
        for (int k = 0; k < 3; ++k)
            if (!owner.emplace(directedKey(triangles[t][k], triangles[t][(k + 1) % 3]), t).second)
                throw eInternalError;
    Dsu dsu(triangles.size());
    for (int t : live)
        for (int k = 0; k < 3; ++k) {
            auto it = owner.find(directedKey(triangles[t][(k + 1) % 3], triangles[t][k]));
            if (it != owner.end())
                dsu.unite(t, it->second);
        }
    std::unordered_map<int, int> regionOf;
    std::vector<std::vector<int>> members;
    for (int t : live) {
        auto r = regionOf.emplace(dsu.find(t), static_cast<int>(members.size()));
        if (r.second)
            members.emplace_back();
        members[r.first->second].push_back(t);
    }
    regions.resize(members.size());
    for (size_t r = 0; r < members.size(); ++r) {
        mergeRegion(triangles, members[r], regions[r]);
        regions[r].triangles = std::move(members[r]);
    }
}

} // namespace AModeler
