#pragma once
// A polyhedral solid: planar faces with one loop of half-edges each (holes
// bridged into it), the vertices the loops run through, and the circle curves
// that faceted edges approximate. A value type: copying (construction,
// assignment, copy()) makes an independent body; pointers into one body never
// point into another. Like the rest of the modeler it serves one thread at
// a time: copying and saving use per-entity scratch space, so even const
// operations on one body must not run concurrently.
//
// Factories return new bodies and throw an ErrorCode for bad input. Their
// face-list orders are part of the contract:
// - box: z-min, z-max, y-min, x-max, y-max, x-min (axis-aligned).
// - extrusion, cylinder, cone, pipe: the side faces first, then the end face
//   in the profile's plane (second-last) and the far end face (last). Side
//   faces follow the profile: one per straight edge, one per chord of an arc,
//   starting with the edge leaving the first point (a cylinder's profile is
//   its base circle from angle 0). A cone with a zero radius has no face at
//   that end. A pipe's sides are the outer ones then the inner ones.
// - extrusionAlongPath: the start face first, the end face second, then the
//   side faces segment by segment along the path, each segment in the profile
//   loop's order. A closed path has no end faces.
// - axisRevolution, endpointRevolution: the faces swept by each profile edge
//   in profile order (a profile edge perpendicular to the axis gives one
//   planar face, any other one face per angular step), then for a partial
//   turn the start profile face (second-last) and the end one (last).
// - sphere: the north cap, the bands, the south cap, each around in angle.
// Arc edges of profiles become chords on the body's circles with the facet
// count the profile gives; the edges between the facets are approximating.

#include "facet/host/modeler/ErrorCode.h"
#include "facet/host/modeler/Interval3d.h"
#include "facet/host/modeler/Line3d.h"
#include "facet/host/modeler/MorphingMap.h"
#include "facet/host/modeler/OutputTriangleCallback.h"
#include "facet/host/modeler/Plane.h"
#include "facet/host/modeler/SaveRestoreCallback.h"
#include "facet/host/modeler/Transf3d.h"

#include <vector>

namespace AModeler {

class Face;
class Edge;
class Vertex;
class Curve;
class PolygonVertexData;
struct BodyData;
struct BodyImpl;

class Body
{
public:
    Body();
    ~Body();
    Body(const Body& other);
    Body& operator=(const Body& other);
    Body(Body&& other) noexcept;
    Body& operator=(Body&& other) noexcept;
    Body copy() const;

    // ---- factories -------------------------------------------------------
    // Axis-aligned box from a corner and the diagonal to the opposite corner
    // (components of either sign, none zero).
    static Body box(const Point3d& corner, const Vector3d& diagonal);
    // Latitude-longitude sphere: `facets` around (at least 4), facets/2 bands.
    static Body sphere(const Point3d& centre, double radius, int facets);
    // Prism of a faceted circle round the axis from axis.point to
    // axis.endPoint(); the base circle lies in the plane with normal
    // baseNormal (default: the axis), the far end face is parallel to it.
    static Body cylinder(const Line3d& axis, double radius, int facets);
    static Body cylinder(const Line3d& axis, const Vector3d& baseNormal, double radius, int facets);
    // Frustum: radius1 at the base, radius2 at the far end (one may be 0).
    static Body cone(const Line3d& axis, const Vector3d& baseNormal, double radius1, double radius2, int facets);
    // Tube: outer and inner radius (0 < inner < outer); end faces are annuli
    // whose loops bridge the inner circle.
    static Body pipe(const Line3d& axis, const Vector3d& baseNormal, double outerRadius, double innerRadius,
                     int facets);
    // Convex hull of points (at least four not coplanar); coplanar hull
    // triangles are merged into polygonal faces.
    static Body convexHull(const Point3d* points, int count);
    Body convexHull() const;  // hull of this body's vertices

    // Straight extrusion of a closed planar profile (points with a parallel,
    // optional array of vertex data) along `direction`, which must not lie in
    // the profile's plane. Either winding of the profile gives an outward
    // oriented body.
    static Body extrusion(const Point3d* profile, PolygonVertexData* const* vertexData, int count,
                          const Vector3d& normal, const Vector3d& direction);
    // The same, the far end face scaled by `scale` (> 0) about fixedPoint and
    // turned by twistAngle (radians, counterclockwise about the normal) about
    // it; fixedPoint is first projected onto the profile's plane. Side faces
    // that the twist bends are split into two triangles joined by an
    // approximating edge.
    static Body extrusion(const Point3d* profile, PolygonVertexData* const* vertexData, int count,
                          const Vector3d& normal, const Vector3d& direction, const Point3d& fixedPoint, double scale,
                          double twistAngle);

    // Sweep of the single face of startProfile (holes allowed) along a path
    // of points with optional vertex data (arcs are faceted; their inner
    // vertices are smooth joints). At every path vertex the section lies in
    // the plane that bisects the two segments there and is the previous
    // section projected along the previous segment; the start section is the
    // profile as placed, the end section lies in the plane through the last
    // path point whose normal is the profile's normal carried along the path.
    // closed: the path returns to its first point (the last point may repeat
    // it); the body is a ring without end faces.
    // endProfile: empty, or a face with the same loop structure that the
    // sweep blends into (section k is (1 - t) times the start carried forward
    // plus t times the end carried back, t the path length fraction); with a
    // non-null morphing map (single-loop profiles, two-point open path) the
    // vertices are paired by the map instead.
    // checkValidity: the result is tested with isValid(-1) and eInvalidBody
    // thrown when it fails.
    // fixedPoint, scale, twist: section k is scaled by 1 + (scale - 1) t and
    // turned by twist * t about the fixed point (projected onto the profile's
    // plane) carried along with the section.
    // smoothPath: every joint is smooth (approximating cross edges), as for a
    // path that approximates a curve; smoothPathVertices: the given path
    // vertex indices whose joints are smooth; smoothProfileVertices: profile
    // loop positions (from edgeLoop()) whose longitudinal edges are smooth.
    static Body extrusionAlongPath(const Body& startProfile, const Body& endProfile, const Point3d* path,
                                   PolygonVertexData* const* pathVertexData, int pathCount, bool closed,
                                   bool checkValidity, const Point3d& fixedPoint, double scale, double twist,
                                   const MorphingMap& morphingMap, bool smoothPath,
                                   const std::vector<int>& smoothPathVertices,
                                   const std::vector<int>& smoothProfileVertices);
    static Body extrusionAlongPath(const Body& startProfile, const Body& endProfile, const Point3d* path,
                                   PolygonVertexData* const* pathVertexData, int pathCount, bool closed,
                                   bool checkValidity, const Point3d& fixedPoint, double scale, double twist,
                                   const MorphingMap& morphingMap, bool smoothPath);

    // Revolution of a closed planar profile about an axis in its plane that
    // the profile does not cross, by angle (radians, counterclockwise about
    // axis.direction; |angle| >= 2pi is the full turn), faceted with `facets`
    // per full turn. Profile vertices on the axis stay single vertices.
    static Body axisRevolution(const Point3d* profile, PolygonVertexData* const* vertexData, int count,
                               const Vector3d& normal, const Line3d& axis, double angle, int facets);
    // The same about the axis from the profile's first to its last point
    // (the closing edge lies on the axis).
    static Body endpointRevolution(const Point3d* profile, PolygonVertexData* const* vertexData, int count,
                                   const Vector3d& normal, double angle, int facets);

    // ---- direct building -------------------------------------------------
    // Moves every entity of `other` to the end of this body's lists; other is
    // left empty. Pointers into other stay valid and now belong to this body.
    void combine(Body& other);
    // Reverses every face (Face::reverse): turns a solid inside out.
    void reverse();
    // Deletes the faces with any bit of flagMask set, with their half-edges;
    // partners of deleted half-edges lose their partner, and vertices and
    // curves that only deleted half-edges used are deleted too.
    void deleteMarkedFaces(unsigned flagMask);
    // Sets the colour of every face.
    void setColor(int color);

    // ---- Booleans, sections, interference ------------------------------
    // Union (+), difference (-) and intersection (*) of two closed bodies.
    // Faces of the result keep the colour, flags and plane of the face they
    // come from (turned round for the faces of a subtracted body); edges
    // that lie on an edge of an operand keep its circle and flags, and its
    // approx mark while they still join the faces it joined. Faces away from
    // the other operand stay as they are; a face that is cut becomes one face
    // per connected piece, holes bridged into its loop. In place (+= -= *=)
    // the pieces of this body's faces take the place of the face they come
    // from, the other body's faces follow at the end.
    // Points closer than gEpsAbs() are taken as one before the operation (the
    // other operand's vertices move onto this body's), and the result is
    // checked at validityCheckingLevel() (0: not at all). On failure an
    // ErrorCode is thrown and the operands stay as they were - unless
    // keepInputBodiesWhenBooleanOperationsFail() is false, in which case the
    // receiving body is emptied before the throw.
    Body operator+(const Body& other) const;
    Body operator-(const Body& other) const;
    Body operator*(const Body& other) const;
    Body& operator+=(const Body& other);
    Body& operator-=(const Body& other);
    Body& operator*=(const Body& other);

    // Keeps the part of the body behind the plane (signed distance <= 0, the
    // side opposite to its normal) and closes the cut with planar faces whose
    // normal is the plane's. A plane the body lies wholly behind (within
    // gEpsAbs()) leaves it unchanged; one it lies wholly in front of
    // empties it. On failure an
    // ErrorCode is thrown; the body is kept when keepInputOnFailure is set,
    // else emptied. The form without the flag uses
    // keepInputBodiesWhenBooleanOperationsFail().
    void section(const Plane& plane, bool keepInputOnFailure);
    void section(const Plane& plane);

    // How two bodies meet (within gEpsAbs()): not at all, touching (their
    // surfaces meet but no volume is shared), or overlapping (a common
    // volume thicker than the tolerance on average; one body inside the
    // other counts). Neither body changes; throws an ErrorCode on failure.
    enum Interference
    {
        kNoInterference = 0,
        kTouching = 1,
        kOverlapping = 2
    };
    Interference interfere(const Body& other) const;

    // ---- traversal and counts --------------------------------------------
    Face* faceList() const;
    Vertex* vertexList() const;
    Curve* curveList() const;
    int faceCount() const;
    int edgeCount() const;  // half-edges: twice the edges of a closed body
    int vertexCount() const;
    int curveCount() const;
    // Triangles triangulate() produces: the sum over faces of loop length - 2.
    int triangleCount() const;

    // ---- queries ---------------------------------------------------------
    bool isNull() const;  // no faces
    // Levels: 0 loops (every half-edge in exactly one closed loop of its face,
    // next/prev consistent, vertices set); 1 also closed 2-manifold (every
    // half-edge partnered, partners mutual and running the other way);
    // 2 also geometry (finite points, no edge shorter than gEpsAbs(), every
    // face planar within gEpsAbs() and its plane facing the loop's way);
    // 3 also each vertex a single fan of faces and a positive volume.
    // -1 (and isValid()) use validityCheckingLevel(). An empty body is valid.
    bool isValid() const;
    bool isValid(int level) const;
    double volume() const;
    // Volume, centroid and the inertia tensor about the centroid
    // (inertia[i][j] = integral of (|r|^2 delta_ij - r_i r_j) dV).
    void massProperties(double& volume, Point3d& centroid, double inertia[3][3]) const;
    // Box of the vertices grown by eps on every side.
    Interval3d interval(double eps = 0.0) const;
    // The vertices lowest and highest along direction (null for an empty body).
    void extremeVertices(const Vector3d& direction, Vertex*& lowest, Vertex*& highest) const;

    // ---- changing --------------------------------------------------------
    // Empties the body; with resetColor its stored colour (color()) also
    // returns to 0, otherwise it is kept for the faces built next by setColor.
    void init(bool resetColor = true);
    int color() const;  // the colour last given to setColor (0 initially)
    // Transforms every vertex, plane and circle. A mirroring transformation
    // reverses the faces so the body stays outward; one that is not a
    // similarity turns circles into ellipses, so the edges leave their curves.
    // Throws eInvalidInput (body unchanged) for a singular or non-finite one.
    void transformBy(const Transf3d& transf);

    // ---- output ----------------------------------------------------------
    // Hands every face's triangles to the call-back (type: TriangulationType).
    // improve: flips diagonals towards well-shaped triangles (slower; same
    // triangle count and corners).
    void triangulate(OutputTriangleCallback* callback, int type = kGenerateTriangles, bool improve = false) const;
    // Writes a DXF file of 3DFACE entities (layer "0", the face colours,
    // invisible diagonals), replacing the file. Throws eFileError.
    void triangulateDxf(const char* path, int type = kGenerateTriangles, bool improve = false) const;
    void triangulateDxf(const wchar_t* path, int type = kGenerateTriangles, bool improve = false) const;

    // ---- persistence -----------------------------------------------------
    // The versioned binary form (see docs). save throws eChannelError when the
    // channel refuses bytes and eInvalidBody for a body whose loops are not
    // closed; restore replaces this body, and on a truncated, foreign or
    // corrupted stream throws eBadStream (or eChannelError) leaving it empty.
    void save(SaveRestoreCallback* callback) const;
    void restore(SaveRestoreCallback* callback);

    static const unsigned kPersistentVersion;

private:
    friend struct BodyImpl;
    BodyData* m_data = nullptr;
};

} // namespace AModeler
