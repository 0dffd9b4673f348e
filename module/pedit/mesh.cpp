// The polygon-mesh options of PEdit: opening and closing in M and N, smoothing into a surface
// with SURFTYPE, SURFU and SURFV, desmoothing, and the mesh vertex sub-mode, which walks the grid
// that is drawn (the surface grid of a smoothed mesh) and moves single vertices.
#include <optional>

#include <vantrel/db/OdDbPolygonMesh.h>
#include <vantrel/db/OdError.h>
#include <vantrel/host/HostDocument.h>

#include "frame/AlpCmdUtils.h"
#include "frame/module_instance.h"
#include "pedit/CPeditCmd.h"
#include "pedit/MarkerTracker.h"
#include "pedit/polyline_edits.h"
#include "pedit/sysvars.h"

namespace {

// The answers of the mesh vertex prompt.
enum MeshKeyword : InputResult {
    kNext = kInputFirstKeyword,
    kPrevious,
    kLeft,
    kRight,
    kUp,
    kDown,
    kMove,
    kRegen,
    kExit,
};
// The flags of the Move request: Enter answers, a rubber line from the vertex.
constexpr InputFlags kMoveFlags = 12;

// The grid the sub-mode walks: control vertices of a simple mesh, the surface of a smoothed one.
struct Grid {
    int rows;
    int cols;
};

std::optional<Grid> gridOf(const OdDbPolygonMesh& mesh)
{
    const bool simple = mesh.polyMeshType() == OdDb::kSimpleMesh;
    const Grid grid{simple ? mesh.mSize() : mesh.mSurfaceDensity(), simple ? mesh.nSize() : mesh.nSurfaceDensity()};
    std::int16_t rows, cols;
    mesh.visibleSize(rows, cols);
    if (grid.rows < 1 || grid.cols < 1 || rows != grid.rows || cols != grid.cols)
        return std::nullopt;
    return grid;
}

} // namespace

void CPeditCmd::OnKeyMeshOpenClose(OdDbObjectId id, bool open, bool mDirection)
{
    const OdDbPolygonMeshPtr mesh = id.safeOpenObject(OdDb::kForWrite);
    const bool closed = mDirection ? mesh->isMClosed() : mesh->isNClosed();
    if (closed == open) {
        if (mDirection)
            open ? mesh->makeMOpen() : mesh->makeMClosed();
        else
            open ? mesh->makeNOpen() : mesh->makeNClosed();
    }
    AlpCmdUtils::touchEntity(mesh);
}

void CPeditCmd::OnKeySmoothSurface(OdDbObjectId id)
{
    const std::optional<std::int32_t> type = vantrel::pedit::readSysVar(L"SURFTYPE", m_database.get());
    const std::optional<std::int32_t> u = vantrel::pedit::readSysVar(L"SURFU", m_database.get());
    const std::optional<std::int32_t> v = vantrel::pedit::readSysVar(L"SURFV", m_database.get());
    const OdDbPolygonMeshPtr mesh = id.safeOpenObject(OdDb::kForWrite);
    if (type && u && v)
        mesh->surfaceFit(static_cast<OdDb::PolyMeshType>(static_cast<std::int16_t>(*type)),
                         static_cast<std::int16_t>(*u), static_cast<std::int16_t>(*v));
    else
        mesh->surfaceFit();
    AlpCmdUtils::touchEntity(mesh);
}

void CPeditCmd::OnKeyDesmooth(OdDbObjectId id)
{
    const OdDbPolygonMeshPtr mesh = id.safeOpenObject(OdDb::kForWrite);
    mesh->straighten();
    AlpCmdUtils::touchEntity(mesh);
}

std::int32_t CPeditCmd::OnKeyEditMeshVertex(OdDbObjectId id)
{
    std::optional<Grid> grid;
    if (const OdDbPolygonMeshPtr mesh = OdDbPolygonMesh::cast(id.openObject().get()))
        grid = gridOf(*mesh);
    else
        return kOptionWrongKind;
    if (!grid) {
        printResource(kMeshGridMessage);
        return kOptionWrongKind;
    }
    const CXStringW keywords = vantrel::loadResource(kMeshVertexKeywords);
    int m = 0, n = 0;
    InputResult defaultKeyword = kNext;
    for (;;) {
        const OdGePoint3d at = OdDbPolygonMeshPtr(id.safeOpenObject())->visibleVertexAt(m, n)->position();
        MarkerTracker marker(m_database.get(), at, nullptr, std::nullopt);
        CXStringW current;
        current.Format(vantrel::loadResource(kCurrentMeshVertexFormat), m, n);
        m_document->editor().printMessage(L"\n%s", current);
        const CXStringW defaultName = AlpCmdUtils::keywordAt(keywords, defaultKeyword - kInputFirstKeyword + 1, L" ");
        switch (askAtMarker(kMeshVertexPrompt, keywords, defaultName, defaultKeyword, at, marker)) {
        case kInputValue: break;
        case kInputCancel: return kOptionCancelled;
        case kInputText: return kOptionWrongKind;
        case kNext:
            defaultKeyword = kNext;
            if (n + 1 < grid->cols) {
                ++n;
            } else if (m + 1 < grid->rows) {
                n = 0;
                ++m;
            }
            break;
        case kPrevious:
            defaultKeyword = kPrevious;
            if (n > 0) {
                --n;
            } else if (m > 0) {
                n = grid->cols - 1;
                --m;
            }
            break;
        case kLeft:
            defaultKeyword = kLeft;
            n = std::max(n - 1, 0);
            break;
        case kRight:
            defaultKeyword = kRight;
            n = std::min(n + 1, grid->cols - 1);
            break;
        case kUp:
            defaultKeyword = kUp;
            m = std::min(m + 1, grid->rows - 1);
            break;
        case kDown:
            defaultKeyword = kDown;
            m = std::max(m - 1, 0);
            break;
        case kMove: {
            OdGePoint3d to;
            const InputResult moved
                = getVertexPoint(at, to, vantrel::loadResource(kMovePrompt), nullptr, kMoveFlags, &marker);
            if (moved == kInputCancel)
                return kOptionCancelled;
            if (moved == kInputValue) {
                const OdDbPolygonMeshPtr mesh = id.safeOpenObject();
                mesh->visibleVertexAt(m, n, OdDb::kForWrite)->setPosition(to);
                AlpCmdUtils::touchEntity(mesh);
            }
            break;
        }
        case kRegen:
            vantrel::pedit::regenerate(id);
            defaultKeyword = kNext;
            break;
        case kExit: return kOptionDone;
        default:
            // A keyword that chooses nothing ("UU").
            defaultKeyword = kNext;
            break;
        }
    }
}
