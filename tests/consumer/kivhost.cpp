// Builds and queries bodies through the installed modeler package alone.
#include <kiv/kivhost.h>
#include <kiv/kivroots.h>

#include <cmath>
#include <cstdio>

using namespace AModeler;

namespace {

class Count : public OutputTriangleCallback
{
public:
    void outputTriangle(Edge* const* edges, int n) override
    {
        if (n == 3 && edges[0]->face())
            ++triangles;
    }
    int triangles = 0;
};

} // namespace

int main()
{
    try {
        const Point3d plate[4] = {Point3d(0, 0, 0), Point3d(10, 0, 0), Point3d(10, 5, 0), Point3d(0, 5, 0)};
        PolygonVertexData arc(PolygonVertexData::kArc, Circle3d(Point3d(10, 2.5, 0), Vector3d(0, 0, 1), 2.5), 16);
        PolygonVertexData* vd[4] = {nullptr, &arc, nullptr, nullptr};
        Body body = Body::extrusion(plate, vd, 4, Vector3d(0, 0, 1), Vector3d(0, 0, 2));
        if (!body.isValid(3))
            return 1;
        const double halfDisc = 0.5 * 8 * 2.5 * 2.5 * std::sin(3.14159265358979323846 / 8);
        if (std::fabs(body.volume() - (50.0 + halfDisc) * 2.0) > 1e-9)
            return 2;
        Count count;
        body.triangulate(&count);
        if (count.triangles != body.triangleCount())
            return 3;
        KivMemoryFilerCallBack filer;
        body.save(&filer);
        Body back;
        back.restore(&filer);
        if (back.faceCount() != body.faceCount() || std::fabs(back.volume() - body.volume()) > 1e-12)
            return 4;
        std::printf("kivhost ok: %d faces, volume %.6f\n", back.faceCount(), back.volume());
        return 0;
    } catch (ErrorCode c) {
        std::printf("modeler error: %s\n", errorCodeText(c));
        return 10;
    }
}
