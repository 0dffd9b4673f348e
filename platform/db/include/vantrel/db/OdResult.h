// Result codes of database operations. The values 0, 3, 20, 39, 312 and 443 are fixed because
// command modules compare against them; the others are this database's own.
#pragma once

#include <vantrel/db/OdDbExport.h>

// A result must be looked at: a caller that ignores one says so with a cast to void.
enum [[nodiscard]] OdResult : int{
    eOk = 0,
    eNotImplementedYet = 3,
    eNullObjectPointer = 20,
    eNotThatKindOfClass = 39,
    eConversionFailed = 312,
    eCancelled = 443,

    eInvalidInput = 500,
    eInvalidIndex,
    eOutOfRange,
    eWasErased,
    eNotOpenForWrite,
    eNotInDatabase,
    eAlreadyInDatabase,
    eNullObjectId,
    eKeyNotFound,
    eDuplicateKey,
    eUnknownSysVar,
    eInvalidSysVarValue,
    eLayerLocked,
    eDegenerateGeometry,
    eNoUndoRecord,
    eFileError,
    eBadDxfFile,
    eWrongDatabase,
    eInvalidOwner,
};

// A short English description of a result code.
VANTREL_DB_EXPORT const char* odResultDescription(OdResult code);
