#pragma once
// A vertex of a body. Created with new on a body, which owns it from then on
// (it cannot be deleted by the caller; the body frees it).

#include "facet/host/modeler/Entity.h"
#include "facet/host/modeler/Point3d.h"

namespace AModeler {

class Body;
struct BodyData;
struct BodyImpl;

class Vertex : public Entity
{
public:
    // Appends a vertex to the body's vertex list. Throws eInvalidInput for a
    // null body or a point that is not finite.
    Vertex(const Point3d& point, Body* body);

    const Point3d& point() const { return m_point; }
    void setPoint(const Point3d& p) { m_point = p; }

    // The body's vertex list.
    Vertex* next() const { return m_next; }
    Vertex* prev() const { return m_prev; }
    Body* body() const;

    Vertex(const Vertex&) = delete;
    Vertex& operator=(const Vertex&) = delete;

private:
    friend struct BodyImpl;
    Vertex(const Point3d& point, BodyData* owner);
    ~Vertex() = default;

    Point3d m_point;
    BodyData* m_owner = nullptr;
    Vertex* m_next = nullptr;
    Vertex* m_prev = nullptr;
    mutable long m_scratch = 0;
};

} // namespace AModeler
