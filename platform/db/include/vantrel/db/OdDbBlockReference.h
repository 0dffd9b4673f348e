// An insert of a block (DXF INSERT): the block's entities placed by a position, scale factors,
// a rotation and a normal, optionally repeated in columns and rows, with the attributes the
// insert owns (ATTRIB records after it in a file, closed by a SEQEND).
#pragma once

#include <vantrel/db/DbKey.h>

#include <vector>

#include <vantrel/db/OdDbAttribute.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbHandle.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbBlockReference : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbBlockReference)
public:
    // As DXF stores an INSERT: the position in the OCS of the normal, the rotation in radians
    // about the normal from the OCS X axis.
    struct Data {
        OdString blockName;                 // 2, the block is found by its name when drawn
        OdGePoint3d ocsPosition;            // 10
        double xScale = 1.0;                // 41
        double yScale = 1.0;                // 42
        double zScale = 1.0;                // 43
        double rotation = 0.0;              // 50 (degrees in DXF)
        std::int16_t columnCount = 1;       // 70
        std::int16_t rowCount = 1;          // 71
        double columnSpacing = 0.0;         // 44
        double rowSpacing = 0.0;            // 45
        OdGeVector3d normal{0.0, 0.0, 1.0}; // 210, unit
        bool attributesFollow = false;      // 66 as read: ATTRIB records and a SEQEND follow
        OdDbHandle seqEndHandle;            // the SEQEND record after the attributes
    };

    OdDbBlockReference() = default;

    // The block record of the block name in the database's block table (null when there is none).
    OdDbObjectId blockTableRecord() const;
    // Raises OdError(eInvalidInput) for a record that is not a block of a database.
    void setBlockTableRecord(OdDbObjectId block);
    const OdString& blockName() const
    {
        assertReadEnabled();
        return m_data.blockName;
    }

    OdGePoint3d position() const;
    void setPosition(const OdGePoint3d& position);
    OdGeVector3d scaleFactors() const
    {
        assertReadEnabled();
        return {m_data.xScale, m_data.yScale, m_data.zScale};
    }
    // Each factor finite and not 0 (negative ones mirror): OdError(eInvalidInput) otherwise.
    void setScaleFactors(const OdGeVector3d& scale);
    double rotation() const
    {
        assertReadEnabled();
        return m_data.rotation;
    }
    void setRotation(double angle);
    OdGeVector3d normal() const
    {
        assertReadEnabled();
        return m_data.normal;
    }
    // Keeps the position where it is in world coordinates.
    void setNormal(const OdGeVector3d& normal);
    // An array of columns along the block's X axis and rows along its Y axis (spacings in
    // drawing units, turned with the rotation): counts 1 to 32767.
    void setArray(std::int16_t columns, std::int16_t rows, double columnSpacing, double rowSpacing);

    const Data& data() const
    {
        assertReadEnabled();
        return m_data;
    }
    Data& dataForWrite(vantrel::DbKey)
    {
        assertWriteEnabled();
        return m_data;
    }
    // Raises OdError(eInvalidInput) when data read from a file breaks the rules of the setters.
    void checkData() const;

    // From the block's coordinates (its base point at the origin) to world coordinates, for the
    // element in the given column and row of the array.
    OdGeMatrix3d blockTransform(int column = 0, int row = 0) const;

    // --- attributes ---
    // Takes an attribute in no database (added to the insert's database at once when the insert
    // is there), or one the DXF reader added with this insert as its owner.
    OdDbObjectId appendAttribute(OdDbAttribute* attribute);
    std::vector<OdDbObjectId> attributeIds() const;
    // Attributes follow the insert in a file: it has some, or was read with a (maybe empty) sequence.
    bool hasAttributeSequence() const;
    OdDbAttributePtr openAttribute(const OdDbObjectId& id, OdDb::OpenMode mode = OdDb::kForRead) const;

    // Rotations, mirrorings, uniform scalings and translations; the attributes follow.
    void transformBy(const OdGeMatrix3d& xform) override;
    // The block's entities in each place of the array, then the visible attributes. A block
    // that inserts itself, directly or through others, is drawn once.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
    vantrel::LinetypeUse linetypeUse() const override { return vantrel::LinetypeUse::None; }

    void subAddedToDatabase(OdDbDatabase* db) override;
    void subDeepenClone() override;
    void subHandOverTo(OdDbObject* newObject) override;

private:
    // The block's coordinates to world ones: frame * translation(cell) * scale for a cell of the
    // array at (x, y) in the block's turned plane.
    struct Placement {
        OdGeMatrix3d frame, scale;
        OdGeMatrix3d cell(double x, double y) const;
    };
    Placement placement() const;

    Data m_data;
    std::vector<OdDbSubObjectPtr<OdDbAttribute>> m_attributes;
};
using OdDbBlockReferencePtr = OdSmartPtr<OdDbBlockReference>;
