#pragma once
// What a recording draw context keeps: a deep copy of every shell and
// polyline handed to it, with the colour current at that moment.

#include <vector>

struct VelRecordedShell
{
    short color = 0;  // context colour when the shell arrived
    std::vector<double> vertices;  // x, y, z per vertex
    std::vector<int> faceList;
    bool hasEdgeData = false, hasFaceData = false, hasVertexData = false;
    std::vector<short> edgeColors;
    std::vector<unsigned char> edgeVisibility;
    std::vector<short> faceColors;
    std::vector<double> faceNormals;
    std::vector<double> vertexNormals;

    int vertexCount() const { return static_cast<int>(vertices.size() / 3); }
    int faceCount() const;
    int edgeCount() const;  // sum of face sizes
};

struct VelRecordedPolyline
{
    short color = 0;
    std::vector<double> points;  // x, y, z per point
};

struct VelShellEdgeData;
struct VelShellFaceData;
struct VelShellVertexData;

class VelDrawRecording
{
public:
    bool regenAbortFlag = false;
    int regenTypeValue = 2;
    short currentColor = 7;
    int colorChanges = 0;
    std::vector<VelRecordedShell> shells;
    std::vector<VelRecordedPolyline> polylines;

    void setColor(short color);
    // A face list that runs past its declared size or names a vertex outside
    // [0, nbVertex) is recorded as refused (returns true) and not kept.
    bool addShell(int nbVertex, const double* vertexXYZ, int faceListSize, const int* faceList,
                  const VelShellEdgeData* edgeData, const VelShellFaceData* faceData,
                  const VelShellVertexData* vertexData);
    bool addPolyline(int nbPoints, const double* pointsXYZ);
    void clear();
};
