#include "gui/image/reportfilechooser.h"

#include <QFileDialog>

namespace setforge {

namespace {

class QtReportFileChooser final : public ReportFileChooser {
public:
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                           const QString& filters, QString& selectedFilter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, proposedPath, filters, &selectedFilter);
    }
};

QtReportFileChooser g_realChooser;
ReportFileChooser* g_chooser = nullptr;

} // namespace

ReportFileChooser& ReportFileChooser::instance()
{
    return g_chooser ? *g_chooser : g_realChooser;
}

void ReportFileChooser::setInstance(ReportFileChooser* chooser)
{
    g_chooser = chooser;
}

} // namespace setforge
