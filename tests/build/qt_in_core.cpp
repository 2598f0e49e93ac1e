// Built with exactly the core's settings: it must fail, since no Qt header may reach the core.
#include <QString>

QString probe()
{
    return QString();
}
