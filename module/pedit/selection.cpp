// How PEdit's objects are chosen: one pick (with PICKSTYLE 2 meanwhile, so that groups are not
// picked as a whole) or "Multiple" with its running report; each object taken as it is,
// converted into a polyline, or refused.
#include <set>
#include <unordered_set>

#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbGroup.h>
#include <vantrel/db/OdError.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/hostSelectionSet.h>
#include <vantrel/host/hostutils.h>

#include "frame/AlpCmdUtils.h"
#include "frame/command_exception.h"
#include "frame/host_binding.h"
#include "frame/module_instance.h"
#include "pedit/CPeditCmd.h"

namespace {

// The answers of the single pick's keyword "Multiple" and the Multiple selection's "End".
constexpr InputResult kMultiple = kInputFirstKeyword;
constexpr InputResult kEnd = kInputFirstKeyword;
// What selectObjectsCounted answers when the user ended it with objects chosen.
constexpr InputResult kChosen = kInputFirstKeyword;

// PICKSTYLE 2 while it lives, the value before afterwards; a value that cannot be read is left
// alone.
class PickStyleForOnePick {
public:
    explicit PickStyleForOnePick(OdDbDatabase* db) : m_db(db)
    {
        HostApplication* application = vantrel::hostApplication();
        if (!application)
            return;
        try {
            m_saved = application->getSysVar(L"PICKSTYLE", db)->getInt16();
        } catch (const OdError&) {
            return;
        }
        set(2);
    }
    ~PickStyleForOnePick()
    {
        if (m_saved)
            set(*m_saved);
    }
    PickStyleForOnePick(const PickStyleForOnePick&) = delete;
    PickStyleForOnePick& operator=(const PickStyleForOnePick&) = delete;

private:
    void set(std::int16_t value)
    {
        if (HostApplication* application = vantrel::hostApplication())
            application->setSysVar(L"PICKSTYLE", OdResBuf::newRb(70, std::int32_t(value)).get(), m_db);
    }

    OdDbDatabase* m_db;
    std::optional<std::int16_t> m_saved;
};

void unhighlight(const std::vector<OdDbObjectId>& ids)
{
    for (const OdDbObjectId id : ids)
        if (const OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get()))
            entity->highlight(false);
}

CXStringW formatted(unsigned resource, int value)
{
    CXStringW text;
    text.Format(vantrel::loadResource(resource), value);
    return text;
}

} // namespace

InputResult CPeditCmd::SelectPolylines()
{
    try {
        hostSelectionSetPtr set = hostSelectionSet::createObject(m_database.get());
        CXStringW prompt = vantrel::loadResource(kSelectPrompt);
        for (std::uint32_t flags = kFirstPickFlags;; flags = kLaterPickFlags) {
            m_conversionAsked = 0;
            m_kindFlags = 0;
            m_selectedIds.clear();
            set->clear();
            const InputResult picked = pickOne(*set, prompt, flags);
            prompt = vantrel::loadResource(kSelectPrompt);
            if (picked == kInputEmpty)
                continue;
            if (picked == kMultiple) {
                const InputResult multiple = selectMultiple(prompt);
                if (multiple == kInputValue || multiple == kInputCancel || multiple == kInputEmpty)
                    return multiple;
                continue;
            }
            if (picked != kInputValue)
                return picked;
            if (set->isEmpty())
                continue;
            const OdDbObjectId id = set->objectIds().front();
            {
                const OdDbEntityPtr entity = id.safeOpenObject();
                if (entity->ownerId() != getActiveBTRId(entity->database()))
                    return kInputCancel;
                entity->highlight(false);
            }
            OdDbObjectId accepted;
            const TryConvertResult taken = Open_TryConvert(id, accepted, true, true, true);
            if (taken == kCancelled)
                return kInputCancel;
            if (taken == kAccepted) {
                m_selectedIds.push_back(accepted);
                return kInputValue;
            }
        }
    } catch (...) {
        showCommandException(L"CPeditCmd::SelectPolylines");
        return kInputCancel;
    }
}

InputResult CPeditCmd::pickOne(hostSelectionSet& set, const CXStringW& prompt, std::uint32_t flags)
{
    const PickStyleForOnePick pickStyle(m_database.get());
    return m_document->getSelection(set, prompt, vantrel::loadResource(kMultipleKeyword), flags);
}

InputResult CPeditCmd::selectMultiple(CXStringW& nextPrompt)
{
    std::vector<OdDbObjectId> chosen;
    const InputResult selected = selectObjectsCounted(chosen, false);
    if (selected != kChosen)
        return selected == kInputEmpty ? kInputEmpty : kInputCancel;

    // Conversions made for a selection that is not taken in the end are taken back.
    OdDbTransactionScope conversions(*m_database);
    bool ask = true;
    bool cancelled = false;
    for (const OdDbObjectId id : chosen) {
        OdDbObjectId accepted;
        const TryConvertResult taken = Open_TryConvert(id, accepted, ask, false, m_conversionAsked == 0);
        if (taken == kCancelled) {
            cancelled = true;
            break;
        }
        if (taken == kDeclined) {
            ask = false;
            m_kindFlags &= ~(kArc | kLine);
        }
        if (taken == kAccepted)
            m_selectedIds.push_back(accepted);
    }
    const bool meshAmongOthers = (m_kindFlags & kPolygonMesh) && (m_kindFlags & ~kPolygonMesh);
    if (m_selectedIds.empty() || cancelled || meshAmongOthers) {
        conversions.abort();
        if (m_selectedIds.empty())
            printResource(kNoValidObjectsMessage);
        else if (!cancelled)
            nextPrompt = vantrel::loadResource(kMeshAndPolylinePrefix) + L" " + vantrel::loadResource(kSelectPrompt);
        return kMultiple;
    }
    conversions.commit();
    if (m_selectedIds.size() > 1)
        m_kindFlags |= kMultipleMode;
    return kInputValue;
}

InputResult CPeditCmd::selectObjectsCounted(std::vector<OdDbObjectId>& chosen, bool parallelCheck)
{
    // Groups are counted, never created: a drawing without groups has nothing to count.
    const OdDbDictionaryPtr groups = OdDbDictionary::cast(m_database->getGroupDictionaryId(false).openObject().get());
    hostSelectionSetPtr set = hostSelectionSet::createObject(m_database.get());
    const CXStringW prompt = vantrel::loadResource(kSelectObjectsPrompt);
    const CXStringW keywords = vantrel::loadResource(kEndKeywords);
    // What is chosen already, for the duplicate count of large selections.
    std::unordered_set<OdDbObjectId> chosenSet(chosen.begin(), chosen.end());
    for (;;) {
        const InputResult result = m_document->getSelection(*set, prompt, keywords, kMultipleFlags);
        if (result == kEnd || (result == kInputEmpty && set->isEmpty() && !chosen.empty()))
            break;
        if (result == kInputCancel) {
            unhighlight(chosen);
            return kInputCancel;
        }
        int duplicates = 0;
        int notParallel = 0;
        std::set<OdDbObjectId> groupsHit;
        for (const OdDbObjectId id : set->objectIds()) {
            const OdDbEntityPtr entity = id.safeOpenObject();
            if (chosenSet.contains(id)) {
                ++duplicates;
            } else if (parallelCheck && !AlpCmdUtils::curveParallelTo(entity, m_workPlane.get())) {
                ++notParallel;
                entity->highlight(false);
            } else {
                chosen.push_back(id);
                chosenSet.insert(id);
            }
            if (groups) {
                for (const OdDbDictionary::Entry& entry : groups->entries()) {
                    const OdDbGroupPtr group = OdDbGroup::cast(entry.id.openObject().get());
                    if (group && group->has(id))
                        groupsHit.insert(entry.id);
                }
            }
        }
        CXStringW report = formatted(kFoundFormat, static_cast<int>(set->numEntities()));
        if (duplicates > 0)
            report += formatted(kDuplicateFormat, duplicates);
        if (!groupsHit.empty())
            report += formatted(kGroupsFormat, static_cast<int>(groupsHit.size()));
        report += formatted(kTotalFormat, static_cast<int>(chosen.size()));
        m_document->editor().printMessage(L"\n%s", report);
        if (notParallel == 1)
            printResource(kOneNotParallelMessage);
        else if (notParallel > 1)
            m_document->editor().printMessage(L"\n%s", formatted(kNotParallelFormat, notParallel));
        if (result != kInputValue)
            return result;
    }
    unhighlight(chosen);
    return kChosen;
}

CPeditCmd::TryConvertResult CPeditCmd::Open_TryConvert(OdDbObjectId id, OdDbObjectId& out, bool askAboutConversion,
                                                       bool singlePick, bool mayAsk)
{
    try {
        const std::uint32_t kind = classifyObject(id.safeOpenObject().get());
        switch (kind) {
        case 0:
            if (singlePick)
                printResource(kNotAPolylineMessage);
            return kUnusable;
        case kLwPolyline:
        case kPolyline2d:
        case kPolyline3d:
        case kPolygonMesh:
            m_kindFlags |= kind;
            out = id;
            return kAccepted;
        default: return askAboutConversion ? TryConvertToPolyline(id, out, singlePick, mayAsk) : kUnusable;
        }
    } catch (...) {
        showCommandException(L"CPeditCmd::Open_TryConvert");
        return kUnusable;
    }
}
