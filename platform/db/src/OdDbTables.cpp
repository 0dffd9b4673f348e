// The concrete symbol tables and the layer, linetype, text style and application records.
#include <vantrel/db/OdDbTables.h>

#include <cmath>

ODRX_DEFINE_MEMBERS(OdDbBlockTable, OdDbSymbolTable, "")
ODRX_DEFINE_MEMBERS(OdDbLayerTable, OdDbSymbolTable, "")
ODRX_DEFINE_MEMBERS(OdDbLinetypeTable, OdDbSymbolTable, "")
ODRX_DEFINE_MEMBERS(OdDbTextStyleTable, OdDbSymbolTable, "")
ODRX_DEFINE_MEMBERS(OdDbRegAppTable, OdDbSymbolTable, "")
ODRX_DEFINE_MEMBERS(OdDbLayerTableRecord, OdDbSymbolTableRecord, "LAYER")
ODRX_DEFINE_MEMBERS(OdDbLinetypeTableRecord, OdDbSymbolTableRecord, "LTYPE")
ODRX_DEFINE_MEMBERS(OdDbTextStyleTableRecord, OdDbSymbolTableRecord, "STYLE")
ODRX_DEFINE_MEMBERS(OdDbRegAppTableRecord, OdDbSymbolTableRecord, "APPID")

void OdDbLayerTableRecord::setIsLocked(bool locked)
{
    setFlags(static_cast<std::int16_t>(locked ? flags() | kLocked : flags() & ~kLocked));
}

void OdDbLayerTableRecord::setIsFrozen(bool frozen)
{
    setFlags(static_cast<std::int16_t>(frozen ? flags() | kFrozen : flags() & ~kFrozen));
}

void OdDbLinetypeTableRecord::setDashes(std::vector<double> dashes)
{
    for (double d : dashes)
        if (!std::isfinite(d))
            throw OdError(eInvalidInput, "a dash length must be a finite number");
    assertWriteEnabled();
    m_dashes = std::move(dashes);
}

double OdDbLinetypeTableRecord::patternLength() const
{
    double sum = 0.0;
    for (double d : dashes())
        sum += std::fabs(d);
    return sum;
}
