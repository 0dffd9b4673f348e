// The benches' large drawing: lines, polylines with arcs and widths, arcs, circles and texts on a
// grid of 10-unit cells, 300 cells across, in that order over and over.
#pragma once

#include <string>

#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/Template.h>

namespace vantrel::bench {

inline OdDbDatabasePtr mixedDrawing(int count)
{
    OdDbDatabasePtr db = newDrawing();
    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    for (int i = 0; i < count; ++i) {
        const int column = i % 300, row = i / 300; // 300 to a row
        const double x = column * 10.0, y = row * 10.0;
        switch (i % 5) {
        case 0: {
            OdDbLinePtr e = OdDbLine::createObject();
            e->setStartPoint(OdGePoint3d(x, y, 0));
            e->setEndPoint(OdGePoint3d(x + 7.25, y + 3.5, 0));
            ms->appendOdDbEntity(e.get());
            break;
        }
        case 1: {
            OdDbPolylinePtr e = OdDbPolyline::createObject();
            for (unsigned v = 0; v < 6; ++v)
                e->addVertexAt(v, OdGePoint2d(x + v * 1.5, y + (v % 2) * 1.25), v % 3 == 1 ? 0.41421356 : 0.0, 0.1 * v,
                               0.1 * v + 0.05);
            ms->appendOdDbEntity(e.get());
            break;
        }
        case 2: {
            OdDbArcPtr e = OdDbArc::createObject();
            e->setCenter(OdGePoint3d(x, y, 0));
            e->setRadius(3.3);
            e->setStartAngle(0.25);
            e->setEndAngle(2.5);
            ms->appendOdDbEntity(e.get());
            break;
        }
        case 3: {
            OdDbCirclePtr e = OdDbCircle::createObject();
            e->setCenter(OdGePoint3d(x + 0.5, y + 0.5, 0));
            e->setRadius(1.7);
            ms->appendOdDbEntity(e.get());
            break;
        }
        default: {
            OdDbTextPtr e = OdDbText::createObject();
            e->setPosition(OdGePoint3d(x, y, 0));
            e->setHeight(2.5);
            e->setTextString(OdString(L"Room ") + OdString(std::to_wstring(i)));
            ms->appendOdDbEntity(e.get());
            break;
        }
        }
    }
    return db;
}

} // namespace vantrel::bench
