// Multi-line text: its values, transformations, and drawing the runs its layout places.
#include <vantrel/db/OdDbMText.h>

#include "entity_math.h"
#include "mtext_layout.h"
#include "text_layout.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbMText, OdDbEntity, "MTEXT")

namespace {
void requireAttachment(int point)
{
    if (point < OdDbMText::kTopLeft || point > OdDbMText::kBottomRight)
        throw OdError(eInvalidInput, "an attachment point is 1 to 9");
}

void requireSpacingFactor(double factor)
{
    requireFinite(factor, "a line spacing factor");
    if (factor < 0.25 || factor > 4.0)
        throw OdError(eInvalidInput, "a line spacing factor lies between 0.25 and 4");
}
} // namespace

void OdDbMText::checkData() const
{
    assertReadEnabled();
    requireFinite(m_data.location, "a text location");
    requirePositive(m_data.height, "a text height");
    requireWidth(m_data.width);
    requireAttachment(m_data.attachment);
    requireSpacingFactor(m_data.lineSpacingFactor);
    requireFinite(m_data.rotation, "a rotation");
    if (m_data.direction)
        requireFinite(*m_data.direction, "a text direction");
}

void OdDbMText::setLocation(const OdGePoint3d& location)
{
    requireFinite(location, "a text location");
    assertWriteEnabled();
    m_data.location = location;
}

void OdDbMText::setTextHeight(double height)
{
    requirePositive(height, "a text height");
    assertWriteEnabled();
    m_data.height = height;
}

void OdDbMText::setWidth(double width)
{
    requireWidth(width);
    assertWriteEnabled();
    m_data.width = width;
}

void OdDbMText::setAttachment(AttachmentPoint point)
{
    requireAttachment(point);
    assertWriteEnabled();
    m_data.attachment = point;
}

void OdDbMText::setContents(const OdString& contents)
{
    assertWriteEnabled();
    m_data.contents = contents;
}

void OdDbMText::setTextStyle(OdDbObjectId style)
{
    assertWriteEnabled();
    m_data.textStyle = style;
}

void OdDbMText::setNormal(const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitNormal(normal);
    const OdGeVector3d x = direction();
    assertWriteEnabled();
    m_data.normal = n;
    // The direction stays as it was where it still lies in the new plane.
    const OdGeVector3d inPlane = x - n * x.dotProduct(n);
    if (inPlane.length() > 1e-9)
        m_data.direction = inPlane.normal();
    else
        m_data.direction.reset();
}

OdGeVector3d OdDbMText::direction() const
{
    assertReadEnabled();
    const OdGeVector3d& n = m_data.normal;
    if (m_data.direction) {
        const OdGeVector3d inPlane = *m_data.direction - n * m_data.direction->dotProduct(n);
        if (inPlane.length() > 1e-9)
            return inPlane.normal();
    }
    return ocsXAxis(n) * std::cos(m_data.rotation) + ocsYAxis(n) * std::sin(m_data.rotation);
}

double OdDbMText::rotation() const
{
    const OdGeVector3d x = direction();
    return normalizeAngle(std::atan2(x.dotProduct(ocsYAxis(m_data.normal)), x.dotProduct(ocsXAxis(m_data.normal))));
}

void OdDbMText::setRotation(double angle)
{
    requireFinite(angle, "a rotation");
    assertWriteEnabled();
    m_data.rotation = normalizeAngle(angle);
    m_data.direction.reset();
}

void OdDbMText::setLineSpacingFactor(double factor)
{
    requireSpacingFactor(factor);
    assertWriteEnabled();
    m_data.lineSpacingFactor = factor;
}

OdString OdDbMText::text() const
{
    assertReadEnabled();
    return vantrel::mtext::plainText(m_data.contents);
}

void OdDbMText::transformBy(const OdGeMatrix3d& xform)
{
    requireConformal(xform, "multi-line text");
    OdGeVector3d x = direction();
    x.transformBy(xform);
    OdGePoint3d location = m_data.location;
    location.transformBy(xform);
    const double scale = x.length();
    const Extrusion e = transformExtrusion(xform, m_data.normal, 0.0);
    assertWriteEnabled();
    m_data.location = location;
    m_data.normal = e.normal;
    m_data.direction = x.normal();
    m_data.rotation = 0.0;
    m_data.height *= scale;
    m_data.width *= scale;
    if (m_data.definedHeight)
        *m_data.definedHeight *= scale;
}

void OdDbMText::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    vantrel::mtext::Style base;
    base.face = vantrel::textlayout::styleFace(m_data.textStyle);
    base.height = m_data.height;
    const auto layout
        = vantrel::mtext::layout(vantrel::mtext::parse(m_data.contents, base), m_data.width, m_data.height,
                                 m_data.lineSpacingFactor, m_data.lineSpacingStyle == kExactly, m_data.attachment);
    const OdGeVector3d x = direction();
    const OdGeVector3d y = m_data.normal.crossProduct(x);
    auto at = [&](const OdGePoint2d& p) { return m_data.location + x * p.x + y * p.y; };
    // Text in the entity's colour first; then each colour of its own, setting the colour once.
    std::vector<std::uint32_t> colours;
    for (const auto& r : layout.runs)
        if (r.style.rgb && std::find(colours.begin(), colours.end(), *r.style.rgb) == colours.end())
            colours.push_back(*r.style.rgb);
    auto drawIn = [&](std::optional<std::uint32_t> rgb) {
        if (rgb) {
            vantrel::DrawTraits traits;
            traits.rgb = *rgb;
            wd.setTraits(traits);
        }
        for (const auto& r : layout.runs) {
            if (r.style.rgb != rgb)
                continue;
            std::vector<vantrel::textlayout::Decoration> lines;
            const int n = r.text.getLength();
            if (r.style.underline)
                lines.push_back({vantrel::textlayout::Decoration::Underline, 0, n});
            if (r.style.overline)
                lines.push_back({vantrel::textlayout::Decoration::Overline, 0, n});
            if (r.style.strike)
                lines.push_back({vantrel::textlayout::Decoration::Strike, 0, n});
            vantrel::textlayout::drawRun(wd,
                                         {.origin = at(r.origin),
                                          .advance = x,
                                          .up = y,
                                          .height = r.height,
                                          .widthFactor = r.style.widthFactor,
                                          .oblique = r.style.oblique,
                                          .width = r.width,
                                          .face = r.style.face,
                                          .text = r.text},
                                         lines);
        }
        for (const auto& b : layout.bars) {
            if (b.rgb != rgb)
                continue;
            const vantrel::PathVertex ends[] = {{at(b.from)}, {at(b.to)}};
            wd.path(ends, false, m_data.normal);
        }
    };
    drawIn(std::nullopt);
    for (std::uint32_t c : colours)
        drawIn(c);
}
