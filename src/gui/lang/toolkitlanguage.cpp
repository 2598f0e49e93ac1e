#include "gui/lang/toolkitlanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include "core/lang/languagelist.h"
#include "gui/app/qtext.h"

namespace setforge {

namespace {

// The one translator of Qt's texts, kept so that a switch can take it out again. The
// application owns it, so it goes with the application.
QPointer<QTranslator>& installed()
{
    static QPointer<QTranslator> translator;
    return translator;
}

} // namespace

bool useToolkitLanguage(const std::string& languageName)
{
    QPointer<QTranslator>& current = installed();
    if (current) {
        QCoreApplication::removeTranslator(current);
        delete current;
    }
    const std::string locale = toolkitLocaleOf(languageName);
    if (locale.empty())
        return false;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load("qtbase_" + qs(locale), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    current = translator;
    return true;
}

} // namespace setforge
