// ERASE and LIST: commands that work on selected entities of the space the user works in.
#include "commands/host_commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <variant>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/ObjectProperties.h>
#include <vantrel/db/OdError.h>
#include <vantrel/host/HostDocument.h>

namespace vantrel {

// Four places, in full for any double: the largest has 309 digits before the point.
std::wstring formatNumber(double value)
{
    if (std::abs(value) < 5e-5)
        value = 0.0;
    char text[330];
    // Cannot fail: the buffer holds the longest double, sign and four places.
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    return std::wstring(text, written.ptr);
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

// Entities on locked layers cannot be erased.
void eraseCommand(HostDocument& doc)
{
    auto chosen = selectObjects(doc, kSelectRejectLocked);
    if (!chosen)
        return;
    for (OdDbObjectId id : *chosen)
        odCheck(OdDbObjectPtr(id.safeOpenObject(OdDb::kForWrite))->erase());
}

// A property's value as LIST shows it: numbers to four places, angles in degrees, points in the
// current UCS (points in an object's own plane as they are kept), true colours as R,G,B.
std::wstring valueText(const UserCoordinateSystem& ucs, const Property& property)
{
    auto coordinates = [](double x, double y, const double* z) {
        std::wstring text = L"X=" + formatNumber(x) + L" Y=" + formatNumber(y);
        return z ? text + L" Z=" + formatNumber(*z) : text;
    };
    return std::visit(
        [&](const auto& v) -> std::wstring {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::nullptr_t>)
                return L"none";
            else if constexpr (std::is_same_v<T, bool>)
                return v ? L"yes" : L"no";
            else if constexpr (std::is_same_v<T, std::int64_t>) {
                for (const PropertyEnumName& n : property.names)
                    if (n.value == v)
                        return OdString::fromUtf8(n.name).c_str();
                if (property.unit == PropertyUnit::Colour)
                    return std::to_wstring(v >> 16 & 0xFF) + L"," + std::to_wstring(v >> 8 & 0xFF) + L","
                        + std::to_wstring(v & 0xFF);
                return std::to_wstring(v);
            } else if constexpr (std::is_same_v<T, double>)
                return formatNumber(v);
            else if constexpr (std::is_same_v<T, std::string>)
                return L"\"" + std::wstring(OdString::fromUtf8(v).c_str()) + L"\"";
            else if constexpr (std::is_same_v<T, OdGePoint3d>)
                return property.unit == PropertyUnit::Point ? pointText(ucs, v) : coordinates(v.x, v.y, &v.z);
            else if constexpr (std::is_same_v<T, OdGePoint2d>)
                return coordinates(v.x, v.y, nullptr);
            else if constexpr (std::is_same_v<T, OdGeVector3d>)
                return coordinates(v.x, v.y, &v.z);
            else if constexpr (std::is_same_v<T, std::vector<double>>) {
                std::wstring text;
                for (double d : v)
                    text += (text.empty() ? L"" : L" ") + formatNumber(d);
                return text;
            } else {
                return std::to_wstring(v.size()) + (v.size() == 1 ? L" item" : L" items");
            }
        },
        property.value);
}

// Every property of an entity, by name, as its class declares them; lists one item a line.
void listProperties(HostEditor& ed, const UserCoordinateSystem& ucs, const OdDbEntity& entity)
{
    for (const Property& p : objectProperties(entity)) {
        // The header line has these.
        if (p.name == "space" || p.name == "layer" || p.name == "color" || p.name == "trueColor")
            continue;
        const std::wstring name = OdString::fromUtf8(propertyWords(p.name)).c_str();
        ed.printMessage(L"\n  %s %s", name, valueText(ucs, p));
        if (const auto* points = std::get_if<std::vector<OdGePoint3d>>(&p.value))
            for (const OdGePoint3d& point : *points)
                ed.printMessage(L"\n    %s", pointText(ucs, point));
        if (const auto* records = std::get_if<PropertyRecords>(&p.value))
            for (std::size_t k = 0; k < records->size(); ++k) {
                std::wstring line;
                for (const Property& field : (*records)[k])
                    line += (line.empty() ? L"" : L"  ")
                        + std::wstring(OdString::fromUtf8(propertyWords(field.name)).c_str()) + L" "
                        + valueText(ucs, field);
                ed.printMessage(L"\n    %s", line);
            }
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
        listProperties(ed, ucs, *entity);
    }
}

} // namespace

void registerEditCommands(CommandRegistry& registry)
{
    registry.addHostCommand(L"ERASE", eraseCommand);
    registry.addHostCommand(L"LIST", listCommand);
}

} // namespace vantrel
