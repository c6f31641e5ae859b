#include "facet/host/modeler/Transf3d.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace AModeler {

Transf3d::Transf3d()
{
    std::memset(m_m, 0, sizeof m_m);
    for (int i = 0; i < 4; ++i)
        m_m[i][i] = 1.0;
}

Transf3d::Transf3d(const double rowMajor[4][4]) { std::memcpy(m_m, rowMajor, sizeof m_m); }

Transf3d Transf3d::fromRowMajor(const double* s)
{
    Transf3d t;
    if (s)
        for (int i = 0; i < 16; ++i)
            t.m_m[i / 4][i % 4] = s[i];
    return t;
}

void Transf3d::toRowMajor(double s[16]) const
{
    for (int i = 0; i < 16; ++i)
        s[i] = m_m[i / 4][i % 4];
}

Transf3d Transf3d::translation(const Vector3d& v)
{
    Transf3d t;
    t.m_m[0][3] = v.x;
    t.m_m[1][3] = v.y;
    t.m_m[2][3] = v.z;
    return t;
}

Transf3d Transf3d::rotation(double angle, const Vector3d& axis, const Point3d& p)
{
    const Vector3d k = axis.normalized();
    Transf3d t;
    const Vector3d cols[3] = {Vector3d::kXDir.rotatedBy(angle, k), Vector3d::kYDir.rotatedBy(angle, k),
                              Vector3d::kZDir.rotatedBy(angle, k)};
    for (int c = 0; c < 3; ++c) {
        t.m_m[0][c] = cols[c].x;
        t.m_m[1][c] = cols[c].y;
        t.m_m[2][c] = cols[c].z;
    }
    const Vector3d moved = t.apply(p.asVector());
    t.m_m[0][3] = p.x - moved.x;
    t.m_m[1][3] = p.y - moved.y;
    t.m_m[2][3] = p.z - moved.z;
    return t;
}

Transf3d Transf3d::scaling(double f, const Point3d& p)
{
    Transf3d t;
    for (int i = 0; i < 3; ++i)
        t.m_m[i][i] = f;
    t.m_m[0][3] = p.x * (1.0 - f);
    t.m_m[1][3] = p.y * (1.0 - f);
    t.m_m[2][3] = p.z * (1.0 - f);
    return t;
}

Transf3d Transf3d::mirroring(const Point3d& p, const Vector3d& normal)
{
    const Vector3d n = normal.normalized();
    Transf3d t;
    const double nn[3] = {n.x, n.y, n.z};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            t.m_m[r][c] = (r == c ? 1.0 : 0.0) - 2.0 * nn[r] * nn[c];
    const double dist = n.dot(p.asVector());
    for (int r = 0; r < 3; ++r)
        t.m_m[r][3] = 2.0 * dist * nn[r];
    return t;
}

Transf3d Transf3d::operator*(const Transf3d& b) const
{
    Transf3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += m_m[i][k] * b.m_m[k][j];
            r.m_m[i][j] = s;
        }
    return r;
}

Point3d Transf3d::apply(const Point3d& p) const
{
    double v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = m_m[i][0] * p.x + m_m[i][1] * p.y + m_m[i][2] * p.z + m_m[i][3];
    if (v[3] != 1.0 && v[3] != 0.0)
        return Point3d(v[0] / v[3], v[1] / v[3], v[2] / v[3]);
    return Point3d(v[0], v[1], v[2]);
}

Vector3d Transf3d::apply(const Vector3d& p) const
{
    return Vector3d(m_m[0][0] * p.x + m_m[0][1] * p.y + m_m[0][2] * p.z,
                    m_m[1][0] * p.x + m_m[1][1] * p.y + m_m[1][2] * p.z,
                    m_m[2][0] * p.x + m_m[2][1] * p.y + m_m[2][2] * p.z);
}

bool Transf3d::isFinite() const
{
    for (int i = 0; i < 16; ++i)
        if (!std::isfinite(m_m[i / 4][i % 4]))
            return false;
    return true;
}

bool Transf3d::isAffine() const
{
    return m_m[3][0] == 0.0 && m_m[3][1] == 0.0 && m_m[3][2] == 0.0 && m_m[3][3] == 1.0;
}

double Transf3d::determinant3() const
{
    const auto& m = m_m;
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

bool Transf3d::isSimilarity(double& scale, double relEps) const
{
    scale = 0.0;
    if (!isAffine())
        return false;
    const Vector3d c[3] = {Vector3d(m_m[0][0], m_m[1][0], m_m[2][0]), Vector3d(m_m[0][1], m_m[1][1], m_m[2][1]),
                           Vector3d(m_m[0][2], m_m[1][2], m_m[2][2])};
    const double s = c[0].length();
    if (!(s > 0.0))
        return false;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(c[i].length() - s) > relEps * s)
            return false;
        for (int j = i + 1; j < 3; ++j)
            if (std::fabs(c[i].dot(c[j])) > relEps * s * s)
                return false;
    }
    scale = s;
    return true;
}

bool Transf3d::invert()
{
    // Gauss-Jordan with partial pivoting on [M | I].
    double a[4][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 8; ++j)
            a[i][j] = j < 4 ? m_m[i][j] : (j - 4 == i ? 1.0 : 0.0);
    double scale = 0.0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            scale = std::fmax(scale, std::fabs(m_m[i][j]));
    if (!(scale > 0.0) || !std::isfinite(scale))
        return false;
    for (int col = 0; col < 4; ++col) {
        int piv = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[piv][col]))
                piv = r;
        if (std::fabs(a[piv][col]) <= 1e-14 * scale)
            return false;
        if (piv != col)
            for (int j = 0; j < 8; ++j)
                std::swap(a[piv][j], a[col][j]);
        const double inv = 1.0 / a[col][col];
        for (int j = 0; j < 8; ++j)
            a[col][j] *= inv;
        for (int r = 0; r < 4; ++r)
            if (r != col && a[r][col] != 0.0) {
                const double f = a[r][col];
                for (int j = 0; j < 8; ++j)
                    a[r][j] -= f * a[col][j];
            }
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m_m[i][j] = a[i][j + 4];
    return true;
}

} // namespace AModeler
