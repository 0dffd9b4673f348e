// Typed values tagged with group codes.
#include <vantrel/db/OdError.h>
#include <vantrel/db/OdResBuf.h>

#include <cmath>

namespace {

struct CodeRange {
    int first, last;
    OdResBuf::ValueKind kind;
};

using K = OdResBuf::ValueKind;

// The group code ranges of DXF and of extended data, in ascending order.
constexpr CodeRange kCodeKinds[] = {
    {0, 9, K::String},        {10, 19, K::Point3d},    {20, 59, K::Double},     {60, 79, K::Int16},
    {90, 99, K::Int32},       {100, 102, K::String},   {105, 105, K::Handle},   {110, 112, K::Point3d},
    {113, 149, K::Double},    {160, 169, K::Int64},    {170, 179, K::Int16},    {210, 219, K::Point3d},
    {220, 239, K::Double},    {270, 289, K::Int16},    {290, 299, K::Bool},     {300, 309, K::String},
    {310, 319, K::Binary},    {320, 369, K::Handle},   {370, 389, K::Int16},    {390, 399, K::Handle},
    {400, 409, K::Int16},     {410, 419, K::String},   {420, 429, K::Int32},    {430, 439, K::String},
    {440, 459, K::Int32},     {460, 469, K::Double},   {470, 479, K::String},   {480, 481, K::Handle},
    {999, 999, K::String},    {1000, 1003, K::String}, {1004, 1004, K::Binary}, {1005, 1005, K::Handle},
    {1010, 1013, K::Point3d}, {1040, 1042, K::Double}, {1070, 1070, K::Int16},  {1071, 1071, K::Int32},
};

} // namespace

OdResBuf::ValueKind OdResBuf::kindOfCode(int c)
{
    if (c < 0)
        return K::Int32; // resbuf-only codes (-1 entity name etc.) carry ints here
    for (const CodeRange& r : kCodeKinds)
        if (c >= r.first && c <= r.last)
            return r.kind;
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
