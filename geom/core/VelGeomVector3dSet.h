#pragma once
// A list of vectors without near-duplicates: insert() hands back the index of
// an already stored vector that matches the new one within `tolerance` in
// every coordinate (a box, inclusive), or appends it. To bound the cost only
// the first maxCompares entries are ever compared, so a set grown past that
// count accepts duplicates of its later entries.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomVector3dSet
{
public:
    explicit VelGeomVector3dSet(int growLength = 128, int maxCompares = 128, double tolerance = 1e-6);
    VelGeomVector3dSet(const VelGeomVector3dSet& other) = default;
    VelGeomVector3dSet& operator=(const VelGeomVector3dSet& other) = default;
    virtual ~VelGeomVector3dSet();

    // Index of the first matching entry, or of the appended vector; -1 when
    // the storage for a new vector was refused.
    int insert(const VelGeomVector3d& v);

    // Entry i; for an index outside [0, length()) the errorValue().
    VelGeomVector3d operator[](int i) const { return at(i); }
    VelGeomVector3d at(int i) const;
    // (0, 0, 0); every call counts one in NumErrorAccess.
    VelGeomVector3d errorValue() const;
    bool isValid(const int& i) const { return i >= 0 && i < m_vectors.length(); }
    int length() const { return m_vectors.length(); }
    const VelArray<VelGeomVector3d>& getVectors() const { return m_vectors; }
    // Takes a copy of the vectors as they are (duplicates kept).
    void set(const VelArray<VelGeomVector3d>& vectors);
    void transformBy(const VelGeomMatrix3d& m);

    static int NumErrorAccess;

private:
    int getIndexUntilMaxCompares(const VelGeomVector3d& v) const;

    int m_maxCompares;
    double m_tolerance;
    VelArray<VelGeomVector3d> m_vectors;
};
