#pragma once
// A viewport draw context that keeps what it is given (see VelDrawRecording).

#include "roots/VelDrawRecording.h"
#include "roots/VelViewportDraw.h"

class VelRecordingViewportDraw : public VelViewportDraw
{
public:
    explicit VelRecordingViewportDraw(long viewportId = 1) : m_viewportId(viewportId) {}

    bool regenAbort() const override { return m_rec.regenAbortFlag; }
    int regenType() const override { return m_rec.regenTypeValue; }
    void setColor(short color) override { m_rec.setColor(color); }
    short color() const override { return m_rec.currentColor; }
    bool shell(int nbVertex, const double* vertexXYZ, int faceListSize, const int* faceList,
               const VelShellEdgeData* edgeData = nullptr, const VelShellFaceData* faceData = nullptr,
               const VelShellVertexData* vertexData = nullptr) override
    {
        return m_rec.addShell(nbVertex, vertexXYZ, faceListSize, faceList, edgeData, faceData, vertexData);
    }
    bool polyline(int nbPoints, const double* pointsXYZ) override { return m_rec.addPolyline(nbPoints, pointsXYZ); }
    long viewportId() const override { return m_viewportId; }

    VelDrawRecording& recording() { return m_rec; }
    const VelDrawRecording& recording() const { return m_rec; }

private:
    VelDrawRecording m_rec;
    long m_viewportId;
};
