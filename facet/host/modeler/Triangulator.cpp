#include "facet/host/modeler/TriangulatorInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace AModeler {

namespace {

struct Node
{
    int i;
    double x, y;
    Node* prev;
    Node* next;
    bool removed = false;
    const std::vector<Node*>* twins = nullptr;  // nodes at the same point (bridge ends), itself included
};

inline double cross(const Node* a, const Node* b, const Node* c)
{
    return (b->x - a->x) * (c->y - a->y) - (b->y - a->y) * (c->x - a->x);
}

inline bool samePoint(const Node* a, const Node* b) { return a->x == b->x && a->y == b->y; }

// Closed triangle containment (the triangle counterclockwise).
inline bool inTriangle(const Node* a, const Node* b, const Node* c, const Node* p)
{
    return cross(a, b, p) >= 0.0 && cross(b, c, p) >= 0.0 && cross(c, a, p) >= 0.0;
}

// Non-convex vertices in a uniform grid: only they can spoil an ear.
class ReflexGrid
{
public:
    ReflexGrid(std::vector<Node>& nodes, double minX, double minY, double maxX, double maxY)
    {
        const size_t n = nodes.size();
        m_cols = m_rows = std::max<int>(1, static_cast<int>(std::sqrt(static_cast<double>(n)) / 2));
        m_minX = minX;
        m_minY = minY;
        m_w = (maxX - minX) / m_cols;
        m_h = (maxY - minY) / m_rows;
        if (!(m_w > 0.0))
            m_w = 1.0;
        if (!(m_h > 0.0))
            m_h = 1.0;
        m_cells.assign(static_cast<size_t>(m_cols) * m_rows, {});
        for (Node& nd : nodes)
            if (cross(nd.prev, &nd, nd.next) <= 0.0)
                m_cells[cell(col(nd.x), row(nd.y))].push_back(&nd);
    }

    // True when no vertex other than the corners (or a point equal to one
    // of them) lies in the triangle.
    bool empty(const Node* a, const Node* b, const Node* c) const
    {
        const double x0 = std::min({a->x, b->x, c->x}), x1 = std::max({a->x, b->x, c->x});
        const double y0 = std::min({a->y, b->y, c->y}), y1 = std::max({a->y, b->y, c->y});
        const int c0 = col(x0), c1 = col(x1), r0 = row(y0), r1 = row(y1);
        for (int r = r0; r <= r1; ++r)
            for (int cc = c0; cc <= c1; ++cc)
                for (const Node* p : m_cells[cell(cc, r)]) {
                    if (p->removed || p == a || p == b || p == c)
                        continue;
                    if (p->x < x0 || p->x > x1 || p->y < y0 || p->y > y1)
                        continue;
                    // Points at a corner: a and c are harmless (an edge from
                    // there could only leave through a side of the ear);
                    // copies of b are judged by their edges in isEar.
                    if (samePoint(p, a) || samePoint(p, b) || samePoint(p, c))
                        continue;
                    if (inTriangle(a, b, c, p))
                        return false;
                }
        return true;
    }

private:
    int col(double x) const { return std::clamp(static_cast<int>((x - m_minX) / m_w), 0, m_cols - 1); }
    int row(double y) const { return std::clamp(static_cast<int>((y - m_minY) / m_h), 0, m_rows - 1); }
    size_t cell(int c, int r) const { return static_cast<size_t>(r) * m_cols + c; }

    int m_cols, m_rows;
    double m_minX, m_minY, m_w, m_h;
    std::vector<std::vector<Node*>> m_cells;
};

struct Clipper
{
    std::vector<std::array<int, 3>>& out;
    const ReflexGrid& grid;
    int alive;

    void emit(Node* ear)
    {
        out.push_back({ear->prev->i, ear->i, ear->next->i});
        ear->prev->next = ear->next;
        ear->next->prev = ear->prev;
        ear->removed = true;
        --alive;
    }

    bool isEar(Node* b) const
    {
        Node* a = b->prev;
        Node* c = b->next;
        if (cross(a, b, c) <= 0.0)
            return false;
        if (b->twins)
            for (const Node* p : *b->twins) {
                if (p == b || p->removed)
                    continue;
                // Another sheet of the loop meets at b: the ear must not
                // cover an edge leaving it.
                for (const Node* q : {p->prev, p->next})
                    if (cross(b, c, q) > 0.0 && cross(b, a, q) < 0.0)
                        return false;
            }
        return grid.empty(a, b, c);
    }

    // Removes zero-area spikes and coincident neighbours, each as a
    // degenerate triangle; returns a node still alive.
    Node* filter(Node* start)
    {
        Node* p = start;
        int guard = 0;
        bool again;
        do {
            again = false;
            if (alive > 3 && (samePoint(p, p->next) || cross(p->prev, p, p->next) == 0.0)) {
                Node* n = p->next;
                emit(p);
                p = start = n;
                again = true;
            } else {
                p = p->next;
            }
        } while ((again || p != start) && ++guard < 1 << 30 && alive > 3);
        return p;
    }

    void run(Node* ear)
    {
        int pass = 0;
        Node* stop = ear;
        while (alive > 3) {
            Node* next = ear->next;
            if (isEar(ear)) {
                // Step back: the corner before the ear is the likeliest next
                // ear, so clipping stays local instead of lapping the loop.
                Node* prev = ear->prev;
                emit(ear);
                ear = stop = prev;
                pass = 0;
                continue;
            }
            ear = next;
            if (ear != stop)
                continue;
            // A full round without an ear.
            if (pass == 0) {
                ear = stop = filter(ear);
                pass = 1;
                continue;
            }
            // Last resort for loops that are not simple: clip the
            // best-turning vertex so the count still comes out right.
            Node* best = ear;
            double bestCross = -INFINITY;
            Node* p = ear;
            do {
                const double c = cross(p->prev, p, p->next);
                if (c > bestCross) {
                    bestCross = c;
                    best = p;
                }
                p = p->next;
            } while (p != ear);
            ear = best->next;
            emit(best);
            stop = ear;
            pass = 0;
        }
        if (alive == 3)
            out.push_back({ear->prev->i, ear->i, ear->next->i});
    }
};

inline bool convexQuad(const Point2& a, const Point2& b, const Point2& c, const Point2& d)
{
    auto cr = [](const Point2& p, const Point2& q, const Point2& r) {
        return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
    };
    return cr(a, b, c) > 0 && cr(b, c, d) > 0 && cr(c, d, a) > 0 && cr(d, a, b) > 0;
}

// d inside the circumcircle of the counterclockwise triangle a b c.
inline bool inCircle(const Point2& a, const Point2& b, const Point2& c, const Point2& d)
{
    const double adx = a.x - d.x, ady = a.y - d.y, bdx = b.x - d.x, bdy = b.y - d.y, cdx = c.x - d.x,
                 cdy = c.y - d.y;
    const double det = (adx * adx + ady * ady) * (bdx * cdy - cdx * bdy) -
                       (bdx * bdx + bdy * bdy) * (adx * cdy - cdx * ady) +
                       (cdx * cdx + cdy * cdy) * (adx * bdy - bdx * ady);
    return det > 1e-12 * (std::fabs(adx) + std::fabs(bdx) + std::fabs(cdx) + std::fabs(ady) + std::fabs(bdy) +
                          std::fabs(cdy));
}

void improveTriangles(const std::vector<Point2>& pts, std::vector<std::array<int, 3>>& tris)
{
    auto key = [](int u, int v) { return (static_cast<uint64_t>(static_cast<uint32_t>(u)) << 32) | static_cast<uint32_t>(v); };
    std::unordered_map<uint64_t, int> owner;  // directed edge -> triangle
    owner.reserve(tris.size() * 3);
    for (size_t t = 0; t < tris.size(); ++t)
        for (int k = 0; k < 3; ++k)
            owner[key(tris[t][k], tris[t][(k + 1) % 3])] = static_cast<int>(t);
    const int limit = static_cast<int>(tris.size()) * 8 + 16;
    int flips = 0;
    bool changed = true;
    while (changed && flips < limit) {
        changed = false;
        for (size_t t = 0; t < tris.size() && flips < limit; ++t)
            for (int k = 0; k < 3; ++k) {
                const int u = tris[t][k], v = tris[t][(k + 1) % 3], w = tris[t][(k + 2) % 3];
                auto it = owner.find(key(v, u));
                if (it == owner.end())
                    continue;
                const int s = it->second;
                int x = -1;
                for (int j = 0; j < 3; ++j)
                    if (tris[s][j] != u && tris[s][j] != v)
                        x = tris[s][j];
                if (x < 0 || !convexQuad(pts[u], pts[x], pts[v], pts[w]) || !inCircle(pts[u], pts[v], pts[w], pts[x]))
                    continue;
                // Replace diagonal u-v by w-x.
                for (int j = 0; j < 3; ++j) {
                    owner.erase(key(tris[t][j], tris[t][(j + 1) % 3]));
                    owner.erase(key(tris[s][j], tris[s][(j + 1) % 3]));
                }
                tris[t] = {u, x, w};
                tris[s] = {x, v, w};
                for (int j = 0; j < 3; ++j) {
                    owner[key(tris[t][j], tris[t][(j + 1) % 3])] = static_cast<int>(t);
                    owner[key(tris[s][j], tris[s][(j + 1) % 3])] = s;
                }
                ++flips;
                changed = true;
                break;
            }
    }
}

} // namespace

void triangulateLoop(const std::vector<Point2>& pts, bool improve, std::vector<std::array<int, 3>>& triangles)
{
    triangles.clear();
    const int n = static_cast<int>(pts.size());
    if (n < 3)
        return;
    triangles.reserve(n - 2);
    if (n == 3) {
        triangles.push_back({0, 1, 2});
        return;
    }
    std::vector<Node> nodes(n);
    double minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
    for (int i = 0; i < n; ++i) {
        nodes[i].i = i;
        nodes[i].x = pts[i].x;
        nodes[i].y = pts[i].y;
        nodes[i].prev = &nodes[(i + n - 1) % n];
        nodes[i].next = &nodes[(i + 1) % n];
        minX = std::min(minX, pts[i].x);
        maxX = std::max(maxX, pts[i].x);
        minY = std::min(minY, pts[i].y);
        maxY = std::max(maxY, pts[i].y);
    }
    // Groups of nodes at one point.
    struct PairHash
    {
        size_t operator()(const std::pair<double, double>& p) const
        {
            return std::hash<double>()(p.first) * 1000003u ^ std::hash<double>()(p.second);
        }
    };
    std::unordered_map<std::pair<double, double>, std::vector<Node*>, PairHash> groups;
    for (Node& nd : nodes)
        groups[{nd.x, nd.y}].push_back(&nd);
    for (auto& g : groups)
        if (g.second.size() > 1)
            for (Node* nd : g.second)
                nd->twins = &g.second;
    ReflexGrid grid(nodes, minX, minY, maxX, maxY);
    Clipper clip{triangles, grid, n};
    clip.run(&nodes[0]);
    if (improve)
        improveTriangles(pts, triangles);
}

} // namespace AModeler
