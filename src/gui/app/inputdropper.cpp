#include "gui/app/inputdropper.h"

#include <QCoreApplication>
#include <QEvent>

namespace setforge {

InputDropper::InputDropper()
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputDropper::~InputDropper()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputDropper::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace setforge
