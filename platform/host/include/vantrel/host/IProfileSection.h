// One named section of the host profile as commands see it: values by key, each a CHxVariant.
#pragma once

#include <vantrel/db/OdString.h>
#include <vantrel/hxicore/CHxVariant.h>
#include <vantrel/host/HostExport.h>

class VANTREL_HOST_EXPORT IProfileSection {
public:
    virtual ~IProfileSection() = default;

    virtual const OdString& name() const = 0;
    // The stored value; an empty variant when the key is missing or holds something a variant
    // cannot carry (the caller treats both as "not set").
    virtual CHxVariant getValue(const OdString& key) const = 0;
    // Stores the value; an empty variant removes the key. Raises OdError(eFileError) when the
    // profile cannot be saved; the value still holds for the rest of the session.
    virtual void setValue(const OdString& key, const CHxVariant& value) = 0;
};
