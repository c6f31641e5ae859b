#include "geom/core/VelGeomTol.h"

// Constant-initialised: usable from any other library's static constructors.
const VelGeomTol VelGeomTol::gTol;
VelGeomTol VelGeomTol::precTol(1e-16, 1e-16);
bool VelGeomTol::m_bPrecOverride = false;

bool VelGeomTol::setEqualPoint(double value)
{
    if (!(value > 0.0))
        return false;
    m_equalPoint = value;
    return true;
}

bool VelGeomTol::setEqualVector(double value)
{
    if (!(value > 0.0))
        return false;
    m_equalVector = value;
    return true;
}

double VelGeomTol::effectivePointTol() const
{
    double t = m_equalPoint;
    if (m_bPrecOverride && precTol.m_equalPoint > t)
        t = precTol.m_equalPoint;
    return t;
}

bool VelGeomTol::equal(double a, double b) const
{
    const double t = effectivePointTol();
    const double d = a - b;
    return -t < d && d < t;
}

bool VelGeomTol::lessEqual(double a, double b) const { return a - b < effectivePointTol(); }

bool VelGeomTol::lessNotEqual(double a, double b) const { return b - a > effectivePointTol(); }

void VelGeomTol::enablePrecOverride(bool on) { m_bPrecOverride = on; }

void VelGeomTol::resetPrecTol()
{
    precTol.setEqualPoint(1e-16);
    precTol.setEqualVector(1e-16);
}

VelEnablePrecOverride::VelEnablePrecOverride() { VelGeomTol::enablePrecOverride(true); }

VelEnablePrecOverride::~VelEnablePrecOverride() { VelGeomTol::enablePrecOverride(false); }
