// The persistent form of a body, version 1 (all integers little-endian,
// doubles as IEEE-754 binary64, little-endian):
//   magic   "AMOD" 0x0D 0x0A 0x1A 0x0A
//   u32 version (1), u32 vertex, curve, face and edge counts, i32 body colour
//   vertices: f64 x y z, u32 flags
//   curves:   f64 centre x y z, axis x y z, radius, i32 facets, u32 flags
//   faces:    f64 normal x y z, d, i32 colour, u32 flags, i32 first loop edge
//   edges:    i32 vertex, face, next, prev, partner (-1 none), curve (-1 none),
//             u8 approx, u32 flags
//   u32 CRC-32 (IEEE) of every byte from the version on.
// Entities are written in list order, so a restored body has the same face,
// vertex, edge and curve order and the same loop starts.

#include "facet/host/modeler/BodyDataInternal.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

namespace AModeler {

const unsigned Body::kPersistentVersion = 1;

namespace {

const unsigned char kMagic[8] = {'A', 'M', 'O', 'D', 0x0D, 0x0A, 0x1A, 0x0A};
const uint32_t kMaxCount = 1u << 26;

uint32_t crcUpdate(uint32_t crc, const unsigned char* p, size_t n)
{
    struct Table
    {
        uint32_t v[256];
        Table()
        {
            for (uint32_t i = 0; i < 256; ++i) {
                uint32_t c = i;
                for (int k = 0; k < 8; ++k)
                    c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
                v[i] = c;
            }
        }
    };
    static const Table table;
    crc = ~crc;
    for (size_t i = 0; i < n; ++i)
        crc = table.v[(crc ^ p[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

class Writer
{
public:
    explicit Writer(SaveRestoreCallback* cb) : m_cb(cb) { m_buf.reserve(kChunk); }

    void raw(const void* p, size_t n, bool counted = true)
    {
        const unsigned char* b = static_cast<const unsigned char*>(p);
        if (counted)
            m_crc = crcUpdate(m_crc, b, n);
        m_buf.insert(m_buf.end(), b, b + n);
        if (m_buf.size() >= kChunk)
            flush();
    }
    void u8(uint8_t v) { raw(&v, 1); }
    void u32(uint32_t v)
    {
        unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        raw(b, 4);
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f64(double d)
    {
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        u32(static_cast<uint32_t>(bits));
        u32(static_cast<uint32_t>(bits >> 32));
    }
    void crc()
    {
        const uint32_t c = m_crc;
        unsigned char b[4] = {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                              static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 24)};
        raw(b, 4, false);
    }
    void flush()
    {
        if (!m_buf.empty() && !m_cb->saveBytes(m_buf.data(), static_cast<int>(m_buf.size())))
            throw eChannelError;
        m_buf.clear();
    }

private:
    static constexpr size_t kChunk = 1 << 16;
    SaveRestoreCallback* m_cb;
    std::vector<unsigned char> m_buf;
    uint32_t m_crc = 0;
};

class Reader
{
public:
    explicit Reader(SaveRestoreCallback* cb) : m_cb(cb) {}

    void raw(void* p, int n, bool counted = true)
    {
        if (!m_cb->restoreBytes(p, n))
            throw eBadStream;
        if (counted)
            m_crc = crcUpdate(m_crc, static_cast<unsigned char*>(p), n);
    }
    uint8_t u8()
    {
        uint8_t v;
        raw(&v, 1);
        return v;
    }
    uint32_t u32()
    {
        unsigned char b[4];
        raw(b, 4);
        return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
               static_cast<uint32_t>(b[3]) << 24;
    }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    double f64()
    {
        const uint64_t lo = u32(), hi = u32();
        const uint64_t bits = lo | hi << 32;
        double d;
        std::memcpy(&d, &bits, 8);
        if (!std::isfinite(d))
            throw eBadStream;
        return d;
    }
    // An index in [-1, count) (allowNone) or [0, count).
    int32_t index(uint32_t count, bool allowNone)
    {
        const int32_t v = i32();
        if (v < (allowNone ? -1 : 0) || (v >= 0 && static_cast<uint32_t>(v) >= count))
            throw eBadStream;
        return v;
    }
    void checkCrc()
    {
        const uint32_t expected = m_crc;
        unsigned char b[4];
        raw(b, 4, false);
        const uint32_t got = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                             static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
        if (got != expected)
            throw eBadStream;
    }

private:
    SaveRestoreCallback* m_cb;
    uint32_t m_crc = 0;
};

template <class T>
void reserveSome(std::vector<T>& v, uint32_t n)
{
    // The count is not trusted until the data has arrived.
    v.reserve(n < (1u << 16) ? n : (1u << 16));
}

} // namespace

void Body::save(SaveRestoreCallback* callback) const
{
    if (!callback)
        throw eInvalidInput;
    const BodyData* d = BodyImpl::data(*this);
    if (d->faceHead && !isValid(0))
        throw eInvalidBody;
    if (!d->faceHead && d->edgeCount)
        throw eInvalidBody;
    long i = 0;
    for (Vertex* v = d->vertexHead; v; v = v->next()) {
        if (!v->point().isFinite())
            throw eInvalidBody;
        BodyImpl::scratch(v) = i++;
    }
    i = 0;
    for (Curve* c = d->curveHead; c; c = c->next())
        BodyImpl::scratch(c) = i++;
    i = 0;
    for (Face* f = d->faceHead; f; f = f->next()) {
        if (!f->plane().normal().isFinite() || !std::isfinite(f->plane().d()))
            throw eInvalidBody;
        BodyImpl::scratch(f) = i++;
    }
    i = 0;
    for (Edge* e = d->edgeHead; e; e = BodyImpl::edgeListNext(e))
        BodyImpl::scratch(e) = i++;

    Writer w(callback);
    w.raw(kMagic, sizeof kMagic, false);
    w.u32(kPersistentVersion);
    w.u32(d->vertexCount);
    w.u32(d->curveCount);
    w.u32(d->faceCount);
    w.u32(d->edgeCount);
    w.i32(d->color);
    for (Vertex* v = d->vertexHead; v; v = v->next()) {
        w.f64(v->point().x);
        w.f64(v->point().y);
        w.f64(v->point().z);
        w.u32(v->flags());
    }
    for (Curve* c = d->curveHead; c; c = c->next()) {
        const Circle3d& k = c->circle();
        w.f64(k.center().x);
        w.f64(k.center().y);
        w.f64(k.center().z);
        w.f64(k.normal().x);
        w.f64(k.normal().y);
        w.f64(k.normal().z);
        w.f64(k.radius());
        w.i32(c->facetCount());
        w.u32(c->flags());
    }
    for (Face* f = d->faceHead; f; f = f->next()) {
        w.f64(f->plane().normal().x);
        w.f64(f->plane().normal().y);
        w.f64(f->plane().normal().z);
        w.f64(f->plane().d());
        w.i32(f->color());
        w.u32(f->flags());
        w.i32(f->edgeLoop() ? static_cast<int32_t>(BodyImpl::scratch(f->edgeLoop())) : -1);
    }
    auto idx = [](const auto* p) { return p ? static_cast<int32_t>(BodyImpl::scratch(p)) : -1; };
    for (Edge* e = d->edgeHead; e; e = BodyImpl::edgeListNext(e)) {
        w.i32(idx(e->vertex()));
        w.i32(idx(e->face()));
        w.i32(idx(e->next()));
        w.i32(idx(e->prev()));
        w.i32(idx(e->partner()));
        w.i32(idx(e->curve()));
        w.u8(e->isApprox() ? 1 : 0);
        w.u32(e->flags());
    }
    w.crc();
    w.flush();
}

void Body::restore(SaveRestoreCallback* callback)
{
    init(true);
    if (!callback)
        throw eInvalidInput;
    try {
        Reader r(callback);
        unsigned char magic[sizeof kMagic];
        r.raw(magic, sizeof magic, false);
        if (std::memcmp(magic, kMagic, sizeof kMagic) != 0)
            throw eBadStream;
        if (r.u32() != kPersistentVersion)
            throw eBadStream;
        const uint32_t nv = r.u32(), nc = r.u32(), nf = r.u32(), ne = r.u32();
        if (nv > kMaxCount || nc > kMaxCount || nf > kMaxCount || ne > kMaxCount)
            throw eBadStream;
        Body tmp;
        BodyData* d = BodyImpl::data(tmp);
        d->color = r.i32();
        std::vector<Vertex*> verts;
        std::vector<Curve*> curves;
        std::vector<Face*> faces;
        std::vector<Edge*> edges;
        std::vector<int32_t> loopStart;
        reserveSome(verts, nv);
        for (uint32_t i = 0; i < nv; ++i) {
            const double x = r.f64(), y = r.f64(), z = r.f64();
            Vertex* v = BodyImpl::newVertex(d, Point3d(x, y, z));
            v->setFlags(r.u32());
            verts.push_back(v);
        }
        reserveSome(curves, nc);
        for (uint32_t i = 0; i < nc; ++i) {
            const double cx = r.f64(), cy = r.f64(), cz = r.f64(), ax = r.f64(), ay = r.f64(), az = r.f64();
            const double radius = r.f64();
            const int32_t facets = r.i32();
            const Circle3d circle(Point3d(cx, cy, cz), Vector3d(ax, ay, az), radius);
            if (!circle.isValid() || facets < 3)
                throw eBadStream;
            Curve* c = BodyImpl::newCurve(d, circle, facets);
            c->setFlags(r.u32());
            curves.push_back(c);
        }
        reserveSome(faces, nf);
        reserveSome(loopStart, nf);
        for (uint32_t i = 0; i < nf; ++i) {
            const double x = r.f64(), y = r.f64(), z = r.f64(), dd = r.f64();
            const int32_t color = r.i32();
            Face* f = BodyImpl::newFace(d, color);
            const Vector3d n(x, y, z);
            if (n.isNull() || std::fabs(n.length() - 1.0) > 1e-6)
                throw eBadStream;
            f->setPlane(Plane(n, dd));
            f->setFlags(r.u32());
            loopStart.push_back(r.index(ne, true));
            faces.push_back(f);
        }
        struct Links
        {
            int32_t next, prev, partner;
        };
        std::vector<Links> links;
        reserveSome(edges, ne);
        reserveSome(links, ne);
        for (uint32_t i = 0; i < ne; ++i) {
            const int32_t v = r.index(nv, false), f = r.index(nf, false);
            Links l;
            l.next = r.index(ne, false);
            l.prev = r.index(ne, false);
            l.partner = r.index(ne, true);
            const int32_t c = r.index(nc, true);
            const uint8_t approx = r.u8();
            if (approx > 1)
                throw eBadStream;
            Edge* e = BodyImpl::newEdge(d, verts[v], faces[f]);
            if (c >= 0)
                BodyImpl::setCurveRaw(e, curves[c]);
            e->setApprox(approx != 0);
            e->setFlags(r.u32());
            edges.push_back(e);
            links.push_back(l);
        }
        r.checkCrc();
        for (uint32_t i = 0; i < ne; ++i) {
            if (links[i].partner == static_cast<int32_t>(i))
                throw eBadStream;
            BodyImpl::setLinks(edges[i], edges[links[i].next], edges[links[i].prev]);
            BodyImpl::setPartnerRaw(edges[i], links[i].partner >= 0 ? edges[links[i].partner] : nullptr);
        }
        for (uint32_t i = 0; i < nf; ++i) {
            if (loopStart[i] < 0)
                throw eBadStream;
            Edge* first = edges[loopStart[i]];
            if (first->face() != faces[i])
                throw eBadStream;
            BodyImpl::setLoopRaw(faces[i], first);
        }
        if (nf == 0 ? ne != 0 : !tmp.isValid(0))
            throw eBadStream;
        *this = std::move(tmp);
    } catch (const std::bad_alloc&) {
        init(true);
        throw eOutOfMemory;
    } catch (...) {
        init(true);
        throw;
    }
}

} // namespace AModeler
