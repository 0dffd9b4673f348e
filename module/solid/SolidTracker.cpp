// The outline preview of Solid. Stage 2 drags all four lines from the first corner; stage 3 the
// corner shared by edges B, C and D; stage 4 the corner shared by C and D.
#include "solid/SolidTracker.h"

#include <vantrel/host/HostEdDrawer.h>
#include <vantrel/host/HostMessage.h>

SolidTracker::SolidTracker(const OdGePoint3d& firstCorner, OdDbDatabase* db)
    : m_edgeA(OdDbLine::createObject()), m_edgeB(OdDbLine::createObject()), m_edgeC(OdDbLine::createObject()),
      m_edgeD(OdDbLine::createObject())
{
    for (OdDbLine* edge : edges()) {
        edge->setDatabaseDefaults(db, false);
        edge->setStartPoint(firstCorner);
        edge->setEndPoint(firstCorner);
    }
}

bool SolidTracker::filterMessage(const HostMessage& message, const OdGePoint3d& cursor)
{
    if (message.message != kTrackerMouseMove)
        return false;
    update(cursor);
    return true;
}

int SolidTracker::drawPreview(HostEdDrawer* drawer)
{
    for (OdDbLine* edge : edges())
        drawer->addEntity(edge, kPreviewStyle, kPreviewFlags, 0, 0);
    return 1;
}

void SolidTracker::releasePreview(HostEdDrawer* drawer)
{
    for (OdDbLine* edge : edges())
        drawer->removeEntity(edge);
}

void SolidTracker::update(const OdGePoint3d& cursor)
{
    switch (m_trackerStage) {
    case 2:
        for (OdDbLine* edge : edges())
            edge->setEndPoint(cursor);
        break;
    case 3:
        m_edgeB->setEndPoint(cursor);
        m_edgeC->setStartPoint(cursor);
        m_edgeD->setStartPoint(cursor);
        break;
    case 4:
        m_edgeC->setEndPoint(cursor);
        m_edgeD->setStartPoint(cursor);
        break;
    default: break;
    }
}

void SolidTracker::reset(const OdGePoint3d& a, const OdGePoint3d& b)
{
    for (OdDbLine* edge : edges()) {
        edge->setStartPoint(a);
        edge->setEndPoint(b);
    }
    m_trackerStage = 3;
}
