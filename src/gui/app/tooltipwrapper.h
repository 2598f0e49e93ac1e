#pragma once

#include <QObject>
#include <QString>

class QEvent;

namespace setforge {

// A tooltip text wrapped at about 60 characters (core wrapText), so that no tooltip becomes a
// single line across the screen. Rich text is left to Qt, which wraps it itself.
QString wrappedTip(const QString& tip);

// Wraps the tooltip of every widget of the program whenever it is set: an event filter on the
// application. Installed once, by the first window; later calls do nothing. Tooltips of items
// in views come from their models and are wrapped there with wrappedTip.
void installTooltipWrapping();

// The filter installTooltipWrapping puts on the application.
class TooltipWrapper : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace setforge
