// The CLASS records of the CLASSES section: a record type that an application class defines
// (LIGHT, LAYOUT, SORTENTSTABLE, ...) must be declared there, or other programs refuse the file.
#pragma once

#include <span>
#include <string_view>

namespace vantrel {

struct DxfClassDefinition {
    const char* recordName;  // 1: the record name of the class's instances
    const char* className;   // 2: the C++ class name
    const char* application; // 3: named to the user when the class is not loaded
    int proxyFlags;          // 90: what a program without the class may do with an instance
    bool isAnEntity;         // 281: instances go in BLOCKS or ENTITIES, not OBJECTS
};

// Every definition, in the order added CLASS records are written.
std::span<const DxfClassDefinition> dxfClassDefinitions();
// The definition for a record name, or null for a record type DXF defines itself (LINE,
// DICTIONARY, VERTEX, ...).
const DxfClassDefinition* dxfClassDefinition(std::string_view recordName);

} // namespace vantrel
