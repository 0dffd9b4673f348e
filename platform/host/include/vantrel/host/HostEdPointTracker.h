// The base the module's concrete trackers derive from; it adds nothing to HostEdInputTracker.
#pragma once

#include <vantrel/host/HostEdInputTracker.h>

class HostEdPointTracker : public HostEdInputTracker {
public:
    ~HostEdPointTracker() override;
};
