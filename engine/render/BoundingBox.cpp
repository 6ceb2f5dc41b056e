#include "BoundingBox.h"

#include <algorithm>
#include <cmath>

namespace KeystrelEngine {
namespace {

void Include(Vector3& min, Vector3& max, const Vector3& p)
{
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

} // namespace

BoundingBox::BoundingBox(const Vector3& localMin, const Vector3& localMax)
{
    Set(localMin, localMax);
}

void BoundingBox::Set(const Vector3& localMin, const Vector3& localMax)
{
    m_localMin = localMin;
    m_localMax = localMax;
    Update(false);
}

void BoundingBox::FromPoints(const Vector3* points, std::uint32_t count)
{
    m_localMin = kEmptyMin;
    m_localMax = kEmptyMax;
    for (std::uint32_t i = 0; i < count; ++i)
        Include(m_localMin, m_localMax, points[i]);
    Update(false);
}

void BoundingBox::ExpandMinMax(const BoundingBox& other)
{
    Include(m_localMin, m_localMax, other.m_worldMin);
    Include(m_localMin, m_localMax, other.m_worldMax);
    Update(false);
}

void BoundingBox::Update(bool transform)
{
    if (!transform) {
        m_transformation.MakeIdentity();
        m_secondMatrix.MakeIdentity();
        m_worldMin = m_localMin;
        m_worldMax = m_localMax;
    } else {
        m_worldMin = kEmptyMin;
        m_worldMax = kEmptyMax;
        for (int corner = 0; corner < 8; ++corner) {
            const Vector3 local{(corner & 1) ? m_localMax.x : m_localMin.x, (corner & 2) ? m_localMax.y : m_localMin.y,
                                (corner & 4) ? m_localMax.z : m_localMin.z};
            Include(m_worldMin, m_worldMax, m_transformation.TransformPoint(local));
        }
    }
    m_halfExtent = (m_worldMax - m_worldMin) * 0.5f;
    m_centre = m_worldMin + m_halfExtent;
    m_radius = m_halfExtent.Length();
}

bool BoundingBox::IntersectSegment(const Vector3& start, const Vector3& vector) const
{
    const float h = vector.Length() * 0.5f;
    const Vector3 middle = start + vector * 0.5f;
    const Vector3 d = vector.Normalized();
    const Vector3 t = m_centre - middle;
    const Vector3& e = m_halfExtent;

    if (std::fabs(t.x) > e.x + h * std::fabs(d.x) || std::fabs(t.y) > e.y + h * std::fabs(d.y) ||
        std::fabs(t.z) > e.z + h * std::fabs(d.z))
        return false;
    if (std::fabs(d.y * t.z - d.z * t.y) > e.y * std::fabs(d.z) + e.z * std::fabs(d.y))
        return false;
    if (std::fabs(d.z * t.x - d.x * t.z) > e.x * std::fabs(d.z) + e.z * std::fabs(d.x))
        return false;
    return std::fabs(d.x * t.y - d.y * t.x) <= e.x * std::fabs(d.y) + e.y * std::fabs(d.x);
}

BoundingBox BoundingBox::Interpolate(const BoundingBox& a, const BoundingBox& b, float t)
{
    return BoundingBox(Vector3::Lerp(a.m_localMin, b.m_localMin, t), Vector3::Lerp(a.m_localMax, b.m_localMax, t));
}

} // namespace KeystrelEngine
