#pragma once

#include <QString>

class QWidget;

namespace setforge {

// The save-file question of the report, behind an interface so a test can answer it.
class ReportFileChooser {
public:
    virtual ~ReportFileChooser() = default;

    // Asks for the file to write, proposing `proposedPath`, offering `filters` (Qt's form, ";;"
    // between them) with `selectedFilter` chosen first. Returns the chosen path and sets
    // `selectedFilter` to the filter the user left chosen; an empty text when the user cancels.
    virtual QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                                   const QString& filters, QString& selectedFilter) = 0;

    // The chooser in use: the real save dialog unless a test installed another.
    static ReportFileChooser& instance();
    // Installs `chooser` (nullptr restores the real dialog). The caller keeps ownership.
    static void setInstance(ReportFileChooser* chooser);
};

} // namespace setforge
