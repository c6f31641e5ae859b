#pragma once
// A half-edge: one side of an edge, running along the loop of its face from
// its start vertex to the start vertex of the next half-edge. In a closed
// body every half-edge has a partner on the neighbouring face running the
// other way.
//
// Meaning of the predicates:
// - isBridge: the partner lies on the same face. Bridges come in pairs and
//   join a hole's boundary into the single loop of its face; they are not
//   part of the face's boundary.
// - isEulerEdge: the partner lies on another face, i.e. a real edge of the
//   solid between two distinct faces (smooth or sharp).
// - isApprox: a smooth edge between two facets of one curved surface (the
//   side facets of an extruded arc, of a cylinder, sphere, revolution or
//   sweep); not a feature edge of the solid. Factories set it on both halves.
// - isOnCircle: the edge is a chord of one of the body's circle curves
//   (curve() and circle() give it), e.g. the end-face edges of a cylinder or
//   the faceted arcs of an extruded profile.
// - isOnFullCircle: on a circle, and the run of consecutive edges of its loop
//   on that same curve closes on itself: the loop goes once round the whole
//   circle (a full circular hole or end face), not along an arc of it.
//
// Edges are created with new on a face of a body, which owns them; the
// setters change single links so that loop surgery can be done step by step.

#include "facet/host/modeler/Circle3d.h"
#include "facet/host/modeler/Entity.h"

namespace AModeler {

class Body;
class Face;
class Vertex;
class Curve;
struct BodyData;
struct BodyImpl;

class Edge : public Entity
{
public:
    // A detached half-edge starting at `start`, on `face` (not yet linked into
    // its loop). Throws eInvalidInput when either is null or they belong to
    // different bodies.
    Edge(Vertex* start, Face* face);

    Vertex* vertex() const { return m_vertex; }
    Vertex* endVertex() const;  // next()'s start vertex (null when unlinked)
    Face* face() const { return m_face; }
    Edge* next() const { return m_next; }
    Edge* prev() const { return m_prev; }
    Edge* partner() const { return m_partner; }
    Curve* curve() const { return m_curve; }
    Body* body() const;

    Point3d startPoint() const;
    Point3d endPoint() const;

    // The surface normal at the start vertex as seen from this face, for
    // smooth shading: the mean of the plane normals of the faces reached
    // round the vertex across approximating edges only (this face's own
    // normal where both neighbouring edges are sharp).
    Vector3d vertexNormal() const;

    // The circle the edge lies on; a circle of radius 0 when it lies on none.
    Circle3d circle() const;

    bool isBridge() const;
    bool isEulerEdge() const;
    bool isApprox() const { return m_approx; }
    bool isOnCircle() const { return m_curve != nullptr; }
    bool isOnFullCircle() const;

    // Setters. The entities passed must belong to the same body (else
    // eInvalidInput is thrown and nothing changes).
    void setVertex(Vertex* v);
    void setFace(Face* f);            // does not touch either face's loop pointer
    void setNext(Edge* e);            // also sets e->prev to this (e may be null)
    void setPrev(Edge* e);            // also sets e->next to this (e may be null)
    void setPartner(Edge* e);         // both ways; the old partners lose theirs; null detaches
    void setCurve(Curve* c);          // null: not on a circle
    void setApprox(bool approx) { m_approx = approx; }

    Edge(const Edge&) = delete;
    Edge& operator=(const Edge&) = delete;

private:
    friend struct BodyImpl;
    friend class Face;
    Edge(Vertex* start, Face* face, BodyData* owner);
    ~Edge() = default;
    void checkSameBody(const void* owner) const;

    Vertex* m_vertex = nullptr;
    Face* m_face = nullptr;
    Edge* m_next = nullptr;
    Edge* m_prev = nullptr;
    Edge* m_partner = nullptr;
    Curve* m_curve = nullptr;
    BodyData* m_owner = nullptr;
    Edge* m_bnext = nullptr;  // the body's edge list
    Edge* m_bprev = nullptr;
    bool m_approx = false;
    mutable long m_scratch = 0;
};

} // namespace AModeler
