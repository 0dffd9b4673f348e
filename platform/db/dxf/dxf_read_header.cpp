// The HEADER section. The variables the drawing models are declared, with their group codes, in
// the table of system variables and set through the drawing's own checks; $ACADVER and $HANDSEED
// describe the file itself; any other variable is kept as read and written back.
#include "DxfFileReader.h"

#include "dxf_values.h"

namespace vantrel {

void DxfFileReader::readHeader()
{
    expectNext("the HEADER section");
    readHeaderVariables();
}

void DxfFileReader::readHeaderVariables()
{
    bool keptRunOpen = false;
    for (;;) {
        if (m_reader.code() == 0 && m_reader.value() == "ENDSEC")
            return;
        if (m_reader.code() != 9)
            failAt(m_reader.line(),
                   "expected a header variable (group code 9), got group code " + std::to_string(m_reader.code()));
        const std::string name(m_reader.value());
        const std::size_t nameLine = m_reader.line();
        const SysVarDef* def = name.size() > 1 ? SysVarStore::find(OdString::fromUtf8(name.substr(1))) : nullptr;
        expectNext("the HEADER section");

        if (name == "$ACADVER") {
            takeVersion();
        } else if (name == "$HANDSEED") {
            takeHandseed();
        } else if (def && def->inHeader) {
            if (!takeHeaderVariable(*def, name, nameLine))
                continue;
        } else {
            keepHeaderVariable(name, keptRunOpen);
            continue;
        }
        // Any further value tags of a modelled variable are not expected.
        expectNext("the HEADER section");
    }
}

void DxfFileReader::takeVersion()
{
    m_reader.codec().setVersion(m_reader.value());
    m_drawingExtra->version = dxfVersionNumber(m_reader.value());
}

void DxfFileReader::takeHandseed()
{
    std::uint64_t seed = 0;
    if (!tryParseDxfHandle(m_reader.value(), seed)) {
        m_repairs.note("an unreadable $HANDSEED replaced by the next free handle");
        return;
    }
    // Handles this reader gives out come from above the file's own.
    m_handseed = seed;
    if (m_handseed > m_db->handseed().value())
        m_db->setHandseed(OdDbHandle(m_handseed));
}

bool DxfFileReader::takeHeaderVariable(const SysVarDef& def, const std::string& name, std::size_t nameLine)
{
    if (m_reader.code() != def.groupCode) {
        m_repairs.note("header variables under an unexpected group code reset to their defaults");
        while (m_reader.code() != 9 && m_reader.code() != 0)
            expectNext("the HEADER section");
        return false;
    }
    OdResBufPtr value = readHeaderValue(def, name, nameLine);
    if (name == "$DWGCODEPAGE")
        m_reader.codec().setCodePage(m_reader.value());
    try {
        m_db->sysVars().setFromFile(def, value);
    } catch (const OdError& e) {
        failAt(nameLine, "header variable " + name + ": " + e.what());
    }
    return true;
}

OdResBufPtr DxfFileReader::readHeaderValue(const SysVarDef& def, const std::string& name, std::size_t nameLine)
{
    OdResBufPtr value = OdResBuf::newRb(def.groupCode);
    switch (OdResBuf::kindOfCode(def.groupCode)) {
    case OdResBuf::ValueKind::Point3d: {
        OdGePoint3d p;
        p.x = m_reader.asDouble();
        expectNext("the HEADER section");
        if (m_reader.code() != def.groupCode + 10)
            failAt(m_reader.line(), "header variable " + name + " lacks its y coordinate");
        p.y = m_reader.asDouble();
        expectNext("the HEADER section");
        if (m_reader.code() == def.groupCode + 20)
            p.z = m_reader.asDouble();
        else
            m_reader.pushBack();
        value->setPoint3d(p);
        break;
    }
    case OdResBuf::ValueKind::String: value->setString(OdString::fromUtf8(m_reader.asString())); break;
    case OdResBuf::ValueKind::Double: value->setDouble(m_reader.asDouble()); break;
    case OdResBuf::ValueKind::Int16: value->setInt16(m_reader.asInt16()); break;
    case OdResBuf::ValueKind::Int32: value->setInt32(m_reader.asInt32()); break;
    case OdResBuf::ValueKind::Bool: value->setBool(m_reader.asBool()); break;
    case OdResBuf::ValueKind::Handle: value->setHandle(OdDbHandle(m_reader.asHandle())); break;
    default: failAt(nameLine, "header variable " + name + " has a kind of value the reader does not take");
    }
    return value;
}

// A variable the drawing does not model, with its value tags; consecutive ones share a run. It is
// kept only in a form every reader takes, one value or one point, and dropped (and said) else.
void DxfFileReader::keepHeaderVariable(const std::string& name, bool& runOpen)
{
    DxfTagList value;
    while (!(m_reader.code() == 9 || m_reader.code() == 0)) {
        m_reader.appendTo(value);
        expectNext("the HEADER section");
    }
    if (!singleHeaderValue(value)) {
        m_repairs.note("unknown header variables without a single value or point dropped");
        return;
    }
    DxfTagList& keep = m_drawingExtra->tags;
    if (!runOpen) {
        keep.append(kDxfRunHeader, std::string());
        runOpen = true;
    }
    keep.append(9, name);
    keep.append(value);
}

bool DxfFileReader::singleHeaderValue(const DxfTagList& value)
{
    if (value.size() == 1)
        return value[0].code < 10 || value[0].code > 39;
    if (value.size() < 2 || value.size() > 3)
        return false;
    const int x = value[0].code;
    return x >= 10 && x <= 18 && value[1].code == x + 10 && (value.size() == 2 || value[2].code == x + 20);
}

} // namespace vantrel
