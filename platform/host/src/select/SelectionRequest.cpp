// The selection request: parses one selection form, finds the entities by their shape, and
// applies what the request's flags and PICKSTYLE say before handing the set back.
#include "select/SelectionRequest.h"

#include <algorithm>
#include <unordered_set>

#include <vantrel/db/LayerVisibility.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbGroup.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/UserCoordinateSystem.h>
#include <vantrel/host/hostSelectionSet.h>
#include <vantrel/host/hostutils.h>

#include "select/EntityHitTest.h"

namespace vantrel {

namespace {

constexpr const wchar_t* kInvalid = L"Invalid selection: give a point, W, C, ALL, L, P or H.";
constexpr const wchar_t* kInvalidOrKeyword = L"Invalid selection: give a point, W, C, ALL, L, P, H or a keyword.";

std::vector<std::wstring_view> words(std::wstring_view text)
{
    std::vector<std::wstring_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
            ++i;
        std::size_t start = i;
        while (i < text.size() && text[i] != L' ' && text[i] != L'\t')
            ++i;
        if (i > start)
            out.push_back(text.substr(start, i - start));
    }
    return out;
}

bool sameWord(std::wstring_view a, std::wstring_view upper)
{
    return a.size() == upper.size() && std::equal(a.begin(), a.end(), upper.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(static_cast<std::wint_t>(x)) == static_cast<std::wint_t>(y);
           });
}

bool onLockedLayer(const OdDbEntity& entity)
{
    OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::cast(entity.layerId().openObject().get());
    return layer && layer->isLocked();
}

std::wstring count(std::size_t n, const wchar_t* one, const wchar_t* many)
{
    return n == 1 ? std::wstring(one) : std::to_wstring(n) + many;
}

} // namespace

SelectionRequest::SelectionRequest(HostDocument& doc, hostSelectionSet& set, std::uint32_t flags)
    : m_doc(doc), m_set(set), m_flags(flags)
{
}

InputResult SelectionRequest::run(const wchar_t* prompt, const wchar_t* keywords)
{
    m_set.clear();
    m_keywords = keywords ? KeywordList::parse(keywords) : KeywordList();
    InputEngine::Request request;
    request.prompt = HostEditor::promptText(prompt, keywords);
    request.selection = true;
    request.onText = [this](std::wstring_view typed) { return onText(typed); };
    request.onPoint = [this](const OdGePoint3d& p) { return pick(p); };
    return m_doc.engine().run(request);
}

SelectionRequest::Reply SelectionRequest::onText(std::wstring_view typed)
{
    if (const KeywordList::Keyword* k = m_keywords.match(typed))
        return Reply::of(k->result);
    std::vector<std::wstring_view> w = words(typed);
    const std::wstring_view first = w.front();
    std::span<const std::wstring_view> rest(w.begin() + 1, w.end());
    if (sameWord(first, L"W") || sameWord(first, L"C"))
        return window(rest, sameWord(first, L"C"));
    if (sameWord(first, L"H")) {
        if (rest.empty())
            return Reply::refuse(L"Give the handles after H: H HANDLE[,HANDLE...].");
        return handles(InputSyntax::trim(typed).substr(1));
    }
    if (rest.empty()) {
        if (sameWord(first, L"ALL"))
            return choose(candidates());
        if (sameWord(first, L"L"))
            return last();
        if (sameWord(first, L"P"))
            return previous();
    }
    if (auto p = m_doc.engine().ucs().typedPoint(typed, m_doc.engine().lastPoint())) {
        m_doc.engine().setLastPoint(*p);
        return pick(*p);
    }
    return Reply::refuse(m_keywords.empty() ? kInvalid : kInvalidOrKeyword);
}

const std::vector<OdDbObjectId>& SelectionRequest::candidates()
{
    if (m_candidatesKnown)
        return m_candidates;
    m_candidatesKnown = true;
    OdDbBlockTableRecordPtr space = getActiveBTRId(m_doc.database()).safeOpenObject();
    std::vector<OdDbObjectId> order;
    if (OdDbSortentsTablePtr sortents = space->getSortentsTable(false)) {
        order = sortents->drawOrder();
    } else {
        for (OdDbObjectIteratorPtr it = space->newIterator(); !it->done(); it->step())
            order.push_back(it->objectId());
    }
    for (OdDbObjectId id : order) {
        OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get());
        if (entity && entity->visibility() == OdDb::kVisible && layerShown(entity->layerId()))
            m_candidates.push_back(id);
    }
    return m_candidates;
}

bool SelectionRequest::isCandidate(OdDbObjectId id)
{
    const auto& all = candidates();
    return std::find(all.begin(), all.end(), id) != all.end();
}

SelectionRequest::Reply SelectionRequest::pick(const OdGePoint3d& point)
{
    const double reach = m_doc.pickDistance();
    const OdGePoint2d at(point.x, point.y);
    const auto& all = candidates();
    // The topmost entity within reach: the last in draw order.
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        OdDbEntityPtr entity = OdDbEntity::cast(it->openObject().get());
        if (EntityHitTest(*entity).distanceTo(at) <= reach)
            return choose({*it});
    }
    return choose({});
}

SelectionRequest::Reply SelectionRequest::window(std::span<const std::wstring_view> corners, bool crossing)
{
    OdGePoint3d a, b;
    if (corners.size() == 2) {
        const UserCoordinateSystem& ucs = m_doc.engine().ucs();
        auto pa = ucs.typedPoint(corners[0], m_doc.engine().lastPoint());
        auto pb = pa ? ucs.typedPoint(corners[1], *pa) : std::nullopt;
        if (!pa || !pb)
            return Reply::refuse(L"Invalid point.");
        a = *pa;
        b = *pb;
        m_doc.engine().setLastPoint(b);
    } else if (corners.empty()) {
        InputResult r = m_doc.editor().getPoint(nullptr, a, L"Specify first corner");
        if (r == kInputValue)
            r = m_doc.editor().getPoint(&a, b, L"Specify opposite corner");
        if (r == kInputCancel)
            return Reply::of(kInputCancel);
        if (r != kInputValue)
            return Reply::refuse(L"No window was given.");
    } else {
        return Reply::refuse(L"A window needs two corners: W X1,Y1 X2,Y2.");
    }
    const EntityHitTest::Window box({a.x, a.y}, {b.x, b.y});
    std::vector<OdDbObjectId> found;
    for (OdDbObjectId id : candidates()) {
        OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get());
        EntityHitTest hit(*entity);
        if (crossing ? hit.crossesWindow(box) : hit.insideWindow(box))
            found.push_back(id);
    }
    return choose(std::move(found));
}

SelectionRequest::Reply SelectionRequest::handles(std::wstring_view list)
{
    std::vector<OdDbObjectId> found;
    std::wstring item;
    auto take = [&]() -> std::optional<Reply> {
        if (item.empty())
            return std::nullopt;
        OdDbHandle handle;
        std::string ascii(item.begin(), item.end());
        bool plain = std::all_of(item.begin(), item.end(), [](wchar_t c) { return c < 128; });
        if (!plain || !handle.fromAscii(ascii))
            return Reply::refuse(L"Invalid handle \"" + item + L"\".");
        OdDbObjectId id = m_doc.database()->getOdDbObjectId(handle);
        if (id.isNull() || id.isErased() || !isCandidate(id))
            return Reply::refuse(L"No entity of the current space has handle " + item + L".");
        found.push_back(id);
        item.clear();
        return std::nullopt;
    };
    for (wchar_t c : list) {
        if (c == L',' || c == L' ' || c == L'\t') {
            if (auto refusal = take())
                return *refusal;
        } else {
            item.push_back(c);
        }
    }
    if (auto refusal = take())
        return *refusal;
    return choose(std::move(found));
}

SelectionRequest::Reply SelectionRequest::last()
{
    const auto& all = candidates();
    // The most recently appended: the highest handle, whatever the draw order says.
    auto newest = std::max_element(all.begin(), all.end(),
                                   [](OdDbObjectId a, OdDbObjectId b) { return a.getHandle() < b.getHandle(); });
    if (newest == all.end())
        return Reply::refuse(L"There is no entity in the current space.");
    return choose({*newest});
}

SelectionRequest::Reply SelectionRequest::previous()
{
    std::vector<OdDbObjectId> ids;
    for (OdDbObjectId id : m_doc.previousSelection())
        if (!id.isErased() && isCandidate(id))
            ids.push_back(id);
    if (ids.empty())
        return Reply::refuse(L"There is no previous selection.");
    return choose(std::move(ids));
}

std::vector<OdDbObjectId> SelectionRequest::withGroups(const std::vector<OdDbObjectId>& ids)
{
    if (m_flags & kSelectNoGroups)
        return ids;
    std::int16_t pickStyle = m_doc.application().getSysVar(L"PICKSTYLE", m_doc.database())->getInt16();
    if (pickStyle != 1 && pickStyle != 3)
        return ids;
    OdDbDictionaryPtr groups = OdDbDictionary::cast(m_doc.database()->getGroupDictionaryId(false).openObject().get());
    if (!groups)
        return ids;
    std::vector<OdDbGroupPtr> selectable;
    for (const OdDbDictionary::Entry& e : groups->entries()) {
        OdDbGroupPtr group = OdDbGroup::cast(e.id.openObject().get());
        if (group && group->isSelectable())
            selectable.push_back(group);
    }
    std::vector<OdDbObjectId> out;
    std::unordered_set<OdDbObjectId> seen;
    auto add = [&](OdDbObjectId id) {
        if (seen.insert(id).second)
            out.push_back(id);
    };
    for (OdDbObjectId id : ids) {
        add(id);
        for (const OdDbGroupPtr& group : selectable) {
            if (!group->has(id))
                continue;
            for (OdDbObjectId member : group->allEntityIds())
                if (isCandidate(member))
                    add(member);
        }
    }
    return out;
}

SelectionRequest::Reply SelectionRequest::choose(std::vector<OdDbObjectId> ids)
{
    std::size_t locked = 0;
    auto rejectLocked = [&](std::vector<OdDbObjectId>& list) {
        if (!(m_flags & kSelectRejectLocked))
            return;
        std::erase_if(list, [&](OdDbObjectId id) {
            bool out = onLockedLayer(*OdDbEntityPtr(id.safeOpenObject()));
            locked += out ? 1 : 0;
            return out;
        });
    };
    rejectLocked(ids);
    if ((m_flags & kSelectSingle) && ids.size() > 1)
        ids.resize(1);
    // Group members on locked layers are left out as well.
    std::vector<OdDbObjectId> members = withGroups(ids);
    rejectLocked(members);
    for (OdDbObjectId id : members) {
        m_set.append(id);
        OdDbEntityPtr(id.safeOpenObject())->highlight(true);
        m_doc.noteHighlighted(id);
    }
    if (locked > 0)
        m_doc.editor().printMessage(L"\n%s on a locked layer.", count(locked, L"1 was", L" were"));
    m_doc.setPreviousSelection(m_set.objectIds());
    return Reply::of(kInputValue);
}

} // namespace vantrel
