// The host profile as the command module sees it: settings grouped in named sections such as
// "cmddata\revcloud", which live beyond one session.
#pragma once

#include <vantrel/db/OdString.h>
#include <vantrel/host/IProfileSection.h>
#include <vantrel/host/HostExport.h>

class VANTREL_HOST_EXPORT IProfile {
public:
    virtual ~IProfile() = default;

    // The section, created when absent. The reference stays valid as long as the profile.
    // Raises OdError(eInvalidInput) for an empty name.
    virtual IProfileSection& openSection(const OdString& name) = 0;
};
