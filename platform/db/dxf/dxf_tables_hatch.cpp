// DXF tables of HATCH and MPOLYGON. Their boundary paths reuse group codes with meanings that
// depend on the tags before them (10 is an elevation, an edge's start, an arc's centre, a
// control point or a seed point), so every tag of the subclass is gathered in order and taken
// apart when the record ends; the subclass is written back from the model in the order DXF
// gives. Data that does not parse as boundary paths is kept as read, written back unchanged and
// not drawn, and the reader says so.
#include <vantrel/db/OdDbHatch.h>

#include <algorithm>

#include "DxfClassMap.h"
#include "DxfTagWriter.h"
#include "db_key.h"

namespace vantrel {

namespace {

using Tag = DxfContext::GatheredTag;
using C = OdDbHatch;

// The subclass's tags with the kind each is read as.
constexpr std::pair<int, DxfFieldKind> kCodes[] = {
    {10, DxfFieldKind::Point3d}, {11, DxfFieldKind::Point3d},      {12, DxfFieldKind::Point3d},
    {13, DxfFieldKind::Point3d}, {210, DxfFieldKind::Point3d},     {2, DxfFieldKind::String},
    {470, DxfFieldKind::String}, {40, DxfFieldKind::Double},       {41, DxfFieldKind::Double},
    {42, DxfFieldKind::Double},  {43, DxfFieldKind::Double},       {44, DxfFieldKind::Double},
    {45, DxfFieldKind::Double},  {46, DxfFieldKind::Double},       {47, DxfFieldKind::Double},
    {49, DxfFieldKind::Double},  {50, DxfFieldKind::Double},       {51, DxfFieldKind::Double},
    {52, DxfFieldKind::Double},  {53, DxfFieldKind::Double},       {460, DxfFieldKind::Double},
    {461, DxfFieldKind::Double}, {462, DxfFieldKind::Double},      {463, DxfFieldKind::Double},
    {63, DxfFieldKind::Int16},   {70, DxfFieldKind::Int16},        {71, DxfFieldKind::Int16},
    {72, DxfFieldKind::Int16},   {73, DxfFieldKind::Int16},        {74, DxfFieldKind::Int16},
    {75, DxfFieldKind::Int16},   {76, DxfFieldKind::Int16},        {77, DxfFieldKind::Int16},
    {78, DxfFieldKind::Int16},   {79, DxfFieldKind::Int16},        {91, DxfFieldKind::Int32},
    {92, DxfFieldKind::Int32},   {93, DxfFieldKind::Int32},        {94, DxfFieldKind::Int32},
    {95, DxfFieldKind::Int32},   {96, DxfFieldKind::Int32},        {97, DxfFieldKind::Int32},
    {98, DxfFieldKind::Int32},   {99, DxfFieldKind::Int32},        {421, DxfFieldKind::Int32},
    {450, DxfFieldKind::Int32},  {451, DxfFieldKind::Int32},       {452, DxfFieldKind::Int32},
    {453, DxfFieldKind::Int32},  {330, DxfFieldKind::HandleValue},
};

constexpr PropertyEnumName kStyles[] = {{0, "normal"}, {1, "outer"}, {2, "ignore"}};
constexpr PropertyEnumName kPatternTypes[] = {{0, "user defined"}, {1, "predefined"}, {2, "custom"}};

// Counts above this are a damaged file, not a hatch (nothing real comes near).
constexpr std::int64_t kMaxCount = 10'000'000;

struct Unparsable {};

// Reads the gathered tags front to back; any tag out of place throws Unparsable.
class HatchParser {
public:
    HatchParser(const std::vector<Tag>& tags, bool polygon) : m_tags(tags), m_polygon(polygon) {}

    C::Data parse()
    {
        C::Data d;
        bool versionRead = !m_polygon;
        bool gradient = false;
        while (!done()) {
            const Tag& t = next();
            switch (t.code) {
            case 70:
                if (!versionRead) {
                    d.polygon.version = static_cast<std::int16_t>(t.integer);
                    versionRead = true;
                } else if (m_polygon) {
                    throw Unparsable{};
                } else {
                    d.solidFill = t.integer != 0;
                }
                break;
            case 71:
                if (m_polygon)
                    d.solidFill = t.integer != 0;
                else
                    d.associative = static_cast<std::int16_t>(t.integer);
                break;
            case 10: d.elevationPoint = t.point; break;
            case 210: d.normal = OdGeVector3d(t.point.x, t.point.y, t.point.z); break;
            case 2: d.patternName = OdString::fromUtf8(t.text); break;
            case 91:
                d.loops.resize(count(t));
                for (C::Loop& l : d.loops)
                    l = loop();
                break;
            case 75: d.style = static_cast<std::int16_t>(t.integer); break;
            case 76: d.patternType = static_cast<std::int16_t>(t.integer); break;
            case 52: d.patternAngle = t.number; break;
            case 41: d.patternScale = t.number; break;
            case 77: d.patternDouble = static_cast<std::int16_t>(t.integer); break;
            case 78:
                d.patternLines.resize(count(t));
                for (C::PatternLine& l : d.patternLines)
                    l = patternLine();
                break;
            case 47: d.pixelSize = t.number; break;
            case 98:
                d.seedPoints.resize(count(t));
                for (OdGePoint2d& p : d.seedPoints)
                    p = point2(take(10));
                break;
            case 73:
                if (!m_polygon)
                    throw Unparsable{};
                d.polygon.annotated = static_cast<std::int16_t>(t.integer);
                break;
            case 11:
                if (!m_polygon)
                    throw Unparsable{};
                d.polygon.offsetVector = OdGeVector2d(t.point.x, t.point.y);
                break;
            case 99:
                if (!m_polygon)
                    throw Unparsable{};
                d.polygon.degenerateLoops = static_cast<std::int32_t>(t.integer);
                break;
            case 450:
                gradient = true;
                // Assigned whole: clang cannot default-construct the nested type in place here.
                d.gradient = OdDbHatch::Gradient();
                d.gradient->kind = static_cast<std::int32_t>(t.integer);
                break;
            case 63:
                if (gradient)
                    colour(d).index = static_cast<std::int16_t>(t.integer);
                else if (m_polygon)
                    d.polygon.fillColor = static_cast<std::int16_t>(t.integer);
                else
                    throw Unparsable{};
                break;
            default:
                if (!gradient)
                    throw Unparsable{};
                gradientTag(*d.gradient, t);
            }
        }
        return d;
    }

private:
    bool done() const { return m_at >= m_tags.size(); }
    const Tag& next()
    {
        if (done())
            throw Unparsable{};
        return m_tags[m_at++];
    }
    bool peek(int code) const { return !done() && m_tags[m_at].code == code; }
    const Tag& take(int code)
    {
        if (!peek(code))
            throw Unparsable{};
        return next();
    }
    static std::size_t count(const Tag& t)
    {
        if (t.integer < 0 || t.integer > kMaxCount)
            throw Unparsable{};
        return static_cast<std::size_t>(t.integer);
    }
    static OdGePoint2d point2(const Tag& t) { return {t.point.x, t.point.y}; }

    C::Loop loop()
    {
        C::Loop l;
        l.flags = static_cast<std::int32_t>(take(92).integer);
        if (l.flags & C::kPolyline) {
            // HATCH gives the bulge flag first, MPOLYGON the closed flag.
            for (int k = 0; k < 2; ++k) {
                if (peek(72))
                    l.hasBulges = next().integer != 0;
                else
                    l.closed = take(73).integer != 0;
            }
            l.vertices.resize(count(take(93)));
            for (C::PolylineVertex& v : l.vertices) {
                v.point = point2(take(10));
                if (peek(42))
                    v.bulge = next().number;
            }
        } else {
            l.edges.resize(count(take(93)));
            for (std::size_t i = 0; i < l.edges.size(); ++i)
                l.edges[i] = edge(i + 1 == l.edges.size());
        }
        if (peek(97)) {
            l.sourceHandles.resize(count(next()));
            for (std::uint64_t& h : l.sourceHandles)
                h = static_cast<std::uint64_t>(take(330).integer);
        }
        return l;
    }

    C::Edge edge(bool lastOfLoop)
    {
        C::Edge e;
        e.type = static_cast<std::int16_t>(take(72).integer);
        switch (e.type) {
        case C::kLine:
            e.start = point2(take(10));
            e.end = point2(take(11));
            break;
        case C::kCircArc:
        case C::kEllipArc:
            e.center = point2(take(10));
            if (e.type == C::kEllipArc) {
                const Tag& axis = take(11);
                e.majorAxis = OdGeVector2d(axis.point.x, axis.point.y);
            }
            e.radius = take(40).number;
            e.startAngle = take(50).number;
            e.endAngle = take(51).number;
            e.counterClockwise = take(73).integer != 0;
            break;
        case C::kSpline: spline(e, lastOfLoop); break;
        default: throw Unparsable{};
        }
        return e;
    }

    void spline(C::Edge& e, bool lastOfLoop)
    {
        e.degree = static_cast<std::int16_t>(take(94).integer);
        e.rational = take(73).integer != 0;
        e.periodic = take(74).integer != 0;
        e.knots.resize(count(take(95)));
        const std::size_t points = count(take(96));
        for (double& k : e.knots)
            k = take(40).number;
        for (std::size_t i = 0; i < points; ++i) {
            e.controlPoints.push_back(point2(take(10)));
            if (peek(42))
                e.weights.push_back(next().number);
        }
        // A 97 here counts fit points, unless the spline ends its loop and the 97 is the
        // loop's count of boundary objects: then no second 97 follows the fit data.
        if (!peek(97) || (lastOfLoop && !fitDataFollows()))
            return;
        e.fitPoints.resize(count(next()));
        for (OdGePoint2d& p : e.fitPoints)
            p = point2(take(11));
        if (peek(12)) {
            const Tag& t = next();
            e.startTangent = OdGeVector2d(t.point.x, t.point.y);
        }
        if (peek(13)) {
            const Tag& t = next();
            e.endTangent = OdGeVector2d(t.point.x, t.point.y);
        }
    }

    bool fitDataFollows() const
    {
        std::size_t at = m_at;
        const std::int64_t n = m_tags[at++].integer;
        if (n < 0 || n > kMaxCount)
            return false;
        for (std::int64_t i = 0; i < n; ++i, ++at)
            if (at >= m_tags.size() || m_tags[at].code != 11)
                return false;
        for (int code : {12, 13})
            if (at < m_tags.size() && m_tags[at].code == code)
                ++at;
        return at < m_tags.size() && m_tags[at].code == 97;
    }

    C::PatternLine patternLine()
    {
        C::PatternLine l;
        l.angle = take(53).number;
        l.base.x = take(43).number;
        l.base.y = take(44).number;
        l.offset.x = take(45).number;
        l.offset.y = take(46).number;
        l.dashes.resize(count(take(79)));
        for (double& d : l.dashes)
            d = take(49).number;
        return l;
    }

    static C::GradientColor& colour(C::Data& d)
    {
        if (d.gradient->colors.empty())
            d.gradient->colors.emplace_back();
        return d.gradient->colors.back();
    }

    void gradientTag(C::Gradient& g, const Tag& t)
    {
        switch (t.code) {
        case 451: g.reserved = static_cast<std::int32_t>(t.integer); break;
        case 452: g.oneColor = static_cast<std::int32_t>(t.integer); break;
        case 453: g.colors.reserve(count(t)); break;
        case 460: g.rotation = t.number; break;
        case 461: g.centered = t.number; break;
        case 462: g.tint = t.number; break;
        case 463: g.colors.emplace_back().value = t.number; break;
        case 421:
            if (g.colors.empty())
                g.colors.emplace_back();
            g.colors.back().rgb = static_cast<std::int32_t>(t.integer);
            break;
        case 470: g.name = OdString::fromUtf8(t.text); break;
        default: throw Unparsable{};
        }
    }

    const std::vector<Tag>& m_tags;
    bool m_polygon;
    std::size_t m_at = 0;
};

// A polyline loop: its vertices, with bulges when any vertex has one.
void writePolylineLoop(DxfTagWriter& w, const C::Loop& l, bool polygon)
{
    const bool bulges = l.hasBulges
        || std::any_of(l.vertices.begin(), l.vertices.end(), [](const C::PolylineVertex& v) { return v.bulge != 0.0; });
    if (polygon)
        w.writeInt(73, l.closed ? 1 : 0);
    w.writeInt(72, bulges ? 1 : 0);
    if (!polygon)
        w.writeInt(73, l.closed ? 1 : 0);
    w.writeInt(93, static_cast<std::int64_t>(l.vertices.size()));
    for (const C::PolylineVertex& v : l.vertices) {
        w.writePoint(10, v.point.x, v.point.y);
        if (bulges)
            w.writeDouble(42, v.bulge);
    }
}

void writeSplineEdge(DxfTagWriter& w, const C::Edge& e)
{
    w.writeInt(94, e.degree);
    w.writeInt(73, e.rational ? 1 : 0);
    w.writeInt(74, e.periodic ? 1 : 0);
    w.writeInt(95, static_cast<std::int64_t>(e.knots.size()));
    w.writeInt(96, static_cast<std::int64_t>(e.controlPoints.size()));
    for (double k : e.knots)
        w.writeDouble(40, k);
    for (std::size_t i = 0; i < e.controlPoints.size(); ++i) {
        w.writePoint(10, e.controlPoints[i].x, e.controlPoints[i].y);
        if (i < e.weights.size())
            w.writeDouble(42, e.weights[i]);
    }
    w.writeInt(97, static_cast<std::int64_t>(e.fitPoints.size()));
    for (const OdGePoint2d& p : e.fitPoints)
        w.writePoint(11, p.x, p.y);
    if (e.startTangent)
        w.writePoint(12, e.startTangent->x, e.startTangent->y);
    if (e.endTangent)
        w.writePoint(13, e.endTangent->x, e.endTangent->y);
}

void writeEdge(DxfTagWriter& w, const C::Edge& e)
{
    w.writeInt(72, e.type);
    switch (e.type) {
    case C::kLine:
        w.writePoint(10, e.start.x, e.start.y);
        w.writePoint(11, e.end.x, e.end.y);
        break;
    case C::kCircArc:
    case C::kEllipArc:
        w.writePoint(10, e.center.x, e.center.y);
        if (e.type == C::kEllipArc)
            w.writePoint(11, e.majorAxis.x, e.majorAxis.y);
        w.writeDouble(40, e.radius);
        w.writeDouble(50, e.startAngle);
        w.writeDouble(51, e.endAngle);
        w.writeInt(73, e.counterClockwise ? 1 : 0);
        break;
    default: writeSplineEdge(w, e); break;
    }
}

void writeLoop(DxfTagWriter& w, const C::Loop& l, bool polygon)
{
    w.writeInt(92, l.flags);
    if (l.flags & C::kPolyline) {
        writePolylineLoop(w, l, polygon);
    } else {
        w.writeInt(93, static_cast<std::int64_t>(l.edges.size()));
        for (const C::Edge& e : l.edges)
            writeEdge(w, e);
    }
    // A multi-polygon's loops have no boundary objects.
    if (polygon && l.sourceHandles.empty())
        return;
    w.writeInt(97, static_cast<std::int64_t>(l.sourceHandles.size()));
    for (std::uint64_t h : l.sourceHandles)
        w.writeHandle(330, h);
}

void writePattern(DxfTagWriter& w, const C::Data& d)
{
    w.writeInt(78, static_cast<std::int64_t>(d.patternLines.size()));
    for (const C::PatternLine& l : d.patternLines) {
        w.writeDouble(53, l.angle);
        w.writeDouble(43, l.base.x);
        w.writeDouble(44, l.base.y);
        w.writeDouble(45, l.offset.x);
        w.writeDouble(46, l.offset.y);
        w.writeInt(79, static_cast<std::int64_t>(l.dashes.size()));
        for (double dash : l.dashes)
            w.writeDouble(49, dash);
    }
}

void writeGradient(DxfTagWriter& w, const C::Gradient& g)
{
    w.writeInt(450, g.kind);
    w.writeInt(451, g.reserved);
    w.writeDouble(460, g.rotation);
    w.writeDouble(461, g.centered);
    w.writeInt(452, g.oneColor);
    w.writeDouble(462, g.tint);
    w.writeInt(453, static_cast<std::int64_t>(g.colors.size()));
    for (const C::GradientColor& c : g.colors) {
        w.writeDouble(463, c.value);
        if (c.index != 0)
            w.writeInt(63, c.index);
        if (c.rgb)
            w.writeInt(421, *c.rgb);
    }
    w.writeString(470, g.name.toUtf8());
}

void writeUnread(DxfTagWriter& w, const std::vector<C::KeptTag>& tags)
{
    for (const C::KeptTag& t : tags) {
        if (const auto* p = std::get_if<OdGePoint3d>(&t.value)) {
            if (p->z != 0.0 || t.code == 210)
                w.writePoint(t.code, p->x, p->y, p->z);
            else
                w.writePoint(t.code, p->x, p->y);
        } else if (const auto* x = std::get_if<double>(&t.value)) {
            w.writeDouble(t.code, *x);
        } else if (const auto* i = std::get_if<std::int64_t>(&t.value)) {
            if (t.code == 330)
                w.writeHandle(t.code, static_cast<std::uint64_t>(*i));
            else
                w.writeInt(t.code, *i);
        } else {
            w.writeString(t.code, std::get<OdString>(t.value).toUtf8());
        }
    }
}

void writeHatch(const OdDbObject& o, DxfTagWriter& w, bool polygon)
{
    const C::Data& d = static_cast<const C&>(o).data();
    if (!d.unread.empty()) {
        writeUnread(w, d.unread);
        return;
    }
    if (polygon)
        w.writeInt(70, d.polygon.version);
    w.writePoint(10, d.elevationPoint.x, d.elevationPoint.y, d.elevationPoint.z);
    w.writePoint(210, d.normal.x, d.normal.y, d.normal.z);
    w.writeString(2, d.patternName.toUtf8());
    if (polygon) {
        w.writeInt(71, d.solidFill ? 1 : 0);
    } else {
        w.writeInt(70, d.solidFill ? 1 : 0);
        w.writeInt(71, d.associative);
    }
    w.writeInt(91, static_cast<std::int64_t>(d.loops.size()));
    for (const C::Loop& l : d.loops)
        writeLoop(w, l, polygon);
    if (!polygon || d.style != C::kNormal)
        w.writeInt(75, d.style);
    w.writeInt(76, d.patternType);
    if (!d.solidFill) {
        w.writeDouble(52, d.patternAngle);
        w.writeDouble(41, d.patternScale);
        w.writeInt(77, d.patternDouble);
        if (!polygon)
            writePattern(w, d);
    }
    if (polygon && d.polygon.annotated)
        w.writeInt(73, *d.polygon.annotated);
    if (d.pixelSize)
        w.writeDouble(47, *d.pixelSize);
    if (polygon) {
        if (!d.solidFill)
            writePattern(w, d);
        if (d.polygon.fillColor)
            w.writeInt(63, *d.polygon.fillColor);
        if (d.polygon.offsetVector)
            w.writePoint(11, d.polygon.offsetVector->x, d.polygon.offsetVector->y);
        if (d.polygon.degenerateLoops)
            w.writeInt(99, *d.polygon.degenerateLoops);
    } else {
        w.writeInt(98, static_cast<std::int64_t>(d.seedPoints.size()));
        for (const OdGePoint2d& p : d.seedPoints)
            w.writePoint(10, p.x, p.y);
    }
    if (d.gradient)
        writeGradient(w, *d.gradient);
}

C::KeptTag kept(const Tag& t)
{
    switch (t.kind) {
    case DxfFieldKind::Point3d: return {t.code, t.point};
    case DxfFieldKind::Double: return {t.code, t.number};
    case DxfFieldKind::String: return {t.code, OdString::fromUtf8(t.text)};
    default: return {t.code, t.integer};
    }
}

// The subclass's fields: each code gathers its tags; the first field writes them all.
std::vector<DxfField> hatchFields(bool polygon)
{
    std::vector<DxfField> fields;
    fields.push_back({kNoDxfCode, DxfFieldKind::Double, 1009, false, 0.0, nullptr, nullptr,
                      [polygon](const OdDbObject& o, DxfTagWriter& w, DxfContext&) { writeHatch(o, w, polygon); }});
    for (const auto& [code, kind] : kCodes)
        fields.push_back({code, kind, 1009, false, 0.0, nullptr,
                          [code = code, kind = kind](OdDbObject&, const DxfIn& v, DxfContext& c) {
                              c.gathered.push_back({code, kind, v.number, v.integer, std::string(v.text), v.point});
                          }});
    auto data = [](const OdDbObject& o) -> const C::Data& { return static_cast<const C&>(o).data(); };
    fields.push_back(dxfShownMember<C>("patternName", &C::Data::patternName));
    fields.push_back(dxfShownMember<C>("solidFill", &C::Data::solidFill));
    fields.push_back(dxfShown("loops", PropertyUnit::Value, [data](const OdDbObject& o, DxfContext&) -> PropertyValue {
        return std::int64_t(data(o).loops.size());
    }));
    fields.push_back(dxfEnumeration(dxfShownMember<C>("style", &C::Data::style), kStyles));
    fields.push_back(dxfEnumeration(dxfShownMember<C>("patternType", &C::Data::patternType), kPatternTypes));
    fields.push_back(dxfShownMember<C>("patternAngle", &C::Data::patternAngle));
    fields.push_back(dxfShownMember<C>("patternScale", &C::Data::patternScale));
    fields.push_back(
        dxfShown("patternLines", PropertyUnit::Value, [data](const OdDbObject& o, DxfContext&) -> PropertyValue {
            return std::int64_t(data(o).patternLines.size());
        }));
    fields.push_back(
        dxfShown("gradient", PropertyUnit::Value, [data](const OdDbObject& o, DxfContext&) -> PropertyValue {
            return data(o).gradient.has_value() && data(o).gradient->kind != 0;
        }));
    fields.push_back(dxfShownMember<C>("elevation", &C::Data::elevationPoint));
    fields.push_back(dxfShownMember<C>("normal", &C::Data::normal, PropertyUnit::Vector));
    return fields;
}

std::function<void(OdDbObject&, DxfContext&)> hatchFinish(bool polygon)
{
    return [polygon](OdDbObject& o, DxfContext& c) {
        C& hatch = static_cast<C&>(o);
        try {
            hatch.dataForWrite(vantrel::dbKey()) = HatchParser(c.gathered, polygon).parse();
        } catch (const Unparsable&) {
            C::Data& d = hatch.dataForWrite(vantrel::dbKey());
            d = C::Data();
            d.loops.clear();
            for (const Tag& t : c.gathered)
                d.unread.push_back(kept(t));
            c.noteRepair(polygon ? "multi-polygons whose boundary data could not be read kept as read and not drawn"
                                 : "hatches whose boundary data could not be read kept as read and not drawn");
            return;
        }
        hatch.checkData();
    };
}

DxfClassMap hatchMap()
{
    return {
        "HATCH", OdDbHatch::desc(), {dxfEntitySubclass(), {"AcDbHatch", hatchFields(false)}}, {}, hatchFinish(false)};
}

DxfClassMap polygonMap()
{
    return {"MPOLYGON",
            OdDbMPolygon::desc(),
            {dxfEntitySubclass(), {"AcDbMPolygon", hatchFields(true)}},
            {},
            hatchFinish(true)};
}

} // namespace

void declareHatchMaps(std::vector<DxfClassMap>& maps)
{
    maps.push_back(hatchMap());
    maps.push_back(polygonMap());
}

} // namespace vantrel
