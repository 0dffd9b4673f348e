// The base the module's concrete trackers derive from; it adds nothing to HostEdInputTracker.
#pragma once

#include <vantrel/host/HostEdInputTracker.h>
#include <vantrel/host/HostExport.h>

class VANTREL_HOST_EXPORT HostEdPointTracker : public HostEdInputTracker {
public:
    ~HostEdPointTracker() override;
};
