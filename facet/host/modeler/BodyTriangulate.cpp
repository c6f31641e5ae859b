// Triangulated output: to a call-back and to the modeler's own DXF file.

#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/TriangulatorInternal.h"

#include "roots/VelString.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>

namespace AModeler {

namespace {

bool isConvexSimple(const std::vector<Edge*>& loop, const std::vector<Point2>& pts)
{
    const size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        if (loop[i]->isBridge())
            return false;
        const Point2& a = pts[(i + n - 1) % n];
        const Point2& b = pts[i];
        const Point2& c = pts[(i + 1) % n];
        if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) < 0.0)
            return false;
    }
    return true;
}

} // namespace

void Body::triangulate(OutputTriangleCallback* callback, int type, bool improve) const
{
    if (!callback)
        throw eInvalidInput;
    if (type < kGenerateTriangles || type > kGenerateTriFans)
        throw eInvalidInput;
    std::vector<Edge*> loop;
    std::vector<Point2> pts;
    std::vector<std::array<int, 3>> tris;
    std::vector<Edge*> strip;
    for (Face* f = faceList(); f; f = f->next()) {
        BodyImpl::loopEdges(f, loop);
        if (loop.size() < 3)
            continue;
        Vector3d n = f->plane().normal();
        if (n.isNull()) {
            std::vector<Point3d> p3;
            for (Edge* e : loop)
                p3.push_back(e->vertex() ? e->vertex()->point() : Point3d());
            n = newellNormal(p3).normalized();
        }
        const Vector3d u = n.perpendicular(), v = n.cross(u);
        const Point3d o = loop[0]->vertex() ? loop[0]->vertex()->point() : Point3d();
        pts.clear();
        bool ok = true;
        for (Edge* e : loop) {
            if (!e->vertex()) {
                ok = false;
                break;
            }
            const Vector3d d = e->vertex()->point() - o;
            pts.push_back({d.dot(u), d.dot(v)});
        }
        if (!ok)
            continue;
        if (type != kGenerateTriangles && isConvexSimple(loop, pts)) {
            const size_t m = loop.size();
            strip.clear();
            if (type == kGenerateTriFans) {
                strip = loop;
            } else {
                // Zigzag from both ends: 0, 1, m-1, 2, m-2, ...
                size_t lo = 1, hi = m - 1;
                strip.push_back(loop[0]);
                bool fromLow = true;
                while (lo <= hi) {
                    strip.push_back(fromLow ? loop[lo++] : loop[hi--]);
                    fromLow = !fromLow;
                }
            }
            callback->outputTriStrip(strip.data(), static_cast<int>(strip.size()), type == kGenerateTriFans);
            continue;
        }
        triangulateLoop(pts, improve, tris);
        for (const auto& t : tris) {
            Edge* const tri[3] = {loop[t[0]], loop[t[1]], loop[t[2]]};
            callback->outputTriangle(tri, 3);
        }
    }
}

namespace {

// Writes 3DFACE entities; a side is invisible unless it is a real boundary
// edge of the face (the corner's loop successor is the next corner).
class DxfWriter : public OutputTriangleCallback
{
public:
    explicit DxfWriter(FILE* file) : m_file(file) {}

    void outputTriangle(Edge* const* edges, int count) override
    {
        if (count != 3 || !m_ok)
            return;
        const int color = edges[0]->face() ? edges[0]->face()->color() : 0;
        int flags = 0;
        for (int i = 0; i < 3; ++i) {
            const Edge* e = edges[i];
            const bool visible = !e->isBridge() && e->next() && e->next()->vertex() == edges[(i + 1) % 3]->vertex();
            if (!visible)
                flags |= (i == 2) ? 8 : (1 << i);
        }
        put("  0\n3DFACE\n  8\n0\n");
        if (color >= 1 && color <= 255)
            put(" 62\n%d\n", color);
        for (int k = 0; k < 4; ++k) {
            const Point3d p = edges[k < 3 ? k : 2]->startPoint();
            put(" 1%d\n%.17g\n 2%d\n%.17g\n 3%d\n%.17g\n", k, p.x, k, p.y, k, p.z);
        }
        put(" 70\n%d\n", flags);
    }

    void put(const char* fmt, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
    {
        if (!m_ok)
            return;
        va_list args;
        va_start(args, fmt);
        if (std::vfprintf(m_file, fmt, args) < 0)
            m_ok = false;
        va_end(args);
    }

    bool ok() const { return m_ok; }

private:
    FILE* m_file;
    bool m_ok = true;
};

} // namespace

void Body::triangulateDxf(const char* path, int type, bool improve) const
{
    if (!path || !*path)
        throw eInvalidInput;
    if (type < kGenerateTriangles || type > kGenerateTriFans)
        throw eInvalidInput;
    FILE* file = std::fopen(path, "w");
    if (!file)
        throw eFileError;
    DxfWriter writer(file);
    writer.put("  0\nSECTION\n  2\nENTITIES\n");
    try {
        triangulate(&writer, type, improve);
    } catch (...) {
        std::fclose(file);
        throw;
    }
    writer.put("  0\nENDSEC\n  0\nEOF\n");
    const bool closed = std::fclose(file) == 0;
    if (!writer.ok() || !closed)
        throw eFileError;
}

void Body::triangulateDxf(const wchar_t* path, int type, bool improve) const
{
    if (!path || !*path)
        throw eInvalidInput;
    const std::string narrow = VelString::narrow(path, std::wcslen(path));
    triangulateDxf(narrow.c_str(), type, improve);
}

} // namespace AModeler
