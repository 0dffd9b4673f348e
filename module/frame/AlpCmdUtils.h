// Services every command shares: posting a new entity to the space the user works in, small
// prompts (yes/no, a prompt with its default), keyword lists, and the plane tests of curves.
// Each call fetches what it needs from the host; nothing is kept between calls.
#pragma once

#include <type_traits>

#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/ge/OdGePlane.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/host/InputResult.h>
#include <vantrel/hxicore/CXStringW.h>

class AlpCmdUtils {
public:
    // Resource of the keyword list of askYesNo.
    static constexpr unsigned kYesNoKeywords = 132;

    // Appends the entity to the active space of the active document's drawing (model space
    // when paper space is current and a floating viewport is active) and stores its new id in
    // `id`; with refresh the new entity is touched. On success the caller's pointer is left
    // empty. Any exception is reported by showCommandException and gives the null id.
    template <class Entity>
    static OdDbObjectId postToDb(OdDbObjectId& id, OdSmartPtr<Entity>& entity, bool refresh)
    {
        static_assert(std::is_base_of_v<OdDbEntity, Entity>);
        if (post(id, entity.get(), refresh))
            entity.release();
        return id;
    }

    // Asks the prompt resource with the keywords "Yes No" (flags kAcceptEmpty): Enter stores
    // the default answer, Yes true, No false; any other result leaves the answer alone. Answers
    // the request's result (kInputCancel when no drawing is open).
    static InputResult askYesNo(unsigned promptId, bool& answer, bool defaultAnswer);

    // The prompt resource followed by " <%f>:" of the value (always six decimals). A "%s" in the
    // resource is kept for the host's keyword list.
    static CXStringW promptWithDefault(unsigned promptId, double value);

    // The n-th (from 1) non-empty piece of the list split at any of the delimiters; a single
    // blank when there are fewer pieces.
    static CXStringW keywordAt(const wchar_t* list, int n, const wchar_t* delimiters);

    // "Point: X, Y, Z" on a new line of the command line.
    static void printPoint(const OdGePoint3d& point);

    // Reopens the entity (and each vertex of a 2D polyline) so that the host regenerates its
    // graphics. The reference is held for the call only.
    static void touchEntity(const OdDbEntityPtr& entity);

    // The plane through the start point with the normal of a polyline, 2D polyline, line or
    // arc; false for other entities or without a start point.
    static bool entityPlane(const OdDbEntityPtr& curve, OdGePlane& plane);
    // Both are curves with a plane, and the planes coincide within OdGeContext::gTol.
    static bool curvesCoplanar(const OdDbObjectPtr& a, const OdDbObjectPtr& b);
    // True without a reference plane; otherwise the object is a curve whose plane is parallel
    // to it within OdGeContext::gTol.
    static bool curveParallelTo(const OdDbObjectPtr& object, const OdGePlane* reference);

    // Opens the vertex with the index (0 first, erased vertices not counted) in the mode;
    // false when the polyline has fewer vertices.
    static bool openVertexAt(const OdDb2dPolylinePtr& polyline, unsigned index, OdDb2dVertexPtr& vertex,
                             OdDb::OpenMode mode);

private:
    // postToDb without the caller's pointer: true when the entity was posted.
    static bool post(OdDbObjectId& id, OdDbEntity* entity, bool refresh);
};
