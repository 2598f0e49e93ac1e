#pragma once

#include <vector>

#include <QScrollArea>

namespace setforge {

class CollapsiblePanel;

// A scrolling column of folding panels, stacked from the top 2 px apart: a folded or hidden
// panel moves the ones below it up. A wheel turn anywhere over the group scrolls the group,
// even over a list that would otherwise take the turn as a change of its value.
class CollapsiblePanelGroup : public QScrollArea {
    Q_OBJECT
public:
    // The stack inside is named `objectName` + "_Stack"; every panel is `panelWidth` wide.
    CollapsiblePanelGroup(const QString& objectName, int panelWidth, QWidget* parent);

    // A new, shown panel below the others.
    CollapsiblePanel* addPanel(const QString& objectName);
    // Once the panels hold their controls: Tab runs through the panels in order, and the wheel
    // scrolls the group over every control.
    void finishPanels();
    // Stacks the panels again, for example after one was shown or hidden.
    void stackPanels();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_stack = nullptr;
    int m_panelWidth = 0;
    std::vector<CollapsiblePanel*> m_panels;
};

} // namespace setforge
