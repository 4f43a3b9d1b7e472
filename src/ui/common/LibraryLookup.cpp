#include "ui/common/LibraryLookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList LibraryFolders() {
    QStringList folders{QDir::currentPath()};
    if (QCoreApplication::instance()) {
        const QString exe = QCoreApplication::applicationDirPath();
        folders << exe + "/../share/korvan" << exe + "/data";
    }
#ifdef KORVAN_DATA_DIR
    folders << QStringLiteral(KORVAN_DATA_DIR);
#endif
#ifdef KORVAN_SOURCE_DATA_DIR
    folders << QStringLiteral(KORVAN_SOURCE_DATA_DIR);
#endif
    return folders;
}

QString FindLibraryFile(const QString& name, const QStringList& folders) {
    for (const QString& folder : folders) {
        const QFileInfo file(QDir(folder), name);
        if (file.isFile()) return QDir::cleanPath(file.absoluteFilePath());
    }
    return {};
}
