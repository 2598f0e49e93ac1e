#include "gui/image/edsfilechooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace setforge {

namespace {

class QtEdsFileChooser final : public EdsFileChooser {
public:
    QString chooseSaveFile(QWidget* parent, const QString& startDir, const QString& filter) override
    {
        return QFileDialog::getSaveFileName(parent, QString(), startDir, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
};

QtEdsFileChooser g_realChooser;
EdsFileChooser* g_chooser = nullptr;

} // namespace

EdsFileChooser& EdsFileChooser::instance()
{
    return g_chooser ? *g_chooser : g_realChooser;
}

void EdsFileChooser::setInstance(EdsFileChooser* chooser)
{
    g_chooser = chooser;
}

QString withEdsExtension(const QString& path)
{
    if (QFileInfo(path).suffix().isEmpty())
        return path + QStringLiteral(".eds");
    return path;
}

} // namespace setforge
