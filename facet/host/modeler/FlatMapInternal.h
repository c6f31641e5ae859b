#pragma once
// Keys of edges between numbered points and a flat hash table for them, for
// the modeler's hot loops (Boolean engine, triangulation flips).

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace AModeler {

inline uint64_t directedKey(int u, int v)
{
    return (static_cast<uint64_t>(static_cast<uint32_t>(u)) << 32) | static_cast<uint32_t>(v);
}
inline uint64_t undirectedKey(int u, int v) { return u < v ? directedKey(u, v) : directedKey(v, u); }
inline uint64_t pointerKey(const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); }

// A hash table from 64-bit keys (edge keys of ids, entity addresses) to
// values, open addressing in flat arrays: the engine fills tables of
// thousands of edges for every operation, and node-based maps spent more
// time allocating than looking up. The key ~0 is reserved.
template <class V>
class FlatMap
{
public:
    static constexpr uint64_t kEmpty = ~static_cast<uint64_t>(0);

    size_t size() const { return m_size; }
    void clear()
    {
        m_keys.clear();
        m_values.clear();
        m_size = 0;
        m_mask = 0;
        m_shift = 64;
    }
    void reserve(size_t n)
    {
        if (2 * n > m_keys.size())
            rehash(n);
    }
    V* find(uint64_t key)
    {
        if (m_keys.empty())
            return nullptr;
        for (size_t i = slot(key);; i = (i + 1) & m_mask) {
            if (m_keys[i] == key)
                return &m_values[i];
            if (m_keys[i] == kEmpty)
                return nullptr;
        }
    }
    const V* find(uint64_t key) const { return const_cast<FlatMap*>(this)->find(key); }
    bool count(uint64_t key) const { return find(key) != nullptr; }
    // Inserts unless the key is present; the value stored under the key, and whether it is new.
    std::pair<V*, bool> emplace(uint64_t key, const V& value)
    {
        if (2 * (m_size + 1) > m_keys.size())
            rehash(m_size + 1);
        for (size_t i = slot(key);; i = (i + 1) & m_mask) {
            if (m_keys[i] == key)
                return {&m_values[i], false};
            if (m_keys[i] == kEmpty) {
                m_keys[i] = key;
                m_values[i] = value;
                ++m_size;
                return {&m_values[i], true};
            }
        }
    }
    template <class Fn>
    void forEach(Fn&& fn) const
    {
        for (size_t i = 0; i < m_keys.size(); ++i)
            if (m_keys[i] != kEmpty)
                fn(m_keys[i], m_values[i]);
    }

private:
    size_t slot(uint64_t key) const { return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> m_shift); }
    void rehash(size_t n)
    {
        int bits = 4;
        while ((static_cast<size_t>(1) << bits) < 2 * n)
            ++bits;
        std::vector<uint64_t> keys(static_cast<size_t>(1) << bits, kEmpty);
        std::vector<V> values(keys.size());
        keys.swap(m_keys);
        values.swap(m_values);
        m_mask = m_keys.size() - 1;
        m_shift = 64 - bits;
        m_size = 0;
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i] != kEmpty)
                emplace(keys[i], values[i]);
    }

    std::vector<uint64_t> m_keys;
    std::vector<V> m_values;
    size_t m_size = 0;
    size_t m_mask = 0;
    int m_shift = 64;
};

} // namespace AModeler
