// SETVAR, LAYER, GROUP and UCS: the settings a drafter changes between drawing commands.
#include "commands/host_commands.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbGroup.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/hostcolor.h>
#include <vantrel/host/hostutils.h>

namespace vantrel {

namespace {

// Free text, trimmed and not empty; Enter and Esc give nothing.
std::optional<std::wstring> askText(HostEditor& ed, const wchar_t* prompt)
{
    OdString text;
    if (ed.getKeyword(prompt, L"", kAcceptText, &text) != kInputText)
        return std::nullopt;
    std::wstring trimmed(InputSyntax::trim(text.c_str()));
    if (trimmed.empty())
        return std::nullopt;
    return trimmed;
}

std::wstring errorText(const OdError& e) { return OdString::fromUtf8(e.what()).c_str(); }

std::wstring valueText(const OdResBuf& value)
{
    switch (value.kind()) {
    case OdResBuf::ValueKind::String: return value.getString().c_str();
    case OdResBuf::ValueKind::Double: return formatNumber(value.getDouble());
    case OdResBuf::ValueKind::Point3d: {
        const OdGePoint3d p = value.getPoint3d();
        return formatNumber(p.x) + L"," + formatNumber(p.y) + L"," + formatNumber(p.z);
    }
    case OdResBuf::ValueKind::Handle: return OdString::fromUtf8(value.getHandle().ascii()).c_str();
    default: return std::to_wstring(value.getInt32());
    }
}

// The variables that name a table record take only names the table has.
void setTableVariable(OdDbDatabase& db, const std::wstring& name, const std::wstring& value)
{
    const bool layer = name == L"CLAYER";
    OdDbSymbolTablePtr table = (layer ? db.getLayerTableId() : db.getLinetypeTableId()).safeOpenObject();
    OdDbObjectId id = table->getAt(value.c_str());
    if (id.isNull())
        throw OdError(eInvalidInput,
                      "no " + std::string(layer ? "layer" : "linetype") + " named \"" + OdString(value).toUtf8()
                          + "\"");
    if (layer)
        db.setCLAYER(id);
    else
        db.setCELTYPE(id);
}

// SETVAR: a drawing or application variable by name, then its new value (Enter keeps it).
void setvarCommand(HostDocument& doc)
{
    HostEditor& ed = doc.editor();
    HostApplication& app = doc.application();
    std::wstring name;
    OdResBufPtr current;
    while (!current) {
        auto typed = askText(ed, L"Enter variable name");
        if (!typed)
            return;
        try {
            current = app.getSysVar(typed->c_str(), doc.database());
            name = CommandRegistry::key(*typed);
        } catch (const OdError& e) {
            ed.printMessage(L"\n%s", errorText(e));
        }
    }
    const std::wstring prompt = L"Enter new value for " + name + L" <" + valueText(*current) + L">";
    for (;;) {
        auto typed = askText(ed, prompt.c_str());
        if (!typed)
            return;
        try {
            if (name == L"CLAYER" || name == L"CELTYPE")
                setTableVariable(*doc.database(), name, *typed);
            else
                app.sysVars().applyAssignment((name + L"=" + *typed).c_str(), doc.database());
            return;
        } catch (const OdError& e) {
            ed.printMessage(L"\n%s", errorText(e));
            // A profile that cannot be saved keeps the new value for the session, as it says.
            if (e.code() == eFileError)
                return;
        }
    }
}

// LAYER: options until Enter; each names a layer.
class LayerCommand {
public:
    explicit LayerCommand(HostDocument& doc) : m_ed(doc.editor()), m_db(*doc.database()) {}

    void run()
    {
        enum Option { kMake, kSet, kNew, kOn, kOff, kFreeze, kThaw, kLock, kUnlock, kColor };
        for (;;) {
            const InputResult r
                = m_ed.getKeyword(L"Enter an option [%s]", L"Make Set New ON OFF Freeze Thaw Lock Unlock Color");
            switch (r - kInputFirstKeyword) {
            case kMake: onMake(); break;
            case kSet: onSet(); break;
            case kNew: onNew(); break;
            case kOn: onOn(); break;
            case kOff: onOff(); break;
            case kFreeze: onFreeze(); break;
            case kThaw: onThaw(); break;
            case kLock: onLock(true); break;
            case kUnlock: onLock(false); break;
            case kColor: onColor(); break;
            default: return;
            }
        }
    }

private:
    void onMake()
    {
        auto name = askName(L"Enter name for new layer (becomes the current layer)");
        if (!name)
            return;
        OdDbObjectId id = layerId(*name);
        if (id.isNull())
            id = addLayer(*name);
        makeCurrent(id);
    }

    void onSet()
    {
        auto name = askText(m_ed, L"Enter layer name to make current");
        if (!name)
            return;
        if (OdDbObjectId id = existing(*name); !id.isNull())
            makeCurrent(id);
    }

    void onNew()
    {
        auto name = askName(L"Enter name for new layer");
        if (!name)
            return;
        if (!layerId(*name).isNull())
            m_ed.printMessage(L"\nLayer \"%s\" already exists.", *name);
        else
            addLayer(*name);
    }

    void onOn()
    {
        if (OdDbLayerTableRecordPtr layer = askLayer(L"Enter name of layer to turn on"))
            layer->setIsOff(false);
    }

    void onOff()
    {
        if (OdDbLayerTableRecordPtr layer = askLayer(L"Enter name of layer to turn off"))
            layer->setIsOff(true);
    }

    // Nothing drawn on the current layer would show if it were frozen.
    void onFreeze()
    {
        OdDbLayerTableRecordPtr layer = askLayer(L"Enter name of layer to freeze");
        if (!layer)
            return;
        if (layer->objectId() == m_db.getCLAYER())
            m_ed.printMessage(L"\nThe current layer cannot be frozen.");
        else
            layer->setIsFrozen(true);
    }

    void onThaw()
    {
        if (OdDbLayerTableRecordPtr layer = askLayer(L"Enter name of layer to thaw"))
            layer->setIsFrozen(false);
    }

    void onLock(bool lock)
    {
        if (OdDbLayerTableRecordPtr layer
            = askLayer(lock ? L"Enter name of layer to lock" : L"Enter name of layer to unlock"))
            layer->setIsLocked(lock);
    }

    void onColor()
    {
        const std::optional<OdCmColor> colour = askColor();
        if (!colour)
            return;
        const std::wstring current = OdDbLayerTableRecordPtr(m_db.getCLAYER().safeOpenObject())->getName().c_str();
        const std::wstring shown
            = colour->isByColor() ? colour->description().c_str() : std::to_wstring(colour->colorIndex());
        const std::wstring prompt = L"Enter name of layer for color " + shown + L" <" + current + L">";
        OdString typed;
        InputResult r = m_ed.getKeyword(prompt.c_str(), L"", kAcceptText, &typed);
        std::wstring name(InputSyntax::trim(typed.c_str()));
        if (r == kInputEmpty || (r == kInputText && name.empty()))
            name = current;
        else if (r != kInputText)
            return;
        if (OdDbObjectId id = existing(name); !id.isNull())
            OdDbLayerTableRecordPtr(id.safeOpenObject(OdDb::kForWrite))->setColor(*colour);
    }

    // A palette number, or a true colour after Truecolor; each asked again until it is one.
    std::optional<OdCmColor> askColor()
    {
        for (;;) {
            std::int32_t index = 0;
            const InputResult r = m_ed.getInteger(index, L"Enter color number (1-255) or [%s]", L"Truecolor");
            if (r == kInputFirstKeyword)
                return askTrueColor();
            if (r != kInputValue)
                return std::nullopt;
            if (index >= 1 && index <= 255)
                return OdCmColor::byIndex(static_cast<std::int16_t>(index));
            m_ed.printMessage(L"\nThe color number must be between 1 and 255.");
        }
    }

    std::optional<OdCmColor> askTrueColor()
    {
        for (;;) {
            auto text = askText(m_ed, L"Enter true color (R,G,B)");
            if (!text)
                return std::nullopt;
            OdCmColor colour;
            if (hostCmGetColorFromRGBName(text->c_str(), colour) == eOk)
                return colour;
            m_ed.printMessage(L"\nA true color is three whole numbers from 0 to 255, such as 255,128,0.");
        }
    }

    // The layer a name gives, open for write; null (and said) when there is none.
    OdDbLayerTableRecordPtr askLayer(const wchar_t* prompt)
    {
        auto name = askText(m_ed, prompt);
        if (!name)
            return {};
        const OdDbObjectId id = existing(*name);
        return id.isNull() ? OdDbLayerTableRecordPtr() : OdDbLayerTableRecordPtr(id.safeOpenObject(OdDb::kForWrite));
    }

    // A name for a new layer: characters that files and references reserve are refused.
    std::optional<std::wstring> askName(const wchar_t* prompt)
    {
        for (;;) {
            auto name = askText(m_ed, prompt);
            if (!name || name->find_first_of(L"<>/\\\":;?*|,=`") == std::wstring::npos)
                return name;
            m_ed.printMessage(L"\nA layer name cannot contain any of < > / \\ \" : ; ? * | , = `");
        }
    }

    OdDbObjectId layerId(const std::wstring& name) const
    {
        return OdDbLayerTablePtr(m_db.getLayerTableId().safeOpenObject())->getAt(name.c_str());
    }

    OdDbObjectId existing(const std::wstring& name)
    {
        OdDbObjectId id = layerId(name);
        if (id.isNull())
            m_ed.printMessage(L"\nNo layer named \"%s\".", name);
        return id;
    }

    OdDbObjectId addLayer(const std::wstring& name)
    {
        OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::createObject();
        layer->setName(name.c_str());
        layer->setLinetypeObjectId(m_db.getLinetypeContinuousId());
        OdDbLayerTablePtr table = m_db.getLayerTableId().safeOpenObject(OdDb::kForWrite);
        return table->add(layer.get());
    }

    // A frozen layer cannot be current: nothing drawn on it would show.
    void makeCurrent(OdDbObjectId id)
    {
        OdDbLayerTableRecordPtr layer = id.safeOpenObject();
        if (layer->isFrozen()) {
            m_ed.printMessage(L"\nLayer \"%s\" is frozen and cannot be made current.", layer->getName());
            return;
        }
        m_db.setCLAYER(id);
    }

    HostEditor& m_ed;
    OdDbDatabase& m_db;
};

// GROUP: named groups of the group dictionary; names are kept in capitals.
class GroupCommand {
public:
    explicit GroupCommand(HostDocument& doc) : m_doc(doc), m_ed(doc.editor()) {}

    void run()
    {
        InputResult r = m_ed.getKeyword(L"Enter a group option [%s]", L"Create Add Remove");
        if (r == kInputFirstKeyword)
            onCreate();
        else if (r == kInputFirstKeyword + 1)
            onAdd();
        else if (r == kInputFirstKeyword + 2)
            onRemove();
    }

private:
    void onCreate()
    {
        std::wstring name;
        for (;;) {
            auto typed = askText(m_ed, L"Enter group name");
            if (!typed)
                return;
            name = CommandRegistry::key(*typed);
            if (name.find_first_of(L"<>/\\\":;?*|,=`") != std::wstring::npos)
                m_ed.printMessage(L"\nA group name cannot contain any of < > / \\ \" : ; ? * | , = `");
            else if (dictionary()->has(name.c_str()))
                m_ed.printMessage(L"\nGroup \"%s\" already exists.", name);
            else
                break;
        }
        auto chosen = selectObjects(m_doc, kSelectNoGroups);
        if (!chosen)
            return;
        if (chosen->empty()) {
            m_ed.printMessage(L"\nNothing selected; no group created.");
            return;
        }
        OdDbGroupPtr group = OdDbGroup::createObject();
        OdDbDictionaryPtr(dictionary(OdDb::kForWrite))->setAt(name.c_str(), group.get());
        for (OdDbObjectId id : *chosen)
            group->append(id);
        m_ed.printMessage(L"\nGroup \"%s\" created with %d objects.", name, static_cast<int>(chosen->size()));
    }

    void onAdd()
    {
        OdDbGroupPtr group = askGroup();
        if (!group)
            return;
        auto chosen = selectObjects(m_doc, kSelectNoGroups);
        if (!chosen)
            return;
        int added = 0;
        for (OdDbObjectId id : *chosen) {
            if (!group->has(id)) {
                group->append(id);
                ++added;
            }
        }
        m_ed.printMessage(L"\n%d added to group \"%s\", %d in all.", added, group->name(),
                          static_cast<int>(group->numEntities()));
    }

    void onRemove()
    {
        OdDbGroupPtr group = askGroup();
        if (!group)
            return;
        auto chosen = selectObjects(m_doc, kSelectNoGroups);
        if (!chosen)
            return;
        const auto removed
            = std::count_if(chosen->begin(), chosen->end(), [&](OdDbObjectId id) { return group->remove(id); });
        m_ed.printMessage(L"\n%d removed from group \"%s\", %d left.", static_cast<int>(removed), group->name(),
                          static_cast<int>(group->numEntities()));
    }

    // An existing group, open for write; asked again while no group has the name.
    OdDbGroupPtr askGroup()
    {
        for (;;) {
            auto typed = askText(m_ed, L"Enter group name");
            if (!typed)
                return OdDbGroupPtr();
            OdDbObjectId id = dictionary()->getAt(typed->c_str());
            if (!id.isNull())
                return id.safeOpenObject(OdDb::kForWrite);
            m_ed.printMessage(L"\nNo group named \"%s\".", CommandRegistry::key(*typed));
        }
    }

    OdDbDictionaryPtr dictionary(OdDb::OpenMode mode = OdDb::kForRead)
    {
        return m_doc.database()->getGroupDictionaryId(true).safeOpenObject(mode);
    }

    HostDocument& m_doc;
    HostEditor& m_ed;
};

// UCS: a new origin, three points, a turn about the Z axis, or the world system. The points and
// the angle are read in the UCS as it stands; the UCS belongs to the document and stays as it
// was when the user ends a request.
void ucsOrigin(HostDocument& doc)
{
    OdGePoint3d origin, previousOrigin;
    if (doc.editor().getPoint(nullptr, origin, L"Specify new origin point") != kInputValue)
        return;
    OdGeVector3d x, y, z;
    doc.ucs().getCoordSystem(previousOrigin, x, y, z);
    doc.setUcs(OdGeMatrix3d().setCoordSystem(origin, x, y, z));
}

void ucsThreePoints(HostDocument& doc)
{
    HostEditor& ed = doc.editor();
    OdGePoint3d origin, onX, onY;
    if (ed.getPoint(nullptr, origin, L"Specify new origin point") != kInputValue)
        return;
    for (;;) {
        if (ed.getPoint(&origin, onX, L"Specify point on positive portion of X-axis", nullptr, kRubberBand)
            != kInputValue)
            return;
        if (!onX.isEqualTo(origin))
            break;
        ed.printMessage(L"\nThe point must differ from the origin.");
    }
    const OdGeVector3d x = (onX - origin).normal();
    OdGeVector3d z;
    for (;;) {
        if (ed.getPoint(&origin, onY, L"Specify point on positive-Y portion of the UCS XY plane", nullptr, kRubberBand)
            != kInputValue)
            return;
        z = x.crossProduct(onY - origin);
        if (!z.isZeroLength())
            break;
        ed.printMessage(L"\nThe point lies on the X axis.");
    }
    z = z.normal();
    doc.setUcs(OdGeMatrix3d().setCoordSystem(origin, x, z.crossProduct(x), z));
}

// Z: the X and Y axes turned about the Z axis, counter-clockwise seen from above.
void ucsTurnAboutZ(HostDocument& doc)
{
    OdGePoint3d origin;
    OdGeVector3d x, y, z;
    doc.ucs().getCoordSystem(origin, x, y, z);
    double angle = std::numbers::pi / 2.0;
    const InputResult r = doc.editor().getAngle(&origin, angle, L"Specify rotation angle about Z axis <90>");
    if (r != kInputValue && r != kInputEmpty)
        return;
    const double c = std::cos(angle), s = std::sin(angle);
    doc.setUcs(OdGeMatrix3d().setCoordSystem(origin, x * c + y * s, y * c - x * s, z));
}

void ucsCommand(HostDocument& doc)
{
    switch (doc.editor().getKeyword(L"Enter an option [%s] <World>", L"Origin 3point Z World")) {
    case kInputFirstKeyword: ucsOrigin(doc); break;
    case kInputFirstKeyword + 1: ucsThreePoints(doc); break;
    case kInputFirstKeyword + 2: ucsTurnAboutZ(doc); break;
    case kInputFirstKeyword + 3:
    case kInputEmpty: doc.setUcs(OdGeMatrix3d::kIdentity); break;
    default: break;
    }
    OdGePoint3d origin;
    OdGeVector3d x, y, z;
    doc.ucs().getCoordSystem(origin, x, y, z);
    auto text
        = [](const OdGeVector3d& v) { return formatNumber(v.x) + L"," + formatNumber(v.y) + L"," + formatNumber(v.z); };
    doc.editor().printMessage(L"\nUCS origin %s, X axis %s, Z axis %s (world coordinates)",
                              text(origin - OdGePoint3d::kOrigin), text(x), text(z));
}

} // namespace

void registerSettingsCommands(CommandRegistry& registry)
{
    registry.addHostCommand(L"SETVAR", setvarCommand);
    registry.addHostCommand(L"LAYER", [](HostDocument& doc) { LayerCommand(doc).run(); });
    registry.addHostCommand(L"GROUP", [](HostDocument& doc) { GroupCommand(doc).run(); });
    registry.addHostCommand(L"UCS", ucsCommand);
}

} // namespace vantrel
