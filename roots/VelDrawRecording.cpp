#include "roots/VelDrawRecording.h"

#include "roots/VelShellData.h"

#include <cstddef>

int VelRecordedShell::faceCount() const
{
    int faces = 0;
    for (std::size_t i = 0; i < faceList.size(); i += static_cast<std::size_t>(faceList[i]) + 1)
        ++faces;
    return faces;
}

int VelRecordedShell::edgeCount() const
{
    int edges = 0;
    for (std::size_t i = 0; i < faceList.size(); i += static_cast<std::size_t>(faceList[i]) + 1)
        edges += faceList[i];
    return edges;
}

void VelDrawRecording::setColor(short color)
{
    if (color != currentColor)
        ++colorChanges;
    currentColor = color;
}

bool VelDrawRecording::addShell(int nbVertex, const double* vertexXYZ, int faceListSize, const int* faceList,
                                const VelShellEdgeData* edgeData, const VelShellFaceData* faceData,
                                const VelShellVertexData* vertexData)
{
    if (nbVertex < 0 || faceListSize < 0 || (nbVertex > 0 && !vertexXYZ) || (faceListSize > 0 && !faceList))
        return true;
    // Validate the face list before copying anything.
    int faces = 0, edges = 0;
    for (int i = 0; i < faceListSize;) {
        const int n = faceList[i];
        if (n < 0 || n > faceListSize - i - 1)
            return true;
        for (int k = 1; k <= n; ++k)
            if (faceList[i + k] < 0 || faceList[i + k] >= nbVertex)
                return true;
        ++faces;
        edges += n;
        i += n + 1;
    }
    VelRecordedShell s;
    s.color = currentColor;
    s.vertices.assign(vertexXYZ, vertexXYZ + 3 * nbVertex);
    s.faceList.assign(faceList, faceList + faceListSize);
    if (edgeData) {
        s.hasEdgeData = true;
        if (edgeData->colors)
            s.edgeColors.assign(edgeData->colors, edgeData->colors + edges);
        if (edgeData->visibility)
            s.edgeVisibility.assign(edgeData->visibility, edgeData->visibility + edges);
    }
    if (faceData) {
        s.hasFaceData = true;
        if (faceData->colors)
            s.faceColors.assign(faceData->colors, faceData->colors + faces);
        if (faceData->normals)
            s.faceNormals.assign(faceData->normals, faceData->normals + 3 * faces);
    }
    if (vertexData) {
        s.hasVertexData = true;
        if (vertexData->normals)
            s.vertexNormals.assign(vertexData->normals, vertexData->normals + 3 * nbVertex);
    }
    shells.push_back(std::move(s));
    return false;
}

bool VelDrawRecording::addPolyline(int nbPoints, const double* pointsXYZ)
{
    if (nbPoints < 0 || (nbPoints > 0 && !pointsXYZ))
        return true;
    VelRecordedPolyline p;
    p.color = currentColor;
    p.points.assign(pointsXYZ, pointsXYZ + 3 * nbPoints);
    polylines.push_back(std::move(p));
    return false;
}

void VelDrawRecording::clear()
{
    shells.clear();
    polylines.clear();
    colorChanges = 0;
}
