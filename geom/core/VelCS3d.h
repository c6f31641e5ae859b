#pragma once
// A named local frame in space: an origin and three axes, kept as a
// VelGeomMatrix3d in column layout (x, y, z axis, origin). The constructors
// and setters normalise the axes; nothing forces them to be orthogonal, and
// transformBy() may leave them scaled.
//
// Conversions: This2WCS() maps coordinates given in this frame to world
// coordinates, WCS2This() the other way.
//
// Calling This2WCS / WCS2This with a frame argument. Two overloads exist on
// purpose:
//   VelCS3d This2WCS(const VelCS3d& cs);      // returns a new, normalised frame
//   void    This2WCS(VelCS3d& cs) const;      // rewrites cs in place, unnormalised
// For a non-const frame f and a non-const argument cs the plain call
// f.This2WCS(cs) is ambiguous and does not compile. Say which one is meant:
//   VelCS3d w = f.This2WCS(std::as_const(cs));   // new frame (also: a const cs, a temporary)
//   std::as_const(f).This2WCS(cs);                // in place (also: f used through a const reference)
// The same holds for WCS2This.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector3d.h"

class VelCS3d
{
public:
    enum eCoor { kX = 0, kY = 1, kZ = 2 };

    // The world frame.
    VelCS3d() = default;
    VelCS3d(const VelGeomPoint3d& origin, const VelGeomVector3d& x, const VelGeomVector3d& y,
            const VelGeomVector3d& z);
    // Origin and axes are read from the matrix and normalised; the last row
    // becomes (0, 0, 0, 1).
    explicit VelCS3d(const VelGeomMatrix3d& m);
    VelCS3d(const VelCS3d& cs) = default;
    ~VelCS3d() = default;

    VelCS3d& operator=(const VelGeomMatrix3d& m);
    VelCS3d& operator=(const VelCS3d& cs);

    VelGeomPoint3d getOrigin() const;
    VelGeomVector3d getX() const;
    VelGeomVector3d getY() const;
    VelGeomVector3d getZ() const;
    // Any value other than kX, kY, kZ gives the zero vector.
    VelGeomVector3d getVector(eCoor which) const;
    void getCoordSystem(VelGeomPoint3d& origin, VelGeomVector3d& x, VelGeomVector3d& y, VelGeomVector3d& z) const;

    void setOrigin(const VelGeomPoint3d& p);
    // Replace one axis by v normalised; the other axes stay as they are.
    void setX(const VelGeomVector3d& v);
    void setY(const VelGeomVector3d& v);
    void setZ(const VelGeomVector3d& v);
    // Any value other than kX, kY, kZ changes nothing.
    void setVector(eCoor which, const VelGeomVector3d& v);

    // Turns the frame about its own chosen axis through its own origin.
    void rotate(eCoor which, double angle);
    // Moves the origin by v given in the frame's own axes.
    void translate(VelGeomVector3d v);
    // New x = old y, new y = old z, new z = old x.
    void change2YZ();
    // Origin as a point, axes as vectors; not renormalised.
    void transformBy(const VelGeomMatrix3d& m);

    VelGeomMatrix3d This2WCS() const;
    VelGeomMatrix3d WCS2This() const;
    // The motion that carries cs onto this frame: M(this) * M(cs)^-1.
    VelGeomMatrix3d This2CS(const VelCS3d& cs) const;
    // The motion that carries this frame onto cs: M(cs) * M(this)^-1.
    VelGeomMatrix3d CS2This(const VelCS3d& cs) const;
    // Same motion as CS2This(cs).
    VelGeomMatrix3d alignTo(const VelCS3d& cs) const;

    // cs's origin and axes read as coordinates in this frame (This2WCS) or
    // in the world (WCS2This), mapped into a new frame with normalised axes.
    // See the note at the top of this header for how to call these.
    VelCS3d This2WCS(const VelCS3d& cs);
    VelCS3d WCS2This(const VelCS3d& cs);
    // The same mapping written into cs, without normalising.
    void This2WCS(VelCS3d& cs) const;
    void WCS2This(VelCS3d& cs) const;

    // Every point replaced by its image, from the last point to the first.
    void This2WCS(VelArray<VelGeomPoint3d>& pts) const;
    void WCS2This(VelArray<VelGeomPoint3d>& pts) const;

private:
    void store(const VelGeomPoint3d& origin, const VelGeomVector3d& x, const VelGeomVector3d& y,
               const VelGeomVector3d& z);
    static void mapFrame(const VelGeomMatrix3d& m, const VelCS3d& in, VelGeomPoint3d& origin, VelGeomVector3d& x,
                         VelGeomVector3d& y, VelGeomVector3d& z);

    VelGeomMatrix3d m_matrix;
};
