#include "app/CommandLine.h"

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine cl;
    for (const QString &arg : arguments) {
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            cl.action = Action::ShowHelp;
            return cl;
        }
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            cl.action = Action::ShowVersion;
            return cl;
        }
        if (arg.startsWith(u'-') && arg.size() > 1) {
            // Options Qt itself takes (-platform, -style, ...) are removed before we see the list.
            cl.action = Action::Error;
            cl.error = QStringLiteral("unknown option %1 (see --help)").arg(arg);
            return cl;
        }
        if (cl.documentFile.isEmpty())
            cl.documentFile = arg;
    }
    return cl;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Usage: lumaro [OPTION] [FILE]\n"
        "Velmora Lumaro Editor, a word processor for rich text documents.\n"
        "\n"
        "  FILE           a document to open (.rtf, .doc, .rtc, .ktp or plain text)\n"
        "  -h, --help     show this help and exit\n"
        "  -v, --version  show the version and exit\n"
        "\n"
        "Settings and data files live in $LUMARO_HOME when it is set, else beside the\n"
        "program when that folder is writable, else in ~/.config/velmora-lumaro.\n");
}

QString CommandLine::versionText()
{
#ifdef LUMARO_VERSION
    return QStringLiteral("Velmora Lumaro Editor " LUMARO_VERSION);
#else
    return QStringLiteral("Velmora Lumaro Editor");
#endif
}
