#pragma once
// The citysize binary run as a user runs it: its exit status (-1 if it crashed) and what it printed.
#include <QProcess>
#include <QStringList>

struct Result {
    int status;
    QString out, err;
};

inline Result RunCitysize(const QStringList& args, const QString& folder = {}) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(CITYSIZE_BINARY), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
