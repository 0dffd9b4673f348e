// A chain of typed values tagged with a group code: extended data of objects and the value
// of system variables. The kind of value follows from the group code as in DXF.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include <vantrel/db/OdDbHandle.h>
#include <vantrel/db/OdRxObject.h>
#include <vantrel/db/OdString.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/db/OdDbExport.h>

class OdResBuf;
using OdResBufPtr = OdSmartPtr<OdResBuf>;

class VANTREL_DB_EXPORT OdResBuf : public OdRxObject {
public:
    enum class ValueKind { None, String, Double, Int16, Int32, Int64, Bool, Handle, Point3d, Binary };
    // The kind of value a group code carries (DXF group code ranges, extended data codes included).
    static ValueKind kindOfCode(int code);

    static OdResBufPtr newRb(int restype = 0);
    static OdResBufPtr newRb(int restype, std::int32_t value);
    static OdResBufPtr newRb(int restype, double value);
    static OdResBufPtr newRb(int restype, const OdString& value);
    static OdResBufPtr newRb(int restype, const OdGePoint3d& value);

    int restype() const { return m_code; }
    void setRestype(int code) { m_code = code; }
    // The kind of the value held (numbers read from text may differ from the code's kind).
    ValueKind kind() const;

    // Typed access; the getters convert between the numeric kinds and raise OdError(eInvalidInput)
    // when the stored value is not numeric (or, for getString, not text).
    std::int16_t getInt16() const;
    std::int32_t getInt32() const;
    std::int64_t getInt64() const;
    double getDouble() const;
    bool getBool() const { return getInt32() != 0; }
    OdString getString() const;
    OdGePoint3d getPoint3d() const;
    OdDbHandle getHandle() const;
    const std::string& getBinaryHex() const;

    void setInt16(std::int16_t v) { m_value = std::int64_t(v); }
    void setInt32(std::int32_t v) { m_value = std::int64_t(v); }
    void setInt64(std::int64_t v) { m_value = v; }
    void setDouble(double v) { m_value = v; }
    void setBool(bool v) { m_value = std::int64_t(v ? 1 : 0); }
    void setString(const OdString& v) { m_value = v; }
    void setPoint3d(const OdGePoint3d& v) { m_value = v; }
    void setHandle(OdDbHandle v) { m_value = v; }
    void setBinaryHex(std::string hex) { m_value = std::move(hex); }

    OdResBufPtr next() const { return m_next; }
    void setNext(OdResBufPtr next) { m_next = std::move(next); }
    OdResBuf* last();
    // A deep copy of this node and every node after it.
    OdResBufPtr copyChain() const;
    // Two chains are equal when every node has the same code and value.
    bool isEqualChain(const OdResBuf* other) const;

private:
    using Value = std::variant<std::monostate, std::int64_t, double, OdString, OdGePoint3d, OdDbHandle, std::string>;
    int m_code = 0;
    Value m_value;
    OdResBufPtr m_next;
};
