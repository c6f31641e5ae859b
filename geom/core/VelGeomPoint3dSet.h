#pragma once
// A list of points without near-duplicates: insert() hands back the index of
// an already stored point that matches the new one within `tolerance` in
// every coordinate (a box, inclusive), or appends it. To bound the cost only
// the first maxCompares entries are ever compared, so a set grown past that
// count accepts duplicates of its later entries.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/core/VelGeomPoint3d.h"

class VelGeomPoint3dSet
{
public:
    explicit VelGeomPoint3dSet(int growLength = 32, int maxCompares = 64, double tolerance = 1e-6);
    VelGeomPoint3dSet(const VelGeomPoint3dSet& other) = default;
    VelGeomPoint3dSet& operator=(const VelGeomPoint3dSet& other) = default;
    virtual ~VelGeomPoint3dSet();

    // Index of the first matching entry, or of the appended point; -1 when
    // the storage for a new point was refused.
    int insert(const VelGeomPoint3d& p);

    // Entry i; for an index outside [0, length()) the errorValue().
    VelGeomPoint3d operator[](int i) const { return at(i); }
    VelGeomPoint3d at(int i) const;
    // (0, 0, 0); every call counts one in NumErrorAccess.
    VelGeomPoint3d errorValue() const;
    bool isValid(const int& i) const { return i >= 0 && i < m_points.length(); }
    int length() const { return m_points.length(); }
    const VelArray<VelGeomPoint3d>& getPoints() const { return m_points; }
    // Takes a copy of the points as they are (duplicates kept).
    void set(const VelArray<VelGeomPoint3d>& points);
    void transformBy(const VelGeomMatrix3d& m);

    static int NumErrorAccess;

private:
    int getIndexUntilMaxCompares(const VelGeomPoint3d& p) const;

    int m_maxCompares;
    double m_tolerance;
    VelArray<VelGeomPoint3d> m_points;
};
