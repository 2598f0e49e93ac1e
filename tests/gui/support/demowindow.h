#pragma once

#include <memory>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtTest>

#include "core/app/appstate.h"
#include "gui/app/mainwindow.h"
#include "support/workspace.h"

namespace setforge {

// A workspace with a copy of the Demo project open in a main window.
struct DemoWindow {
    TempWorkspace ws;
    AppState state;
    std::unique_ptr<MainWindow> window;

    DemoWindow()
    {
        ws.copyTree(QString(SETFORGE_SOURCE_DIR) + "/workspace/PROJECTS/Demo", "PROJECTS/Demo");
        startWorkspace(state, ws.utf8());
        openProject(state, "Demo");
        window = std::make_unique<MainWindow>(state);
    }
    // The path of the project file `name`.
    QString project(const char* name) const
    {
        return QDir(QString::fromStdString(state.projectDir)).filePath(name);
    }
    // The bytes of the project file `name`; "<missing>" when it cannot be read.
    QByteArray file(const char* name) const
    {
        QFile f(project(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Replaces `from` by `to` in the project file `name`.
    void edit(const char* name, const QByteArray& from, const QByteArray& to) const
    {
        QFile file(project(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        QVERIFY2(text.contains(from), from.constData());
        text.replace(from, to);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
};

} // namespace setforge
