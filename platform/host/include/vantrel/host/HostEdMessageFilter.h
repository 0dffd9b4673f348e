// First base of every tracker: it sees the window messages of the drawing view while a point
// request is open and says whether it handled them.
#pragma once

#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/host/HostMessage.h>
#include <vantrel/host/HostExport.h>

class VANTREL_HOST_EXPORT HostEdMessageFilter {
public:
    // `cursor` is the cursor point in world coordinates. True keeps the host from acting on the
    // message (a click the tracker took does not answer the request).
    virtual bool filterMessage(const HostMessage& message, const OdGePoint3d& cursor);
    virtual ~HostEdMessageFilter();
};
