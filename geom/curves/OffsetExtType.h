#pragma once
// The extension type argument of every getOffset. No curve interprets it; a
// composite curve hands it on to its members unchanged. The contour
// operations pass kOffsetExtExtend (2).

enum OffsetExtType {
    kOffsetExtNone = 0,
    kOffsetExtTangent = 1,
    kOffsetExtExtend = 2
};
