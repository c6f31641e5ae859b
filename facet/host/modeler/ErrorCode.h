#pragma once
// What failing modeler operations throw. Callers catch the value; the text
// helps logging.

namespace AModeler {

enum ErrorCode
{
    eOk = 0,
    eInvalidInput = 1,      // null or empty arrays, NaN/infinite values, counts out of range
    eDegenerateGeometry = 2,// zero lengths, zero areas, parallel directions, collinear points
    eInvalidBody = 3,       // the body or an operand is not a closed, oriented 2-manifold
    eNotPlanar = 4,         // points that must lie in one plane do not (absolute tolerance)
    eFileError = 5,         // a file could not be opened or written
    eBadStream = 6,         // a persistent stream is truncated, foreign or corrupted
    eChannelError = 7,      // the save/restore call-back refused bytes
    eOutOfMemory = 8,
    eInternalError = 9      // a consistency check of the modeler itself failed
};

// A short English description, never null.
const char* errorCodeText(ErrorCode code);

} // namespace AModeler
