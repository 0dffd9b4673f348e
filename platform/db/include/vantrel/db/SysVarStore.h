// The drawing's system variables: a declared table of names, value kinds, defaults and legal
// ranges, and the current values. The DXF header reads and writes the variables marked inHeader.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <vantrel/db/OdResBuf.h>
#include <vantrel/db/OdString.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

struct VANTREL_DB_EXPORT SysVarDef {
    const char* name;    // without the DXF '$'
    int groupCode;       // DXF group code of the value (10 for a point, 1/2/3/6/7/8 for text, ...)
    double defaultValue; // numeric default (unused for text and points)
    const char* defaultText;
    double minValue; // numeric range, inclusive
    double maxValue;
    bool inHeader; // saved in the DXF header
    // For integer variables whose legal values are not a range (SPLINETYPE 5 or 6): the allowed
    // values, empty when the range applies.
    std::initializer_list<int> allowed = {};
};

class VANTREL_DB_EXPORT SysVarStore {
public:
    SysVarStore();

    static std::span<const SysVarDef> definitions();
    static const SysVarDef* find(const OdString& name);

    // The value; raises OdError(eUnknownSysVar) for an unknown name.
    OdResBufPtr get(const OdString& name) const;
    // Checks the value against the definition: OdError(eUnknownSysVar) or
    // OdError(eInvalidSysVarValue) with a message naming the variable and the legal range.
    // Answers the previous value.
    OdResBufPtr set(const OdString& name, const OdResBuf& value);
    // Sets a value read from a file without range checks beyond the value kind (so a drawing with
    // an unusual value is kept as it is).
    void setFromFile(const SysVarDef& def, OdResBufPtr value);

private:
    std::vector<OdResBufPtr> m_values; // index as definitions()
};

} // namespace vantrel
