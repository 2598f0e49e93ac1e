#pragma once

#include <QString>

class QWidget;

namespace setforge {

// The save-file question of the EDS step, behind an interface so a test can answer it.
class EdsFileChooser {
public:
    virtual ~EdsFileChooser() = default;

    // Asks for the file to write, starting in `startDir`, offering `filter` (Qt's form,
    // "Electronic Data Sheet (*.eds)"). An existing file is replaced without a question.
    // Returns the chosen full path, or an empty text when the user cancels.
    virtual QString chooseSaveFile(QWidget* parent, const QString& startDir, const QString& filter) = 0;

    // The chooser in use: the real save dialog unless a test installed another.
    static EdsFileChooser& instance();
    // Installs `chooser` (nullptr restores the real dialog). The caller keeps ownership.
    static void setInstance(EdsFileChooser* chooser);
};

// The file filter of the EDS save dialog.
inline const char* const kEdsFileFilter = "Electronic Data Sheet (*.eds)";

// `path` with ".eds" appended when its file name has no extension.
QString withEdsExtension(const QString& path);

} // namespace setforge
