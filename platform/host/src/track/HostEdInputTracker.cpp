// A tracker that draws nothing: the host releases its preview when the request ends, draws its
// own rubber line beside it, and asks for the preview from the first cursor move.
#include <vantrel/host/HostEdInputTracker.h>

int HostEdInputTracker::drawPreview(HostEdDrawer*) { return 0; }

void HostEdInputTracker::releasePreview(HostEdDrawer*) {}

bool HostEdInputTracker::keepsPreview() const { return false; }

bool HostEdInputTracker::drawsOwnRubberBand() const { return false; }

bool HostEdInputTracker::previewBeforeMove() const { return false; }
