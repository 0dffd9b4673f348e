// Typed values tagged with group codes.
#include <vantrel/db/OdError.h>
#include <vantrel/db/OdResBuf.h>

#include <cmath>

OdResBuf::ValueKind OdResBuf::kindOfCode(int c)
{
    using K = ValueKind;
    if (c < 0)
        return K::Int32; // resbuf-only codes (-1 entity name etc.) carry ints here
    if (c <= 9)
        return K::String;
    if (c <= 19)
        return K::Point3d;
    if (c <= 59)
        return K::Double;
    if (c <= 79)
        return K::Int16;
    if (c >= 90 && c <= 99)
        return K::Int32;
    if (c == 100 || c == 101 || c == 102)
        return K::String;
    if (c == 105)
        return K::Handle;
    if (c >= 110 && c <= 112)
        return K::Point3d;
    if (c >= 113 && c <= 149)
        return K::Double;
    if (c >= 160 && c <= 169)
        return K::Int64;
    if (c >= 170 && c <= 179)
        return K::Int16;
    if (c >= 210 && c <= 219)
        return K::Point3d;
    if (c >= 220 && c <= 239)
        return K::Double;
    if (c >= 270 && c <= 289)
        return K::Int16;
    if (c >= 290 && c <= 299)
        return K::Bool;
    if (c >= 300 && c <= 309)
        return K::String;
    if (c >= 310 && c <= 319)
        return K::Binary;
    if (c >= 320 && c <= 369)
        return K::Handle;
    if (c >= 370 && c <= 389)
        return K::Int16;
    if (c >= 390 && c <= 399)
        return K::Handle;
    if (c >= 400 && c <= 409)
        return K::Int16;
    if (c >= 410 && c <= 419)
        return K::String;
    if (c >= 420 && c <= 429)
        return K::Int32;
    if (c >= 430 && c <= 439)
        return K::String;
    if (c >= 440 && c <= 459)
        return K::Int32;
    if (c >= 460 && c <= 469)
        return K::Double;
    if (c >= 470 && c <= 479)
        return K::String;
    if (c >= 480 && c <= 481)
        return K::Handle;
    if (c == 999)
        return K::String;
    if (c >= 1000 && c <= 1003)
        return K::String;
    if (c == 1004)
        return K::Binary;
    if (c == 1005)
        return K::Handle;
    if (c >= 1010 && c <= 1013)
        return K::Point3d;
    if (c >= 1040 && c <= 1042)
        return K::Double;
    if (c == 1070)
        return K::Int16;
    if (c == 1071)
        return K::Int32;
    return K::None;
}

OdResBuf::ValueKind OdResBuf::kind() const
{
    switch (m_value.index()) {
    case 1: return ValueKind::Int64;
    case 2: return ValueKind::Double;
    case 3: return ValueKind::String;
    case 4: return ValueKind::Point3d;
    case 5: return ValueKind::Handle;
    case 6: return ValueKind::Binary;
    default: return ValueKind::None;
    }
}

OdResBufPtr OdResBuf::newRb(int restype)
{
    OdResBufPtr rb(new OdResBuf());
    rb->m_code = restype;
    return rb;
}

OdResBufPtr OdResBuf::newRb(int restype, std::int32_t value)
{
    auto rb = newRb(restype);
    rb->setInt32(value);
    return rb;
}

OdResBufPtr OdResBuf::newRb(int restype, double value)
{
    auto rb = newRb(restype);
    rb->setDouble(value);
    return rb;
}

OdResBufPtr OdResBuf::newRb(int restype, const OdString& value)
{
    auto rb = newRb(restype);
    rb->setString(value);
    return rb;
}

OdResBufPtr OdResBuf::newRb(int restype, const OdGePoint3d& value)
{
    auto rb = newRb(restype);
    rb->setPoint3d(value);
    return rb;
}

std::int64_t OdResBuf::getInt64() const
{
    if (auto* i = std::get_if<std::int64_t>(&m_value))
        return *i;
    if (auto* d = std::get_if<double>(&m_value)) {
        if (!std::isfinite(*d) || std::fabs(*d) > 9.2e18)
            throw OdError(eInvalidInput, "value is not an integer");
        return static_cast<std::int64_t>(std::llround(*d));
    }
    throw OdError(eInvalidInput, "value is not a number");
}

std::int32_t OdResBuf::getInt32() const
{
    auto v = getInt64();
    if (v < INT32_MIN || v > INT32_MAX)
        throw OdError(eOutOfRange, "value does not fit 32 bits");
    return static_cast<std::int32_t>(v);
}

std::int16_t OdResBuf::getInt16() const
{
    auto v = getInt64();
    if (v < INT16_MIN || v > INT16_MAX)
        throw OdError(eOutOfRange, "value does not fit 16 bits");
    return static_cast<std::int16_t>(v);
}

double OdResBuf::getDouble() const
{
    if (auto* d = std::get_if<double>(&m_value))
        return *d;
    if (auto* i = std::get_if<std::int64_t>(&m_value))
        return static_cast<double>(*i);
    throw OdError(eInvalidInput, "value is not a number");
}

OdString OdResBuf::getString() const
{
    if (auto* s = std::get_if<OdString>(&m_value))
        return *s;
    throw OdError(eInvalidInput, "value is not text");
}

OdGePoint3d OdResBuf::getPoint3d() const
{
    if (auto* p = std::get_if<OdGePoint3d>(&m_value))
        return *p;
    throw OdError(eInvalidInput, "value is not a point");
}

OdDbHandle OdResBuf::getHandle() const
{
    if (auto* h = std::get_if<OdDbHandle>(&m_value))
        return *h;
    throw OdError(eInvalidInput, "value is not a handle");
}

const std::string& OdResBuf::getBinaryHex() const
{
    if (auto* s = std::get_if<std::string>(&m_value))
        return *s;
    throw OdError(eInvalidInput, "value is not binary data");
}

OdResBuf* OdResBuf::last()
{
    OdResBuf* p = this;
    while (p->m_next)
        p = p->m_next.get();
    return p;
}

OdResBufPtr OdResBuf::copyChain() const
{
    OdResBufPtr head;
    OdResBuf* tail = nullptr;
    for (const OdResBuf* p = this; p; p = p->m_next.get()) {
        OdResBufPtr node(new OdResBuf());
        node->m_code = p->m_code;
        node->m_value = p->m_value;
        if (tail)
            tail->m_next = node;
        else
            head = node;
        tail = node.get();
    }
    return head;
}

bool OdResBuf::isEqualChain(const OdResBuf* other) const
{
    const OdResBuf* a = this;
    const OdResBuf* b = other;
    for (; a && b; a = a->m_next.get(), b = b->m_next.get()) {
        if (a->m_code != b->m_code || a->m_value.index() != b->m_value.index())
            return false;
        if (auto* p = std::get_if<OdGePoint3d>(&a->m_value)) {
            auto& q = std::get<OdGePoint3d>(b->m_value);
            if (p->x != q.x || p->y != q.y || p->z != q.z)
                return false;
        } else if (a->m_value != b->m_value) {
            return false;
        }
    }
    return !a && !b;
}
