#pragma once
// Per-element data records that travel with a shell handed to a draw
// context. Every pointer may be null (that kind of data is not supplied);
// arrays are indexed like the shell's vertices, faces or edges.

struct VelShellEdgeData
{
    const short* colors = nullptr;             // one per edge
    const unsigned char* visibility = nullptr; // one per edge: 0 invisible, 1 visible, 2 silhouette
};

struct VelShellFaceData
{
    const short* colors = nullptr;  // one per face
    const double* normals = nullptr; // x, y, z per face
};

struct VelShellVertexData
{
    const double* normals = nullptr; // x, y, z per vertex
};
