#include "gui/app/tooltipwrapper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTextDocument>
#include <QWidget>

#include "core/lang/textwrap.h"
#include "gui/app/qtext.h"

namespace setforge {

QString wrappedTip(const QString& tip)
{
    if (tip.isEmpty() || Qt::mightBeRichText(tip))
        return tip;
    return qs(wrapText(us(tip), kTooltipWidth));
}

void installTooltipWrapping()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<TooltipWrapper*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    app->installEventFilter(new TooltipWrapper(app));
}

bool TooltipWrapper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTipChange && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const QString tip = widget->toolTip();
        const QString wrapped = wrappedTip(tip);
        // Setting the wrapped text sends this event again; it is then left as it is.
        if (wrapped != tip)
            widget->setToolTip(wrapped);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace setforge
