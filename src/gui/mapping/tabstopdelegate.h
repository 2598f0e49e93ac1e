#pragma once

#include <QList>
#include <QStyledItemDelegate>

namespace setforge {

// Draws list lines whose columns are separated by tab characters with the columns starting at
// fixed tab stops, so the columns of all lines line up under their titles.
class TabStopDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The x positions (pixels from the text's left edge) where the 2nd, 3rd, ... column start.
    void setTabStops(const QList<qreal>& stops) { m_stops = stops; }
    const QList<qreal>& tabStops() const { return m_stops; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    QList<qreal> m_stops;
};

} // namespace setforge
