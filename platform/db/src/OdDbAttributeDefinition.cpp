// Attribute definitions: their tag rule, and how they show as a tag or as a constant value.
#include <vantrel/db/OdDbAttributeDefinition.h>

#include "attribute_tags.h"
#include "db_key.h"

ODRX_DEFINE_MEMBERS(OdDbAttributeDefinition, OdDbText, "ATTDEF")

namespace vantrel {

void requireAttributeTag(const OdString& tag)
{
    if (tag.isEmpty())
        throw OdError(eInvalidInput, "an attribute tag is not empty");
    for (wchar_t c : tag.str())
        if (c == L' ' || c == L'\t')
            throw OdError(eInvalidInput, "an attribute tag holds no blanks");
}

} // namespace vantrel

void OdDbAttributeDefinition::setTag(const OdString& tag)
{
    vantrel::requireAttributeTag(tag);
    assertWriteEnabled();
    m_attr.tag = tag;
}

void OdDbAttributeDefinition::setPrompt(const OdString& prompt)
{
    assertWriteEnabled();
    m_attr.prompt = prompt;
}

void OdDbAttributeDefinition::setInvisible(bool invisible)
{
    assertWriteEnabled();
    m_attr.flags = static_cast<std::int16_t>(invisible ? m_attr.flags | kInvisible : m_attr.flags & ~kInvisible);
}

void OdDbAttributeDefinition::setConstant(bool constant)
{
    assertWriteEnabled();
    m_attr.flags = static_cast<std::int16_t>(constant ? m_attr.flags | kConstant : m_attr.flags & ~kConstant);
}

namespace {
// A plain text with the definition's placement, look and properties, saying `shown`.
OdDbTextPtr textSaying(const OdDbAttributeDefinition& def, const OdString& shown)
{
    OdDbTextPtr text = OdDbText::createObject();
    text->setPropertiesFrom(&def);
    text->dataForWrite(vantrel::dbKey()) = def.OdDbText::data();
    text->dataForWrite(vantrel::dbKey()).textString = shown;
    return text;
}
} // namespace

void OdDbAttributeDefinition::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    textSaying(*this, m_attr.tag)->subWorldDraw(wd);
}

void OdDbAttributeDefinition::drawValue(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    textSaying(*this, textString())->draw(wd);
}
