#include "gui/tables/collapsiblepanelgroup.h"

#include <algorithm>

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include "gui/tables/collapsiblepanel.h"

namespace setforge {

namespace {

constexpr int kPanelGap = 2;

} // namespace

CollapsiblePanelGroup::CollapsiblePanelGroup(const QString& objectName, int panelWidth, QWidget* parent)
    : QScrollArea(parent), m_panelWidth(panelWidth)
{
    setObjectName(objectName);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_stack = new QWidget;
    m_stack->setObjectName(objectName + "_Stack");
    m_stack->resize(m_panelWidth, 0);
    setWidget(m_stack);
}

CollapsiblePanel* CollapsiblePanelGroup::addPanel(const QString& objectName)
{
    auto* panel = new CollapsiblePanel(objectName, m_stack);
    panel->resize(m_panelWidth, CollapsiblePanel::kHeaderHeight);
    connect(panel, &CollapsiblePanel::heightChanged, this, &CollapsiblePanelGroup::stackPanels);
    m_panels.push_back(panel);
    panel->show();
    stackPanels();
    return panel;
}

void CollapsiblePanelGroup::finishPanels()
{
    for (std::size_t i = 0; i + 1 < m_panels.size(); ++i)
        setTabOrder(m_panels[i], m_panels[i + 1]);
    viewport()->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
    m_stack->installEventFilter(this);
    for (QWidget* child : m_stack->findChildren<QWidget*>())
        child->installEventFilter(this);
}

void CollapsiblePanelGroup::stackPanels()
{
    int top = 0;
    for (CollapsiblePanel* panel : m_panels) {
        if (panel->isHidden())
            continue;
        panel->move(0, top);
        panel->resize(m_panelWidth, panel->height());
        top += panel->height() + kPanelGap;
    }
    m_stack->resize(m_panelWidth, top);
}

// One line step per wheel line the system sets, down unless the wheel turned up.
bool CollapsiblePanelGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return QScrollArea::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    const bool up = wheel->angleDelta().y() > 0;
    const int lines = std::max(1, QApplication::wheelScrollLines());
    for (int i = 0; i < lines; ++i)
        verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                              : QAbstractSlider::SliderSingleStepAdd);
    wheel->accept();
    return true;
}

} // namespace setforge
