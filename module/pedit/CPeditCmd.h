// PEdit: edits lightweight, 2D and 3D polylines and polygon meshes. The user picks one object,
// or several with "Multiple" (lines, arcs and splines become polylines on request); then an
// option loop applies each option to every selected object, each option one step of the
// command's own undo.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/ge/OdGePlane.h>
#include <vantrel/host/InputResult.h>
#include <vantrel/hxicore/CXStringW.h>

#include "pedit/OptionKeywords.h"
#include "pedit/join_geometry.h"

class HostDocument;
class HostEdInputTracker;
class HostLocalUndo;
class hostSelectionSet;

class CPeditCmd {
public:
    // String resources: selection.
    static constexpr unsigned kSelectPrompt = 2019;
    static constexpr unsigned kMultipleKeyword = 2020;
    static constexpr unsigned kNotAPolylineMessage = 2030;
    static constexpr unsigned kNoValidObjectsMessage = 2050;
    static constexpr unsigned kMeshAndPolylinePrefix = 2065;
    static constexpr unsigned kEndKeywords = 2059;
    static constexpr unsigned kSelectObjectsPrompt = 2060;
    static constexpr unsigned kFoundFormat = 2055;
    static constexpr unsigned kDuplicateFormat = 2058;
    static constexpr unsigned kGroupsFormat = 2057;
    static constexpr unsigned kTotalFormat = 2056;
    static constexpr unsigned kOneNotParallelMessage = 2053;
    static constexpr unsigned kNotParallelFormat = 2052;
    // The option prompt and its keyword lists.
    static constexpr unsigned kOptionPrompt = 2021;
    static constexpr unsigned kPolylineOptions = 2067;
    static constexpr unsigned kPolyline3dOptions = 2071;
    static constexpr unsigned kMeshOptions = 2070;
    static constexpr unsigned kEditVertexKeyword = 2072;
    static constexpr unsigned kCloseKeyword = 2023;
    static constexpr unsigned kOpenKeyword = 2024;
    static constexpr unsigned kMOpenKeyword = 2074;
    static constexpr unsigned kMCloseKeyword = 2075;
    static constexpr unsigned kNOpenKeyword = 2076;
    static constexpr unsigned kNCloseKeyword = 2077;
    // Conversion.
    static constexpr unsigned kConvertOnePrompt = 2037;
    static constexpr unsigned kConvertManyPrompt = 2038;
    static constexpr unsigned kPrecisionPrompt = 2097;
    static constexpr unsigned kPrecisionRangeMessage = 13203;
    // Whole-polyline edits.
    static constexpr unsigned kWidthPrompt = 2102;
    static constexpr unsigned kLtypeGenPrompt = 2103;
    static constexpr unsigned kLtypeGenKeywords = 2104;
    static constexpr unsigned kOnName = 2105;
    static constexpr unsigned kOffName = 2106;
    static constexpr unsigned kNotImplementedMessage = 2107;
    static constexpr unsigned kNegativeWidthMessage = 2108;
    // Join.
    static constexpr unsigned kClosedJoinMessage = 2032;
    static constexpr unsigned kNotCoplanarMessage = 2054;
    static constexpr unsigned kMustTouchMessage = 2061;
    static constexpr unsigned kSegmentsAddedFormat = 2031;
    static constexpr unsigned kFuzzTooSmallMessage = 117;
    static constexpr unsigned kJoinTypeFormat = 2033;
    static constexpr unsigned kJoinTypeNames = 2035;
    static constexpr unsigned kJoinTypePrompt = 2034;
    static constexpr unsigned kFuzzPrompt = 2039;
    static constexpr unsigned kJoinTypeKeyword = 2040;
    static constexpr unsigned kNegativeFuzzMessage = 2109;
    // Vertex editing.
    static constexpr unsigned kVertexPrompt = 2110;
    static constexpr unsigned kVertexKeywords = 2111;
    static constexpr unsigned kVertex3dKeywords = 2112;
    static constexpr unsigned kNextDefault = 2113;
    static constexpr unsigned kPreviousDefault = 2114;
    static constexpr unsigned kRangePrompt = 2115;
    static constexpr unsigned kRangeKeywords = 2116;
    static constexpr unsigned kInsertPrompt = 2117;
    static constexpr unsigned kMovePrompt = 2118;
    static constexpr unsigned kTangentPrompt = 2119;
    static constexpr unsigned kWithDefaultFormat = 2120;
    static constexpr unsigned kStartWidthPrompt = 2121;
    static constexpr unsigned kEndWidthPrompt = 2122;
    // Mesh vertex editing.
    static constexpr unsigned kCurrentMeshVertexFormat = 2123;
    static constexpr unsigned kMeshVertexPrompt = 2124;
    static constexpr unsigned kMeshVertexKeywords = 2125;
    static constexpr unsigned kMeshGridMessage = 2126;

    // Selection flags: the first single pick, later single picks, and the Multiple selection.
    static constexpr std::uint32_t kFirstPickFlags = 0x12000;
    static constexpr std::uint32_t kLaterPickFlags = 0x16000;
    static constexpr std::uint32_t kMultipleFlags = 0x105d000;

    // How a picked object was taken: kAccepted with the id of the polyline to edit, or not.
    enum TryConvertResult : std::int32_t { kAccepted = -1, kCancelled = -2, kDeclined = -51, kUnusable = -52 };
    // The kinds of the selected objects (one each) and MultipleMode.
    enum PeditKind : std::uint32_t {
        kArc = 0x1,
        kLine = 0x2,
        kLwPolyline = 0x4,
        kPolyline2d = 0x8,
        kPolyline3d = 0x10,
        kPolygonMesh = 0x20,
        kMultipleMode = 0x200,
        kSpline = 0x400,
    };
    // What an option answers for one object: the user cancelled (PEdit ends), the object is of no
    // kind the option handles, or done; any answer but kOptionCancelled goes on.
    static constexpr std::int32_t kOptionCancelled = -2;
    static constexpr std::int32_t kOptionWrongKind = -53;
    static constexpr std::int32_t kOptionDone = -1;

    CPeditCmd();
    ~CPeditCmd();
    CPeditCmd(const CPeditCmd&) = delete;
    CPeditCmd& operator=(const CPeditCmd&) = delete;

    // Selection, then the option loop until Enter, Esc or eXit. Exceptions are reported with
    // showCommandException.
    void Run();

    // --- selection (selection.cpp) ---
    // kInputValue once the objects to edit are chosen; any other answer ends the command.
    InputResult SelectPolylines();
    // The repeated selection of "Multiple" (and of Join): objects are added to chosen until
    // "End" or Enter, with the running report after each selection. 2 when it ended that way,
    // kInputCancel after Esc, kInputEmpty for Enter with nothing chosen.
    InputResult selectObjectsCounted(std::vector<OdDbObjectId>& chosen, bool parallelCheck);
    // Takes a polyline or mesh as it is and a line, arc or spline through the conversion.
    TryConvertResult Open_TryConvert(OdDbObjectId id, OdDbObjectId& out, bool askAboutConversion, bool singlePick,
                                     bool mayAsk);

    // --- conversion to polylines (convert.cpp) ---
    // The conversion question (unless PEDITACCEPT says yes), then the line, arc or spline becomes
    // a lightweight polyline under its own id.
    TryConvertResult TryConvertToPolyline(OdDbObjectId id, OdDbObjectId& out, bool singlePick, bool mayAsk);
    // With keepSource the source stays and the polyline is a new object outside the drawing;
    // otherwise the polyline takes the source's place, id and extended data. Null when the source
    // is degenerate or cannot be converted (an exception is reported with showCommandException).
    OdDbPolylinePtr ConvertLineToPolyline(OdDbObjectId lineId, bool keepSource);
    OdDbPolylinePtr ConvertArcToPolyline(OdDbObjectId arcId, bool keepSource);
    // precision (0 to 99) says how closely the polyline follows the spline.
    OdDbPolylinePtr ConvertSplineToPolyline(OdDbObjectId splineId, int precision, bool keepSource);
    // A lightweight copy of any object of a drawing that Join may append, outside the drawing;
    // the source is not changed. Null for other kinds.
    OdDbPolylinePtr toLwPolyline(const OdDbEntity& entity);

    // --- whole-polyline edits (close_open.cpp, width_ltype.cpp, fit.cpp) ---
    void OnKeyOpenClose(OdDbObjectId id, bool open);
    std::int32_t OnKeyWidth(OdDbObjectId id);
    void OnKeyFit(OdDbObjectId id);
    void OnKeySpline(OdDbObjectId id);
    void OnKeyDecurve(OdDbObjectId id);
    std::int32_t OnKeyLtypeGen(OdDbObjectId id);

    // --- Join (join.cpp) ---
    // One polyline: the objects then selected that touch its ends are appended to it. Several:
    // they are joined to each other across gaps as the join type and fuzz distance say.
    // kOptionCancelled after Esc, kOptionWrongKind for a closed polyline or a failure.
    std::int32_t OnKeyJoin();

    // --- vertex editing (vertex.cpp, vertex_options.cpp) ---
    // The vertex sub-mode of a lightweight, 2D or 3D polyline: kOptionCancelled after Esc (PEdit
    // ends), kOptionDone after eXit, kOptionWrongKind when the polyline cannot be edited.
    std::int32_t OnKeyEditVertex(OdDbObjectId id);
    // One answer of the sub-mode on the polyline's current of count vertices: the sub-mode's result
    // when the answer ends it, else nullopt (the vertex moved on, or the change was made).
    std::optional<std::int32_t> OnVertexAnswer(OdDbObjectId id, InputResult answer, unsigned count, unsigned& current);
    // The sub-operations, on the polyline of the sub-mode and its current vertex. Each answers
    // kOptionDone or the request's answer that ended it.
    std::int32_t OnVertexInsert(OdDbObjectId id, unsigned current);
    std::int32_t OnVertexMove(OdDbObjectId id, unsigned current);
    std::int32_t OnVertexTangent(OdDbObjectId id, unsigned current);
    std::int32_t OnVertexWidth(OdDbObjectId id, unsigned current);
    // Break (kBreakMode) or Straighten (kStraightenMode) between the current vertex and a second one
    // the user walks to; the vertex to go on from is stored in current.
    static constexpr int kBreakMode = 1;
    static constexpr int kStraightenMode = 2;
    std::int32_t OnVertices(OdDbObjectId id, unsigned& current, int mode);

    // --- polygon meshes (mesh.cpp) ---
    void OnKeyMeshOpenClose(OdDbObjectId id, bool open, bool mDirection);
    void OnKeySmoothSurface(OdDbObjectId id);
    void OnKeyDesmooth(OdDbObjectId id);
    // The mesh vertex sub-mode: kOptionCancelled after Esc, kOptionDone after eXit,
    // kOptionWrongKind when the mesh cannot be edited.
    std::int32_t OnKeyEditMeshVertex(OdDbObjectId id);

private:
    // The option prompt's keywords for the selection as it is now.
    vantrel::pedit::OptionKeywords buildOptionKeywords();
    // The Open/Close keywords (M and N ones for meshes) that fit the selected objects, from the
    // seen-flags it sets.
    void buildOpenCloseKeywords(vantrel::pedit::OptionKeywords& keywords);
    // One answer of the option prompt: 2 or more goes on, below 2 ends the loop.
    InputResult dispatch(InputResult answer, const vantrel::pedit::OptionKeywords& keywords);
    // Applies an option to each selected object in order. A polyline on which it fails keeps its
    // state (the failure is reported) and the others go on; an object that answers
    // kOptionCancelled ends it at once with kInputCancel. Otherwise 2.
    InputResult applyToEach(const wchar_t* optionName, const std::function<std::int32_t(OdDbObjectId)>& option);
    void setWorkPlane(const OdDbEntity& object);
    // Join of one polyline with the objects selected for it, and of the selected polylines.
    std::int32_t joinTouchingObjects();
    std::int32_t joinSelectedPolylines();
    // The join type and fuzz distance prompts: kInputValue or kInputEmpty when they are set,
    // kInputCancel after Esc.
    InputResult askFuzzAndJoinType();
    void printJoinType();
    // The report of a Join: the count of objects joined; the polylines are redrawn.
    void reportJoined(int count);
    // A point request of vertex editing: a picked point is moved along the view direction onto
    // the work plane.
    InputResult getVertexPoint(const OdGePoint3d& basePoint, OdGePoint3d& point, const wchar_t* prompt,
                               const wchar_t* keywords, InputFlags flags, HostEdInputTracker* tracker);
    // The prompt of a vertex sub-mode at the marked vertex (after the host's procedure 3): the
    // prompt resource with the keyword list's place kept and the default's text in the second
    // place; Enter answers the default keyword.
    InputResult askAtMarker(unsigned promptId, const CXStringW& keywords, const CXStringW& defaultText,
                            InputResult defaultKeyword, const OdGePoint3d& at, HostEdInputTracker& marker);
    // A width for the vertex sub-mode, with the proposal as its default; negative widths are
    // refused. kOptionDone, or kOptionCancelled after Esc.
    std::int32_t getWidth(unsigned promptId, const OdGePoint3d& basePoint, double& width);
    void printResource(unsigned id);
    // The selection request of a single pick, PICKSTYLE 2 meanwhile.
    InputResult pickOne(hostSelectionSet& set, const CXStringW& prompt, std::uint32_t flags);
    // The objects of a Multiple selection, each taken or converted; the selection's answer.
    InputResult selectMultiple(CXStringW& nextPrompt);

    std::unique_ptr<OdGePlane> m_workPlane;
    bool m_closedSeen = false;
    bool m_openSeen = false;
    bool m_nClosedSeen = false;
    bool m_nOpenSeen = false;
    // The answers given at the first polyline of a Width or "Ltype gen", for the others.
    double m_sharedWidth = -1.0;
    std::int32_t m_sharedLtypeAnswer = -1;
    std::vector<OdDbObjectId> m_selectedIds;
    std::int32_t m_conversionAsked = 0;
    OdDbDatabasePtr m_database;
    std::uint32_t m_kindFlags = 0;
    // Join: the type and fuzz distance of joins across gaps, kept for the run, and the objects
    // of the latest Join.
    vantrel::pedit::JoinType m_joinType = vantrel::pedit::JoinType::Extend;
    double m_fuzzDistance = 0.0;
    std::vector<OdDbObjectId> m_workIds;
    // The selection before each option not yet undone (Join of several polylines replaces them by
    // new ones), so that Undo gives the selection back with the drawing.
    struct SelectionState {
        std::vector<OdDbObjectId> ids;
        std::uint32_t kindFlags;
    };
    std::vector<SelectionState> m_selectionBeforeStep;
    HostDocument* m_document = nullptr;
    HostLocalUndo* m_undo = nullptr;
};

// The kind of an object as PEdit sees it: one PeditKind bit, or 0.
std::uint32_t classifyObject(const OdDbObject* object);
