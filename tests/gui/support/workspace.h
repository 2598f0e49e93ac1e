#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace setforge {

// A fresh empty folder standing in for the directory of the executable.
class TempWorkspace {
public:
    TempWorkspace() { m_dir.setAutoRemove(true); }
    QString path() const { return m_dir.path(); }
    // The folder as the program hands it to the core: with the system's own separators.
    std::string utf8() const { return QDir::toNativeSeparators(m_dir.path()).toStdString(); }
    // Copies the file tree `source` into `relative` below the workspace.
    bool copyTree(const QString& source, const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

// The file suffix of executables here: ".exe" on Windows, none elsewhere.
inline QString exeSuffix()
{
#ifdef Q_OS_WIN
    return QStringLiteral(".exe");
#else
    return QString();
#endif
}

// True when the test runs under Wine, whose ntdll exports wine_get_version. A test that cannot
// run there says which limitation of Wine stops it.
bool runningUnderWine();

// Writes a stand-in for every firmware file either updater may be handed into `masterDir`
// (made when missing); false when one cannot be written.
bool installStandInFirmware(const std::string& masterDir);

} // namespace setforge
