#include "app/CommandLine.h"

#include "editor/DocumentConverter.h"

namespace {

CommandLine failure(const QString &message)
{
    CommandLine cl;
    cl.action = CommandLine::Action::Error;
    cl.error = message;
    return cl;
}

// "--name VALUE" or "--name=VALUE"; advances i past the value. False when arg is another option.
bool takeValue(const QStringList &args, qsizetype &i, const QString &name, QString *value, bool *missing)
{
    const QString &arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            *missing = true;
            return true;
        }
        *value = args[++i];
        return true;
    }
    if (arg.startsWith(name + u'=')) {
        *value = arg.mid(name.size() + 1);
        *missing = value->isEmpty();
        return true;
    }
    return false;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine cl;
    bool converting = false;
    bool printing = false;
    bool printerGiven = false;
    bool outdirGiven = false;
    bool jobsGiven = false;
    bool optionsEnded = false;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (optionsEnded || !arg.startsWith(u'-') || arg.size() == 1) {
            files.append(arg);
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            cl.action = Action::ShowHelp;
            return cl;
        }
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            cl.action = Action::ShowVersion;
            return cl;
        }
        bool missing = false;
        QString value;
        if (takeValue(arguments, i, QStringLiteral("--convert-to"), &value, &missing)) {
            if (missing)
                return failure(QStringLiteral("--convert-to needs a format (%1)")
                                   .arg(DocumentConverter::formatNames().join(QStringLiteral(", "))));
            converting = true;
            cl.convertFormat = value;
            continue;
        }
        if (arg == QLatin1String("--print")) {
            printing = true;
            continue;
        }
        if (takeValue(arguments, i, QStringLiteral("--printer"), &value, &missing)) {
            if (missing)
                return failure(QStringLiteral("--printer needs a printer name"));
            printerGiven = true;
            cl.printerName = value;
            continue;
        }
        if (takeValue(arguments, i, QStringLiteral("--outdir"), &value, &missing)) {
            if (missing)
                return failure(QStringLiteral("--outdir needs a folder"));
            outdirGiven = true;
            cl.outputDir = value;
            continue;
        }
        if (takeValue(arguments, i, QStringLiteral("--jobs"), &value, &missing)) {
            bool number = false;
            const int jobs = value.toInt(&number);
            if (missing || !number || jobs < 1 || jobs > 1024)
                return failure(
                    QStringLiteral("--jobs needs a number of documents from 1 to 1024, not \"%1\"").arg(value));
            jobsGiven = true;
            cl.jobs = jobs;
            continue;
        }
        // Options Qt itself takes (-platform, -style, ...) are removed before the editor's
        // command line is parsed.
        return failure(QStringLiteral("unknown option %1 (see --help)").arg(arg));
    }

    if (printing && converting)
        return failure(QStringLiteral("--print and --convert-to cannot be used together"));
    if (printing) {
        if (outdirGiven)
            return failure(QStringLiteral("--outdir is only used with --convert-to"));
        if (files.isEmpty())
            return failure(QStringLiteral("--print needs at least one FILE"));
        cl.action = Action::Print;
        cl.inputFiles = files;
        return cl;
    }
    if (printerGiven)
        return failure(QStringLiteral("--printer is only used with --print"));
    if (converting) {
        QString why;
        if (!DocumentConverter::format(cl.convertFormat, &why))
            return failure(why);
        if (files.isEmpty())
            return failure(QStringLiteral("--convert-to needs at least one FILE"));
        cl.action = Action::Convert;
        cl.inputFiles = files;
        return cl;
    }
    if (outdirGiven)
        return failure(QStringLiteral("--outdir is only used with --convert-to"));
    if (jobsGiven)
        return failure(QStringLiteral("--jobs is only used with --convert-to"));
    cl.documentFile = files.value(0);
    return cl;
}

QString CommandLine::helpText()
{
    return QStringLiteral("Usage: lumaro [OPTION] [FILE]\n"
                          "       lumaro --convert-to FORMAT [--outdir DIR] [--jobs N] FILE...\n"
                          "       lumaro --print [--printer NAME] FILE...\n"
                          "Velmora Lumaro Editor, a word processor for rich text documents.\n"
                          "\n"
                          "  FILE                  a document to open (.rtf, .doc, .rtc, .ktp or plain text)\n"
                          "  --convert-to FORMAT   convert each FILE without opening a window, and exit;\n"
                          "                        no display is needed. FORMAT is one of\n"
                          "                          rtf   Rich Text Format\n"
                          "                          doc   Rich Text Format under the .doc extension\n"
                          "                          rtc   compressed rich text (zlib)\n"
                          "                          ktp   template (rich text)\n"
                          "                          txt   plain text, ANSI (Windows-1252)\n"
                          "                          utxt  plain text, Unicode (UTF-16LE), written as .txt\n"
                          "                        or one of the exports of the editor's \"Export Document as\"\n"
                          "                        menu, with the choices its windows offer given after colons:\n")
        + ExportRequest::helpText()
        + QStringLiteral("                        Each FILE is read by its extension, as the editor opens it,\n"
                         "                        and written as DIR/<base name>.<extension>; one line is\n"
                         "                        printed for each file written. The exit status is 0 when\n"
                         "                        every file was converted, 1 when any could not be read or\n"
                         "                        written (the reason is printed on standard error and nothing\n"
                         "                        is written for it), 2 for a wrong command line.\n"
                         "  --outdir DIR          the folder for converted files (default: the current folder)\n"
                         "  --jobs N              convert up to N documents side by side, each in a process\n"
                         "                        of its own (default: the number of cores); the lines and\n"
                         "                        messages still come in the order of the FILEs\n"
                         "  --print               print each FILE without opening a window, and exit; no\n"
                         "                        display is needed. Each FILE is paginated as the print\n"
                         "                        preview shows it (paper A4, portrait, the page margins of\n"
                         "                        WordOptions.bin) and sent as one job titled with its file\n"
                         "                        name. The exit status is 0 when every file was printed, 1\n"
                         "                        when there is no printer, the printer does not take the\n"
                         "                        job or a file cannot be read (the reason is printed on\n"
                         "                        standard error), 2 for a wrong command line.\n"
                         "  --printer NAME        with --print: the printer (CUPS queue) to print on\n"
                         "                        (default: the system's default printer)\n"
                         "  -h, --help            show this help and exit\n"
                         "  -v, --version         show the version and exit\n"
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
