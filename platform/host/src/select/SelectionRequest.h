// The document's selection request: one selection (a pick, W, C, ALL, L, P or H) or a keyword,
// then the flags' filters, PICKSTYLE's groups, highlighting, and the previous selection.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include <vantrel/db/OdDbObjectId.h>
#include <vantrel/host/InputEngine.h>
#include <vantrel/host/KeywordList.h>

class HostDocument;
class hostSelectionSet;

namespace vantrel {

class SelectionRequest {
public:
    SelectionRequest(HostDocument& doc, hostSelectionSet& set, std::uint32_t flags);

    InputResult run(const wchar_t* prompt, const wchar_t* keywords);

private:
    using Reply = InputEngine::Reply;

    Reply onText(std::wstring_view typed);
    Reply pick(const OdGePoint3d& point);
    Reply window(std::span<const std::wstring_view> corners, bool crossing);
    Reply handles(std::wstring_view list);
    Reply last();
    Reply previous();
    // Applies the flags, the groups and the highlight; the set gets the result.
    Reply choose(std::vector<OdDbObjectId> ids);

    // Entities of the active space that are shown, bottom of the draw order first.
    const std::vector<OdDbObjectId>& candidates();
    bool isCandidate(OdDbObjectId id);
    std::vector<OdDbObjectId> withGroups(const std::vector<OdDbObjectId>& ids);

    HostDocument& m_doc;
    hostSelectionSet& m_set;
    std::uint32_t m_flags;
    KeywordList m_keywords;
    std::vector<OdDbObjectId> m_candidates;
    bool m_candidatesKnown = false;
};

} // namespace vantrel
