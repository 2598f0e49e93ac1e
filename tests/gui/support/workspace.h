#pragma once

#include <QString>
#include <QTemporaryDir>

namespace setforge {

// A fresh empty folder standing in for the directory of the executable.
class TempWorkspace {
public:
    TempWorkspace() { m_dir.setAutoRemove(true); }
    QString path() const { return m_dir.path(); }
    std::string utf8() const { return m_dir.path().toStdString(); }
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

} // namespace setforge
