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

void OdDbLinetypeTableRecord::setDashElements(std::vector<Dash> dashes)
{
    double length = 0.0;
    for (const Dash& d : dashes)
        length += std::fabs(d.length);
    setDashElements(std::move(dashes), length);
}

void OdDbLinetypeTableRecord::setDashElements(std::vector<Dash> dashes, double patternLength)
{
    for (const Dash& d : dashes)
        if (!std::isfinite(d.length) || !std::isfinite(d.scale) || !std::isfinite(d.rotation)
            || !std::isfinite(d.offsetX) || !std::isfinite(d.offsetY))
            throw OdError(eInvalidInput, "a dash's length, scale, rotation and offsets must be finite numbers");
    setPatternLength(patternLength);
    m_dashes = std::move(dashes);
}

std::vector<double> OdDbLinetypeTableRecord::dashes() const
{
    std::vector<double> lengths;
    for (const Dash& d : dashElements())
        lengths.push_back(d.length);
    return lengths;
}

void OdDbLinetypeTableRecord::setDashes(const std::vector<double>& lengths)
{
    std::vector<Dash> dashes(lengths.size());
    for (std::size_t i = 0; i < lengths.size(); ++i)
        dashes[i].length = lengths[i];
    setDashElements(std::move(dashes));
}

void OdDbLinetypeTableRecord::setPatternLength(double length)
{
    if (!std::isfinite(length) || length < 0.0)
        throw OdError(eInvalidInput, "a pattern length must be a finite number of at least 0");
    assertWriteEnabled();
    m_patternLength = length;
}
