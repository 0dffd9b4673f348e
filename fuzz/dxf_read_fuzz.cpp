// Feeds arbitrary bytes to the DXF reader, as ASCII and (inputs whose first byte is odd) as binary
// DXF: it must answer a drawing or one error, never crash; what it refuses is read again
// recovering; and whatever either accepts, it must save as a file that reads back without a
// repair (data kept as it is aside) and saves the same again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <vantrel/db/DxfFile.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string binary;
    if (size > 0 && (data[0] & 1)) {
        binary = std::string("AutoCAD Binary DXF\r\n\x1a", 21) + '\0' + std::string(bytes.substr(1));
        bytes = binary;
    }
    auto result = vantrel::readDxfText(bytes);
    if (result.database && !result.error.empty())
        __builtin_trap(); // a drawing and an error at once
    if (!result.database) {
        result = vantrel::readDxfText(bytes, {.recover = true});
        if (result.database && result.repairs.empty())
            __builtin_trap(); // recovered from a refusal without saying what it did
    }
    if (!result.database)
        return 0;
    const std::string saved = vantrel::dxfText(*result.database);
    auto again = vantrel::readDxfText(saved);
    if (!again.database)
        __builtin_trap(); // a save its own reader refuses
    // Data kept as it is (a hatch's unreadable boundary, an insert of scale 0, a block inserting
    // itself) is written back unchanged, so it is told again at every reading ("kept as read",
    // "kept as they are"); anything else must not need mending.
    for (const std::string& repair : again.repairs)
        if (repair.find(" kept as ") == std::string::npos)
            __builtin_trap(); // a save its own reader must mend
    if (vantrel::dxfText(*again.database) != saved)
        __builtin_trap(); // a second save unlike the first
    return 0;
}
