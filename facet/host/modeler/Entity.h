#pragma once
// Entity flags shared by faces, edges, vertices and curves: 32 bits that
// belong to the caller (the modeler never sets or reads them except when
// asked to, e.g. deleteMarkedFaces). Masks may hold several bits: isFlagOn
// is true when any of them is set, isFlagOff when none is.

namespace AModeler {

class Entity
{
public:
    unsigned flags() const { return m_flags; }
    void setFlags(unsigned flags) { m_flags = flags; }
    void setFlagOn(unsigned mask) { m_flags |= mask; }
    void setFlagOff(unsigned mask) { m_flags &= ~mask; }
    void setFlag(unsigned mask, bool on) { on ? setFlagOn(mask) : setFlagOff(mask); }
    bool isFlagOn(unsigned mask) const { return (m_flags & mask) != 0; }
    bool isFlagOff(unsigned mask) const { return (m_flags & mask) == 0; }

protected:
    Entity() = default;
    Entity(const Entity&) = default;
    Entity& operator=(const Entity&) = default;
    ~Entity() = default;

    unsigned m_flags = 0;
};

} // namespace AModeler
