// An attribute of an insert: a tagged text that the insert owns and that follows it in a DXF
// file as an ATTRIB record, closed by a SEQEND.
#pragma once

#include <vantrel/db/DbKey.h>

#include <vantrel/db/OdDbText.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbAttribute : public OdDbText {
    ODDB_DECLARE_MEMBERS(OdDbAttribute)
public:
    // DXF 70 bits, as OdDbAttributeDefinition has them.
    enum : std::int16_t { kInvisible = 1, kConstant = 2, kVerify = 4, kPreset = 8 };

    // The attribute's own values; the text part (its value) is OdDbText::data().
    struct AttributeData {
        OdString tag;                 // 2
        std::int16_t flags = 0;       // 70
        std::int16_t fieldLength = 0; // 73
    };

    OdDbAttribute() = default;

    const OdString& tag() const
    {
        assertReadEnabled();
        return m_attr.tag;
    }
    // A tag is not empty and holds no blanks: OdError(eInvalidInput) otherwise.
    void setTag(const OdString& tag);
    bool isInvisible() const
    {
        assertReadEnabled();
        return m_attr.flags & kInvisible;
    }
    void setInvisible(bool invisible);

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

    // Nothing when invisible, else the value as text.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    AttributeData m_attr;
};
using OdDbAttributePtr = OdSmartPtr<OdDbAttribute>;
