// The public DXF entry points: whole-drawing read into a fresh database (nothing half-read ever
// escapes) and atomic write.
#include <vantrel/db/DxfFile.h>

#include <optional>

#include "AtomicFile.h"
#include "DxfFileReader.h"
#include "DxfFileWriter.h"
#include "DxfTagReader.h"
#include "DxfTagWriter.h"

namespace vantrel {

namespace {

DxfReadResult readFrom(DxfTagReader& reader)
{
    DxfFileReader fileReader(reader);
    return {fileReader.read(), std::string()};
}

} // namespace

DxfReadResult readDxf(const std::string& path)
{
    try {
        DxfTagReader reader = DxfTagReader::fromFile(path);
        return readFrom(reader);
    } catch (const OdError& e) {
        return {OdDbDatabasePtr(), path + ": " + e.what()};
    } catch (const std::bad_alloc&) {
        return {OdDbDatabasePtr(), path + ": not enough memory to read the drawing"};
    }
}

DxfReadResult readDxfText(std::string_view text)
{
    try {
        DxfTagReader reader(text);
        return readFrom(reader);
    } catch (const OdError& e) {
        return {OdDbDatabasePtr(), e.what()};
    } catch (const std::bad_alloc&) {
        return {OdDbDatabasePtr(), "not enough memory to read the drawing"};
    }
}

std::string writeDxf(OdDbDatabase& db, const std::string& path)
{
    try {
        AtomicFile file(path);
        DxfTagWriter out([&file](std::string_view piece) { file.write(piece); });
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
    DxfTagWriter out(1 << 20);
    DxfFileWriter(db, out).write();
    return std::string(out.text());
}

} // namespace vantrel
