// Rows of the layers panel from the layer table.
#include "panels/LayersPanel.h"

#include <QHeaderView>

#include <vantrel/db/OdDbTables.h>

namespace vantrel::studio {

namespace {
QTableWidgetItem* flagItem(bool on, const char* yes, const char* no)
{
    auto* item = new QTableWidgetItem(on ? yes : no);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}
} // namespace

LayersPanel::LayersPanel(QWidget* parent) : QTableWidget(0, ColumnCount, parent)
{
    setObjectName("layers");
    setHorizontalHeaderLabels({"Layer", "On", "Frozen", "Locked", "Colour", "Current"});
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::NoSelection);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (row >= 0 && static_cast<std::size_t>(row) < m_ids.size() && column != Name)
            emit changeAsked(m_ids[static_cast<std::size_t>(row)], column);
    });
}

void LayersPanel::showLayers(OdDbDatabase& db)
{
    OdDbLayerTablePtr table = db.getLayerTableId().safeOpenObject();
    const OdDbObjectId current = db.getCLAYER();
    m_ids.clear();
    setRowCount(0);
    for (OdDbObjectId id : table->recordIds()) {
        OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::cast(id.openObject().get());
        if (!layer)
            continue;
        const int row = rowCount();
        insertRow(row);
        m_ids.push_back(id);
        auto* name = new QTableWidgetItem(QString::fromWCharArray(layer->getName().c_str()));
        name->setFlags(Qt::ItemIsEnabled);
        setItem(row, Name, name);
        setItem(row, On, flagItem(!layer->isOff(), "on", "off"));
        setItem(row, Frozen, flagItem(layer->isFrozen(), "frozen", "-"));
        setItem(row, Locked, flagItem(layer->isLocked(), "locked", "-"));
        auto* colour = new QTableWidgetItem;
        colour->setFlags(Qt::ItemIsEnabled);
        colour->setBackground(QColor::fromRgb(layer->color().rgb() & 0xFFFFFF));
        setItem(row, Color, colour);
        setItem(row, Current, flagItem(id == current, "current", ""));
    }
}

} // namespace vantrel::studio
