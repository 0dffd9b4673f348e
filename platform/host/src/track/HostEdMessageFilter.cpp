// A filter that handles no message, so the host acts on every message a tracker leaves alone.
#include <vantrel/host/HostEdMessageFilter.h>

bool HostEdMessageFilter::filterMessage(const HostMessage&, const OdGePoint3d&) { return false; }

HostEdMessageFilter::~HostEdMessageFilter() = default;
