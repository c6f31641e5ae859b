#include "facet/host/modeler/BodyBuilderInternal.h"

#include "facet/host/modeler/BodyDataInternal.h"

#include <algorithm>

namespace AModeler {

int BodyBuilder::addVertex(const Point3d& p)
{
    m_points.push_back(p);
    return static_cast<int>(m_points.size()) - 1;
}

int BodyBuilder::addCurve(const Circle3d& circle, int facets)
{
    m_curves.emplace_back(circle, facets);
    return static_cast<int>(m_curves.size()) - 1;
}

int BodyBuilder::addFace(const std::vector<int>& loop, int color)
{
    std::vector<int> l;
    l.reserve(loop.size());
    for (int v : loop)
        if (l.empty() || l.back() != v)
            l.push_back(v);
    while (l.size() > 1 && l.back() == l.front())
        l.pop_back();
    m_faces.push_back(std::move(l));
    m_colors.push_back(color);
    return static_cast<int>(m_faces.size()) - 1;
}

void BodyBuilder::setCurve(int u, int v, int curve) { m_curveOf[key(u, v)] = curve; }

void BodyBuilder::setApprox(int u, int v) { m_approx[key(u, v)] = true; }

void BodyBuilder::reverseAll()
{
    for (auto& l : m_faces)
        std::reverse(l.begin(), l.end());
}

Body BodyBuilder::build(bool closed) const
{
    Body body;
    BodyData* d = BodyImpl::data(body);
    std::vector<int> used(m_points.size(), 0);
    for (const auto& l : m_faces) {
        if (l.size() < 3)
            throw eDegenerateGeometry;
        for (int v : l)
            used[v] = 1;
    }
    std::vector<Vertex*> verts(m_points.size(), nullptr);
    for (size_t i = 0; i < m_points.size(); ++i)
        if (used[i])
            verts[i] = BodyImpl::newVertex(d, m_points[i]);
    std::vector<Curve*> curves;
    curves.reserve(m_curves.size());
    for (const auto& c : m_curves)
        curves.push_back(BodyImpl::newCurve(d, c.first, c.second));

    size_t total = 0;
    for (const auto& l : m_faces)
        total += l.size();
    std::unordered_map<uint64_t, Edge*> byDirected;
    byDirected.reserve(total * 2);
    auto directed = [](int u, int v) {
        return (static_cast<uint64_t>(static_cast<uint32_t>(u)) << 32) | static_cast<uint32_t>(v);
    };
    std::vector<Edge*> loop;
    std::vector<Point3d> pts;
    for (size_t fi = 0; fi < m_faces.size(); ++fi) {
        const auto& l = m_faces[fi];
        Face* f = BodyImpl::newFace(d, m_colors[fi]);
        loop.clear();
        pts.clear();
        const size_t m = l.size();
        for (size_t j = 0; j < m; ++j) {
            const int u = l[j], v = l[(j + 1) % m];
            Edge* e = BodyImpl::newEdge(d, verts[u], f);
            loop.push_back(e);
            pts.push_back(m_points[u]);
            if (!byDirected.emplace(directed(u, v), e).second)
                throw eInvalidBody;
            const uint64_t k = key(u, v);
            auto c = m_curveOf.find(k);
            if (c != m_curveOf.end())
                BodyImpl::setCurveRaw(e, curves[c->second]);
            if (m_approx.count(k))
                e->setApprox(true);
        }
        for (size_t j = 0; j < m; ++j)
            BodyImpl::setLinks(loop[j], loop[(j + 1) % m], loop[(j + m - 1) % m]);
        BodyImpl::setLoopRaw(f, loop[0]);
        const Vector3d n = newellNormal(pts);
        if (!(n.length() > 0.0))
            throw eDegenerateGeometry;
        Vector3d c;
        for (const Point3d& p : pts)
            c += p.asVector();
        c = c / static_cast<double>(m);
        f->setPlane(Plane(Point3d(c.x, c.y, c.z), n));
    }
    for (const auto& entry : byDirected) {
        Edge* e = entry.second;
        if (e->partner())
            continue;
        const int u = static_cast<int>(entry.first >> 32), v = static_cast<int>(entry.first & 0xffffffffu);
        auto it = byDirected.find(directed(v, u));
        if (it == byDirected.end()) {
            if (closed)
                throw eInvalidBody;
            continue;
        }
        BodyImpl::setPartnerRaw(e, it->second);
        BodyImpl::setPartnerRaw(it->second, e);
    }
    return body;
}

} // namespace AModeler
