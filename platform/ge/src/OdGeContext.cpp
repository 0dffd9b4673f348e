// The single process-wide tolerance shared by every library that links geometry.
#include <vantrel/ge/OdGeContext.h>

OdGeTol OdGeContext::gTol;
