// The public DXF entry points: whole-drawing read into a fresh database (nothing half-read ever
// escapes) and atomic write.
#include <vantrel/db/DxfFile.h>

#include <algorithm>
#include <optional>

#include <vantrel/db/OutputFile.h>
#include "DxfError.h"
#include "DxfFileReader.h"
#include "DxfFileWriter.h"
#include "DxfTagReader.h"
#include "DxfTagWriter.h"

namespace vantrel {

namespace {

DxfReadResult readFrom(DxfTagReader& reader, DxfReadOptions options)
{
    DxfFileReader fileReader(reader, options.recover);
    try {
        OdDbDatabasePtr db = fileReader.read();
        return {db, std::string(), fileReader.repairs()};
    } catch (const DxfError& e) {
        if (!reader.isBinary())
            throw;
        throw OdError(eBadDxfFile, reader.placeOfLine(e.line()) + ": " + e.problem());
    }
}

DxfReadResult refusal(std::string error)
{
    DxfReadResult result;
    result.error = std::move(error);
    return result;
}

} // namespace

DxfReadResult readDxf(const std::string& path, DxfReadOptions options)
{
    try {
        DxfTagReader reader = DxfTagReader::fromFile(path);
        return readFrom(reader, options);
    } catch (const OdError& e) {
        return refusal(path + ": " + e.what());
    } catch (const std::bad_alloc&) {
        return refusal(path + ": not enough memory to read the drawing");
    }
}

DxfReadResult readDxfText(std::string_view text, DxfReadOptions options)
{
    try {
        DxfTagReader reader(text);
        return readFrom(reader, options);
    } catch (const OdError& e) {
        return refusal(e.what());
    } catch (const std::bad_alloc&) {
        return refusal("not enough memory to read the drawing");
    }
}

std::string writeDxf(OdDbDatabase& db, const std::string& path)
{
    try {
        OutputFile file(path);
        DxfTagWriter out([&file](NumberedText& piece) { return file.write(piece); });
        DxfFileWriter(db, out).write();
        out.flush();
        file.commit();
        return std::string();
    } catch (const OdError& e) {
        return path + ": " + e.what();
    }
}

std::string dxfRecordName(const OdDbObject& object)
{
    if (const DxfClassMap* map = dxfClassMap(object.isA()))
        return map->recordName;
    if (const DxfExtra* extra = object.dxfExtra().get())
        return extra->recordName;
    return std::string();
}

std::string dxfText(OdDbDatabase& db)
{
    // Written through a small buffer that stays in cache into one string reserved for the whole
    // text: a buffer grown by doubling would copy the text over and over and, above all, touch
    // fresh memory each time. Reserved room that is never written costs no memory.
    constexpr std::size_t kBytesPerObject = 256;
    std::string text;
    text.reserve(std::max<std::size_t>(1 << 16, db.numObjects() * kBytesPerObject));
    DxfTagWriter out([&text](std::string_view piece) { text.append(piece); }, std::size_t(1) << 16);
    DxfFileWriter(db, out).write();
    out.flush();
    return text;
}

} // namespace vantrel
