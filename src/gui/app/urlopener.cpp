#include "gui/app/urlopener.h"

#include <QDesktopServices>
#include <QUrl>

namespace setforge {

namespace {

class DesktopUrlOpener final : public UrlOpener {
public:
    void open(const QString& url) override { QDesktopServices::openUrl(QUrl(url)); }
};

DesktopUrlOpener g_desktop;
UrlOpener* g_opener = nullptr;

} // namespace

UrlOpener& UrlOpener::instance()
{
    return g_opener ? *g_opener : g_desktop;
}

void UrlOpener::setInstance(UrlOpener* opener)
{
    g_opener = opener;
}

} // namespace setforge
