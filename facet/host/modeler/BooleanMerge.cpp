// Faces back from triangles: the regions a face's surviving triangles cover,
// each walked into one loop.
//
// The triangles become half-edges over vertices numbered 0..n-1 (h = 3t + k
// runs from corner k to corner k + 1 of triangle t), their twins found
// through each vertex's outgoing half-edges: no hashing, so the cost stays
// linear in the triangles of the face.

#include "facet/host/modeler/BooleanInternal.h"

#include "facet/host/modeler/ErrorCode.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

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

inline int nextOf(int h) { return h % 3 == 2 ? h - 2 : h + 1; }

class Merger
{
public:
    Merger(const std::vector<std::array<int, 3>>& triangles, const std::vector<int>& live, const FlatMap<char>* apart)
        : m_live(live)
    {
        const int nt = static_cast<int>(live.size());
        number(triangles);
        // Outgoing half-edges of each vertex.
        const int nv = static_cast<int>(m_ids.size());
        m_outStart.assign(nv + 1, 0);
        for (int h = 0; h < 3 * nt; ++h)
            ++m_outStart[m_from[h] + 1];
        for (int v = 0; v < nv; ++v)
            m_outStart[v + 1] += m_outStart[v];
        m_out.resize(3 * static_cast<size_t>(nt));
        std::vector<int> fill(m_outStart.begin(), m_outStart.end() - 1);
        for (int h = 0; h < 3 * nt; ++h)
            m_out[fill[m_from[h]]++] = h;
        m_twin.assign(3 * static_cast<size_t>(nt), -1);
        for (int h = 0; h < 3 * nt; ++h) {
            const int u = m_from[h], v = to(h);
            for (int i = m_outStart[u]; i < m_outStart[u + 1]; ++i) {
                const int g = m_out[i];
                if (g != h && to(g) == v)
                    throw eInternalError;  // the same edge twice the same way: not a surface
            }
            if (apart && apart->count(undirectedKey(m_ids[u], m_ids[v])))
                continue;
            for (int i = m_outStart[v]; i < m_outStart[v + 1]; ++i)
                if (to(m_out[i]) == u) {
                    m_twin[h] = m_out[i];
                    break;
                }
        }
        m_cut.assign(3 * static_cast<size_t>(nt), 0);
        m_done.assign(3 * static_cast<size_t>(nt), 0);
        m_mark.assign(nv, -1);
    }

    int triangleCount() const { return static_cast<int>(m_live.size()); }
    int twin(int h) const { return m_twin[h]; }
    int inputTriangle(int t) const { return m_live[t]; }

    void merge(const std::vector<int>& region, MergedLoop& out);

private:
    int to(int h) const { return m_from[nextOf(h)]; }
    bool isLoopEdge(int h) const { return m_twin[h] < 0 || m_cut[h]; }
    void cut(int h)
    {
        m_cut[h] = 1;
        m_cut[m_twin[h]] = 1;
    }

    void number(const std::vector<std::array<int, 3>>& triangles)
    {
        const size_t nt = m_live.size();
        m_from.resize(3 * nt);
        int lo = 0, hi = 0;
        bool first = true;
        for (int t : m_live)
            for (int x : triangles[t]) {
                lo = first ? x : std::min(lo, x);
                hi = first ? x : std::max(hi, x);
                first = false;
            }
        const long span = static_cast<long>(hi) - lo + 1;
        if (span <= static_cast<long>(8 * 3 * nt + 1024)) {
            std::vector<int> local(static_cast<size_t>(span), -1);
            for (size_t t = 0; t < nt; ++t)
                for (int k = 0; k < 3; ++k) {
                    int& l = local[triangles[m_live[t]][k] - lo];
                    if (l < 0) {
                        l = static_cast<int>(m_ids.size());
                        m_ids.push_back(triangles[m_live[t]][k]);
                    }
                    m_from[3 * t + k] = l;
                }
            return;
        }
        std::unordered_map<int, int> local;
        local.reserve(3 * nt);
        for (size_t t = 0; t < nt; ++t)
            for (int k = 0; k < 3; ++k) {
                const int id = triangles[m_live[t]][k];
                auto r = local.emplace(id, static_cast<int>(m_ids.size()));
                if (r.second)
                    m_ids.push_back(id);
                m_from[3 * t + k] = r.first->second;
            }
    }

    // Loops of the region's boundary and cuts, as half-edge sequences.
    void walk(const std::vector<int>& region, std::vector<std::vector<int>>& loops)
    {
        loops.clear();
        const size_t limit = region.size() * 6 + 4;
        for (int t : region)
            for (int k = 0; k < 3; ++k) {
                const int h0 = 3 * t + k;
                if (!isLoopEdge(h0) || m_done[h0])
                    continue;
                std::vector<int> loop;
                int h = h0;
                size_t steps = 0;
                do {
                    m_done[h] = 1;
                    loop.push_back(h);
                    // Turn round the end vertex through the region until the next loop edge.
                    int g = nextOf(h);
                    size_t turns = 0;
                    while (!isLoopEdge(g)) {
                        g = nextOf(m_twin[g]);
                        if (++turns > limit)
                            throw eInternalError;
                    }
                    h = g;
                    if (++steps > limit)
                        throw eInternalError;
                } while (h != h0);
                loops.push_back(std::move(loop));
            }
        for (const auto& loop : loops)
            for (int h : loop)
                m_done[h] = 0;
    }

    // Splices loop b into loop a at a vertex they share: a runs to the
    // vertex, round b from there, and on.
    bool spliceAtSharedVertex(std::vector<int>& a, const std::vector<int>& b)
    {
        for (size_t j = 0; j < b.size(); ++j)
            if (m_mark[m_from[b[j]]] < 0)
                m_mark[m_from[b[j]]] = static_cast<int>(j);
        bool done = false;
        for (size_t i = 0; i < a.size() && !done; ++i) {
            const int j = m_mark[m_from[a[i]]];
            if (j < 0)
                continue;
            std::vector<int> r;
            r.reserve(a.size() + b.size());
            r.insert(r.end(), a.begin(), a.begin() + static_cast<long>(i));
            for (size_t k = 0; k < b.size(); ++k)
                r.push_back(b[(j + k) % b.size()]);
            r.insert(r.end(), a.begin() + static_cast<long>(i), a.end());
            a = std::move(r);
            done = true;
        }
        for (int h : b)
            m_mark[m_from[h]] = -1;
        return done;
    }

    void joinLoops(const std::vector<int>& region, std::vector<std::vector<int>>& loops);

    const std::vector<int>& m_live;
    std::vector<int> m_ids;       // local vertex -> id
    std::vector<int> m_from;      // half-edge -> local vertex it leaves
    std::vector<int> m_outStart;  // outgoing half-edges of vertex v: m_out[m_outStart[v] .. m_outStart[v + 1])
    std::vector<int> m_out;
    std::vector<int> m_twin;
    std::vector<char> m_cut;      // loop edge though inside the region: one of a bridge pair
    std::vector<char> m_done;
    std::vector<int> m_mark;      // scratch per vertex, -1 between uses
};

void Merger::joinLoops(const std::vector<int>& region, std::vector<std::vector<int>>& loops)
{
    // Join the loops by cuts along internal edges: loops that share a vertex
    // are joined there later; the rest by a spanning tree of edges between
    // loop vertices, through inner vertices if need be.
    std::vector<int>& loopOf = m_mark;
    std::vector<int> touched;
    Dsu dsu(loops.size());
    for (size_t l = 0; l < loops.size(); ++l)
        for (int h : loops[l]) {
            int& x = loopOf[m_from[h]];
            if (x < 0) {
                x = static_cast<int>(l);
                touched.push_back(m_from[h]);
            } else {
                dsu.unite(x, static_cast<int>(l));
            }
        }
    for (int t : region)
        for (int k = 0; k < 3; ++k) {
            const int h = 3 * t + k, g = m_twin[h];
            if (g < h || m_cut[h])
                continue;
            const int a = loopOf[m_from[h]], b = loopOf[to(h)];
            if (a >= 0 && b >= 0 && dsu.unite(a, b))
                cut(h);
        }
    int groups = 0;
    for (size_t l = 0; l < loops.size(); ++l)
        groups += dsu.find(static_cast<int>(l)) == static_cast<int>(l);
    if (groups > 1) {
        // Paths through vertices inside the region, breadth-first from the
        // root group's vertices to the nearest vertex of another group.
        std::vector<char> inRegion(m_live.size(), 0);
        for (int t : region)
            inRegion[t] = 1;
        const int root = dsu.find(0);
        std::vector<int> parent(m_ids.size(), -1);  // half-edge that reached the vertex, or -2 at a start
        std::vector<int> queue, seen;
        while (groups > 1) {
            queue.clear();
            for (size_t l = 0; l < loops.size(); ++l)
                if (dsu.find(static_cast<int>(l)) == root)
                    for (int h : loops[l])
                        if (parent[m_from[h]] == -1) {
                            parent[m_from[h]] = -2;
                            queue.push_back(m_from[h]);
                        }
            seen = queue;
            int hit = -1;
            for (size_t q = 0; q < queue.size() && hit < 0; ++q) {
                const int u = queue[q];
                for (int i = m_outStart[u]; i < m_outStart[u + 1] && hit < 0; ++i) {
                    const int h = m_out[i];
                    if (!inRegion[h / 3] || m_twin[h] < 0)
                        continue;
                    const int w = to(h);
                    if (parent[w] != -1)
                        continue;
                    parent[w] = h;
                    seen.push_back(w);
                    if (loopOf[w] >= 0 && dsu.find(loopOf[w]) != root)
                        hit = w;
                    else
                        queue.push_back(w);
                }
            }
            if (hit < 0)
                throw eInternalError;
            for (int w = hit; parent[w] >= 0; w = m_from[parent[w]])
                cut(parent[w]);
            dsu.unite(root, loopOf[hit]);
            --groups;
            for (int v : seen)
                parent[v] = -1;
        }
    }
    for (int v : touched)
        loopOf[v] = -1;
    walk(region, loops);
    // Loops that only touch at a vertex.
    std::vector<char> used(loops.size(), 0);
    used[0] = 1;
    size_t left = loops.size() - 1;
    bool again = true;
    while (left > 0 && again) {
        again = false;
        for (size_t l = 1; l < loops.size(); ++l)
            if (!used[l] && spliceAtSharedVertex(loops[0], loops[l])) {
                used[l] = 1;
                --left;
                again = true;
            }
    }
    if (left > 0)
        throw eInternalError;
    loops.resize(1);
}

void Merger::merge(const std::vector<int>& region, MergedLoop& out)
{
    std::vector<std::vector<int>> loops;
    walk(region, loops);
    if (loops.empty())
        throw eInternalError;
    if (loops.size() > 1)
        joinLoops(region, loops);
    out.v.clear();
    out.bridge.clear();
    out.v.reserve(loops[0].size());
    out.bridge.reserve(loops[0].size());
    for (int h : loops[0]) {
        out.v.push_back(m_ids[m_from[h]]);
        out.bridge.push_back(m_cut[h]);
    }
}

} // namespace

void mergeTriangles(const std::vector<std::array<int, 3>>& triangles, std::vector<MergedLoop>& regions,
                    const FlatMap<char>* apart)
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
    Merger merger(triangles, live, apart && apart->size() ? apart : nullptr);
    const int nt = merger.triangleCount();
    Dsu dsu(nt);
    for (int h = 0; h < 3 * nt; ++h)
        if (merger.twin(h) >= 0)
            dsu.unite(h / 3, merger.twin(h) / 3);
    std::vector<int> regionOf(nt, -1);
    std::vector<std::vector<int>> members;
    for (int t = 0; t < nt; ++t) {
        int& r = regionOf[dsu.find(t)];
        if (r < 0) {
            r = static_cast<int>(members.size());
            members.emplace_back();
        }
        members[r].push_back(t);
    }
    regions.resize(members.size());
    for (size_t r = 0; r < members.size(); ++r) {
        merger.merge(members[r], regions[r]);
        regions[r].triangles.reserve(members[r].size());
        for (int t : members[r])
            regions[r].triangles.push_back(merger.inputTriangle(t));
    }
    if (apart && apart->size()) {
        // An edge kept apart that ends inside the region would leave a slit
        // in its loop; the region is merged across it as before instead.
        for (const MergedLoop& r : regions) {
            FlatMap<char> seen;
            for (size_t i = 0; i < r.v.size(); ++i)
                if (!r.bridge[i])
                    seen.emplace(directedKey(r.v[i], r.v[(i + 1) % r.v.size()]), 1);
            for (size_t i = 0; i < r.v.size(); ++i)
                if (!r.bridge[i] && seen.count(directedKey(r.v[(i + 1) % r.v.size()], r.v[i]))) {
                    mergeTriangles(triangles, regions, nullptr);
                    return;
                }
        }
    }
}

} // namespace AModeler
