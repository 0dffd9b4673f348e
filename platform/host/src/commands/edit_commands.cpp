// ERASE and LIST: commands that work on selected entities of the space the user works in.
#include "commands/host_commands.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDb3dPolyline.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolygonMesh.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/host/HostDocument.h>

namespace vantrel {

std::wstring formatNumber(double value)
{
    if (std::abs(value) < 5e-5)
        value = 0.0;
    wchar_t text[64];
    std::swprintf(text, 64, L"%.4f", value);
    return text;
}

std::optional<std::vector<OdDbObjectId>> selectObjects(HostDocument& doc, std::uint32_t flags)
{
    hostSelectionSetPtr set = hostSelectionSet::createObject(doc.database());
    std::vector<OdDbObjectId> chosen;
    for (;;) {
        InputResult r = doc.getSelection(*set, L"Select objects", nullptr, flags);
        if (r == kInputEmpty) {
            doc.setPreviousSelection(chosen);
            return chosen;
        }
        if (r != kInputValue)
            return std::nullopt;
        for (OdDbObjectId id : set->objectIds()) {
            if (std::find(chosen.begin(), chosen.end(), id) == chosen.end())
                chosen.push_back(id);
        }
        doc.editor().printMessage(L"\n%d found, %d total", static_cast<int>(set->numEntities()),
                                  static_cast<int>(chosen.size()));
    }
}

namespace {

// A world point as LIST shows it: in the current UCS.
std::wstring pointText(const UserCoordinateSystem& ucs, const OdGePoint3d& world)
{
    const OdGePoint3d p = ucs.fromWorld(world);
    return L"X=" + formatNumber(p.x) + L" Y=" + formatNumber(p.y) + L" Z=" + formatNumber(p.z);
}

double degrees(double radians)
{
    return radians * 180.0 / 3.14159265358979323846;
}

// Entities on locked layers cannot be erased.
void eraseCommand(HostDocument& doc)
{
    auto chosen = selectObjects(doc, kSelectRejectLocked);
    if (!chosen)
        return;
    for (OdDbObjectId id : *chosen)
        OdDbObjectPtr(id.safeOpenObject(OdDb::kForWrite))->erase();
}

// Every property a light command or the light dialogs can set.
void listLight(HostEditor& ed, const UserCoordinateSystem& ucs, const OdDbLight& light)
{
    static const wchar_t* const kTypes[] = {L"?", L"distant", L"point", L"spot"};
    static const wchar_t* const kMethods[] = {L"candela", L"lumen", L"lux"};
    static const wchar_t* const kAttenuation[] = {L"none", L"inverse linear", L"inverse square"};
    const OdDbLight::Data& d = light.data();
    const wchar_t* type = d.lightType == OdGiDrawable::kWebLight ? L"web" : kTypes[std::clamp<int>(d.lightType, 0, 3)];
    ed.printMessage(L"\n  name \"%s\"  type %s  %s  intensity %s", d.name, type, d.on ? L"on" : L"off",
                    formatNumber(d.intensity));
    ed.printMessage(L"\n  position %s", pointText(ucs, d.position));
    // A distant light shines from its position towards its target, whether or not it has one.
    if (d.hasTarget || d.lightType == OdGiDrawable::kDistantLight)
        ed.printMessage(L"\n  target   %s", pointText(ucs, d.targetLocation));
    ed.printMessage(L"\n  photometric intensity %s %s  illuminance distance %s", formatNumber(d.physicalIntensity),
                    kMethods[std::clamp<int>(d.physicalIntensityMethod, 0, 2)], formatNumber(d.illuminanceDistance));
    if (d.lampColorType == OdDbLight::kPreset)
        ed.printMessage(L"\n  lamp colour preset %d", d.lampColorPreset);
    else
        ed.printMessage(L"\n  lamp colour %s kelvin", formatNumber(d.lampColorTemp));
    ed.printMessage(L"\n  filter colour %s", d.lightColor.description());
    if (d.lightType != OdGiDrawable::kDistantLight)
        ed.printMessage(L"\n  attenuation %s  limits %s  start %s  end %s",
                        kAttenuation[std::clamp<int>(d.attenuationType, 0, 2)], d.useAttenuationLimits ? L"on" : L"off",
                        formatNumber(d.attenuationStartLimit), formatNumber(d.attenuationEndLimit));
    if (d.lightType == OdGiDrawable::kSpotLight)
        ed.printMessage(L"\n  hotspot %s  falloff %s", formatNumber(degrees(d.hotspotAngle)),
                        formatNumber(degrees(d.falloffAngle)));
    if (d.lightType == OdGiDrawable::kWebLight)
        ed.printMessage(L"\n  web file \"%s\"  rotation %s %s %s", d.webFile, formatNumber(d.webRotation.x),
                        formatNumber(d.webRotation.y), formatNumber(d.webRotation.z));
}

// A 2D polyline's kind and every vertex object (with its tangent when it has one), the generated
// ones and the spline frame marked.
void listPolyline2d(HostEditor& ed, const UserCoordinateSystem& ucs, const OdDb2dPolyline& pline)
{
    static const wchar_t* const kTypes[] = {L"straight", L"fit curve", L"quadratic spline", L"cubic spline"};
    ed.printMessage(L"\n  %s %s, default widths %s %s%s", pline.isClosed() ? L"closed" : L"open",
                    kTypes[std::clamp<int>(pline.polyType(), 0, 3)], formatNumber(pline.defaultStartWidth()),
                    formatNumber(pline.defaultEndWidth()), pline.isLinetypeGenerationOn() ? L", linetype generation" : L"");
    for (auto it = pline.vertexIterator(); !it->done(); it->step()) {
        const OdDb2dVertexPtr v = it->vertex();
        const OdDb::Vertex2dType type = v->vertexType();
        const wchar_t* kind = type == OdDb::k2dCurveFitVertex    ? L" (curve fit)"
                              : type == OdDb::k2dSplineFitVertex ? L" (spline fit)"
                              : type == OdDb::k2dSplineCtlVertex ? L" (frame)"
                                                                 : L"";
        const std::wstring tangent = v->isTangentUsed() ? L" tangent " + formatNumber(degrees(v->tangent())) : L"";
        ed.printMessage(L"\n  vertex %s bulge %s widths %s %s%s%s", pointText(ucs, pline.vertexPosition(*v)),
                        formatNumber(v->bulge()), formatNumber(v->startWidth()), formatNumber(v->endWidth()), tangent,
                        kind);
    }
}

void listPolyline3d(HostEditor& ed, const UserCoordinateSystem& ucs, const OdDb3dPolyline& pline)
{
    static const wchar_t* const kTypes[] = {L"straight", L"quadratic spline", L"cubic spline"};
    ed.printMessage(L"\n  %s %s", pline.isClosed() ? L"closed" : L"open", kTypes[std::clamp<int>(pline.polyType(), 0, 2)]);
    for (auto it = pline.vertexIterator(); !it->done(); it->step()) {
        const OdDb3dPolylineVertexPtr v = it->vertex();
        const OdDb::Vertex3dType type = v->vertexType();
        ed.printMessage(L"\n  vertex %s%s", pointText(ucs, v->position()),
                        type == OdDb::k3dFitVertex ? L" (spline fit)" : type == OdDb::k3dControlVertex ? L" (frame)" : L"");
    }
}

// A polygon mesh's grid, directions, smoothing and every vertex object, the generated surface
// points and the control points of a smoothed mesh marked.
void listPolygonMesh(HostEditor& ed, const UserCoordinateSystem& ucs, const OdDbPolygonMesh& mesh)
{
    const OdDbPolygonMesh::Data& d = mesh.data();
    ed.printMessage(L"\n  %d x %d vertices, %s in M, %s in N", static_cast<int>(d.mSize), static_cast<int>(d.nSize),
                    d.mClosed ? L"closed" : L"open", d.nClosed ? L"closed" : L"open");
    const wchar_t* surface = d.polyMeshType == OdDb::kQuadSurfaceMesh    ? L"quadratic"
                             : d.polyMeshType == OdDb::kCubicSurfaceMesh  ? L"cubic"
                             : d.polyMeshType == OdDb::kBezierSurfaceMesh ? L"Bezier"
                                                                          : nullptr;
    if (surface)
        ed.printMessage(L"\n  %s surface, %d x %d", surface, static_cast<int>(d.mSurfaceDensity),
                        static_cast<int>(d.nSurfaceDensity));
    for (auto it = mesh.vertexIterator(); !it->done(); it->step()) {
        const OdDbPolygonMeshVertexPtr v = it->vertex();
        const OdDb::Vertex3dType type = v->vertexType();
        ed.printMessage(L"\n  vertex %s%s", pointText(ucs, v->position()),
                        type == OdDb::k3dFitVertex ? L" (surface)" : type == OdDb::k3dControlVertex ? L" (frame)" : L"");
    }
}

// The geometry lines of the kinds the host draws; other kinds show their common properties only.
void listGeometry(HostEditor& ed, const UserCoordinateSystem& ucs, const OdDbEntity& entity)
{
    if (auto line = OdDbLine::cast(&entity)) {
        ed.printMessage(L"\n  from point %s\n  to point   %s\n  length %s", pointText(ucs, line->startPoint()),
                        pointText(ucs, line->endPoint()), formatNumber(line->startPoint().distanceTo(line->endPoint())));
    } else if (auto circle = OdDbCircle::cast(&entity)) {
        ed.printMessage(L"\n  center point %s\n  radius %s", pointText(ucs, circle->center()), formatNumber(circle->radius()));
    } else if (auto arc = OdDbArc::cast(&entity)) {
        ed.printMessage(L"\n  center point %s\n  radius %s\n  start angle %s\n  end angle %s", pointText(ucs, arc->center()),
                        formatNumber(arc->radius()), formatNumber(degrees(arc->startAngle())),
                        formatNumber(degrees(arc->endAngle())));
    } else if (auto ellipse = OdDbEllipse::cast(&entity)) {
        ed.printMessage(L"\n  center point %s\n  major radius %s\n  minor radius %s", pointText(ucs, ellipse->center()),
                        formatNumber(ellipse->majorAxis().length()), formatNumber(ellipse->minorAxis().length()));
    } else if (auto spline = OdDbSpline::cast(&entity)) {
        ed.printMessage(L"\n  degree %d, %d control points, %d fit points", spline->degree(),
                        spline->numControlPoints(), spline->numFitPoints());
    } else if (auto pline = OdDbPolyline::cast(&entity)) {
        ed.printMessage(L"\n  %s, constant width %s%s", pline->isClosed() ? L"closed" : L"open",
                        formatNumber(pline->getConstantWidth()), pline->hasPlinegen() ? L", linetype generation" : L"");
        for (unsigned int i = 0; i < pline->numVerts(); ++i) {
            OdGePoint3d p;
            pline->getPointAt(i, p);
            double start = 0.0, end = 0.0;
            pline->getWidthsAt(i, start, end);
            ed.printMessage(L"\n  vertex %s bulge %s widths %s %s", pointText(ucs, p), formatNumber(pline->getBulgeAt(i)),
                            formatNumber(start), formatNumber(end));
        }
    } else if (auto pline2d = OdDb2dPolyline::cast(&entity)) {
        listPolyline2d(ed, ucs, *pline2d);
    } else if (auto pline3d = OdDb3dPolyline::cast(&entity)) {
        listPolyline3d(ed, ucs, *pline3d);
    } else if (auto mesh = OdDbPolygonMesh::cast(&entity)) {
        listPolygonMesh(ed, ucs, *mesh);
    } else if (auto solid = OdDbSolid::cast(&entity)) {
        for (int i = 0; i < 4; ++i) {
            OdGePoint3d p;
            solid->getPointAt(i, p);
            ed.printMessage(L"\n  corner %d %s", i + 1, pointText(ucs, p));
        }
    } else if (auto light = OdDbLight::cast(&entity)) {
        listLight(ed, ucs, *light);
    }
}

void listCommand(HostDocument& doc)
{
    auto chosen = selectObjects(doc, 0);
    if (!chosen)
        return;
    HostEditor& ed = doc.editor();
    OdDbDatabase* db = doc.database();
    const UserCoordinateSystem& ucs = doc.engine().ucs();
    if (!ucs.isWorld() && !chosen->empty())
        ed.printMessage(L"\nPoints are given in the current UCS.");
    for (OdDbObjectId id : *chosen) {
        OdDbEntityPtr entity = id.safeOpenObject();
        const std::string type = dxfRecordName(*entity);
        ed.printMessage(L"\n%s  Layer: \"%s\"  Space: %s  Handle: %s", type, entity->layer(),
                        entity->ownerId() == db->getModelSpaceId() ? L"Model space" : L"Paper space",
                        id.getHandle().ascii());
        ed.printMessage(L"\n  color %s", entity->color().description());
        listGeometry(ed, ucs, *entity);
    }
}

} // namespace

void registerEditCommands(CommandRegistry& registry)
{
    registry.addHostCommand(L"ERASE", eraseCommand);
    registry.addHostCommand(L"LIST", listCommand);
}

} // namespace vantrel
