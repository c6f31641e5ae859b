#pragma once
// A planar face of a body with one loop of half-edges. Holes are joined into
// that loop by pairs of bridge edges, so the loop of a face with h holes
// visits the outer boundary, and each hole once, joined by h bridge pairs.
// The loop runs counterclockwise seen from the side the plane's normal points
// to (outwards in a valid body).
//
// Faces are created with new on a body, which owns them; the face list keeps
// creation order unless an operation documents otherwise.

#include "facet/host/modeler/Entity.h"
#include "facet/host/modeler/Interval3d.h"
#include "facet/host/modeler/Plane.h"

namespace AModeler {

class Body;
class Edge;
class PolygonVertexData;
struct BodyData;
struct FaceTriangles;
struct BodyImpl;

class Face : public Entity
{
public:
    // A face through the profile points, in their order; vertexData (may be
    // null) gives per point the edge to the next point (null: straight, an
    // arc: facet chords on a new circle curve of the body, smooth vertices
    // between them). The plane goes through the first point with the given
    // normal, reversed when the loop turns the other way; when the points do
    // not all lie within gEpsAbs() of it (or the normal is zero) the loop's
    // own plane is taken, and when they do not fit that either the face is
    // refused (eNotPlanar). A straight edge between coincident points is
    // dropped. With `connect`, points that coincide with a vertex of the body
    // reuse it, and each new half-edge is partnered with an unpartnered
    // half-edge of the body that joins the same two vertices the other way,
    // so faces added one by one close into a solid. Throws eInvalidInput or
    // eDegenerateGeometry (fewer than three distinct points, zero area) and
    // then leaves the body unchanged.
    Face(const Point3d* points, PolygonVertexData* const* vertexData, int count, const Vector3d& normal, int color,
         bool connect, Body* body);

    // A polygonal face; edges (may be null) receives, per point, the half-edge
    // leaving it (null for a point merged with the following one).
    Face(const Point3d* points, int count, int color, bool connect, Body* body, Edge** edges = nullptr);

    // An empty face (no loop) for building by hand.
    explicit Face(Body* body, int color = 0);

    Body* body() const;
    Face* next() const { return m_next; }  // the body's face list
    Face* prev() const { return m_prev; }

    Edge* edgeLoop() const { return m_loop; }
    void setEdgeLoop(Edge* e);  // e must be on this face (eInvalidInput otherwise) or null
    int loopLength() const;     // half-edges in the loop, bridges included

    const Plane& plane() const { return m_plane; }
    void setPlane(const Plane& p) { m_plane = p; }
    // Recomputes the plane from the loop (Newell's normal through the loop's
    // centroid); false, plane unchanged, for a degenerate loop.
    bool updatePlane();

    // Area enclosed by the loop (holes subtracted).
    double area() const;
    Interval3d interval() const;

    int color() const { return m_color; }
    void setColor(int color) { m_color = color; }

    // Reverses the loop in place: next and prev swap, every half-edge starts
    // at the vertex its successor started at, partners, curves and approx
    // marks stay with their half-edges, and the plane turns round. A face
    // reversed alone no longer matches its neighbours; reverse all faces of a
    // closed shell (Body::reverse) to keep it closed.
    void reverse();

    // Joins a hole: moves every half-edge of innerEdge's loop (on another face
    // of this body, whose loop becomes empty) to this face, and links it into
    // this face's loop with a new pair of partnered bridge half-edges between
    // the start vertices of outerEdge (on this face's loop) and innerEdge. The
    // loop then runs to outerEdge's start vertex, across to the hole, round
    // the hole from innerEdge, and back. Where the loop passes outerEdge's
    // vertex more than once, the bridge goes into the corner that opens
    // towards the hole. Returns the bridge leaving that vertex. Throws
    // eInvalidInput for edges that do not fit.
    Edge* mergeLoop(Edge* outerEdge, Edge* innerEdge);

    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;

private:
    friend struct BodyImpl;
    explicit Face(BodyData* owner, int color);
    ~Face();
    void build(const Point3d* points, PolygonVertexData* const* vertexData, int count, const Vector3d& normal,
               bool connect, Edge** edgesOut);

    BodyData* m_owner = nullptr;
    Face* m_next = nullptr;
    Face* m_prev = nullptr;
    Edge* m_loop = nullptr;
    Plane m_plane;
    int m_color = 0;
    mutable long m_scratch = 0;
    FaceTriangles* m_triangles = nullptr;  // remembered by the Boolean engine
};

} // namespace AModeler
