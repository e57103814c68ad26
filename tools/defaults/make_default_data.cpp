// Writes the data files a fresh copy of the program starts with into a folder (the program's own
// folder for a portable install): the startup options record with its defaults and an empty
// document history. Files that exist already are left alone, so a user's settings survive a
// rebuild.
#include "app/StartupOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    const QString options = folder.filePath(StartupOptions::fileName());
    if (!QFile::exists(options)) {
        const QString error = StartupOptions().writeFile(options);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            ++failures;
        }
    }
    const QString history = folder.filePath(QStringLiteral("WrdFileList.dat"));
    if (!QFile::exists(history)) {
        QSaveFile f(history);
        if (!f.open(QIODevice::WriteOnly) || !f.commit()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(history), qPrintable(f.errorString()));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
