// The records themselves: a record's tags read through its class map into its object, subclass
// by subclass, with the fields' checks; what no field takes kept in runs that say where it
// belongs; extension dictionaries and extended data.
#include "DxfFileReader.h"

#include <algorithm>
#include <charconv>

#include "DxfError.h"
#include "DxfUnknownObject.h"
#include "dxf_upgrade.h"
#include "dxf_values.h"

namespace vantrel {

namespace {

std::string shortest(double v)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// A field's default as a repair line gives it.
std::string defaultText(const DxfValue& value)
{
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, double>)
                return shortest(v);
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return std::to_string(v);
            else if constexpr (std::is_same_v<T, std::string>)
                return quoteDxfValue(v);
            else if constexpr (std::is_same_v<T, OdGePoint3d>)
                return shortest(v.x) + "," + shortest(v.y) + "," + shortest(v.z);
            else
                return "none";
        },
        value);
}

} // namespace

struct DxfFileReader::RecordScan {
    RecordScan(const DxfClassMap& m, std::string_view n) : map(m), name(n) {}

    const DxfClassMap& map;
    std::string_view name;
    DxfTagList keep;
    // The run the kept tags go in: the subclass they were found in, or the record's head.
    int runCode = 0;
    std::string runValue;
    // The subclass being read: -1 before any marker, -2 inside a subclass no map declares.
    int sub = -1;
    // The subclass read before the first one no map declares began.
    int beforeUnknown = -1;
    bool anyMarker = false;
    bool sawHandle = false;
    bool ownerRead = false;
    OdDbObjectId extDict;
    OdResBufPtr xdata;
    // Fields that declare how many items follow, with the count declared.
    std::vector<std::pair<const DxfField*, std::int64_t>> counts;
    // The 70 and 71 of a record without markers, which decide its layout in later releases.
    DxfTagList flags;

    void openRun(int code, const std::string& value)
    {
        if (runCode != code || runValue != value) {
            keep.append(code, value);
            runCode = code;
            runValue = value;
        }
    }
    // The field of the subclass being read that takes code, if any: the look-up of nearly
    // every tag, so it is made in place before fieldOf's other cases.
    const DxfField* ownField(int code) const
    {
        return sub >= 0 ? map.subclasses[static_cast<std::size_t>(sub)].readerOf(code) : nullptr;
    }
    // Whether the record's own (last) subclass is still to come; inside a subclass no map
    // declares, by the known one read before it.
    bool beforeLastSubclass() const
    {
        return (sub == -2 ? beforeUnknown : sub) < static_cast<int>(map.subclasses.size()) - 1;
    }
};

DxfFileReader::Record DxfFileReader::readRecord(const DxfClassMap& map, OdDbObject& obj, std::string_view recordName)
{
    m_heap.follow();
    Record rec;
    rec.line = m_reader.line();
    m_dropReason.clear();
    m_ctx->pendingName.reset();
    m_ctx->sortHandles.clear();
    m_ctx->asRead.clear();
    m_ctx->gathered.clear();
    RecordScan scan(map, recordName);
    for (;;) {
        expectNext("", recordName);
        const int code = m_reader.code();
        if (code == 0) {
            m_reader.pushBack();
            break;
        }
        if (!scan.anyMarker && readRecordHead(scan, rec))
            continue;
        if (code == 100) {
            enterSubclass(scan);
            continue;
        }
        if (code == 1001) {
            scan.xdata = readXData();
            break;
        }
        if (code == 101) {
            // An embedded object (an attribute's multiline text) to the record's end: its codes
            // are its own, not the subclass's, so it is kept whole.
            keepAsUnknown(scan);
            continue;
        }
        if (!scan.anyMarker && (code == 70 || code == 71))
            scan.flags.append(code, m_reader.value());
        const DxfField* field = scan.ownField(code);
        if (!field)
            field = fieldOf(scan);
        if (field && readField(*field, obj, recordName)) {
            if (field->count)
                scan.counts.emplace_back(field, m_reader.asInt64());
            continue;
        }
        keepTag(scan);
    }
    endRecord(scan, obj, rec);
    rec.extra = keptTags(scan);
    return rec;
}

bool DxfFileReader::readRecordHead(RecordScan& scan, Record& rec)
{
    const int code = m_reader.code();
    if (code == 5 && !scan.sawHandle) {
        scan.sawHandle = true;
        rec.handle = readHandle();
        return true;
    }
    if (code == 102) {
        DxfTagList group;
        readGroup102(group, scan.extDict);
        if (!group.empty()) {
            scan.openRun(kDxfRunHead, std::string());
            scan.keep.append(group);
        }
        return true;
    }
    if (code == 330 && !scan.ownerRead) {
        scan.ownerRead = true;
        std::uint64_t owner = 0;
        if (tryParseDxfHandle(m_reader.value(), owner))
            rec.owner = m_ctx->idOfHandle(owner);
        else
            m_repairs.note("unreadable owner handles replaced by the records' places in the file");
        return true;
    }
    return false;
}

void DxfFileReader::enterSubclass(RecordScan& scan)
{
    scan.anyMarker = true;
    const auto& subclasses = scan.map.subclasses;
    for (int j = scan.sub < 0 ? 0 : scan.sub + 1; j < static_cast<int>(subclasses.size()); ++j) {
        const DxfSubclass& candidate = subclasses[static_cast<std::size_t>(j)];
        if ((candidate.marker && sameDxfText(m_reader.value(), candidate.markerText))
            || (candidate.otherMarker && sameDxfText(m_reader.value(), candidate.otherMarker))) {
            scan.sub = j;
            return;
        }
    }
    // A marker a letter or two off the one that comes next means that one (a
    // table record's generic part included, so that its own marker still follows).
    const int next = scan.sub < 0 ? 0 : scan.sub + 1;
    if (scan.sub >= -1 && next < static_cast<int>(subclasses.size())
        && subclasses[static_cast<std::size_t>(next)].marker
        && misspeltDxfMarker(m_reader.value(), subclasses[static_cast<std::size_t>(next)].markerText)) {
        m_repairs.note("misspelt subclass markers read as the ones expected there");
        scan.sub = next;
        return;
    }
    // A table record's data lies in its own subclass; a file that misspells that marker still
    // means it (the generic AcDbSymbolTableRecord part holds nothing).
    if (scan.map.tableRecord && scan.beforeLastSubclass()) {
        m_repairs.note("misspelt subclass markers of table records read as the record's own");
        scan.sub = static_cast<int>(subclasses.size()) - 1;
        return;
    }
    keepAsUnknown(scan);
}

void DxfFileReader::keepAsUnknown(RecordScan& scan)
{
    if (scan.sub != -2)
        scan.beforeUnknown = scan.sub;
    scan.sub = -2;
    scan.keep.append(kDxfRunUnknown, std::string());
    scan.runCode = kDxfRunUnknown;
    scan.runValue.clear();
    m_reader.appendTo(scan.keep);
}

const DxfField* DxfFileReader::fieldOf(RecordScan& scan)
{
    const int code = m_reader.code();
    const auto& subclasses = scan.map.subclasses;
    if (scan.sub >= 0) {
        if (const DxfField* field = subclasses[static_cast<std::size_t>(scan.sub)].readerOf(code))
            return field;
        // A table record without its subclass marker: its fields are still its own.
        if (scan.map.tableRecord && scan.beforeLastSubclass())
            if (const DxfField* field = subclasses.back().readerOf(code)) {
                m_repairs.note("table records without their subclass marker read as if it were there");
                scan.sub = static_cast<int>(subclasses.size()) - 1;
                return field;
            }
        return nullptr;
    }
    if (!scan.anyMarker)
        for (const DxfSubclass& s : subclasses)
            if (const DxfField* field = s.readerOf(code))
                return field;
    return nullptr;
}

void DxfFileReader::keepTag(RecordScan& scan)
{
    if (scan.sub >= 0)
        scan.openRun(kDxfRunSubclass, std::to_string(scan.sub));
    else if (scan.sub == -1)
        scan.openRun(scan.ownerRead ? kDxfRunAfterOwner : kDxfRunHead, std::string());
    m_reader.appendTo(scan.keep);
}

void DxfFileReader::endRecord(RecordScan& scan, OdDbObject& obj, Record& rec)
{
    const DxfClassMap& map = scan.map;
    try {
        if (!scan.extDict.isNull())
            obj.setExtensionDictionary(scan.extDict);
        if (scan.xdata) {
            obj.setXData(scan.xdata.get());
            if (map.xdataApp)
                if (OdResBufPtr own = obj.xData(map.xdataApp); own && map.takeXData(obj, *own))
                    obj.setXData(OdResBuf::newRb(1001, OdString(map.xdataApp)).get());
        }
        checkCounts(scan, obj, rec);
        if (map.finish)
            map.finish(obj, *m_ctx);
    } catch (const DxfError&) {
        throw;
    } catch (const OdError& e) {
        const std::string problem = std::string(scan.name) + ": " + e.what();
        if (!m_recover || !map.entity)
            failAt(rec.line, problem);
        if (m_dropReason.empty())
            m_dropReason = "line " + std::to_string(rec.line) + ": " + problem;
    }
    rec.dropped = std::move(m_dropReason);
    m_dropReason.clear();
}

void DxfFileReader::checkCounts(const RecordScan& scan, const OdDbObject& obj, const Record& rec)
{
    for (const auto& [field, declared] : scan.counts) {
        const std::int64_t actual = std::get<std::int64_t>(field->get(obj, *m_ctx));
        if (actual == declared)
            continue;
        const std::string problem = std::string(scan.name) + ": group code " + std::to_string(field->code)
            + " declares " + std::to_string(declared) + " items, but " + std::to_string(actual) + " follow";
        if (!m_recover)
            failAt(rec.line, problem);
        m_recovered.push_back("line " + std::to_string(rec.line) + ": " + problem + "; the " + std::to_string(actual)
                              + " that follow kept");
    }
}

std::shared_ptr<DxfExtra> DxfFileReader::keptTags(RecordScan& scan)
{
    if (scan.keep.empty() && m_ctx->asRead.empty())
        return nullptr; // what nearly every record of a drawing keeps
    DxfTagList keep = std::move(scan.keep);
    if (!scan.anyMarker && !keep.empty())
        keep = placeUnmarkedTags(scan.map, scan.name, keep, scan.flags);
    if (!m_ctx->asRead.empty()) {
        keep.append(kDxfRunAsRead, std::string());
        for (const auto& [code, text] : m_ctx->asRead)
            keep.append(code, text);
    }
    if (keep.empty())
        return nullptr;
    auto extra = std::make_shared<DxfExtra>();
    extra->tags = std::move(keep);
    return extra;
}

DxfTagList DxfFileReader::placeUnmarkedTags(const DxfClassMap& map, std::string_view recordName, const DxfTagList& keep,
                                            const DxfTagList& flags)
{
    // Without markers every tag no field took is in the head run; they are the record's own
    // data, which goes after its modelled fields or into the subclasses later releases have.
    DxfTagList data;
    for (DxfTagList::Tag t : keep)
        if (t.code >= 0)
            data.append(t.code, t.value);
    DxfTagList placed;
    if (&map == &dxfUnknownEntityMap() || map.entity) {
        // Each subclass of the record's layout: one the map declares takes its tags in its own
        // run; one it does not (a dimension's kind) is kept as an unknown subclass with its marker.
        std::vector<DxfUpgradedSubclass> subclasses = upgradeUnmarkedEntity(recordName, data, flags);
        for (const DxfUpgradedSubclass& sub : subclasses) {
            const auto declared = std::find_if(map.subclasses.begin(), map.subclasses.end(), [&](const DxfSubclass& s) {
                return (s.marker && std::string_view(s.marker) == sub.marker)
                    || (s.otherMarker && std::string_view(s.otherMarker) == sub.marker);
            });
            if (declared != map.subclasses.end()) {
                if (!sub.tags.empty())
                    placed.append(kDxfRunSubclass, std::to_string(declared - map.subclasses.begin()));
            } else {
                placed.append(kDxfRunUnknown, std::string());
                placed.append(100, sub.marker);
            }
            placed.append(sub.tags);
        }
        if (!subclasses.empty())
            return placed;
    }
    if (map.subclasses.empty())
        return keep;
    placed.append(kDxfRunSubclass, std::to_string(map.subclasses.size() - 1));
    placed.append(data);
    return placed;
}

bool DxfFileReader::readField(const DxfField& field, OdDbObject& obj, std::string_view recordName)
{
    const int code = m_reader.code();
    const std::size_t line = m_reader.valueLine();
    const std::string_view valueText = m_reader.value();
    DxfIn value;
    switch (field.kind) {
    case DxfFieldKind::Double: value.number = m_reader.asDouble(); break;
    case DxfFieldKind::Angle: {
        const double degrees = m_reader.asDouble();
        value.number = dxfDegreesToRadians(degrees);
        // Texts of 16 digits and more may be a neighbour of the shortest text that reads back
        // as the same radians: such a one is kept when the writer would choose another.
        if (m_reader.value().size() > 16 && stableDegrees(value.number) != degrees)
            m_ctx->asRead.emplace_back(code, std::string(trimDxfBlanks(m_reader.value())));
        break;
    }
    case DxfFieldKind::Int16:
    case DxfFieldKind::Int32:
    case DxfFieldKind::Bool:
        switch (dxfValueType(code)) {
        case DxfValueType::Bool: value.integer = m_reader.asBool(); break;
        case DxfValueType::Int16: value.integer = m_reader.asInt16(); break;
        case DxfValueType::Int32: value.integer = m_reader.asInt32(); break;
        default: value.integer = m_reader.asInt64(); break;
        }
        break;
    case DxfFieldKind::String: value.text = m_reader.asText(m_text); break;
    case DxfFieldKind::Handle: {
        // A pointer that holds a name or nothing, as some writers put there, is kept as it is.
        std::uint64_t h = 0;
        if (!tryParseDxfHandle(m_reader.value(), h))
            return false;
        value.id = h ? m_ctx->idOfHandle(h) : OdDbObjectId();
        break;
    }
    case DxfFieldKind::HandleValue: value.integer = static_cast<std::int64_t>(m_reader.asHandle()); break;
    case DxfFieldKind::Point2d:
    case DxfFieldKind::Point3d: {
        OdGePoint3d& p = value.point;
        p.x = m_reader.asDouble();
        expectNext("", recordName);
        if (m_reader.code() != code + 10)
            failAt(m_reader.line(),
                   "group code " + std::to_string(code) + " must be followed by group code "
                       + std::to_string(code + 10));
        p.y = m_reader.asDouble();
        if (field.kind == DxfFieldKind::Point3d) {
            expectNext("", recordName);
            if (m_reader.code() == code + 20)
                p.z = m_reader.asDouble();
            else
                m_reader.pushBack();
        }
        break;
    }
    }
    try {
        field.set(obj, value, *m_ctx);
    } catch (const DxfError&) {
        throw;
    } catch (const OdError& e) {
        const std::string fieldText = !field.name.empty()
            ? std::string(field.name) + " (group code " + std::to_string(code) + ")"
            : "group code " + std::to_string(code);
        const std::string problem = std::string(recordName) + ", " + fieldText + " "
            + quoteDxfValue(trimDxfBlanks(valueText)) + ": " + e.what();
        if (!m_recover)
            failAt(line, problem);
        recoverField(field, obj, line, problem);
    }
    return true;
}

void DxfFileReader::recoverField(const DxfField& field, OdDbObject& obj, std::size_t line, const std::string& problem)
{
    DxfIn fallback;
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, double>)
                fallback.number = v;
            else if constexpr (std::is_same_v<T, std::int64_t>)
                fallback.integer = v;
            else if constexpr (std::is_same_v<T, std::string>)
                fallback.text = v;
            else if constexpr (std::is_same_v<T, OdGePoint3d>)
                fallback.point = v;
            else
                fallback.id = v;
        },
        field.defaultValue);
    try {
        field.set(obj, fallback, *m_ctx);
        m_recovered.push_back("line " + std::to_string(line) + ": " + problem + "; set to "
                              + defaultText(field.defaultValue));
    } catch (const OdError&) {
        if (m_dropReason.empty())
            m_dropReason = "line " + std::to_string(line) + ": " + problem;
    }
}

void DxfFileReader::readGroup102(DxfTagList& keep, OdDbObjectId& extDict)
{
    const std::string opening(m_reader.value());
    const bool xdict = opening == "{ACAD_XDICTIONARY";
    if (!xdict)
        m_reader.appendTo(keep);
    for (;;) {
        expectNext("a 102 group");
        if (m_reader.code() == 0)
            failAt(m_reader.line(), "the 102 group " + quoteDxfValue(opening) + " is not closed");
        if (xdict && m_reader.code() == 360) {
            std::uint64_t h = 0;
            if (tryParseDxfHandle(m_reader.value(), h) && h != 0)
                extDict = m_ctx->idOfHandle(h);
            else
                m_repairs.note("extension dictionary pointers that name no object dropped");
            continue;
        }
        if (!xdict || m_reader.code() != 102)
            m_reader.appendTo(keep);
        if (m_reader.code() == 102)
            return;
    }
}

OdResBufPtr DxfFileReader::readXData()
{
    OdResBufPtr head;
    OdResBuf* tail = nullptr;
    for (;;) {
        const int code = m_reader.code();
        if (code == 0) {
            m_reader.pushBack();
            return head;
        }
        if (code < 1000)
            failAt(m_reader.line(), "group code " + std::to_string(code) + " inside extended data");
        OdResBufPtr node = OdResBuf::newRb(code);
        if (code >= 1010 && code <= 1013) {
            double x = m_reader.asDouble();
            expectNext("extended data");
            if (m_reader.code() != code + 10)
                failAt(m_reader.line(),
                       "group code " + std::to_string(code) + " must be followed by group code "
                           + std::to_string(code + 10));
            double y = m_reader.asDouble();
            expectNext("extended data");
            if (m_reader.code() != code + 20)
                failAt(m_reader.line(),
                       "group code " + std::to_string(code) + " must be followed by group code "
                           + std::to_string(code + 20));
            node->setPoint3d(OdGePoint3d(x, y, m_reader.asDouble()));
        } else {
            switch (dxfValueType(code)) {
            case DxfValueType::Double: node->setDouble(m_reader.asDouble()); break;
            case DxfValueType::Int16: node->setInt16(m_reader.asInt16()); break;
            case DxfValueType::Int32: node->setInt32(m_reader.asInt32()); break;
            case DxfValueType::Handle: node->setHandle(OdDbHandle(m_reader.asHandle())); break;
            case DxfValueType::Binary:
                checkDxfBinary(m_reader.value(), code, m_reader.valueLine());
                node->setBinaryHex(std::string(trimDxfBlanks(m_reader.value())));
                break;
            case DxfValueType::String: node->setString(OdString::fromUtf8(m_reader.asString())); break;
            default: failAt(m_reader.line(), "group code " + std::to_string(code) + " is not an extended data code");
            }
        }
        if (tail)
            tail->setNext(node);
        else
            head = node;
        tail = node.get();
        if (!m_reader.next())
            failAt(m_reader.line() + 1, "the file ends inside extended data");
    }
}

} // namespace vantrel
