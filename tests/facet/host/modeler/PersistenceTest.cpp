#include "ModelerTestUtil.h"

#include "roots/KivMemoryFilerCallBack.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

using namespace AModeler;
using namespace mtest;

namespace {

// A body with everything the form carries: bridges, curves, approx marks,
// colours and flags on all kinds of entities.
Body richBody()
{
    Body b = Body::pipe(Line3d(Point3d(1, 2, 3), Point3d(1, 2, 8)), Vector3d(0, 0, 1), 2.0, 1.0, 8);
    int i = 0;
    for (Face* f : facesOf(b)) {
        f->setColor(i % 5);
        f->setFlags(0x1000u * i++);
        for (Edge* e : loopOf(f))
            e->setFlagOn(static_cast<unsigned>(reinterpret_cast<uintptr_t>(e) & 0xF0));
    }
    b.vertexList()->setFlags(0xDEADBEEFu);
    b.curveList()->setFlagOn(2);
    b.setColor(9);
    b.faceList()->setColor(4);
    return b;
}

void expectSameBody(const Body& a, const Body& b)
{
    ASSERT_EQ(a.faceCount(), b.faceCount());
    ASSERT_EQ(a.edgeCount(), b.edgeCount());
    ASSERT_EQ(a.vertexCount(), b.vertexCount());
    ASSERT_EQ(a.curveCount(), b.curveCount());
    EXPECT_EQ(a.color(), b.color());
    for (Vertex *u = a.vertexList(), *v = b.vertexList(); u; u = u->next(), v = v->next()) {
        EXPECT_TRUE(u->point().isEqual(v->point(), 0.0));
        EXPECT_EQ(u->flags(), v->flags());
    }
    for (Curve *u = a.curveList(), *v = b.curveList(); u; u = u->next(), v = v->next()) {
        EXPECT_TRUE(u->circle().isEqual(v->circle(), 0.0));
        EXPECT_EQ(u->facetCount(), v->facetCount());
        EXPECT_EQ(u->flags(), v->flags());
    }
    const std::vector<Face*> fa = facesOf(a), fb = facesOf(b);
    for (size_t i = 0; i < fa.size(); ++i) {
        EXPECT_EQ(fa[i]->color(), fb[i]->color());
        EXPECT_EQ(fa[i]->flags(), fb[i]->flags());
        EXPECT_TRUE(fa[i]->plane().normal().isEqual(fb[i]->plane().normal(), 0.0));
        const std::vector<Edge*> la = loopOf(fa[i]), lb = loopOf(fb[i]);
        ASSERT_EQ(la.size(), lb.size());
        for (size_t k = 0; k < la.size(); ++k) {
            EXPECT_TRUE(la[k]->startPoint().isEqual(lb[k]->startPoint(), 0.0));
            EXPECT_EQ(la[k]->flags(), lb[k]->flags());
            EXPECT_EQ(la[k]->isApprox(), lb[k]->isApprox());
            EXPECT_EQ(la[k]->isBridge(), lb[k]->isBridge());
            EXPECT_EQ(la[k]->isOnCircle(), lb[k]->isOnCircle());
            EXPECT_EQ(la[k]->isOnFullCircle(), lb[k]->isOnFullCircle());
            EXPECT_TRUE(la[k]->partner()->startPoint().isEqual(lb[k]->partner()->startPoint(), 0.0));
        }
    }
}

std::vector<unsigned char> saved(const Body& b)
{
    KivMemoryFilerCallBack filer;
    b.save(&filer);
    return filer.bytes();
}

// Restores from bytes; true on success. A failure must leave an empty, valid body.
bool tryRestore(const std::vector<unsigned char>& bytes, Body& into)
{
    KivMemoryFilerCallBack filer(bytes);
    try {
        into.restore(&filer);
        return true;
    } catch (ErrorCode c) {
        EXPECT_TRUE(c == eBadStream || c == eOutOfMemory) << c;
        EXPECT_TRUE(into.isNull());
        EXPECT_EQ(into.edgeCount(), 0);
        EXPECT_EQ(into.vertexCount(), 0);
        EXPECT_TRUE(into.isValid());
        return false;
    }
}

void recrc(std::vector<unsigned char>& bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 8; i + 4 < bytes.size() + 0 && i < bytes.size() - 4; ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    crc = ~crc;
    for (int k = 0; k < 4; ++k)
        bytes[bytes.size() - 4 + k] = static_cast<unsigned char>(crc >> (8 * k));
}

} // namespace

TEST(ModelerPersistence, RoundTripKeepsEverythingInOrder)
{
    const Body a = richBody();
    const std::vector<unsigned char> bytes = saved(a);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "AMOD");
    EXPECT_EQ(bytes[8], Body::kPersistentVersion);
    Body b = Body::box(Point3d(), Vector3d(1, 1, 1));  // replaced entirely
    ASSERT_TRUE(tryRestore(bytes, b));
    ASSERT_TRUE(b.isValid(3));
    expectSameBody(a, b);
    EXPECT_EQ(saved(b), bytes);  // restoring and saving again changes nothing

    // Several bodies one after the other on one channel, an empty one among them.
    KivMemoryFilerCallBack filer;
    a.save(&filer);
    Body().save(&filer);
    Body::box(Point3d(), Vector3d(2, 2, 2)).save(&filer);
    Body x, y, z;
    x.restore(&filer);
    y.restore(&filer);
    z.restore(&filer);
    expectSameBody(a, x);
    EXPECT_TRUE(y.isNull());
    EXPECT_NEAR(z.volume(), 8.0, 1e-12);
}

TEST(ModelerPersistence, ForeignTruncatedAndUnsavableInput)
{
    const std::vector<unsigned char> good = saved(richBody());
    Body b;
    std::vector<unsigned char> foreign(good.size(), 'x');
    EXPECT_FALSE(tryRestore(foreign, b));
    std::vector<unsigned char> newer = good;
    newer[8] = 2;  // a later version is not guessed at
    recrc(newer);
    EXPECT_FALSE(tryRestore(newer, b));
    EXPECT_FALSE(tryRestore({}, b));
    // Every truncation is refused.
    for (size_t n = 0; n < good.size(); n += (n < 64 ? 1 : 7))
        EXPECT_FALSE(tryRestore(std::vector<unsigned char>(good.begin(), good.begin() + n), b)) << n;

    // A body whose loops are broken cannot be saved.
    Body broken = Body::box(Point3d(), Vector3d(1, 1, 1));
    new Edge(broken.vertexList(), broken.faceList());
    KivMemoryFilerCallBack filer;
    EXPECT_THROW(broken.save(&filer), ErrorCode);

    // A channel that refuses bytes.
    struct Refusing : KivFilerCallBack
    {
        bool saveBytes(const void*, int) override { return false; }
        bool restoreBytes(void*, int) override { return false; }
    } refusing;
    try {
        richBody().save(&refusing);
        ADD_FAILURE();
    } catch (ErrorCode c) {
        EXPECT_EQ(c, eChannelError);
    }
}

TEST(ModelerPersistence, FuzzedStreamsNeverCrashOrHalfBuild)
{
    const std::vector<unsigned char> good = saved(richBody());
    std::mt19937 rng(99);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes = good;
        const int kind = round % 4;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) {
            const size_t at = 8 + rng() % (bytes.size() - 8);
            if (kind == 3)
                bytes[at] = static_cast<unsigned char>(rng());  // any byte
            else
                bytes[at] ^= static_cast<unsigned char>(1u << (rng() % 8));
        }
        if (kind == 2)
            bytes.resize(8 + rng() % (bytes.size() - 8));
        // Half the streams get a matching checksum, so the structural checks
        // behind it are exercised too.
        if (round % 2 == 0 && bytes.size() > 12)
            recrc(bytes);
        Body b;
        if (tryRestore(bytes, b)) {
            ++accepted;
            EXPECT_TRUE(b.isValid(0));
            // Whatever was accepted can be used.
            Collector col;
            b.triangulate(&col);
            EXPECT_EQ(static_cast<int>(col.tris.size()), b.triangleCount());
            (void)b.volume();
            Body c = b;
            EXPECT_EQ(c.faceCount(), b.faceCount());
        }
    }
    // Flipped flag or colour bits keep a stream sound; most streams are refused.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, 3000);
}
