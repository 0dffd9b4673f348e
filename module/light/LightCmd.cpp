// Placing a light: the model-space check, the location prompts with the light following the
// cursor, the option loop of the light's type, and the append under its default name.
#include "light/LightCmd.h"

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdResBuf.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/hxicore/ResTranslation.h>

#include "frame/host_binding.h"
#include "frame/module_instance.h"
#include "light/LightOptions.h"
#include "light/LightTracker.h"
#include "light/LightVocabulary.h"

namespace {

// Requests of the placement prompts: the light's location, and the points asked from a base.
constexpr InputFlags kLocationFlags = kAcceptEmpty;
constexpr InputFlags kFromBaseFlags = 12;

// A prompt whose default is the point an empty answer gives (a world point), shown in the UCS
// that answers are typed in.
CXStringW pointPrompt(HostEditor& editor, unsigned id, const OdGePoint3d& onEnter)
{
    const OdGePoint3d shown = editor.engine().ucs().fromWorld(onEnter);
    CXStringW text;
    text.Format(vantrel::loadResource(id), shown.x, shown.y, shown.z);
    return text;
}

} // namespace

bool LightCmd::isModelSpaceActive(OdDbDatabase* db)
{
    return db->currentSpaceId() == db->getModelSpaceId() || db->getSysVar(L"CVPORT")->getInt32() > 1;
}

int LightCmd::RunWithArgument(int /*argument*/) { return 1; }

int LightCmd::Run(int argument)
{
    HostDocument* document = vantrel::commandDocument();
    if (!document)
        return 1;
    OdDbDatabasePtr db(document->database());
    if (!isModelSpaceActive(db.get())) {
        document->editor().printMessage(L"%s", Supp_Translate(L"\nCommand only valid in Model space"));
        return 1;
    }
    if (argument != 0)
        return RunWithArgument(argument);

    m_light = OdDbLight::createObject();
    setUpLight();
    m_editor = &document->editor();

    const bool placed = m_light->lightType() == OdGiDrawable::kDistantLight ? askDirection() : askLocation();
    if (!placed)
        return 1;
    if (LightOptions(*m_editor, *m_light, db.get()).run() == LightOptions::Outcome::kCancelled)
        return 1;
    return postLight(db.get());
}

void LightCmd::setUpLight()
{
    switch (m_mode) {
    case kDistantLightMode:
        m_light->setLightType(OdGiDrawable::kDistantLight);
        m_light->setHasTarget(false);
        break;
    case kPointLightMode:
    case kTargetPointMode:
        m_light->setLightType(OdGiDrawable::kPointLight);
        m_light->setHasTarget(m_mode == kTargetPointMode);
        break;
    case kSpotLightMode:
    case kFreeSpotMode:
        m_light->setLightType(OdGiDrawable::kSpotLight);
        m_light->setHasTarget(m_mode == kSpotLightMode);
        break;
    case kWebLightMode:
    case kFreeWebMode:
        m_light->setLightType(OdGiDrawable::kWebLight);
        m_light->setHasTarget(m_mode == kWebLightMode);
        break;
    }
}

bool LightCmd::askLocation()
{
    LightTracker locationTracker(m_light, LightTracker::kMovePosition);
    OdGePoint3d source;
    OdString text;
    switch (m_editor->getPoint(nullptr, source, pointPrompt(*m_editor, kSourcePrompt, OdGePoint3d()), nullptr,
                               kLocationFlags, &text, &locationTracker)) {
    case kInputValue: break;
    case kInputEmpty: source = OdGePoint3d(); break;
    default: return false;
    }
    m_light->setPosition(source);
    if (!m_light->hasTarget())
        return true;

    LightTracker targetTracker(m_light, LightTracker::kMoveTarget);
    OdGePoint3d target;
    const OdGePoint3d below(source.x, source.y, kDefaultTargetZ);
    switch (m_editor->getPoint(&source, target, pointPrompt(*m_editor, kTargetPrompt, below), nullptr, kFromBaseFlags,
                               &text, &targetTracker)) {
    case kInputValue: m_light->setTargetLocation(target); break;
    case kInputEmpty: m_light->setTargetLocation(below); break;
    default:
        // Esc keeps the light, aimed straight down from the origin.
        m_light->setTargetLocation(OdGePoint3d(0.0, 0.0, kDefaultTargetZ));
        break;
    }
    return true;
}

bool LightCmd::askDirection()
{
    OdGePoint3d from;
    OdString text;
    switch (m_editor->getPoint(nullptr, from, pointPrompt(*m_editor, kDirectionFromPrompt, OdGePoint3d()), nullptr,
                               kLocationFlags, &text, nullptr)) {
    case kInputCancel: return false;
    case kInputEmpty: from = OdGePoint3d(); break;
    case kInputValue: break;
    default: return true; // nothing to aim from
    }
    m_light->setPosition(from);

    OdGePoint3d to;
    const OdGePoint3d defaultTo(1.0, 1.0, 1.0);
    switch (m_editor->getPoint(&from, to, pointPrompt(*m_editor, kDirectionToPrompt, defaultTo), nullptr,
                               kFromBaseFlags, &text, nullptr)) {
    case kInputValue: m_light->setTargetLocation(to); break;
    case kInputEmpty: m_light->setTargetLocation(defaultTo); break;
    default: break; // Esc keeps the target the light has
    }
    return true;
}

int LightCmd::postLight(OdDbDatabase* db)
{
    if (m_light->name().isEmpty())
        m_light->setName(makeDefaultLightName(db, m_light->lightType()));
    const int outer = db->numActiveTransactions();
    db->startTransaction();
    OdDbBlockTableRecordPtr modelSpace = db->getModelSpaceId().openObject(OdDb::kForWrite);
    if (modelSpace.isNull()) {
        while (db->numActiveTransactions() > outer)
            db->abortTransaction();
        return 1;
    }
    m_light->setDatabaseDefaults(db, false);
    modelSpace->appendOdDbEntity(m_light.get());
    while (db->numActiveTransactions() > outer)
        db->endTransaction();
    m_light.release();
    m_editor = nullptr;
    return 0;
}
