#include "gui/app/windowfactory.h"

#include <ctime>

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "core/app/appstate.h"
#include "core/lang/textid.h"
#include "core/report/projectreport.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/app/urlopener.h"
#include "gui/image/reportfilechooser.h"

namespace setforge {

namespace {

// The project's name as part of a file name: a character that names cannot hold on one of the
// systems, or that a save window reads as the end of a quoted name ('"'), becomes '_'.
QString fileNamePart(const QString& name)
{
    QString part = name;
    for (QChar& c : part)
        if (c.unicode() < 0x20 || QStringLiteral("\"*/:<>?\\|").contains(c))
            c = QLatin1Char('_');
    return part;
}

} // namespace

void buildReport(AppState& state, QWidget* parent)
{
    if (!state.hasProject())
        return;
    const UiTexts& t = state.texts;
    const QString htmlFilter = qs(t[TextId::ReportHtmlFilter]);
    const QString csvFilter = qs(t[TextId::ReportCsvFilter]);
    QString selected = htmlFilter;
    const QString proposed =
        QDir(qs(state.projectDir))
            .filePath(fileNamePart(qs(state.projectName)) + QStringLiteral("_register_map.html"));
    QString chosen = ReportFileChooser::instance().chooseSaveFile(
        parent, qs(t[TextId::ReportSaveCaption]), proposed, htmlFilter + ";;" + csvFilter, selected);
    if (chosen.isEmpty())
        return;
    const bool csv = selected == csvFilter;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += csv ? QStringLiteral(".csv") : QStringLiteral(".html");
    const Result<void> written =
        writeProjectReport(state.projectDir, us(chosen), csv ? ReportFormat::Csv : ReportFormat::Html,
                           std::time(nullptr), state.texts);
    const QString shown = QDir::toNativeSeparators(chosen);
    if (!written) {
        // The reason comes from the system or the core, in English; the sentence around it is the user's
        // language.
        messages().error(parent, qs(t[TextId::ReportNotWritten]).arg(shown) + QStringLiteral("\n\n") +
                                     qs(written.error().text));
        return;
    }
    // A CSV table opens in no program of ours, so the user is told where it went.
    if (csv)
        messages().information(parent, qs(t[TextId::ReportWritten]).arg(shown));
    else
        UrlOpener::instance().open(QUrl::fromLocalFile(chosen).toString());
}

} // namespace setforge
