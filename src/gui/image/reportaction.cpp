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

void buildReport(AppState& state, QWidget* parent)
{
    if (!state.hasProject())
        return;
    const UiTexts& t = state.texts;
    const QString htmlFilter = qs(t[TextId::ReportHtmlFilter]);
    const QString csvFilter = qs(t[TextId::ReportCsvFilter]);
    QString selected = htmlFilter;
    const QString proposed =
        QDir(qs(state.projectDir)).filePath(qs(state.projectName) + QStringLiteral("_register_map.html"));
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
    if (!written) {
        messages().error(parent, qs(written.error().text));
        return;
    }
    if (!csv)
        UrlOpener::instance().open(QUrl::fromLocalFile(chosen).toString());
}

} // namespace setforge
