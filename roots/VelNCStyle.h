#pragma once
// The application's numerical-control style record. The libraries only store
// and hand back pointers to one; its content belongs to the application.

class VelNCStyle
{
public:
    virtual ~VelNCStyle();
};
