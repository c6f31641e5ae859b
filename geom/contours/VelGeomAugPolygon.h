#pragma once
// The closed planar contour with straight and circular edges. Vertex i and
// vertex info i describe the edge from vertex i to vertex (i + 1) mod n, so
// the last info describes the closing edge; the first vertex is not
// repeated. A single vertex with an arc info is a full circle through it.
//
// Every construction ends in the cleaning pass (reinitialize(1)): tiny edges
// go, collinear straight edges and co-circular arcs merge, and the validity
// and the normal are recomputed. The normal is the unit normal about which
// the contour turns counter-clockwise (the direction of the signed area).
//
// The field order is shared with the solid-modeling library, and so are the
// virtual operations: they keep their slots. The region operations among
// them (cutting, union, intersection) do not exist yet: until they do, they
// refuse (result 0) and change nothing.
//
// Choices of this class:
//   - Arc edges are measured as radius times the directed angle about the
//     info's normal, in [0, 2*pi); in a contour of several vertices an arc
//     whose end points coincide has length 0 (only the one-vertex contour is
//     a full circle).
//   - Cleaning merges two consecutive arcs only when they lie on one circle
//     and turn the same way (normals with a positive dot product), and never
//     into an arc that would start and end in the same point: two half
//     circles of one circle stay two arcs (and then become three vertices).
//   - A tiny edge between two arcs goes when two of the three lie on one
//     circle; when it is the tiny arc and the previous arc that share their
//     circle, the previous arc runs on to the far vertex, so no arc is left
//     starting off its own circle.
//   - Two vertices joined by two arcs are degenerate (kTooFewVertices) only
//     when the second runs back along the first: same circle, opposite
//     normals. Arcs of equal radius on different centres enclose a crescent
//     and are kept.
//   - A one-vertex circle is kValid only with a positive, finite radius.
//     Contours with non-finite coordinates are kTooFewVertices and keep
//     their normal.
//   - Corner fillets that do not fit, also two fillets that would overlap on
//     the edge between them, empty the polygon (the clamping constructors
//     shorten each fillet to its edges instead).
//   - makeCCW stores the unit reference as the normal; transformBy keeps the
//     normal a unit vector.

#include "geom/contours/VelGeomVertexInfo.h"
#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomAugPolyline;
class VelGeomCompositeCurve3d;
class VelGeomCurve3d;
class VelGeomMatrix3d;
class VelGeomPlane;

class VelGeomAugPolygon
{
public:
    enum eValidity {
        kNotChecked = 0,        // after construction without cleaning, or reset
        kValid = 1,
        kSelfIntersecting = 2,
        kTooFewVertices = 3     // no vertex, a straight single vertex, or two vertices
    };

    // Empty, zero normal, kNotChecked; room for 5 vertices, growing by 20.
    VelGeomAugPolygon();
    // Copies both lists, then reinitialize(1). Lists of different lengths
    // give an empty (kTooFewVertices) polygon.
    VelGeomAugPolygon(const VelArray<VelGeomPoint3d>& vertices, const VelArray<VelGeomVertexInfo>& infos);
    // The polyline's vertices, infos and normal; a last vertex equal to the
    // first is dropped with its info. Only the validity is recomputed.
    explicit VelGeomAugPolygon(const VelGeomAugPolyline& polyline);
    // Rounds every corner whose radius is negative (with roundNegative) or
    // positive (with roundPositive) by |radius|; then makeCCW(normal) and
    // reinitialize(1). One radius per vertex; a fillet that does not fit
    // leaves an empty polygon.
    VelGeomAugPolygon(const VelArray<VelGeomPoint3d>& vertices, const VelArray<double>& radii,
                      const VelGeomVector3d& normal, bool roundNegative, bool roundPositive,
                      double absError = VelGeomVertexInfo::defAbsError);
    // Edge i is an arc with bulge i about the normal (straight for bulge 0)
    // when there is one bulge per vertex, otherwise every edge is straight.
    // A last vertex equal to the first is dropped (with its bulge, if it has
    // one). Then reinitialize(1).
    VelGeomAugPolygon(const VelArray<VelGeomPoint3d>& vertices, const VelGeomVector3d& normal,
                      const VelArray<double>& bulges, double absError = VelGeomVertexInfo::defAbsError);
    // Corner fillets as above with both flags given and optional clamping
    // (a fillet too long for its edges is shortened to 0.99 of the shorter
    // edge); then makeCCW(normal) and reinitialize(1).
    VelGeomAugPolygon(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices,
                      const VelArray<double>& radii, double absError, bool roundNegative, bool roundPositive,
                      bool clamp);
    // As above with both rounding flags equal to flag and clamping on; the
    // int is not used.
    VelGeomAugPolygon(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices, int unused,
                      const VelArray<double>& radii, double absError, bool flag);
    VelGeomAugPolygon(const VelGeomAugPolygon& other);
    VelGeomAugPolygon& operator=(const VelGeomAugPolygon& other);

    // Editing. append cleans; coreAppend cleans only when asked, so callers
    // building vertex by vertex reinitialize once at the end. Both return 1.
    int append(const VelGeomPoint3d& point, const VelGeomVertexInfo& info = VelGeomVertexInfo::kNone);
    int coreAppend(const VelGeomPoint3d& point, int reinitialise = 0,
                   const VelGeomVertexInfo& info = VelGeomVertexInfo::kNone);
    // Removes the last vertex and info; recomputes the validity when asked.
    void removeLast(int revalidate = 1);
    // Empties both lists; kNotChecked; the normal stays.
    void reset();
    // With clean non-zero the cleaning pass; then the validity and the normal
    // (except when cleaning finds two straight edges or two arcs running
    // back along each other: kTooFewVertices at once).
    void reinitialize(int clean = 1);
    // Renumbers cyclically: vertex i (with its info) moves to (i + k) mod n,
    // or (i - k) mod n when not forward. 0 (unchanged) when k is outside
    // [0, n].
    int rotate(bool forward, int k);
    // Sets the absolute error of every arc info.
    void setDeviation(double error);
    // Collapses every run of consecutive edges not longer than length (arcs
    // along the arc) to the run's middle vertex, which takes the info of the
    // edge leaving the run. A contour of nothing but such edges becomes its
    // middle vertex with a straight info. No cleaning follows.
    void removeEqual(double length);
    // Turns the contour counter-clockwise about the reference: 1 when it
    // already is (or has been reversed), 0 (unchanged) for a zero reference
    // or one not parallel to the contour's normal.
    int makeCCW(const VelGeomVector3d& reference);
    // Vertices and arcs transformed; an arc the matrix cannot keep circular
    // becomes its chord points with straight edges. No cleaning follows.
    void transformBy(const VelGeomMatrix3d& m);
    // Projects the vertices along direction onto the plane; arcs whose plane
    // is parallel to it stay arcs, the others become chord points. The
    // validity and the normal are recomputed, no cleaning. 0 (unchanged) when
    // direction lies in the plane.
    int project(const VelGeomPlane& plane, const VelGeomVector3d& direction);

    // Access.
    const VelArray<VelGeomPoint3d>& getVertices() const { return m_vertices; }
    const VelArray<VelGeomVertexInfo>& getVertexInfo() const { return m_vertexInfo; }
    const VelGeomVector3d& getNormal() const { return m_normal; }
    eValidity isValid() const { return m_validity; }
    // The number of vertices.
    long getLength() const { return m_vertices.length(); }

    // The area vector: its length is the enclosed area (arcs included), its
    // direction the normal about which the contour turns counter-clockwise.
    VelGeomVector3d getSignedArea() const;
    double getArea() const;
    // The unit vector of the signed area (zero when there is none).
    VelGeomVector3d polygonNormal() const;

    // Appends one new curve per edge, the closing edge included: segments,
    // arcs, and the full circle of a one-vertex circle. The caller owns them.
    void getCurves(VelArray<VelGeomCurve3d*>& curves) const;
    // Frees every curve of the list and empties it.
    static void deleteCurves(VelArray<VelGeomCurve3d*>& curves);
    // The composite curve of getCurves, owning every member.
    void getCompositeCurve3d(VelGeomCompositeCurve3d& curve) const;
    // The start vertex of each straight edge and the chord points of each
    // arc (by its absolute error); the first vertex is not repeated. A
    // one-vertex circle gives at least 4 points.
    VelArray<VelGeomPoint3d> getApproxVertices() const;
    // The vertices and the bulge of each edge about the contour's normal.
    // 0 (both lists emptied) for an empty polygon and for a one-vertex
    // circle, which a bulge cannot describe.
    int get(VelArray<VelGeomPoint3d>& points, VelArray<double>& bulges) const;

    // Region operations, in their fixed slots.
    // A cleaned copy; when that intersects itself, its arcs turning against
    // the contour are replaced by chords (within deviation when it is
    // positive, else the arc's own error), and when it still does, all arcs.
    /* 0 */ virtual VelGeomAugPolygon getNormalised(double deviation) const;
    // The cutting and union operations below and intersect are not
    // available yet: they return 0 and change nothing.
    /* 1 */ virtual int separateBy(const VelArray<VelGeomAugPolyline>& polylines, const VelArray<double>& gaps,
                                   VelArray<VelGeomAugPolygon>& pieces);
    /* 2 */ virtual int separate(const VelGeomAugPolyline& polyline, double gap, VelArray<VelGeomAugPolygon>& pieces);
    /* 3 */ virtual int add(const VelGeomAugPolygon& polygon, double gap);
    /* 4 */ virtual int add(const VelArray<VelGeomAugPolygon>& polygons, double gap);
    /* 5 */ virtual int addWithHoles(const VelGeomAugPolygon& polygon, const VelArray<VelGeomAugPolygon>& holes,
                                     const VelArray<VelGeomAugPolygon>& otherHoles,
                                     VelArray<VelGeomAugPolygon>& resultHoles, double gap);
    /* 6 */ virtual int addWithHoles(const VelArray<VelGeomAugPolygon>& polygons,
                                     const VelArray<VelGeomAugPolygon>& holes,
                                     const VelArray<VelArray<VelGeomAugPolygon>>& otherHoles,
                                     VelArray<VelGeomAugPolygon>& resultHoles, double gap);
    /* 7 */ virtual int intersect(const VelGeomAugPolygon& polygon, const VelGeomTol& tol);
    virtual ~VelGeomAugPolygon();

    static double kMinEdgeLength;          // 0.01: shorter edges are removed or merged
    static double kAbsoluteMinEdgeLength;  // 1e-5
    static double kEpsForEdgeParallel;     // 1e-7: direction tolerance of merges and orientation

private:
    // The validity rule alone (no cleaning).
    void updateValidity();
    // The cleaning steps; false when they decided kTooFewVertices at once.
    bool clean();
    // The corner-fillet construction; false (polygon emptied) when a fillet
    // does not fit.
    bool buildFillets(const VelArray<VelGeomPoint3d>& vertices, const VelArray<double>& radii, double absError,
                      bool roundNegative, bool roundPositive, bool clamp);
    // Arc edges (only those turning against the normal, or all) become
    // their chord points with straight edges.
    void replaceArcsByChords(bool onlyTurningBack, double deviation);
    bool finiteData() const;

    VelArray<VelGeomPoint3d> m_vertices;
    VelArray<VelGeomVertexInfo> m_vertexInfo;
    VelGeomVector3d m_normal;
    eValidity m_validity;
};
