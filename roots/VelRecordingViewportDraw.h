#pragma once
// A viewport draw context that keeps what it is given (see VelDrawRecording).

#include "roots/VelRecordingDraw.h"
#include "roots/VelViewportDraw.h"

class VelRecordingViewportDraw : public VelRecordingDraw<VelViewportDraw>
{
public:
    explicit VelRecordingViewportDraw(long viewportId = 1) : m_viewportId(viewportId) {}

    long viewportId() const override { return m_viewportId; }

private:
    long m_viewportId;
};
