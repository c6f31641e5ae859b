#include "ModelerTestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

using namespace AModeler;
using namespace mtest;

namespace {

// Reads a DXF file with a real reader and prints one line per 3DFACE:
// twelve coordinates and the invisible-edge flags.
std::string readWithEzdxf(const std::string& path)
{
    const std::string script = std::string(KIV_TEST_TMPDIR) + "/read_3dfaces.py";
    {
        std::ofstream py(script);
        py << "import sys, ezdxf\n"
              "doc = ezdxf.readfile(sys.argv[1])\n"
              "faces = doc.modelspace().query('3DFACE')\n"
              "print(len(faces))\n"
              "for f in faces:\n"
              "    v = [f.dxf.vtx0, f.dxf.vtx1, f.dxf.vtx2, f.dxf.vtx3]\n"
              "    print(' '.join(repr(c) for p in v for c in p), f.dxf.invisible, f.dxf.color)\n";
    }
    const std::string cmd = "/usr/bin/python3 " + script + " '" + path + "' 2>&1";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

void checkFile(const Body& body, const std::string& path)
{
    Collector col;
    body.triangulate(&col, kGenerateTriangles, false);
    std::istringstream in(readWithEzdxf(path));
    int count = -1;
    in >> count;
    ASSERT_EQ(count, body.triangleCount()) << in.str().substr(0, 2000);
    ASSERT_EQ(static_cast<size_t>(count), col.tris.size());
    for (const Triangle& t : col.tris) {
        double c[12];
        int flags = -1, color = -1;
        for (double& x : c)
            in >> x;
        in >> flags >> color;
        ASSERT_TRUE(in.good());
        for (int k = 0; k < 4; ++k) {
            const Point3d& p = t.p[k < 3 ? k : 2];
            EXPECT_NEAR(c[3 * k], p.x, 1e-12);
            EXPECT_NEAR(c[3 * k + 1], p.y, 1e-12);
            EXPECT_NEAR(c[3 * k + 2], p.z, 1e-12);
        }
        int expected = 0;
        for (int i = 0; i < 3; ++i) {
            const bool visible = !t.e[i]->isBridge() && t.e[i]->next()->vertex() == t.e[(i + 1) % 3]->vertex();
            if (!visible)
                expected |= i == 2 ? 8 : 1 << i;
        }
        EXPECT_EQ(flags, expected);
        EXPECT_EQ(color, t.e[0]->face()->color() ? t.e[0]->face()->color() : 256);
    }
}

} // namespace

TEST(ModelerDxf, RealReaderSeesEveryTriangle)
{
    Body pipe = Body::pipe(Line3d(Point3d(1, 2, 3), Point3d(4, 2, 9)), Vector3d(0, 0, 1), 2.0, 1.25, 18);
    pipe.setColor(5);
    const std::string narrow = std::string(KIV_TEST_TMPDIR) + "/pipe.dxf";
    pipe.triangulateDxf(narrow.c_str(), kGenerateTriangles, false);
    checkFile(pipe, narrow);

    // The wide form, a name with non-ASCII characters, a body without colours.
    const Point3d l[6] = {Point3d(0, 0, 0), Point3d(2, 0, 0), Point3d(2, 1, 0),
                          Point3d(1, 1, 0), Point3d(1, 2, 0), Point3d(0, 2, 0)};
    const Body body = Body::extrusion(l, nullptr, 6, Vector3d(0, 0, 1), Vector3d(0.5, 0, 3));
    const std::wstring wide = std::wstring(L"" KIV_TEST_TMPDIR) + L"/gr\u00fc\u00dfe.dxf";
    body.triangulateDxf(wide.c_str(), kGenerateTriangles, false);
    checkFile(body, std::string(KIV_TEST_TMPDIR) + "/gr\xc3\xbc\xc3\x9f" "e.dxf");
}

TEST(ModelerDxf, UnwritablePathIsAFileError)
{
    const Body b = Body::box(Point3d(), Vector3d(1, 1, 1));
    try {
        b.triangulateDxf("/nonexistent-dir/x.dxf", 0, false);
        ADD_FAILURE();
    } catch (ErrorCode c) {
        EXPECT_EQ(c, eFileError);
    }
    EXPECT_THROW(b.triangulateDxf(static_cast<const char*>(nullptr), 0, false), ErrorCode);
}
