// Feeds arbitrary bytes to the DXF reader: it must answer a drawing or one error, never crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <vantrel/db/DxfFile.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto result = vantrel::readDxfText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (result.database && !result.error.empty())
        __builtin_trap(); // a drawing and an error at once
    if (result.database)
        (void)vantrel::dxfText(*result.database);
    return 0;
}
