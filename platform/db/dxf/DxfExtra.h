// What the DXF layer keeps of an object (or of the whole drawing) that no class models, so that
// writing the drawing back loses nothing: tags in runs, each run opened by a marker tag.
#pragma once

#include <string>

#include "DxfTagList.h"

namespace vantrel {

// Run markers in DxfExtra::tags: a tag with one of these (negative, so never a DXF) codes opens a
// run; the tags up to the next marker belong to it.
enum DxfRun : int {
    kDxfRunHead = -1,       // before the first subclass: reactors and application 102 groups
    kDxfRunSubclass = -2,   // value: index of the subclass in the class map
    kDxfRunUnknown = -3,    // a subclass no map declares; its 100 marker is the run's first tag
    kDxfRunBlockBegin = -4, // a block's BLOCK record: value its handle; tags the unclaimed ones
    kDxfRunBlockEnd = -5,   // a block's ENDBLK record: value its handle; tags the unclaimed ones
    kDxfRunSeqEnd = -6,     // the SEQEND after an entity's sub-entities: value its handle
    kDxfRunAsRead = -7,     // values written as read while they stand for the same value (DxfContext::asRead)
    kDxfRunAfterOwner = -8, // tags after the owner (330) and before the first subclass marker
    // Drawing level (OdDbDatabase::dxfExtra):
    kDxfRunHeader = -10,  // header variables no system variable models, "9 $NAME" included
    kDxfRunClasses = -11, // the content of the CLASSES section
    kDxfRunTable = -12,   // value: table name; a table no class models, "0 TABLE" to "0 ENDTAB" excluded
    kDxfRunSection = -13, // value: section name; a section no reader models, whole
};

struct DxfExtra {
    std::string recordName; // the record name of an object no class models ("ACME_WIDGET")
    DxfTagList tags;
    // Drawing level: the release the file was written in, as its AC number (1009 for AC1009),
    // 0 when unknown.
    int version = 0;
};

} // namespace vantrel
