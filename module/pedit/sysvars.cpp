// Reading PEdit's system variables through the host's one service for them.
#include "pedit/sysvars.h"

#include <vantrel/db/OdError.h>
#include <vantrel/host/HostApplication.h>

#include "frame/host_binding.h"

namespace vantrel::pedit {

std::optional<std::int32_t> readSysVar(const wchar_t* name, OdDbDatabase* db)
{
    HostApplication* application = hostApplication();
    if (!application)
        return std::nullopt;
    try {
        return application->getSysVar(name, db)->getInt32();
    } catch (const OdError&) {
        return std::nullopt;
    }
}

SplineSettings splineSettings(OdDbDatabase* db)
{
    SplineSettings settings;
    settings.quadratic = readSysVar(L"SPLINETYPE", db).value_or(5) == 5;
    settings.segments = static_cast<std::int16_t>(readSysVar(L"SPLINESEGS", db).value_or(8));
    return settings;
}

} // namespace vantrel::pedit
