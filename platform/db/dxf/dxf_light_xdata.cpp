// Writing and reading the VANTREL extended data of lights. Reading goes through the light's
// own setters on a scratch copy, so a file is held to the same rules as a command.
#include "dxf_light_xdata.h"
#include "db_key.h"

#include <string>

#include <vantrel/db/OdDbLight.h>

namespace vantrel {

namespace {

// Extended data strings hold at most 255 bytes; pieces of at most 120 bytes of UTF-8 stay
// within it even when every byte needs an escape, and never split a character.
constexpr std::size_t kPieceBytes = 120;

class ChainWriter {
public:
    ChainWriter() : m_head(OdResBuf::newRb(1001, OdString(kLightXDataApp))), m_tail(m_head.get()) {}

    void int16(int value) { append(OdResBuf::newRb(1070, static_cast<std::int32_t>(value))); }
    void int32(std::int32_t value) { append(OdResBuf::newRb(1071, value)); }
    void real(double value) { append(OdResBuf::newRb(1040, value)); }
    // A count of pieces (1070), then the pieces (1000).
    void text(const OdString& value)
    {
        const std::string utf8 = value.toUtf8();
        std::vector<std::string> pieces;
        for (std::size_t begin = 0; begin < utf8.size();) {
            std::size_t end = std::min(utf8.size(), begin + kPieceBytes);
            while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
                --end;
            pieces.push_back(utf8.substr(begin, end - begin));
            begin = end;
        }
        int16(static_cast<int>(pieces.size()));
        for (const std::string& piece : pieces)
            append(OdResBuf::newRb(1000, OdString::fromUtf8(piece)));
    }
    OdResBufPtr chain() const { return m_head; }

private:
    void append(const OdResBufPtr& node)
    {
        m_tail->setNext(node);
        m_tail = node.get();
    }

    OdResBufPtr m_head;
    OdResBuf* m_tail;
};

// Reads the nodes in order; any surprise raises OdError, which the caller turns into "not ours".
class ChainReader {
public:
    explicit ChainReader(const OdResBuf& chain) : m_next(chain.next().get()) {}

    int int16() { return take(1070).getInt16(); }
    std::int32_t int32() { return take(1071).getInt32(); }
    double real() { return take(1040).getDouble(); }
    OdString text()
    {
        const int pieces = int16();
        if (pieces < 0)
            throw OdError(eInvalidInput, "a negative piece count");
        OdString value;
        for (int i = 0; i < pieces; ++i)
            value += take(1000).getString();
        return value;
    }
    bool atEnd() const { return m_next == nullptr; }

private:
    const OdResBuf& take(int code)
    {
        if (!m_next || m_next->restype() != code)
            throw OdError(eInvalidInput, "extended data out of layout");
        const OdResBuf& node = *m_next;
        m_next = node.next().get();
        return node;
    }

    const OdResBuf* m_next;
};

bool flag(int value)
{
    if (value != 0 && value != 1)
        throw OdError(eInvalidInput, "a flag is 0 or 1");
    return value == 1;
}

OdCmColor colorOf(int method, std::int32_t value, const OdString& name, const OdString& book)
{
    OdCmColor color;
    switch (method) {
    case OdCmEntityColor::kByLayer: break;
    case OdCmEntityColor::kByBlock: color.setByBlock(); break;
    case OdCmEntityColor::kByACI:
        if (value < 1 || value > 255)
            throw OdError(eInvalidInput, "a colour index is 1 to 255");
        color.setColorIndex(static_cast<std::int16_t>(value));
        break;
    case OdCmEntityColor::kByColor:
        if (value < 0 || value > 0xFFFFFF)
            throw OdError(eInvalidInput, "a true colour is 24 bits");
        color.setRGB(static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value));
        color.setNames(name, book);
        break;
    case OdCmEntityColor::kForeground:
    case OdCmEntityColor::kNone: color = OdCmColor(static_cast<OdCmEntityColor::ColorMethod>(method)); break;
    default: throw OdError(eInvalidInput, "an unknown colour method");
    }
    return color;
}

std::int32_t colorValueOf(const OdCmColor& c)
{
    if (c.isByACI())
        return c.colorIndex();
    if (c.isByColor())
        return static_cast<std::int32_t>(c.rgb());
    return 0;
}

} // namespace

OdResBufPtr lightXData(const OdDbObject& object)
{
    const OdDbLight::Data& d = static_cast<const OdDbLight&>(object).data();
    ChainWriter w;
    w.int16(kLightXDataLayout);
    w.int16(d.lightType == OdGiDrawable::kWebLight ? 1 : 0);
    w.int16(d.hasTarget ? 1 : 0);
    w.real(d.physicalIntensity);
    w.int16(d.physicalIntensityMethod);
    w.real(d.illuminanceDistance);
    w.int16(d.lampColorType);
    w.real(d.lampColorTemp);
    w.int16(d.lampColorPreset);
    w.real(d.lampColorRGB.red);
    w.real(d.lampColorRGB.green);
    w.real(d.lampColorRGB.blue);
    w.int16(d.lightColor.colorMethod());
    w.int32(colorValueOf(d.lightColor));
    w.text(d.lightColor.colorName());
    w.text(d.lightColor.bookName());
    w.text(d.webFile);
    w.real(d.webRotation.x);
    w.real(d.webRotation.y);
    w.real(d.webRotation.z);
    return w.chain();
}

bool takeLightXData(OdDbObject& object, const OdResBuf& chain)
{
    OdDbLight& light = static_cast<OdDbLight&>(object);
    OdDbLightPtr scratch = OdDbLight::createObject();
    scratch->dataForWrite(vantrel::dbKey()) = light.data();
    try {
        ChainReader r(chain);
        if (r.int16() != kLightXDataLayout)
            return false;
        const bool web = flag(r.int16());
        if (web && scratch->data().lightType == OdGiDrawable::kPointLight)
            scratch->setLightType(OdGiDrawable::kWebLight);
        scratch->setHasTarget(flag(r.int16()));
        scratch->setPhysicalIntensity(r.real());
        scratch->setPhysicalIntensityMethod(static_cast<OdDbLight::PhysicalIntensityMethod>(r.int16()));
        scratch->setIlluminanceDistance(r.real());
        scratch->setLampColorType(static_cast<OdDbLight::LampColorType>(r.int16()));
        scratch->setLampColorTemp(r.real());
        scratch->setLampColorPreset(static_cast<OdDbLight::LampColorPreset>(r.int16()));
        LampRgb custom;
        custom.red = r.real();
        custom.green = r.real();
        custom.blue = r.real();
        scratch->setLampColorRGB(custom);
        const int method = r.int16();
        const std::int32_t value = r.int32();
        const OdString name = r.text();
        const OdString book = r.text();
        scratch->setLightColor(colorOf(method, value, name, book));
        scratch->setWebFile(r.text());
        OdGeVector3d rotation;
        rotation.x = r.real();
        rotation.y = r.real();
        rotation.z = r.real();
        scratch->setWebRotation(rotation);
        if (!r.atEnd())
            return false;
    } catch (const OdError&) {
        return false;
    }
    light.dataForWrite(vantrel::dbKey()) = scratch->data();
    return true;
}

} // namespace vantrel
