// Exceptions raised by the drawing database: each carries an OdResult code and a description.
#pragma once

#include <stdexcept>
#include <string>

#include <vantrel/db/OdResult.h>
#include <vantrel/db/OdString.h>
#include <vantrel/db/OdDbExport.h>

class OdRxClass;

class VANTREL_DB_EXPORT OdError : public std::exception {
public:
    explicit OdError(OdResult code);
    OdError(OdResult code, std::string description);

    OdResult code() const { return m_code; }
    OdString description() const { return OdString::fromUtf8(m_description); }
    const char* what() const noexcept override { return m_description.c_str(); }

private:
    OdResult m_code;
    std::string m_description;
};

// Raised by a checked cast when an object is not of the requested class.
class VANTREL_DB_EXPORT OdError_NotThatKindOfClass : public OdError {
public:
    OdError_NotThatKindOfClass(const OdRxClass* from, const OdRxClass* to);
};

// Raised when an index is outside the valid range of a container (vertices, points).
class VANTREL_DB_EXPORT OdError_InvalidIndex : public OdError {
public:
    OdError_InvalidIndex() : OdError(eInvalidIndex) {}
};

// Raises a failed result: for calls that fail only when something else is already broken (erasing
// an object just opened for writing, say), where a failure must not pass unnoticed.
inline void odCheck(OdResult result)
{
    if (result != eOk)
        throw OdError(result);
}
