// The layers panel: one row per layer with its on, frozen and locked states, its colour and
// which is current. Clicking a state asks for the change; the window runs LAYER to make it.
#pragma once

#include <QTableWidget>

#include <vantrel/db/OdDbDatabase.h>

namespace vantrel::studio {

class LayersPanel : public QTableWidget {
    Q_OBJECT
public:
    enum Column { Name, On, Frozen, Locked, Color, Current, ColumnCount };

    explicit LayersPanel(QWidget* parent = nullptr);
    // Shows the layers of the drawing as they are now.
    void showLayers(OdDbDatabase& db);

signals:
    // The user asks to change one state of a layer (for Color, the new colour comes from a
    // chooser the window shows).
    void changeAsked(OdDbObjectId layer, int column);

private:
    std::vector<OdDbObjectId> m_ids;
};

} // namespace vantrel::studio
