// The vertex marks: crosses three hundredths of the smaller view extent wide, a tangent arrow of
// eight hundredths each way along the UCS X axis turned by the tangent.
#include "pedit/MarkerTracker.h"

#include <algorithm>
#include <numbers>

#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/host/HostEdDrawer.h>
#include <vantrel/host/hostutils.h>

namespace {

constexpr double kCrossSize = 0.03;
constexpr double kArrowSize = 0.08;
// Colour indices: by layer, green.
constexpr std::int16_t kByLayer = 256;
constexpr std::int16_t kGreen = 3;

void placeCross(const std::array<OdDbLinePtr, 3>& lines, const OdGePoint3d& p, double d)
{
    lines[0]->setStartPoint(p - OdGeVector3d(d, d, 0.0));
    lines[0]->setEndPoint(p + OdGeVector3d(d, d, 0.0));
    lines[1]->setStartPoint(p + OdGeVector3d(d, -d, 0.0));
    lines[1]->setEndPoint(p + OdGeVector3d(-d, d, 0.0));
    lines[2]->setStartPoint(p - OdGeVector3d(0.0, 0.0, d));
    lines[2]->setEndPoint(p + OdGeVector3d(0.0, 0.0, d));
}

} // namespace

MarkerTracker::MarkerTracker(OdDbDatabase* db, const OdGePoint3d& markerPoint, const OdDb2dVertex* vertex,
                             std::optional<OdGePoint3d> secondPoint)
    : m_database(db), m_markerPoint(markerPoint), m_secondPoint(secondPoint)
{
    if (vertex && vertex->isTangentUsed()) {
        m_tangentUsed = true;
        m_tangentAngle = vertex->tangent();
    }
    auto make = [db](std::array<OdDbLinePtr, 3>& lines, std::int16_t colour) {
        for (OdDbLinePtr& line : lines) {
            line = OdDbLine::createObject();
            line->setDatabaseDefaults(db, false);
            line->setColorIndex(colour);
        }
    };
    make(m_cross, kByLayer);
    make(m_secondCross, kGreen);
    make(m_arrow, kByLayer);
    for (const auto* lines : {&m_cross, &m_secondCross, &m_arrow})
        placeCross(*lines, markerPoint, 0.0);
}

bool MarkerTracker::filterMessage(const HostMessage& message, const OdGePoint3d&)
{
    if (message.message == kCommandMessage || message.message == kTrackerLeftButtonDown
        || message.message == kMouseWheelMessage)
        update();
    return false;
}

template <class Visit>
void MarkerTracker::forEachShown(Visit visit) const
{
    for (const auto* lines : {&m_cross, &m_arrow})
        for (const OdDbLinePtr& line : *lines)
            visit(line.get());
    if (m_secondPoint)
        for (const OdDbLinePtr& line : m_secondCross)
            visit(line.get());
}

int MarkerTracker::drawPreview(HostEdDrawer* drawer)
{
    m_view = drawer;
    update();
    forEachShown([drawer](OdDbLine* line) { drawer->addEntity(line, kPreviewStyle, kPreviewFlags, 0, 0); });
    return 1;
}

void MarkerTracker::releasePreview(HostEdDrawer* drawer)
{
    forEachShown([drawer](OdDbLine* line) { drawer->removeEntity(line); });
}

void MarkerTracker::update()
{
    if (!m_view)
        return;
    const OdGeExtents3d view = m_view->viewExtents();
    const OdGeVector3d size = view.maxPoint() - view.minPoint();
    const double s = std::min(size.x, size.y);
    const double d = kCrossSize * s;
    placeCross(m_cross, m_markerPoint, d);
    if (m_secondPoint)
        placeCross(m_secondCross, *m_secondPoint, d);
    if (!m_tangentUsed)
        return;
    const OdGeVector3d z = get_UCSZDIR(m_database);
    const OdGeVector3d t = get_UCSXDIR(m_database).rotateBy(m_tangentAngle, z);
    const OdGePoint3d tip = m_markerPoint + t * (kArrowSize * s);
    m_arrow[0]->setStartPoint(tip);
    m_arrow[0]->setEndPoint(m_markerPoint - t * (kArrowSize * s));
    for (size_t i = 1; i < m_arrow.size(); ++i) {
        const double turn = (i == 1 ? -5.0 : 5.0) * std::numbers::pi / 6.0;
        m_arrow[i]->setStartPoint(tip);
        m_arrow[i]->setEndPoint(tip + OdGeVector3d(t).rotateBy(turn, z) * d);
    }
}
