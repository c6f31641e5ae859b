#pragma once
// A circle curve of a body: the circle that a run of its edges approximates
// by chords, with the number of facets of the full circle. Owned by the body
// like vertices; edges refer to it (Edge::curve).

#include "facet/host/modeler/Circle3d.h"
#include "facet/host/modeler/Entity.h"

namespace AModeler {

class Body;
struct BodyData;
struct BodyImpl;

class Curve : public Entity
{
public:
    // Throws eInvalidInput for a null body, an invalid circle or facets < 3.
    Curve(const Circle3d& circle, int facets, Body* body);

    const Circle3d& circle() const { return m_circle; }
    int facetCount() const { return m_facets; }
    Curve* next() const { return m_next; }
    Curve* prev() const { return m_prev; }
    Body* body() const;

    Curve(const Curve&) = delete;
    Curve& operator=(const Curve&) = delete;

private:
    friend struct BodyImpl;
    Curve(const Circle3d& circle, int facets, BodyData* owner);
    ~Curve() = default;

    Circle3d m_circle;
    int m_facets = 0;
    BodyData* m_owner = nullptr;
    Curve* m_next = nullptr;
    Curve* m_prev = nullptr;
    mutable long m_scratch = 0;
};

} // namespace AModeler
