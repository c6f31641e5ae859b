#include "facet/host/modeler/ErrorCode.h"

namespace AModeler {

const char* errorCodeText(ErrorCode code)
{
    switch (code) {
    case eOk: return "no error";
    case eInvalidInput: return "invalid input";
    case eDegenerateGeometry: return "degenerate geometry";
    case eInvalidBody: return "invalid body";
    case eNotPlanar: return "points not planar";
    case eFileError: return "file error";
    case eBadStream: return "bad persistent stream";
    case eChannelError: return "save/restore channel error";
    case eOutOfMemory: return "out of memory";
    case eInternalError: return "internal modeler error";
    }
    return "unknown error";
}

} // namespace AModeler
