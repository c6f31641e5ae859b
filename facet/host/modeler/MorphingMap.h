#pragma once
// Which vertex of a sweep's start profile runs into which vertex of its end
// profile. The null map pairs loop position i with loop position i. A map of
// its own is a list of pairs (start position, end position) in loop order
// from the profiles' first loop edges; between two consecutive pairs each
// side advances by at most one position, so each step makes a quadrilateral
// (both advance) or a triangle (one advances). The list is cyclic: the last
// pair continues into the first.

#include <utility>
#include <vector>

namespace AModeler {

class MorphingMap
{
public:
    MorphingMap() = default;

    static const MorphingMap kNull;

    bool isNull() const { return m_pairs.empty(); }
    void add(int startIndex, int endIndex) { m_pairs.emplace_back(startIndex, endIndex); }
    int length() const { return static_cast<int>(m_pairs.size()); }
    const std::pair<int, int>& at(int i) const { return m_pairs[i]; }
    void clear() { m_pairs.clear(); }

private:
    std::vector<std::pair<int, int>> m_pairs;
};

} // namespace AModeler
