#pragma once
// The tolerance record of every tolerant decision of the geometry library,
// its process-wide default gTol and the adaptive precision floor precTol.

class VelGeomTol
{
public:
    constexpr VelGeomTol() : m_equalPoint(1e-10), m_equalVector(1e-10) {}
    // Stored as given, without checking.
    constexpr VelGeomTol(double equalPoint, double equalVector)
        : m_equalPoint(equalPoint), m_equalVector(equalVector)
    {
    }

    double equalPoint() const { return m_equalPoint; }
    double equalVector() const { return m_equalVector; }

    // Store the value when it is greater than 0; otherwise (zero, negative,
    // NaN) keep the old value and return false.
    bool setEqualPoint(double value);
    bool setEqualVector(double value);

    // Scalar predicates on the effective point tolerance t (the own
    // equalPoint, raised to precTol's while the override is on).
    bool equal(double a, double b) const;        // -t < a - b < t
    bool lessEqual(double a, double b) const;    // a - b < t
    bool lessNotEqual(double a, double b) const; // b - a > t

    // The tolerance the scalar predicates compare against.
    double effectivePointTol() const;

    static void enablePrecOverride(bool on);
    static void resetPrecTol();

    static const VelGeomTol gTol;  // both fields 1e-10
    static VelGeomTol precTol;     // precision floor, initially 1e-16 / 1e-16
    static bool m_bPrecOverride;   // initially false

private:
    double m_equalPoint;
    double m_equalVector;
};

// Scope guard: switches the precision override on for its lifetime. It does
// not remember the previous state, so guards do not nest: the end of an inner
// guard switches the override off for the outer one too.
class VelEnablePrecOverride
{
public:
    VelEnablePrecOverride();
    virtual ~VelEnablePrecOverride();

    VelEnablePrecOverride(const VelEnablePrecOverride&) = delete;
    VelEnablePrecOverride& operator=(const VelEnablePrecOverride&) = delete;
};
