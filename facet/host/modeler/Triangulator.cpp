#include "facet/host/modeler/TriangulatorInternal.h"

#include "facet/host/modeler/FlatMapInternal.h"

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

} // namespace

void delaunayFlips(const std::vector<Point2>& pts, std::vector<std::array<int, 3>>& tris)
{
    const int nt = static_cast<int>(tris.size());
    if (nt < 2)
        return;
    // nb[3t + k]: the half-edge (3s + j) across edge k of triangle t, the
    // edge from corner k to corner k + 1; -1 on the boundary. Edges found
    // more than twice, or twice the same way, are left without a neighbour.
    std::vector<int> nb(3 * static_cast<size_t>(nt), -1);
    {
        FlatMap<int> owner;  // directed edge -> half-edge, -1 once the edge has turned up twice that way
        owner.reserve(3 * static_cast<size_t>(nt));
        for (int t = 0; t < nt; ++t)
            for (int k = 0; k < 3; ++k) {
                const auto r = owner.emplace(directedKey(tris[t][k], tris[t][(k + 1) % 3]), 3 * t + k);
                if (!r.second)
                    *r.first = -1;
            }
        for (int h = 0; h < 3 * nt; ++h) {
            const int t = h / 3, k = h % 3;
            const int u = tris[t][k], v = tris[t][(k + 1) % 3];
            const int* self = owner.find(directedKey(u, v));
            const int* other = owner.find(directedKey(v, u));
            if (u != v && self && *self == h && other && *other >= 0)
                nb[h] = *other;
        }
    }
    auto orient = [&](int a, int b, int c) {
        const Point2 &p = pts[a], &q = pts[b], &r = pts[c];
        return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
    };
    // d inside the circumcircle of the counterclockwise triangle a b c, by
    // more than rounding: cocircular points (regular polygons) never flip
    // back and forth.
    auto inCircle = [&](int a, int b, int c, int d) {
        const Point2 &pa = pts[a], &pb = pts[b], &pc = pts[c], &pd = pts[d];
        const double adx = pa.x - pd.x, ady = pa.y - pd.y, bdx = pb.x - pd.x, bdy = pb.y - pd.y, cdx = pc.x - pd.x,
                     cdy = pc.y - pd.y;
        const double det = (adx * adx + ady * ady) * (bdx * cdy - cdx * bdy) -
                           (bdx * bdx + bdy * bdy) * (adx * cdy - cdx * ady) +
                           (cdx * cdx + cdy * cdy) * (adx * bdy - bdx * ady);
        const double scale = adx * adx + ady * ady + bdx * bdx + bdy * bdy + cdx * cdx + cdy * cdy;
        return det > 1e-9 * scale * scale;
    };
    std::vector<int> stack;
    stack.reserve(3 * static_cast<size_t>(nt));
    for (int h = 0; h < 3 * nt; ++h)
        if (nb[h] > h)
            stack.push_back(h);
    long budget = 20L * nt + 100;
    while (!stack.empty() && budget > 0) {
        const int h = stack.back();
        stack.pop_back();
        const int g = nb[h];
        if (g < 0)
            continue;
        const int t = h / 3, k = h % 3, s = g / 3, j = g % 3;
        if (t == s)
            continue;
        const int u = tris[t][k], v = tris[t][(k + 1) % 3], w = tris[t][(k + 2) % 3];
        const int x = tris[s][(j + 2) % 3];
        if (w == x || u == x || v == w)
            continue;
        // t = (u, v, w), s = (v, u, x): flip to (u, x, w) and (x, v, w) when the quad is convex.
        if (!(orient(u, x, w) > 0) || !(orient(x, v, w) > 0) || !inCircle(u, v, w, x))
            continue;
        --budget;
        const int A = nb[3 * t + (k + 1) % 3];  // across v-w
        const int B = nb[3 * t + (k + 2) % 3];  // across w-u
        const int C = nb[3 * s + (j + 1) % 3];  // across u-x
        const int D = nb[3 * s + (j + 2) % 3];  // across x-v
        tris[t] = {u, x, w};
        tris[s] = {x, v, w};
        const int t0 = 3 * t, s0 = 3 * s;
        nb[t0] = C;
        nb[t0 + 1] = s0 + 2;
        nb[t0 + 2] = B;
        nb[s0] = D;
        nb[s0 + 1] = A;
        nb[s0 + 2] = t0 + 1;
        if (C >= 0)
            nb[C] = t0;
        if (B >= 0)
            nb[B] = t0 + 2;
        if (D >= 0)
            nb[D] = s0;
        if (A >= 0)
            nb[A] = s0 + 1;
        stack.push_back(t0);
        stack.push_back(t0 + 2);
        stack.push_back(s0);
        stack.push_back(s0 + 1);
    }
}

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
        delaunayFlips(pts, triangles);
}

} // namespace AModeler
