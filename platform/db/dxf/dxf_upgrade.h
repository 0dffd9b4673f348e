// Records written before subclass markers existed (R12 and older, and writers that leave them
// out): the subclasses their codes belong to, so that a drawing upgraded to a later release has
// every record in the form readers of that release expect.
#pragma once

#include <string_view>
#include <vector>

#include "DxfTagList.h"

namespace vantrel {

struct DxfUpgradedSubclass {
    const char* marker;
    DxfTagList tags; // in the order read
};

// The subclasses of an entity no class models, with the record's unmarked tags distributed
// among them by group code (a code no subclass lists goes to the last); empty when the record
// type has no known layout. flags: the record's 70 and 71, which decide the layout of some types
// (a dimension's kind, an insert's array) even when a modelled field took them.
std::vector<DxfUpgradedSubclass> upgradeUnmarkedEntity(std::string_view recordName, const DxfTagList& tags,
                                                       const DxfTagList& flags);

// The marker of the records of a table no class models ("AcDbViewportTableRecord"), or null.
const char* dxfTableRecordMarker(std::string_view tableName);

} // namespace vantrel
