// An attribute definition in a block: the tag, prompt and default value (the text) of an
// attribute that each insert of the block carries as an OdDbAttribute. Drawn as its tag; inside
// an insert only a constant one is drawn, with its value.
#pragma once

#include <vantrel/db/DbKey.h>

#include <vantrel/db/OdDbText.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbAttributeDefinition : public OdDbText {
    ODDB_DECLARE_MEMBERS(OdDbAttributeDefinition)
public:
    // DXF 70 bits, shared with OdDbAttribute.
    enum : std::int16_t { kInvisible = 1, kConstant = 2, kVerify = 4, kPreset = 8 };

    // The attribute's own values; the text part is OdDbText::data().
    struct AttributeData {
        OdString tag;                 // 2
        OdString prompt;              // 3
        std::int16_t flags = 0;       // 70
        std::int16_t fieldLength = 0; // 73
    };

    OdDbAttributeDefinition() = default;

    const OdString& tag() const
    {
        assertReadEnabled();
        return m_attr.tag;
    }
    // A tag is not empty and holds no blanks: OdError(eInvalidInput) otherwise.
    void setTag(const OdString& tag);
    const OdString& prompt() const
    {
        assertReadEnabled();
        return m_attr.prompt;
    }
    void setPrompt(const OdString& prompt);
    bool isInvisible() const
    {
        assertReadEnabled();
        return m_attr.flags & kInvisible;
    }
    void setInvisible(bool invisible);
    bool isConstant() const
    {
        assertReadEnabled();
        return m_attr.flags & kConstant;
    }
    void setConstant(bool constant);

    const AttributeData& attributeData() const
    {
        assertReadEnabled();
        return m_attr;
    }
    AttributeData& attributeDataForWrite(vantrel::DbKey)
    {
        assertWriteEnabled();
        return m_attr;
    }

    // The tag where the text would be.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
    // The default value, as an insert shows a constant attribute (traits set here).
    void drawValue(vantrel::WorldDraw& wd) const;

private:
    AttributeData m_attr;
};
using OdDbAttributeDefinitionPtr = OdSmartPtr<OdDbAttributeDefinition>;
