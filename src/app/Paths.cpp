#include "app/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "data/DataSearch.h"

#ifndef CITYSIZE_DATA_FROM_BIN
#define CITYSIZE_DATA_FROM_BIN "../share/citysize/data"
#endif
#ifndef CITYSIZE_DOC_FROM_BIN
#define CITYSIZE_DOC_FROM_BIN "../share/doc/citysize"
#endif

namespace {

// The running program's folder. The command line runs before any QCoreApplication
// exists, so without one the kernel's link to the executable is read.
QString ExecutableDir() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

QString FromExecutable(const char* relative) {
    const QString exe = ExecutableDir();
    return exe.isEmpty() ? QString() : QDir::cleanPath(exe + QLatin1Char('/') + QLatin1String(relative));
}

}  // namespace

std::vector<std::string> DataSearchFolders() {
    std::vector<std::string> folders = {"."};
    const QString installed = FromExecutable(CITYSIZE_DATA_FROM_BIN);
    if (!installed.isEmpty()) folders.push_back(installed.toStdString());
#if defined(CITYSIZE_BUILD_DIR) && defined(CITYSIZE_SOURCE_DIR)
    // Only a program still in its build folder may read the source tree it came from.
    const QString build = QFileInfo(QStringLiteral(CITYSIZE_BUILD_DIR)).canonicalFilePath();
    if (!build.isEmpty() && ExecutableDir() == build) folders.push_back(CITYSIZE_SOURCE_DIR "/data");
#endif
    return folders;
}

std::string DefaultDataPath() { return FindDataFile(DataSearchFolders()); }

QString ReadmePath() {
    const QString installed = FromExecutable(CITYSIZE_DOC_FROM_BIN "/README.md");
    if (!installed.isEmpty() && QFileInfo::exists(installed)) return installed;
#ifdef CITYSIZE_SOURCE_DIR
    const QString source = QStringLiteral(CITYSIZE_SOURCE_DIR "/README.md");
    if (QFileInfo::exists(source)) return source;
#endif
    return {};
}
