#pragma once
// A world draw context that keeps what it is given (see VelDrawRecording).

#include "roots/VelRecordingDraw.h"
#include "roots/VelWorldDraw.h"

class VelRecordingWorldDraw : public VelRecordingDraw<VelWorldDraw>
{
};
