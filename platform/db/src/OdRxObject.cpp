// Class descriptions and their registry, and the error raised by failed checked casts.
#include <vantrel/db/OdError.h>
#include <vantrel/db/OdRxObject.h>

#include <unordered_map>

namespace {
struct Registry {
    std::unordered_map<std::string, const OdRxClass*> byName;
    std::unordered_map<std::string, const OdRxClass*> byDxfName;
    std::size_t described = 0;
};
Registry& registry()
{
    static Registry r;
    return r;
}
} // namespace

OdRxClass::OdRxClass(const char* name, const char* dxfName, const OdRxClass* parent, Creator creator)
    : m_name(name), m_dxfName(dxfName), m_parent(parent), m_creator(creator), m_index(registry().described++)
{
    registry().byName.emplace(m_name, this);
    if (!m_dxfName.empty())
        registry().byDxfName.emplace(m_dxfName, this);
}

bool OdRxClass::isDerivedFrom(const OdRxClass* other) const
{
    for (const OdRxClass* c = this; c; c = c->m_parent)
        if (c == other)
            return true;
    return false;
}

const OdRxClass* OdRxClass::byName(const std::string& name)
{
    auto it = registry().byName.find(name);
    return it == registry().byName.end() ? nullptr : it->second;
}

const OdRxClass* OdRxClass::byDxfName(const std::string& dxfName)
{
    auto it = registry().byDxfName.find(dxfName);
    return it == registry().byDxfName.end() ? nullptr : it->second;
}

const OdRxClass* OdRxObject::desc()
{
    static const OdRxClass cls("OdRxObject", "", nullptr, nullptr);
    return &cls;
}

void odThrowNotThatKindOfClass(const OdRxClass* from, const OdRxClass* to)
{
    throw OdError_NotThatKindOfClass(from, to);
}
