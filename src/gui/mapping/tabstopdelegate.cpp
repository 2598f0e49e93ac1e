#include "gui/mapping/tabstopdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextOption>

namespace setforge {

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // Background, selection and focus as usual; only the text is drawn here.
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
    layout.setWrapMode(QTextOption::NoWrap);
    QList<QTextOption::Tab> tabs;
    for (qreal stop : m_stops)
        tabs.append(QTextOption::Tab(stop, QTextOption::LeftTab));
    layout.setTabs(tabs);

    painter->save();
    const bool selected = item.state & QStyle::State_Selected;
    painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(item.font);
    painter->drawText(QRectF(textRect), text, layout);
    painter->restore();
}

} // namespace setforge
