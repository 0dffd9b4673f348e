// A tracker: given to a point request, it follows the cursor through filterMessage and shows
// its preview entities through the host's drawer.
#pragma once

#include <vantrel/host/HostEdDrawer.h>
#include <vantrel/host/HostEdJigDimData.h>
#include <vantrel/host/HostEdMessageFilter.h>
#include <vantrel/host/HostExport.h>

class VANTREL_HOST_EXPORT HostEdInputTracker : public HostEdMessageFilter, public HostEdJigDimData {
public:
    // Hands each preview entity to drawer->addEntity; answers 1 when it drew, 0 when not.
    virtual int drawPreview(HostEdDrawer* drawer);
    // Hands each preview entity, once, to drawer->removeEntity.
    virtual void releasePreview(HostEdDrawer* drawer);
    // True: the preview stays after the request ends and the command releases it itself;
    // false: the host calls releasePreview when the request ends.
    virtual bool keepsPreview() const;
    // True: the host draws no rubber line of its own (kRubberBand) beside the preview.
    virtual bool drawsOwnRubberBand() const;
    // True: the preview is drawn as soon as the request opens; false: from the first cursor move.
    virtual bool previewBeforeMove() const;
};
