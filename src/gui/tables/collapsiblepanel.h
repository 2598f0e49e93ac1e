#pragma once

#include <QWidget>

class QToolButton;

namespace setforge {

// A panel with a caption bar that folds its body away when clicked. The owner lays out the
// controls in body() and tells the panel its unfolded height.
class CollapsiblePanel : public QWidget {
    Q_OBJECT
public:
    // The height of the caption bar, the same for every panel of a group.
    static constexpr int kHeaderHeight = 24;

    CollapsiblePanel(const QString& objectName, QWidget* parent);

    void setCaption(const QString& caption);
    QString caption() const;
    // The area below the caption bar, which holds the controls.
    QWidget* body() const { return m_body; }

    // The height the panel takes when unfolded, caption bar included.
    void setExpandedHeight(int height);
    bool isCollapsed() const { return m_collapsed; }
    void setCollapsed(bool collapsed);

protected:
    void resizeEvent(QResizeEvent* event) override;

signals:
    // The panel was folded or unfolded, or its unfolded height changed.
    void heightChanged();

private:
    void applyHeight();

    QToolButton* m_header = nullptr;
    QWidget* m_body = nullptr;
    int m_expandedHeight = kHeaderHeight;
    bool m_collapsed = false;
};

} // namespace setforge
