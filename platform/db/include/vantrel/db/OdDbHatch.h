// A hatched area: boundary loops of lines, arcs, elliptical arcs and splines (or polylines with
// bulges) in the plane of its normal, filled solid, with a gradient, or with the lines of a
// pattern; loops inside loops are islands by the even-odd rule. Everything a file gives is kept:
// seed points, the handles of the boundary objects, the pattern lines as the file scaled them.
#pragma once

#include <vantrel/db/DbKey.h>

#include <optional>
#include <variant>
#include <vector>

#include <vantrel/db/DbKey.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGeVector2d.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbHatch : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbHatch)
public:
    enum EdgeType : std::int16_t { kLine = 1, kCircArc = 2, kEllipArc = 3, kSpline = 4 };
    // Loop flags (92).
    enum : std::int32_t { kExternal = 1, kPolyline = 2, kDerived = 4, kTextbox = 8, kOutermost = 16 };
    enum HatchStyle : std::int16_t { kNormal = 0, kOuter = 1, kIgnore = 2 };

    // One edge of a loop in the OCS, as DXF stores it; angles in degrees as stored.
    struct Edge {
        std::int16_t type = kLine;              // 72
        OdGePoint2d start, end;                 // line: 10, 11
        OdGePoint2d center;                     // arcs: 10
        OdGeVector2d majorAxis;                 // elliptical arc: 11, from the center
        double radius = 0.0;                    // 40: a circular arc's radius, an elliptical one's axis ratio
        double startAngle = 0.0;                // 50
        double endAngle = 360.0;                // 51
        bool counterClockwise = true;           // 73
        std::int16_t degree = 3;                // spline: 94
        bool rational = false;                  // 73
        bool periodic = false;                  // 74
        std::vector<double> knots;              // 95, 40...
        std::vector<OdGePoint2d> controlPoints; // 96, 10...
        std::vector<double> weights;            // 42, one per control point when rational
        std::vector<OdGePoint2d> fitPoints;     // 97, 11...
        std::optional<OdGeVector2d> startTangent, endTangent; // 12, 13
    };
    struct PolylineVertex {
        OdGePoint2d point;  // 10
        double bulge = 0.0; // 42
    };
    struct Loop {
        std::int32_t flags = kExternal; // 92
        // kPolyline loops:
        bool hasBulges = false; // 72
        bool closed = true;     // 73
        std::vector<PolylineVertex> vertices;
        // other loops:
        std::vector<Edge> edges;
        std::vector<std::uint64_t> sourceHandles; // 97, 330...
    };
    // One family of parallel lines, already scaled and turned as the file gives it.
    struct PatternLine {
        double angle = 0.0;         // 53, degrees
        OdGePoint2d base;           // 43, 44
        OdGeVector2d offset;        // 45, 46: from one line of the family to the next
        std::vector<double> dashes; // 79, 49...: positive a dash, negative a gap, 0 a dot
    };
    struct GradientColor {
        double value = 0.0;              // 463
        std::int16_t index = 0;          // 63
        std::optional<std::int32_t> rgb; // 421
    };
    struct Gradient {
        std::int32_t kind = 1;             // 450: 1 a gradient fill
        std::int32_t reserved = 0;         // 451
        std::int32_t oneColor = 0;         // 452
        double rotation = 0.0;             // 460, radians as stored
        double centered = 0.0;             // 461
        double tint = 0.0;                 // 462
        OdString name;                     // 470
        std::vector<GradientColor> colors; // 453
    };
    // Values only an MPOLYGON has.
    struct PolygonExtras {
        std::int16_t version = 1;                    // 70, first
        std::optional<std::int16_t> fillColor;       // 63
        std::optional<OdGeVector2d> offsetVector;    // 11
        std::optional<std::int32_t> degenerateLoops; // 99
        std::optional<std::int16_t> annotated;       // 73
    };

    // A tag kept as its file gave it (see Data::unread); a number of a handle code is the handle.
    struct KeptTag {
        int code;
        std::variant<double, std::int64_t, OdString, OdGePoint3d> value;
    };

    struct Data {
        OdGePoint3d elevationPoint;            // 10: x and y 0, z the elevation in the OCS
        OdGeVector3d normal{0.0, 0.0, 1.0};    // 210, unit
        OdString patternName{L"SOLID"};        // 2
        bool solidFill = true;                 // 70
        std::int16_t associative = 0;          // 71
        std::vector<Loop> loops;               // 91
        std::int16_t style = kNormal;          // 75
        std::int16_t patternType = 1;          // 76: 0 user defined, 1 predefined, 2 custom
        double patternAngle = 0.0;             // 52, degrees
        double patternScale = 1.0;             // 41
        std::int16_t patternDouble = 0;        // 77
        std::vector<PatternLine> patternLines; // 78
        std::optional<double> pixelSize;       // 47
        std::vector<OdGePoint2d> seedPoints;   // 98, 10...
        std::optional<Gradient> gradient;      // 450...
        PolygonExtras polygon;
        // The record's own tags, in order, when a file gave boundary data that could not be read
        // as such: written back unchanged; the hatch then has no loops and draws nothing.
        std::vector<KeptTag> unread;
    };

    OdDbHatch() = default;

    // Raises OdError(eInvalidInput) for data a file gave that cannot be drawn: a loop edge of
    // an unknown type, a spline whose knots, points and weights do not agree, a non-finite value.
    void checkData() const;

    // The loops as closed point rings in the OCS, arcs and splines cut finely enough to draw.
    std::vector<std::vector<OdGePoint2d>> loopRings() const;

    const Data& data() const
    {
        assertReadEnabled();
        return m_data;
    }
    Data& dataForWrite(vantrel::DbKey)
    {
        assertWriteEnabled();
        return m_data;
    }
    double elevation() const
    {
        assertReadEnabled();
        return m_data.elevationPoint.z;
    }
    OdGeVector3d normal() const
    {
        assertReadEnabled();
        return m_data.normal;
    }

    // Pattern lines have dashes of their own, never the entity's linetype.
    vantrel::LinetypeUse linetypeUse() const override { return vantrel::LinetypeUse::None; }
    // Draws what shows of the hatch: the fill, or its pattern lines clipped to the loops (a
    // pattern too dense to show line by line is drawn filled); not the loops themselves.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

protected:
    // The ring of OCS points as world points.
    std::vector<std::vector<OdGePoint3d>> worldRings() const;

private:
    Data m_data;
};
using OdDbHatchPtr = OdSmartPtr<OdDbHatch>;

// A polygon of several loops with a fill, drawn with its outlines: it shares the hatch's data
// and differs in its DXF record and in showing its loops.
class VANTREL_DB_EXPORT OdDbMPolygon : public OdDbHatch {
    ODDB_DECLARE_MEMBERS(OdDbMPolygon)
public:
    OdDbMPolygon() = default;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
};
using OdDbMPolygonPtr = OdSmartPtr<OdDbMPolygon>;
