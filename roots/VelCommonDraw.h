#pragma once
// What the libraries ask of a host draw context: the regeneration state, the
// current colour and two geometry primitives.

#include "roots/VelShellData.h"

class VelCommonDraw
{
public:
    virtual ~VelCommonDraw();

    // True when the host wants the current regeneration abandoned.
    virtual bool regenAbort() const = 0;
    // The host's regeneration type; the libraries draw for types 2 to 6.
    virtual int regenType() const = 0;

    virtual void setColor(short color) = 0;
    virtual short color() const = 0;

    // A shell: nbVertex points (x, y, z each), a face list of faceListSize
    // ints (each face: its vertex count n, then n vertex indices) and optional
    // per-edge, per-face and per-vertex data. Edges are numbered in face-list
    // order. Returns true when the host refused (aborted) the primitive.
    virtual bool shell(int nbVertex, const double* vertexXYZ, int faceListSize, const int* faceList,
                       const VelShellEdgeData* edgeData = nullptr, const VelShellFaceData* faceData = nullptr,
                       const VelShellVertexData* vertexData = nullptr) = 0;

    // An open polyline through nbPoints points (x, y, z each).
    virtual bool polyline(int nbPoints, const double* pointsXYZ) = 0;
};
