// Attributes of inserts: tag rule and visibility.
#include <vantrel/db/OdDbAttribute.h>

#include "attribute_tags.h"

ODRX_DEFINE_MEMBERS(OdDbAttribute, OdDbText, "ATTRIB")

void OdDbAttribute::setTag(const OdString& tag)
{
    vantrel::requireAttributeTag(tag);
    assertWriteEnabled();
    m_attr.tag = tag;
}

void OdDbAttribute::setInvisible(bool invisible)
{
    assertWriteEnabled();
    m_attr.flags = static_cast<std::int16_t>(invisible ? m_attr.flags | kInvisible : m_attr.flags & ~kInvisible);
}

void OdDbAttribute::subWorldDraw(vantrel::WorldDraw& wd) const
{
    if (isInvisible())
        return;
    OdDbText::subWorldDraw(wd);
}
