// Attributes of inserts: tag rule, visibility, and taking their values from a definition.
#include <vantrel/db/OdDbAttribute.h>
#include <vantrel/db/OdDbAttributeDefinition.h>

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

void OdDbAttribute::setAttributeFromBlock(const OdDbAttributeDefinition& definition, const OdGeMatrix3d& blockTransform)
{
    assertWriteEnabled();
    const auto& from = definition.attributeData();
    m_attr.tag = from.tag;
    m_attr.flags = from.flags;
    m_attr.fieldLength = from.fieldLength;
    dataForWrite() = definition.OdDbText::data();
    setPropertiesFrom(&definition);
    transformBy(blockTransform);
}

void OdDbAttribute::subWorldDraw(vantrel::WorldDraw& wd) const
{
    if (isInvisible())
        return;
    OdDbText::subWorldDraw(wd);
}
