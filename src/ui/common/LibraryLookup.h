#pragma once
// Where the fixed library files (crsI.crs, matO.mat, …) are looked up: the working directory
// first, then the installed data folder next to the program, the data folder compiled in at
// build time and the source tree's data folder.
#include <QString>
#include <QStringList>

QStringList LibraryFolders();
// The first existing file of that name in the folders, as an absolute path; empty when none has it.
QString FindLibraryFile(const QString& name, const QStringList& folders);
