// Text entity: placement by justification in the OCS of its normal, and transformations.
#include <vantrel/db/OdDbText.h>

#include "entity_math.h"
#include "text_layout.h"

#include <numbers>

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbText, OdDbEntity, "TEXT")

namespace {
constexpr double kMaxOblique = 85.0 * std::numbers::pi / 180.0;

void requireOblique(double angle)
{
    requireFinite(angle, "an obliquing angle");
    if (std::fabs(angle) > kMaxOblique)
        throw OdError(eInvalidInput, "an obliquing angle must lie within 85 degrees of upright");
}

void requireHorizontalMode(int mode)
{
    if (mode < OdDb::kTextLeft || mode > OdDb::kTextFit)
        throw OdError(eInvalidInput, "unknown horizontal text mode");
}

void requireVerticalMode(int mode)
{
    if (mode < OdDb::kTextBase || mode > OdDb::kTextTop)
        throw OdError(eInvalidInput, "unknown vertical text mode");
}
} // namespace

OdGePoint3d OdDbText::position() const
{
    assertReadEnabled();
    return toWorld(m_data.normal, m_data.ocsPosition);
}

void OdDbText::checkData() const
{
    assertReadEnabled();
    requirePositive(m_data.height, "a text height");
    requirePositive(m_data.widthFactor, "a width factor");
    // Files may give a backward slant as a whole turn less (345 for -15 degrees).
    requireOblique(std::remainder(m_data.oblique, kTwoPi));
    requireHorizontalMode(m_data.horizontalMode);
    requireVerticalMode(m_data.verticalMode);
}

void OdDbText::setPosition(const OdGePoint3d& position)
{
    requireFinite(position, "a text position");
    assertWriteEnabled();
    m_data.ocsPosition = toOcs(m_data.normal, position);
}

OdGePoint3d OdDbText::alignmentPoint() const
{
    assertReadEnabled();
    return toWorld(m_data.normal, m_data.ocsAlignmentPoint);
}

void OdDbText::setAlignmentPoint(const OdGePoint3d& point)
{
    requireFinite(point, "an alignment point");
    assertWriteEnabled();
    m_data.ocsAlignmentPoint = toOcs(m_data.normal, point);
}

void OdDbText::setHeight(double height)
{
    requirePositive(height, "a text height");
    assertWriteEnabled();
    m_data.height = height;
}

void OdDbText::setTextString(const OdString& text)
{
    assertWriteEnabled();
    m_data.textString = text;
}

void OdDbText::setRotation(double angle)
{
    requireFinite(angle, "a rotation");
    assertWriteEnabled();
    m_data.rotation = normalizeAngle(angle);
}

void OdDbText::setWidthFactor(double factor)
{
    requirePositive(factor, "a width factor");
    assertWriteEnabled();
    m_data.widthFactor = factor;
}

void OdDbText::setOblique(double angle)
{
    requireOblique(angle);
    assertWriteEnabled();
    m_data.oblique = angle;
}

void OdDbText::setTextStyle(OdDbObjectId style)
{
    assertWriteEnabled();
    m_data.textStyle = style;
}

OdDb::TextHorzMode OdDbText::horizontalMode() const
{
    assertReadEnabled();
    return static_cast<OdDb::TextHorzMode>(m_data.horizontalMode);
}

void OdDbText::setHorizontalMode(OdDb::TextHorzMode mode)
{
    requireHorizontalMode(mode);
    assertWriteEnabled();
    m_data.horizontalMode = static_cast<std::int16_t>(mode);
}

OdDb::TextVertMode OdDbText::verticalMode() const
{
    assertReadEnabled();
    return static_cast<OdDb::TextVertMode>(m_data.verticalMode);
}

void OdDbText::setVerticalMode(OdDb::TextVertMode mode)
{
    requireVerticalMode(mode);
    assertWriteEnabled();
    m_data.verticalMode = static_cast<std::int16_t>(mode);
}

void OdDbText::mirrorInX(bool mirrored)
{
    assertWriteEnabled();
    m_data.generationFlags = static_cast<std::int16_t>(mirrored ? m_data.generationFlags | kMirroredInX
                                                                : m_data.generationFlags & ~kMirroredInX);
}

void OdDbText::mirrorInY(bool mirrored)
{
    assertWriteEnabled();
    m_data.generationFlags = static_cast<std::int16_t>(mirrored ? m_data.generationFlags | kMirroredInY
                                                                : m_data.generationFlags & ~kMirroredInY);
}

void OdDbText::setThickness(double thickness)
{
    requireFinite(thickness, "a thickness");
    assertWriteEnabled();
    m_data.thickness = thickness;
}

void OdDbText::setNormal(const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitNormal(normal);
    assertWriteEnabled();
    m_data.ocsPosition = toOcs(n, toWorld(m_data.normal, m_data.ocsPosition));
    m_data.ocsAlignmentPoint = toOcs(n, toWorld(m_data.normal, m_data.ocsAlignmentPoint));
    m_data.normal = n;
}

bool OdDbText::usesAlignmentPoint() const
{
    return m_data.horizontalMode != OdDb::kTextLeft || m_data.verticalMode != OdDb::kTextBase;
}

namespace {
// The direction glyphs advance in and the direction they stand up in, in world coordinates.
struct GlyphFrame {
    OdGeVector3d advance, up;
};

GlyphFrame glyphFrame(const OdDbText::Data& d)
{
    const OdGeVector3d r = ocsXAxis(d.normal) * std::cos(d.rotation) + ocsYAxis(d.normal) * std::sin(d.rotation);
    const OdGeVector3d u = d.normal.crossProduct(r);
    return {d.generationFlags & OdDbText::kMirroredInX ? -r : r, d.generationFlags & OdDbText::kMirroredInY ? -u : u};
}
} // namespace

void OdDbText::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    GlyphFrame g = glyphFrame(m_data);
    g.advance.transformBy(xform);
    g.up.transformBy(xform);
    OdGePoint3d pos = toWorld(m_data.normal, m_data.ocsPosition);
    OdGePoint3d align = toWorld(m_data.normal, m_data.ocsAlignmentPoint);
    pos.transformBy(xform);
    align.transformBy(xform);
    const Extrusion e = transformExtrusion(xform, m_data.normal, m_data.thickness);
    // The height is measured across the new baseline, within the new plane.
    const double upScale = std::fabs(g.up.dotProduct(e.normal.crossProduct(g.advance).normal()));
    // A mirroring turns the glyphs over: keep the upside-down bit and let the backwards bit
    // take the change of handedness.
    const bool upsideDown = m_data.generationFlags & kMirroredInY;
    const bool flipped = g.advance.crossProduct(g.up).dotProduct(e.normal) < 0.0;
    const bool backwards = upsideDown != flipped;
    const OdGeVector3d r = backwards ? -g.advance : g.advance;
    assertWriteEnabled();
    m_data.normal = e.normal;
    m_data.thickness = e.thickness;
    m_data.ocsPosition = toOcs(e.normal, pos);
    m_data.ocsAlignmentPoint = toOcs(e.normal, align);
    m_data.rotation = normalizeAngle(std::atan2(r.dotProduct(ocsYAxis(e.normal)), r.dotProduct(ocsXAxis(e.normal))));
    m_data.widthFactor *= g.advance.length() / upScale;
    m_data.height *= upScale;
    m_data.generationFlags = static_cast<std::int16_t>(backwards ? m_data.generationFlags | kMirroredInX
                                                                 : m_data.generationFlags & ~kMirroredInX);
}

void OdDbText::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    const OdGeVector3d n = m_data.normal;
    const GlyphFrame g = glyphFrame(m_data);
    const vantrel::textlayout::DecodedText decoded = vantrel::textlayout::decodePercentCodes(m_data.textString);
    vantrel::TextRun run{.origin = toWorld(n, m_data.ocsPosition),
                         .advance = g.advance,
                         .up = g.up,
                         .height = m_data.height,
                         .widthFactor = m_data.widthFactor,
                         .oblique = m_data.oblique,
                         .face = vantrel::textlayout::styleFace(m_data.textStyle),
                         .text = decoded.text};
    const double natural = vantrel::textAdvance(decoded.text, run.face); // at height 1, width factor 1
    run.width = natural * run.height * run.widthFactor;
    const auto h = m_data.horizontalMode;
    if (h == OdDb::kTextAlign || h == OdDb::kTextFit) {
        // The text fills the span between its two points: aligned text grows or shrinks as a
        // whole, fitted text keeps its height and stretches.
        const OdGeVector3d along = toWorld(n, m_data.ocsAlignmentPoint) - run.origin;
        if (!along.isZeroLength() && run.width > 0.0) {
            run.advance = along.normal();
            run.up = g.up.dotProduct(n.crossProduct(run.advance)) >= 0.0 ? n.crossProduct(run.advance)
                                                                         : -n.crossProduct(run.advance);
            const double stretch = along.length() / run.width;
            if (h == OdDb::kTextAlign)
                run.height *= stretch;
            else
                run.widthFactor *= stretch;
            run.width = along.length();
        }
    } else if (usesAlignmentPoint()) {
        const double hFrac = h == OdDb::kTextRight ? 1.0 : (h == OdDb::kTextLeft ? 0.0 : 0.5);
        const double descent = vantrel::fontMetrics(run.face).descent;
        double lift = 0.0; // of the point above the baseline, in capital heights
        if (h == OdDb::kTextMid)
            lift = (1.0 - descent) / 2.0; // the middle of the box from the descenders to the capitals
        else if (m_data.verticalMode == OdDb::kTextVertMid)
            lift = 0.5;
        else if (m_data.verticalMode == OdDb::kTextTop)
            lift = 1.0;
        else if (m_data.verticalMode == OdDb::kTextBottom)
            lift = -descent;
        run.origin
            = toWorld(n, m_data.ocsAlignmentPoint) - run.advance * (run.width * hFrac) - run.up * (run.height * lift);
    }
    vantrel::textlayout::drawRun(wd, run, decoded.lines);
}
