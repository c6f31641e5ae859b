#pragma once
// Abstract base for utility objects of the geometry library. It carries no
// data; a derived utility reports a numeric identifier of its kind, so that
// collections of utilities can be told apart without RTTI.

class VelGeomUtil
{
public:
    VelGeomUtil() = default;
    VelGeomUtil(const VelGeomUtil&) = default;
    VelGeomUtil& operator=(const VelGeomUtil&) = default;
    virtual ~VelGeomUtil();

    virtual int utilityKind() const = 0;
};
