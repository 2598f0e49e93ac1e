#include "workspace.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "core/flow/updateflow.h"

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#endif

namespace setforge {

bool TempWorkspace::copyTree(const QString& source, const QString& relative) const
{
    const QString target = QDir(path()).filePath(relative);
    if (!QDir().mkpath(target))
        return false;
    QDirIterator it(source, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString rel = QDir(source).relativeFilePath(it.filePath());
        const QString dest = QDir(target).filePath(rel);
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(dest))
                return false;
        } else if (!QFile::copy(it.filePath(), dest)) {
            return false;
        } else {
            QFile::setPermissions(dest, QFile::permissions(dest) | QFileDevice::WriteOwner);
        }
    }
    return true;
}

bool installStandInFirmware(const std::string& masterDir)
{
    const QDir master(QString::fromStdString(masterDir));
    if (!QDir().mkpath(master.path()))
        return false;
    for (const UpdateTransport transport : {UpdateTransport::Serial, UpdateTransport::Ethernet})
        for (const std::string& name : firmwareFilesFor(transport)) {
            QFile file(master.filePath(QString::fromStdString(name)));
            if (!file.open(QIODevice::WriteOnly) || file.write("stand-in firmware") < 0)
                return false;
        }
    return true;
}

bool runningUnderWine()
{
#ifdef Q_OS_WIN
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

} // namespace setforge
