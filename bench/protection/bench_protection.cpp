// Protecting and unprotecting a 10 MB document file in place, with both schemes. The password
// container's key derivation (Argon2id, interactive limits) is a fixed cost per operation; it is
// measured alone and also taken out of the container's figures.
#include "bench/support/BenchSupport.h"
#include "editor/Crypt.h"
#include "editor/ProtectedFile.h"
#include "platform/crypto/ProtectedContainer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr qsizetype DocumentSize = 10 * 1000 * 1000;
const QString name = QStringLiteral("protection");

QByteArray document()
{
    QByteArray out;
    out.reserve(DocumentSize);
    out += "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
    int n = 0;
    while (out.size() < DocumentSize - 16)
        out += "Paragraph " + QByteArray::number(n++) + " of the long document, with some words.\\par\n";
    out.resize(DocumentSize - 1);
    out += '}';
    return out;
}

double megabytesPerSecond(qint64 nanoseconds)
{
    return double(DocumentSize) / 1e6 / (double(nanoseconds) / 1e9);
}

// The best of a few runs.
template <typename F> qint64 best(int runs, F &&f)
{
    qint64 fastest = std::numeric_limits<qint64>::max();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        if (!f())
            qFatal("benchmark step failed");
        fastest = std::min(fastest, t.nsecsElapsed());
    }
    return fastest;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("document.rtf"));
    const QByteArray content = document();
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write the document");
    }

    const QByteArray password = "a long passphrase for the benchmark";
    const auto parameters = ProtectedContainer::KdfParameters::interactive();
    const qint64 kdf = best(3, [&] { return ProtectedContainer::deriveKeyForTiming(password, parameters); });
    Bench::printFigure(name, QStringLiteral("key-derivation"), double(kdf) / 1e6, QStringLiteral("ms"));

    const auto factory = ProtectedFile::defaultSaveFileFactory();
    qint64 protect = 0;
    qint64 unprotect = 0;
    for (int i = 0; i < 3; ++i) {
        protect += best(1, [&] { return ProtectedFile::protect(path, password, factory, nullptr); });
        unprotect += best(1, [&] { return ProtectedFile::unprotect(path, password, factory, nullptr); });
    }
    protect /= 3;
    unprotect /= 3;
    Bench::printFigure(name, QStringLiteral("protect-10MB"), megabytesPerSecond(protect), QStringLiteral("MB/s"));
    Bench::printFigure(name, QStringLiteral("unprotect-10MB"), megabytesPerSecond(unprotect), QStringLiteral("MB/s"));
    Bench::printFigure(name, QStringLiteral("protect-10MB-without-key-derivation"),
        megabytesPerSecond(std::max<qint64>(1, protect - kdf)), QStringLiteral("MB/s"));
    Bench::printFigure(name, QStringLiteral("unprotect-10MB-without-key-derivation"),
        megabytesPerSecond(std::max<qint64>(1, unprotect - kdf)), QStringLiteral("MB/s"));

    TCryptFile crypt;
    crypt.setPassword(QStringLiteral("%7&K"));
    crypt.setInfile(path);
    crypt.setOutfile(path);
    const qint64 oldProtect = best(3, [&] {
        const bool ok = crypt.Encrypt() == TCryptFile::Result::Done;
        return ok && crypt.Decrypt() == TCryptFile::Result::Done;
    });
    Bench::printFigure(name, QStringLiteral("old-scheme-protect-and-unprotect-10MB"),
        megabytesPerSecond(oldProtect / 2), QStringLiteral("MB/s"));
    return 0;
}
