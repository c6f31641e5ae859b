#pragma once
// Constants and small numeric helpers shared by the modeler's sources.

#include <cmath>

namespace AModeler {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.28318530717958647692;

inline bool isFiniteValue(double v) { return std::isfinite(v); }

} // namespace AModeler
