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

class HostDocument;
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

    // --- the options of the next part of PEdit (join.cpp, vertex.cpp, mesh.cpp) ---
    std::int32_t OnKeyJoin();
    std::int32_t OnKeyEditVertex(OdDbObjectId id);
    std::int32_t OnKeyMeshOption();

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
    HostDocument* m_document = nullptr;
    HostLocalUndo* m_undo = nullptr;
};

// The kind of an object as PEdit sees it: one PeditKind bit, or 0.
std::uint32_t classifyObject(const OdDbObject* object);
