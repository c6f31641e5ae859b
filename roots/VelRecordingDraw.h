#pragma once
// The recording behaviour shared by the recording world and viewport draw
// contexts: everything handed to the context is kept in a VelDrawRecording,
// and the regeneration state is set by the owner through recording().

#include "roots/VelDrawRecording.h"
#include "roots/VelShellData.h"

template <class Context>
class VelRecordingDraw : public Context
{
public:
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

    VelDrawRecording& recording() { return m_rec; }
    const VelDrawRecording& recording() const { return m_rec; }

private:
    VelDrawRecording m_rec;
};
