// The kinds of drawable objects that commands tell apart; lights are typed by these values,
// which are fixed because command modules store and compare them.
#pragma once

#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdGiDrawable {
public:
    enum DrawableType {
        kGeometry = 0,
        kDistantLight = 1,
        kPointLight = 2,
        kSpotLight = 3,
        kWebLight = 10,
    };

    OdGiDrawable() = delete;
};
