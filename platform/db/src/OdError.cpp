// Result descriptions and the database's exception types.
#include <vantrel/db/OdError.h>
#include <vantrel/db/OdRxObject.h>

const char* odResultDescription(OdResult code)
{
    switch (code) {
    case eOk: return "No error";
    case eNotImplementedYet: return "Not implemented yet";
    case eNullObjectPointer: return "Null object pointer";
    case eNotThatKindOfClass: return "Object is not of the expected class";
    case eConversionFailed: return "Conversion failed";
    case eCancelled: return "Cancelled";
    case eInvalidInput: return "Invalid input";
    case eInvalidIndex: return "Invalid index";
    case eOutOfRange: return "Value out of range";
    case eWasErased: return "Object was erased";
    case eNotOpenForWrite: return "Object is not open for write";
    case eNotInDatabase: return "Object is not in a database";
    case eAlreadyInDatabase: return "Object is already in a database";
    case eNullObjectId: return "Null object id";
    case eKeyNotFound: return "Key not found";
    case eDuplicateKey: return "Duplicate key";
    case eUnknownSysVar: return "Unknown system variable";
    case eInvalidSysVarValue: return "Invalid system variable value";
    case eLayerLocked: return "Layer is locked";
    case eDegenerateGeometry: return "Degenerate geometry";
    case eNoUndoRecord: return "Nothing to undo";
    case eFileError: return "File error";
    case eBadDxfFile: return "Bad DXF file";
    case eWrongDatabase: return "Object belongs to another database";
    case eInvalidOwner: return "Invalid owner";
    }
    return "Unknown error";
}

OdError::OdError(OdResult code) : m_code(code), m_description(odResultDescription(code)) {}

OdError::OdError(OdResult code, std::string description) : m_code(code), m_description(std::move(description)) {}

OdError_NotThatKindOfClass::OdError_NotThatKindOfClass(const OdRxClass* from, const OdRxClass* to)
    : OdError(eNotThatKindOfClass,
              std::string("Object of class ") + (from ? from->name() : "?") + " is not a " + (to ? to->name() : "?"))
{
}
