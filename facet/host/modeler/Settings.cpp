#include "facet/host/modeler/Settings.h"

#include <cmath>

namespace AModeler {

namespace {
double s_epsAbs = 1e-6;
int s_validityLevel = 3;
bool s_keepInputs = true;
} // namespace

double gEpsAbs() { return s_epsAbs; }

double setEpsAbs(double eps)
{
    const double old = s_epsAbs;
    if (std::isfinite(eps) && eps > 0.0)
        s_epsAbs = eps;
    return old;
}

int validityCheckingLevel() { return s_validityLevel; }

int setValidityCheckingLevel(int level)
{
    const int old = s_validityLevel;
    s_validityLevel = level < 0 ? 0 : (level > 3 ? 3 : level);
    return old;
}

int SetValidityCheckingLevel(int level) { return setValidityCheckingLevel(level); }

bool keepInputBodiesWhenBooleanOperationsFail() { return s_keepInputs; }

bool setKeepInputBodiesWhenBooleanOperationsFail(bool keep)
{
    const bool old = s_keepInputs;
    s_keepInputs = keep;
    return old;
}

} // namespace AModeler
