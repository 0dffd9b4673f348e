// Anchors the point tracker's class description in the host library for the modules that
// derive from it.
#include <vantrel/host/HostEdPointTracker.h>

HostEdPointTracker::~HostEdPointTracker() = default;
