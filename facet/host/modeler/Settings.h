#pragma once
// Process-wide settings of the modeler. Not guarded: the modeler serves one
// thread at a time.

namespace AModeler {

// Absolute tolerance, in drawing units, for coincident points, planarity of
// faces and degenerate lengths. Default 1e-6. setEpsAbs ignores values that
// are not finite and positive; it returns the previous value.
double gEpsAbs();
double setEpsAbs(double eps);

// How much Body::isValid(-1) checks (0 to 3; Body::isValid documents the
// levels). Default 3. Both spellings set the level and return the previous
// one; values outside 0..3 are clamped.
int validityCheckingLevel();
int setValidityCheckingLevel(int level);
int SetValidityCheckingLevel(int level);

// Whether a failing Boolean operation or section leaves its input bodies as
// they were (default true).
bool keepInputBodiesWhenBooleanOperationsFail();
bool setKeepInputBodiesWhenBooleanOperationsFail(bool keep);  // returns the previous value

} // namespace AModeler
