// A document: its command line, the state the user sees around the drawing (transient graphics,
// the visible area, the UCS, the previous selection) and whether the drawing changed since it
// was saved, counted from the database's change notifications.
#include <vantrel/host/HostDocument.h>

#include <algorithm>

#include <vantrel/db/OdError.h>
#include <vantrel/host/HostApplication.h>

#include "select/SelectionRequest.h"

class HostDocument::ChangeCounter : public vantrel::DatabaseListener {
public:
    ChangeCounter(OdDbDatabase& db, std::uint64_t& changes) : m_db(db), m_changes(changes) { m_db.addListener(this); }
    ~ChangeCounter() override { m_db.removeListener(this); }
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;

    void objectAppended(OdDbObjectId) override { ++m_changes; }
    void objectModified(OdDbObjectId) override { ++m_changes; }
    void objectErased(OdDbObjectId, bool) override { ++m_changes; }
    void sysVarChanged(const OdString&) override { ++m_changes; }

private:
    OdDbDatabase& m_db;
    std::uint64_t& m_changes;
};

HostDocument::HostDocument(HostApplication& application, OdDbDatabasePtr db)
    : m_app(application), m_db(std::move(db)), m_engine(application.inputSource(), application.transcript()),
      m_editor(m_engine), m_counter(std::make_unique<ChangeCounter>(*m_db, m_changes))
{
}

HostDocument::~HostDocument() = default;

void HostDocument::noteSaved(const std::wstring& path)
{
    m_fileName = path;
    m_lastSavedTo = path;
    m_changesAtSave = m_changes;
}

InputResult HostDocument::getSelection(hostSelectionSet& set, const wchar_t* prompt, const wchar_t* keywords,
                                       std::uint32_t flags)
{
    if (set.database() != m_db.get())
        throw OdError(eWrongDatabase, "the selection set belongs to another drawing");
    return vantrel::SelectionRequest(*this, set, flags).run(prompt, keywords);
}

void HostDocument::clearHighlights()
{
    for (OdDbObjectId id : m_highlighted)
        if (OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get()))
            entity->highlight(false);
    m_highlighted.clear();
}

bool HostDocument::addTransient(OdDbEntity* entity)
{
    if (!entity)
        throw OdError(eNullObjectPointer, "a transient needs an entity");
    ++m_transientAdds;
    auto shown = std::find_if(m_transients.begin(), m_transients.end(),
                              [entity](const OdDbEntityPtr& e) { return e.get() == entity; });
    if (shown != m_transients.end())
        return false;
    m_transients.emplace_back(entity);
    return true;
}

bool HostDocument::removeTransient(OdDbEntity* entity)
{
    ++m_transientRemoves;
    auto shown = std::find_if(m_transients.begin(), m_transients.end(),
                              [entity](const OdDbEntityPtr& e) { return e.get() == entity; });
    if (shown == m_transients.end())
        return false;
    m_transients.erase(shown);
    return true;
}

std::vector<const OdDbEntity*> HostDocument::transients() const
{
    std::vector<const OdDbEntity*> out;
    out.reserve(m_transients.size());
    for (const OdDbEntityPtr& e : m_transients)
        out.push_back(e.get());
    return out;
}

double HostDocument::pickDistance()
{
    OdGeExtents3d view = viewExtents();
    if (!view.isValidExtents())
        return 1.0;
    double side = std::max(view.maxPoint().x - view.minPoint().x, view.maxPoint().y - view.minPoint().y);
    return side > 0.0 ? 0.01 * side : 1.0;
}
