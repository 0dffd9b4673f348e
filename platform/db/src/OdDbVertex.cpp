// Class description of the vertex base class.
#include <vantrel/db/OdDbVertex.h>

ODRX_DEFINE_ABSTRACT_MEMBERS(OdDbVertex, OdDbEntity)
