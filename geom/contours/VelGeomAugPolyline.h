#pragma once
// An open contour in space whose edges are straight or circular: the
// vertices and, parallel to them, one vertex info per vertex, the info at
// vertex i describing the edge from vertex i to vertex i + 1 (the last
// vertex's info is straight). A single vertex with an arc info is a full
// circle through that vertex.
//
// Constructions and most edits end in reinitialize(), which removes edges
// shorter than kMinEdgeLength, merges collinear straight edges and arcs of
// one circle, and then recomputes the validity and the plane normal. The
// index setters, removeLast and append with a zero flag leave that to the
// caller.
//
// Curves handed out (getCurves, offsets) belong to the caller; deleteCurves
// frees a whole list.
//
// The field order is shared with the solid-modeling library.
//
// Choices of this class:
//   - The plane normal of the vertex list is that of VelGeom::polygonNormal:
//     the cross products of the reference edge with every vertex except the
//     edge's own two (which vanish).
//   - Arc lengths in the cleaning pass use the directed angle about the
//     info's normal computed from cross and dot products; coincident end
//     points make a full turn.
//   - Two arcs of one circle are not merged when together they would sweep
//     more than a full turn (one info cannot describe that).
//   - A full-circle edge (equal end vertices) becomes a full circle starting
//     at its vertex, so the curve list stays a connected chain.
//   - Corner fillets share the edge between them: a fillet may take only
//     what the previous one left of that edge (clamping shortens it to that,
//     without clamping it does not fit), so no contour comes back on itself.
//   - A contour with a coordinate, centre, normal or radius that is not a
//     finite number is kTooFewVertices, and so is one whose edges are all
//     arcs of radius 0 (no curve at all).
//   - The validity test takes the contour as an open chain; its pairwise
//     definition runs on the composite curve's test, which skips pairs whose
//     boxes are apart.

#include "geom/contours/VelGeomVertexInfo.h"
#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomAugPolygon;
class VelGeomCompositeCurve3d;
class VelGeomCurve3d;
class VelGeomMatrix3d;
class VelGeomPlane;

class VelGeomAugPolyline
{
public:
    enum eValidity {
        kNotChecked = 0,       // after construction without cleaning, or reset
        kValid = 1,            // usable contour
        kSelfIntersecting = 2, // the contour crosses itself
        kTooFewVertices = 3    // no vertex, or a single vertex without an arc info
    };

    // Empty; zero normal and start normal; kNotChecked.
    VelGeomAugPolyline();
    // Copies both lists, then reinitialize(). Lists of different lengths
    // give an empty (kTooFewVertices) polyline.
    VelGeomAugPolyline(const VelArray<VelGeomPoint3d>& vertices, const VelArray<VelGeomVertexInfo>& infos);
    // Vertex i gets the arc of bulge i about normal to vertex i + 1 (straight
    // for bulge 0) when there is one bulge per vertex and at least two
    // vertices; the normal is stored first, then reinitialize() (which may
    // replace it).
    VelGeomAugPolyline(const VelArray<VelGeomPoint3d>& vertices, const VelGeomVector3d& normal,
                       const VelArray<double>& bulges, double absError);
    // Corner fillets: every inner vertex whose radius is negative with
    // roundNegative, or positive with roundPositive, is rounded with |radius|.
    // A fillet that does not fit is shrunk with clamp, and otherwise leaves
    // the polyline empty.
    VelGeomAugPolyline(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices,
                       const VelArray<double>& radii, double absError, int roundNegative, int roundPositive,
                       int clamp);
    // The same with both rounding flags equal to flag and clamping on; the
    // int argument is not used.
    VelGeomAugPolyline(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices, int unused,
                       const VelArray<double>& radii, double absError, int flag);
    // Once around the polygon: its vertices and infos, then its first vertex
    // again; the polygon's normal. Only the validity is recomputed.
    explicit VelGeomAugPolyline(const VelGeomAugPolygon& polygon);
    // Vertices, infos, validity and normal; the copy's start normal is zero
    // and assignment keeps the target's.
    VelGeomAugPolyline(const VelGeomAugPolyline& other);
    VelGeomAugPolyline& operator=(const VelGeomAugPolyline& other);
    ~VelGeomAugPolyline();

    // ---- Editing and access

    // Appends the vertex and its info; reinitialize() when the flag is
    // non-zero. Always 1.
    int append(const VelGeomPoint3d& point, const VelGeomVertexInfo& info = VelGeomVertexInfo::kNone,
               int reinitialise = 1);
    void removeLast();
    // Empty lists, zero normal, kNotChecked.
    void reset();
    // 1, or 0 when i is outside [0, getLength()).
    int getVertexAt(int i, VelGeomPoint3d& point) const;
    int setVertexAt(int i, const VelGeomPoint3d& point);
    int getVertexInfoAt(int i, VelGeomVertexInfo& info) const;
    int setVertexInfoAt(int i, const VelGeomVertexInfo& info);
    const VelArray<VelGeomPoint3d>& getVertices() const { return m_vertices; }
    const VelArray<VelGeomVertexInfo>& getVertexInfo() const { return m_infos; }
    // The number of vertices (not a distance: see getPerimeter).
    long getLength() const { return m_vertices.length(); }

    const VelGeomVector3d& getNormal() const { return m_normal; }
    void setNormal(const VelGeomVector3d& normal) { m_normal = normal; }
    eValidity isValid() const { return m_validity; }
    void setValidity(eValidity validity) { m_validity = validity; }
    // Stored normalised; a vector with non-finite coordinates is ignored.
    void setStartNormal(const VelGeomVector3d& normal);
    const VelGeomVector3d& getStartNormal() const { return m_startNormal; }
    // Every arc info gets the absolute error.
    void setDeviation(double absError);

    // The contour run backwards (arc normals negated), then reinitialize().
    void reverse();
    // A polygon of the same vertices and infos, cleaned once.
    VelGeomAugPolygon getPolygon() const;

    // The cleaning pass, then the validity and the normal.
    void reinitialize();

    // ---- Derived geometry

    // Appends one heap curve per edge (the list is not emptied): a segment
    // or an arc; arc infos of radius 0 give none.
    void getCurves(VelArray<VelGeomCurve3d*>& curves) const;
    // Frees every curve of the list, last first, and empties it.
    static void deleteCurves(VelArray<VelGeomCurve3d*>& curves);
    // The curves of getCurves, owned by the composite; extended at both
    // ends unless finite.
    void getCompositeCurve3d(VelGeomCompositeCurve3d& curve, bool finite = true) const;
    // Straight edges by their start vertex, arcs by their chord points, then
    // the last vertex.
    VelArray<VelGeomPoint3d> getApproxVertices() const;
    // The axis-aligned bounds of the vertices and arcs; 0 (and the empty
    // record's corners) for an empty polyline.
    int getExtents(VelGeomPoint3d& min, VelGeomPoint3d& max) const;
    // The length of the curves.
    double getPerimeter() const;
    // To the nearest curve; 1e35 when there is none. A single vertex: the
    // distance to it.
    double distanceTo(const VelGeomPoint3d& point) const;
    // The nearest point over the curves (the first of equal distances) and
    // in edge the index of its edge (-1, and the origin, when there is no
    // curve and no vertex).
    VelGeomPoint3d getClosestPointTo(const VelGeomPoint3d& point, int& edge) const;

    // Appends the frame normals along the path from the start normal: one
    // per edge, carried round arcs and mirrored at corners. 0 without a start
    // normal or an edge.
    int get3dNormals(VelArray<VelGeomVector3d>& normals) const;
    // The frame normal at the contour's point nearest to point.
    int get3dNormalAtPoint(const VelGeomPoint3d& point, VelGeomVector3d& normal) const;

    // Offset in the contour's plane (positive to the right seen from the
    // normal's tip); 0 and unchanged when nothing is left.
    int expand(double distance);
    // Prolongs the first (atStart) or the last edge by length; see the
    // implementation for the shortening rules.
    int elongate(double length, bool atStart, bool shorten, bool addVertex, double margin);
    // The composite curve offset by the displacement given at the start
    // point (VelGeomCompositeCurve3d::get3dOffset), as a polyline.
    int get3dOffset(const VelGeomVector3d& offset, VelGeomAugPolyline& result,
                    const VelGeomTol& tol = VelGeomTol::gTol) const;
    // Arcs that the matrix would distort become chords (and the contour is
    // cleaned again).
    void transformBy(const VelGeomMatrix3d& m);
    // Along direction onto the plane; arcs whose plane is parallel to it stay
    // arcs, others become chords.
    void project(const VelGeomPlane& plane, const VelGeomVector3d& direction);
    // Cuts at the point nearest to point, leaving a gap of that length along
    // the contour; the pieces are appended. The number appended.
    int split(const VelGeomPoint3d& point, double gap, VelArray<VelGeomAugPolyline>& pieces) const;
    // Moves the start (atStart) or the end to the contour's point nearest to
    // point, on the extension beyond that end or inside the contour. 1 when
    // the contour changed.
    int setEndAtPoint(const VelGeomPoint3d& point, bool atStart);
    // Rounds the corners with the first count radii (clamped fillets); the
    // result replaces the contour only when it is kValid.
    int FilletPolyLine(const VelArray<double>& radii, int count, double absError);
    // The corner form: arcs that fillet a corner between two straight edges
    // give the corner point with the signed radius (positive for a
    // counter-clockwise turn about the normal; absolute values when flag is
    // 0), other arcs their chord points within deviation with radius 0,
    // corners radius 0. The number of points.
    int getFilleted(VelArray<VelGeomPoint3d>& points, VelArray<double>& radii, double deviation, int flag) const;
    // Pieces of at most step along the contour, appended to polylines; per
    // piece the index of the edge where it starts. The number appended.
    int getSamplePolys(double step, VelArray<VelGeomAugPolyline>& polylines, VelArray<int>& indices) const;

    // Class-wide tuning values.
    static double kMinEdgeLength;          // 0.01: shorter edges are removed or merged
    static double kAbsoluteMinEdgeLength;  // 1e-5
    static double kFilletPercentEdge;      // 0.99: the largest share of an edge a fillet may take

private:
    void buildFillets(const VelGeomVector3d& normal, const VelArray<VelGeomPoint3d>& vertices,
                      const VelArray<double>& radii, double absError, int roundNegative, int roundPositive,
                      int clamp);
    void removeShortEdges();
    void mergeCollinear();
    void mergeCocircular();
    bool finiteData() const;
    void checkValidity();
    void computeNormal();

    VelArray<VelGeomPoint3d> m_vertices;
    VelGeomVector3d m_normal;
    VelArray<VelGeomVertexInfo> m_infos;
    eValidity m_validity;
    VelGeomVector3d m_startNormal;
};
