#pragma once
// Shared helpers of the modeler tests: loop walking, a triangle collector and
// independent geometry (shoelace areas, point-in-polygon).

#include <kiv/kivhost.h>

#include <cmath>
#include <vector>

namespace mtest {

using namespace AModeler;

inline std::vector<Edge*> loopOf(const Face* f)
{
    std::vector<Edge*> out;
    Edge* e = f->edgeLoop();
    if (!e)
        return out;
    do {
        out.push_back(e);
        e = e->next();
    } while (e && e != f->edgeLoop() && out.size() < 1000000);
    return out;
}

inline std::vector<Face*> facesOf(const Body& b)
{
    std::vector<Face*> out;
    for (Face* f = b.faceList(); f; f = f->next())
        out.push_back(f);
    return out;
}

struct Triangle
{
    Edge* e[3];
    Point3d p[3];
    double area() const { return 0.5 * (p[1] - p[0]).cross(p[2] - p[0]).length(); }
};

class Collector : public OutputTriangleCallback
{
public:
    void outputTriangle(Edge* const* edges, int count) override
    {
        if (count != 3)
            return;
        Triangle t;
        for (int i = 0; i < 3; ++i) {
            t.e[i] = edges[i];
            t.p[i] = edges[i]->vertex()->point();
        }
        tris.push_back(t);
    }
    std::vector<Triangle> tris;
};

// Shoelace area of a closed polygon in the xy plane.
inline double shoelace(const std::vector<Point3d>& p)
{
    double a = 0.0;
    for (size_t i = 0; i < p.size(); ++i) {
        const Point3d& u = p[i];
        const Point3d& v = p[(i + 1) % p.size()];
        a += u.x * v.y - v.x * u.y;
    }
    return 0.5 * a;
}

// Even-odd test in the xy plane.
inline bool insideXY(const std::vector<Point3d>& poly, double x, double y)
{
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Point3d& a = poly[i];
        const Point3d& b = poly[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

inline bool allFacesValidEdges(const Body& b)
{
    return b.isValid(3);
}

} // namespace mtest
