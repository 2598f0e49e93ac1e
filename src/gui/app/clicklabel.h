#pragma once

#include <QLabel>

namespace setforge {

// A label that reports a left click, for the web address and logo links.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace setforge
