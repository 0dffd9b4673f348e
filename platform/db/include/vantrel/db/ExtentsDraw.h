// A WorldDraw sink that gathers the box around what is drawn: what an entity's extents are
// measured with, open to callers that measure while they draw for other reasons too (a view
// learning an entity's colour and box in one pass).
#pragma once

#include <vantrel/db/WorldDraw.h>
#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// Arcs count with their extreme points, wide paths with their widths and mitred corners, text
// from its descenders to its capitals, and a symbol drawn at the sink's own size with its
// position only.
class VANTREL_DB_EXPORT ExtentsDraw : public WorldDraw {
public:
    ExtentsDraw() = default;
    // Measures for growing known: an arc, a circle or an ellipse that lies within it is passed
    // over, as it cannot move it.
    explicit ExtentsDraw(const OdGeExtents3d& known) : m_known(known) {}

    const OdGeExtents3d& extents() const { return m_ext; }

    void setTraits(const DrawTraits&) override {}
    void path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal) override;
    void polygon(std::span<const OdGePoint3d> corners, bool filled) override;
    void circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                     const OdGeVector3d& startVector, double sweep) override;
    void ellipticArc(const OdGePoint3d& center, const OdGeVector3d& major, const OdGeVector3d& minor, double startAngle,
                     double endAngle) override;
    void region(std::span<const std::vector<OdGePoint3d>> loops) override;
    void text(const TextRun& run) override;
    void marker(const OdGePoint3d& position, MarkerKind kind, double size) override;
    void markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size) override;

private:
    void addPoint(const OdGePoint3d& p, double halfWidth);
    void addMiter(const OdGePoint3d& a, const OdGePoint3d& corner, const OdGePoint3d& b, const OdGeVector3d& normal,
                  double halfWidth);
    void arcThrough(const OdGePoint3d& a, const OdGePoint3d& b, double bulge, const OdGeVector3d& normal,
                    double halfWidth);

    void passOver();

    OdGeExtents3d m_ext;
    OdGeExtents3d m_known; // none: nothing is passed over
};

} // namespace vantrel
