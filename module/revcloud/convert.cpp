// Starting a cloud in the current UCS, laying one along a selected curve (the "Object" option),
// and finishing a cloud: the reverse question, posting, and what becomes of the source.
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/OdError.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/hostSelectionSet.h>
#include <vantrel/host/hostutils.h>

#include "frame/AlpCmdUtils.h"
#include "frame/host_binding.h"
#include "frame/module_instance.h"
#include "revcloud/CRevCloudCmd.h"

static_assert(CRevCloudCmd::kSelectFlags == (kSelectSingle | kSelectRejectLocked));

namespace {

// The kinds a cloud is laid along, tried in this order; derived classes pass.
bool isCloudSource(const OdDbObject* object)
{
    return OdDbArc::cast(object) || OdDbPolyline::cast(object) || OdDb2dPolyline::cast(object)
        || OdDbSpline::cast(object) || OdDbCircle::cast(object) || OdDbLine::cast(object) || OdDbEllipse::cast(object);
}

// DELOBJ: 1 erases the source of a finished cloud; 1 as well when it cannot be read.
std::int32_t readDelobj()
{
    HostApplication* application = vantrel::hostApplication();
    if (!application)
        return 1;
    try {
        return application->getSysVar(L"DELOBJ")->getInt32();
    } catch (const OdError&) {
        return 1;
    }
}

void printResource(HostDocument& document, unsigned id)
{
    document.editor().printMessage(L"\n%s", vantrel::loadResource(id));
}

// Keeps the source hidden while its cloud is being finished, and shows it again unless the
// cloud was added, also when finishing fails. Showing it takes the hiding back to an undo mark
// laid before it, so that a conversion that ends with nothing changed leaves no step for U.
class HiddenSource {
public:
    explicit HiddenSource(OdDbObjectId id) : m_id(id)
    {
        OdDbDatabase* db = m_id.database();
        m_marked = !db->isUndoRecordingDisabled();
        if (m_marked)
            db->setUndoMark();
        setVisibility(OdDb::kInvisible);
    }
    ~HiddenSource()
    {
        if (m_id.isNull())
            return;
        try {
            show();
        } catch (...) {
            // Only reached while another exception unwinds: that one is reported.
        }
    }
    HiddenSource(const HiddenSource&) = delete;
    HiddenSource& operator=(const HiddenSource&) = delete;

    // The cloud replaced the source: erase it instead of showing it again.
    void erase()
    {
        odCheck(OdDbEntityPtr(m_id.safeOpenObject(OdDb::kForWrite))->erase());
        m_id = OdDbObjectId::kNull;
    }
    void show()
    {
        const OdDbObjectId id = m_id;
        m_id = OdDbObjectId::kNull;
        if (m_marked)
            id.database()->undoBack();
        else
            OdDbEntityPtr(id.safeOpenObject(OdDb::kForWrite))->setVisibility(OdDb::kVisible, true);
    }

private:
    void setVisibility(OdDb::Visibility visibility)
    {
        OdDbEntityPtr(m_id.safeOpenObject(OdDb::kForWrite))->setVisibility(visibility, true);
    }

    OdDbObjectId m_id;
    bool m_marked = false;
};

} // namespace

void CRevCloudCmd::startCloud(OdDbPolyline* cloud, const OdGePoint3d& first)
{
    HostDocument* document = vantrel::activeDocument();
    if (!document)
        throw OdError(eNullObjectPointer, "no drawing is open");
    OdDbDatabase* db = document->database();
    cloud->setDatabaseDefaults(db);
    OdGeVector3d normal = OdGeVector3d::kZAxis;
    normal.transformBy(getCurrentUCS(db));
    // Through the world origin, so that the vertices' coordinates in the plane are those of the
    // polyline's own system; the elevation puts the cloud at the height of its first point, in
    // the UCS plane where it was traced (or in the plane of the curve it is laid along).
    m_cloudPlane.set(OdGePoint3d::kOrigin, normal);
    cloud->setNormal(normal);
    cloud->setElevation(m_cloudPlane.normal().dotProduct(first - OdGePoint3d::kOrigin));
    addCloudVertex(cloud, first, m_arcs.arcStyle, m_cloudPlane);
}

InputResult CRevCloudCmd::convertObject()
{
    HostDocument* document = vantrel::activeDocument();
    if (!document)
        return kInputCancel;
    const CXStringW prompt = vantrel::loadResource(kSelectPrompt);
    for (;;) {
        hostSelectionSetPtr selection = hostSelectionSet::createObject(document->database());
        const InputResult result = document->getSelection(*selection, prompt, nullptr, kSelectFlags);
        if (result != kInputValue)
            return result;
        OdDbObjectId sourceId;
        bool refused = false;
        for (OdDbObjectId id : selection->objectIds()) {
            if (!isCloudSource(id.safeOpenObject().get())) {
                printResource(*document, kWrongKindMessage);
                refused = true;
                break;
            }
            sourceId = id;
        }
        // A pick that found nothing asks again.
        if (refused || sourceId.isNull())
            continue;

        OdDbPolylinePtr cloud;
        {
            const OdDbCurvePtr source = OdDbCurve::cast(sourceId.safeOpenObject().get());
            const double length = curveLength(*source);
            if (length < kFewestArcs * m_arcs.minArcLength) {
                printResource(*document, kTooSmallMessage);
                continue;
            }
            if (length > kMostArcs * m_arcs.maxArcLength) {
                printResource(*document, kTooBigMessage);
                continue;
            }
            OdGePoint3d start;
            if (const OdResult r = source->getStartPoint(start); r != eOk)
                throw OdError(r, "the curve has no start point");
            cloud = OdDbPolyline::createObject();
            startCloud(cloud.get(), start);
            if (!layCloudAlong(cloud.get(), *source, length, m_arcs, m_cloudPlane))
                return kInputValue;
        }

        const bool replaceSource = readDelobj() == 1;
        if (!replaceSource) {
            finishCloud(cloud, true);
            return kInputValue;
        }
        HiddenSource hidden(sourceId);
        if (finishCloud(cloud, true))
            hidden.erase();
        else
            hidden.show();
        return kInputValue;
    }
}

bool CRevCloudCmd::finishCloud(OdDbPolylinePtr& cloud, bool askReverse)
{
    HostDocument* document = vantrel::activeDocument();
    if (!document)
        throw OdError(eNullObjectPointer, "no drawing is open");
    if (askReverse) {
        // Shown while the user decides.
        document->addTransient(cloud.get());
        bool reverse = false;
        InputResult answer;
        try {
            answer = AlpCmdUtils::askYesNo(kReversePrompt, reverse, false);
        } catch (...) {
            document->removeTransient(cloud.get());
            throw;
        }
        document->removeTransient(cloud.get());
        if (answer < kInputEmpty)
            return false;
        if (reverse && cloud->numVerts() > 2)
            reverseCloud(cloud.get());
    }
    OdDbObjectId id;
    // A cloud that could not be posted (reported by postToDb) must not cost the source.
    if (AlpCmdUtils::postToDb(id, cloud, true).isNull())
        return false;
    printResource(*document, kFinishedMessage);
    return true;
}
