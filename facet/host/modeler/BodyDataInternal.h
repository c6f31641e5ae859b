#pragma once
// The storage behind a Body and the helpers every modeler source uses to
// reach the entities' private links.

#include "facet/host/modeler/Body.h"
#include "facet/host/modeler/Curve.h"
#include "facet/host/modeler/Edge.h"
#include "facet/host/modeler/Face.h"
#include "facet/host/modeler/Vertex.h"

#include <array>
#include <vector>

namespace AModeler {

// A triangulation of a face's loop that the Boolean engine keeps for the
// next operation on the face. It stands while the loop still starts at the
// same place and visits the same vertices at the same points; whoever uses it
// checks that first (FaceTriangles::matches), so editing a face never has to
// think of it.
struct FaceTriangles
{
    std::vector<const Vertex*> vertices;       // per loop position
    std::vector<Point3d> points;               // their points then
    std::vector<std::array<int, 3>> triangles;  // loop positions, counterclockwise

    // Whether the loop (its half-edges in order) is the one triangulated.
    bool matches(const std::vector<Edge*>& loop) const;
};

struct BodyData
{
    Body* body = nullptr;  // the owner; updated when a body is moved
    Face* faceHead = nullptr;
    Face* faceTail = nullptr;
    Edge* edgeHead = nullptr;
    Edge* edgeTail = nullptr;
    Vertex* vertexHead = nullptr;
    Vertex* vertexTail = nullptr;
    Curve* curveHead = nullptr;
    Curve* curveTail = nullptr;
    int faceCount = 0;
    int edgeCount = 0;
    int vertexCount = 0;
    int curveCount = 0;
    int color = 0;

    BodyData() = default;
    BodyData(const BodyData&) = delete;
    BodyData& operator=(const BodyData&) = delete;
    ~BodyData();
    void clear();
};

struct BodyImpl
{
    static BodyData* data(Body& b);              // created on first use
    static const BodyData* data(const Body& b);  // never null (a shared empty one)
    static BodyData* owner(const Face* f) { return f->m_owner; }
    static BodyData* owner(const Edge* e) { return e->m_owner; }
    static BodyData* owner(const Vertex* v) { return v->m_owner; }
    static BodyData* owner(const Curve* c) { return c->m_owner; }

    // Append an entity to the body's list.
    static void link(BodyData* d, Vertex* v);
    static void link(BodyData* d, Curve* c);
    static void link(BodyData* d, Edge* e);
    static void link(BodyData* d, Face* f);

    static Vertex* newVertex(BodyData* d, const Point3d& p);
    static Curve* newCurve(BodyData* d, const Circle3d& c, int facets);
    static Edge* newEdge(BodyData* d, Vertex* v, Face* f);
    static Face* newFace(BodyData* d, int color);

    // Unlink from the body's list and free. Links of other entities that
    // point at the freed one are the caller's business.
    static void destroy(Vertex* v);
    static void destroy(Curve* c);
    static void destroy(Edge* e);
    static void destroy(Face* f);

    static Edge* edgeListNext(const Edge* e) { return e->m_bnext; }
    static long& scratch(const Face* f) { return f->m_scratch; }
    // The remembered triangulation of a face (null: none); setting one
    // replaces the old one, the face owns it.
    static const FaceTriangles* triangles(const Face* f) { return f->m_triangles; }
    static void setTriangles(Face* f, FaceTriangles* t);
    static long& scratch(const Edge* e) { return e->m_scratch; }
    static long& scratch(const Vertex* v) { return v->m_scratch; }
    static long& scratch(const Curve* c) { return c->m_scratch; }

    // Raw link setters for builders that keep consistency themselves.
    static void setLinks(Edge* e, Edge* next, Edge* prev) { e->m_next = next; e->m_prev = prev; }
    static void setPartnerRaw(Edge* e, Edge* p) { e->m_partner = p; }
    static void setCurveRaw(Edge* e, Curve* c) { e->m_curve = c; }
    static void setFaceRaw(Edge* e, Face* f) { e->m_face = f; }
    static void setVertexRaw(Edge* e, Vertex* v) { e->m_vertex = v; }
    static void setLoopRaw(Face* f, Edge* e) { f->m_loop = e; }
    static void setCircleRaw(Curve* c, const Circle3d& circle) { c->m_circle = circle; }

    // Moves all entities of `from` to the end of `to`.
    static void splice(BodyData* to, BodyData* from);
    // Moves f, which is in d's face list, to just before pos (also in it).
    static void moveFaceBefore(BodyData* d, Face* f, Face* pos);

    // Calls fn for each half-edge of the face's loop, in order; stops early
    // when fn returns false. Returns false when the loop is not closed (a null
    // link, or more steps than the body has half-edges).
    template <class Fn>
    static bool walkLoop(const Face* f, Fn&& fn)
    {
        Edge* const first = f->m_loop;
        if (!first)
            return true;
        const long limit = f->m_owner ? f->m_owner->edgeCount : 0;
        Edge* e = first;
        long steps = 0;
        do {
            if (!fn(e))
                return true;
            e = e->m_next;
            if (!e || ++steps > limit)
                return false;
        } while (e != first);
        return true;
    }
    // The loop as a vector (empty when it is not closed).
    static void loopEdges(const Face* f, std::vector<Edge*>& out);
};

// Newell's normal of a closed point sequence (twice the vector area).
Vector3d newellNormal(const std::vector<Point3d>& pts);

} // namespace AModeler
