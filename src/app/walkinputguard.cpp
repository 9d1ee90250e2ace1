#include "app/walkinputguard.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace quillon {

WalkInputGuard::WalkInputGuard()
{
    QCoreApplication::instance()->installEventFilter(this);
}

WalkInputGuard::~WalkInputGuard()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool WalkInputGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken here, so no access key or shortcut fires during the walk.
        event->accept();
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            m_stopRequested = true;
        return true;
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Drop:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace quillon
