// Recording an entity's primitives into flat pools and playing them back.
#include "view/DisplayList.h"

#include <stdexcept>

namespace vantrel::studio {

class DisplayList::Reader {
public:
    explicit Reader(const DisplayList& list) : m_list(list) {}

    double number() { return m_list.m_numbers[m_number++]; }
    OdGePoint3d point()
    {
        const double* v = take(3);
        return {v[0], v[1], v[2]};
    }
    OdGeVector3d vector()
    {
        const double* v = take(3);
        return {v[0], v[1], v[2]};
    }
    std::span<const double> numbers(std::size_t n) { return {take(n), n}; }
    std::span<const PathVertex> vertices(std::size_t n)
    {
        const std::span<const PathVertex> out(m_list.m_vertices.data() + m_vertex, n);
        m_vertex += n;
        return out;
    }
    const TextRun& text() { return m_list.m_texts[m_text++]; }

private:
    const double* take(std::size_t n)
    {
        const double* at = m_list.m_numbers.data() + m_number;
        m_number += n;
        return at;
    }

    const DisplayList& m_list;
    std::size_t m_number = 0, m_vertex = 0, m_text = 0;
};

void DisplayList::add(Kind kind, bool flag, std::uint8_t extra, std::size_t count)
{
    if (count > UINT32_MAX)
        throw std::length_error("a primitive too large to keep for display");
    m_ops.push_back({kind, flag, extra, static_cast<std::uint32_t>(count)});
}

void DisplayList::shrink()
{
    m_ops.shrink_to_fit();
    m_numbers.shrink_to_fit();
    m_vertices.shrink_to_fit();
    m_texts.shrink_to_fit();
}

void DisplayList::setTraits(const DrawTraits& traits)
{
    add(Kind::Traits, traits.dashesThroughVertices, traits.background ? 1 : 0, traits.dashes.size());
    put(static_cast<double>(traits.rgb));
    put(traits.lineWeightMm);
    m_numbers.insert(m_numbers.end(), traits.dashes.begin(), traits.dashes.end());
}

void DisplayList::path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal)
{
    add(Kind::Path, closed, 0, vertices.size());
    put(normal);
    m_vertices.insert(m_vertices.end(), vertices.begin(), vertices.end());
}

void DisplayList::polygon(std::span<const OdGePoint3d> corners, bool filled)
{
    add(Kind::Polygon, filled, 0, corners.size());
    for (const OdGePoint3d& p : corners)
        put(p);
}

void DisplayList::region(std::span<const std::vector<OdGePoint3d>> loops)
{
    add(Kind::Region, false, 0, loops.size());
    for (const std::vector<OdGePoint3d>& loop : loops) {
        put(static_cast<double>(loop.size()));
        for (const OdGePoint3d& p : loop)
            put(p);
    }
}

void DisplayList::circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                              const OdGeVector3d& startVector, double sweepAngle)
{
    add(Kind::CircularArc, false, 0, 0);
    put(center);
    put(radius);
    put(normal);
    put(startVector);
    put(sweepAngle);
}

void DisplayList::ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                              double startAngle, double endAngle)
{
    add(Kind::EllipticArc, false, 0, 0);
    put(center);
    put(majorAxis);
    put(minorAxis);
    put(startAngle);
    put(endAngle);
}

void DisplayList::text(const TextRun& run)
{
    add(Kind::Text, false, 0, 0);
    m_texts.push_back(run);
}

void DisplayList::marker(const OdGePoint3d& position, MarkerKind kind, double size)
{
    add(Kind::Marker, false, static_cast<std::uint8_t>(kind), 0);
    put(position);
    put(size);
}

void DisplayList::markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size)
{
    add(Kind::MarkerPolyline, false, 0, offsets.size());
    put(position);
    put(size);
    for (const OdGeVector3d& o : offsets)
        put(o);
}

void DisplayList::replay(WorldDraw& to) const
{
    Reader in(*this);
    std::vector<OdGePoint3d> points;
    std::vector<OdGeVector3d> offsets;
    for (const Op& op : m_ops) {
        switch (op.kind) {
        case Kind::Traits: {
            DrawTraits traits;
            traits.rgb = static_cast<std::uint32_t>(in.number());
            traits.lineWeightMm = in.number();
            const std::span<const double> dashes = in.numbers(op.count);
            traits.dashes.assign(dashes.begin(), dashes.end());
            traits.dashesThroughVertices = op.flag;
            traits.background = op.extra != 0;
            to.setTraits(traits);
            break;
        }
        case Kind::Path: {
            const OdGeVector3d normal = in.vector();
            to.path(in.vertices(op.count), op.flag, normal);
            break;
        }
        case Kind::Polygon:
            points.clear();
            for (std::uint32_t k = 0; k < op.count; ++k)
                points.push_back(in.point());
            to.polygon(points, op.flag);
            break;
        case Kind::Region: {
            std::vector<std::vector<OdGePoint3d>> loops(op.count);
            for (std::vector<OdGePoint3d>& loop : loops) {
                const auto n = static_cast<std::size_t>(in.number());
                for (std::size_t k = 0; k < n; ++k)
                    loop.push_back(in.point());
            }
            to.region(loops);
            break;
        }
        case Kind::CircularArc: {
            const OdGePoint3d center = in.point();
            const double radius = in.number();
            const OdGeVector3d normal = in.vector();
            const OdGeVector3d start = in.vector();
            to.circularArc(center, radius, normal, start, in.number());
            break;
        }
        case Kind::EllipticArc: {
            const OdGePoint3d center = in.point();
            const OdGeVector3d major = in.vector();
            const OdGeVector3d minor = in.vector();
            const double start = in.number();
            to.ellipticArc(center, major, minor, start, in.number());
            break;
        }
        case Kind::Text: to.text(in.text()); break;
        case Kind::Marker: {
            const OdGePoint3d position = in.point();
            to.marker(position, static_cast<MarkerKind>(op.extra), in.number());
            break;
        }
        case Kind::MarkerPolyline: {
            const OdGePoint3d position = in.point();
            const double size = in.number();
            offsets.clear();
            for (std::uint32_t k = 0; k < op.count; ++k)
                offsets.push_back(in.vector());
            to.markerPolyline(position, offsets, size);
            break;
        }
        }
    }
}

} // namespace vantrel::studio
