#include "gui/tables/collapsiblepanel.h"

#include <algorithm>

#include <QResizeEvent>
#include <QToolButton>

namespace setforge {

CollapsiblePanel::CollapsiblePanel(const QString& objectName, QWidget* parent) : QWidget(parent)
{
    setObjectName(objectName);
    m_header = new QToolButton(this);
    m_header->setObjectName(objectName + "_Header");
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setArrowType(Qt::DownArrow);
    m_header->setAutoRaise(false);
    m_header->setCheckable(false);
    m_header->move(0, 0);
    connect(m_header, &QToolButton::clicked, this, [this] { setCollapsed(!m_collapsed); });

    m_body = new QWidget(this);
    m_body->setObjectName(objectName + "_Body");
    m_body->move(0, kHeaderHeight);
    applyHeight();
}

void CollapsiblePanel::setCaption(const QString& caption)
{
    m_header->setText(caption);
}

QString CollapsiblePanel::caption() const
{
    return m_header->text();
}

void CollapsiblePanel::setExpandedHeight(int height)
{
    m_expandedHeight = height;
    applyHeight();
}

void CollapsiblePanel::setCollapsed(bool collapsed)
{
    m_collapsed = collapsed;
    m_header->setArrowType(collapsed ? Qt::RightArrow : Qt::DownArrow);
    m_body->setVisible(!collapsed);
    applyHeight();
}

void CollapsiblePanel::applyHeight()
{
    resize(width(), m_collapsed ? kHeaderHeight : m_expandedHeight);
    m_body->resize(width(), std::max(0, m_expandedHeight - kHeaderHeight));
    emit heightChanged();
}

void CollapsiblePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_header->resize(width(), kHeaderHeight);
    m_body->resize(width(), std::max(0, m_expandedHeight - kHeaderHeight));
}

} // namespace setforge
