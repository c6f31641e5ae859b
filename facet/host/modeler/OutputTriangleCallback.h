#pragma once
// Receiver of a body's triangulation. Every triangle arrives as the loop
// half-edges whose start vertices are its corners, in the face's orientation.
// A triangle side from corner i to corner i + 1 is a real boundary edge of
// the face exactly when edges[i]->next()->vertex() is the vertex of corner
// i + 1 and edges[i] is not a bridge; otherwise it is a diagonal.

namespace AModeler {

class Edge;

enum TriangulationType
{
    kGenerateTriangles = 0,  // every triangle through outputTriangle
    kGenerateTriStrips = 1,  // convex faces without holes as strips, others as triangles
    kGenerateTriFans = 2     // convex faces without holes as fans, others as triangles
};

class OutputTriangleCallback
{
public:
    virtual ~OutputTriangleCallback();

    // One triangle: count is 3.
    virtual void outputTriangle(Edge* const* edges, int count) = 0;

    // A strip (fan false): triangle k has corners k, k+1, k+2, every second
    // one taken in reverse so all keep the face's orientation. A fan (fan
    // true): triangle k has corners 0, k+1, k+2. This default hands the
    // triangles one by one to outputTriangle.
    virtual void outputTriStrip(Edge* const* edges, int count, bool fan);
};

} // namespace AModeler
