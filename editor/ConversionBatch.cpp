#include "editor/ConversionBatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <memory>
#include <vector>

namespace {

// The worker's report, one line each: "O <index> <text>" a result line, "E <index> <text>" a
// message, "D <index> <0|1>" the input is done (1: converted). Texts are percent-encoded, so no
// file name can break a line.
QByteArray reportLine(char kind, int index, const QString &text)
{
    return QByteArray(1, kind) + ' ' + QByteArray::number(index) + ' ' + text.toUtf8().toPercentEncoding() + '\n';
}

struct InputResult
{
    QStringList lines;
    QStringList messages;
    bool done = false;
    bool ok = false;
};

void printResult(const InputResult &result, std::FILE *out, std::FILE *err)
{
    for (const QString &line : result.lines)
        std::fprintf(out, "%s\n", qPrintable(line));
    for (const QString &message : result.messages)
        std::fprintf(err, "lumaro: %s\n", qPrintable(message));
    std::fflush(out);
    std::fflush(err);
}

} // namespace

ConversionBatch::ConversionBatch(DocumentConverter::Format format, QString outputDir, int jobs)
    : m_format(std::move(format))
    , m_outputDir(std::move(outputDir))
    , m_jobs(qMax(1, jobs))
{ }

int ConversionBatch::defaultJobs()
{
    return qMax(1, QThread::idealThreadCount());
}

int ConversionBatch::run(const QStringList &inputs, std::FILE *out, std::FILE *err)
{
    if (m_jobs <= 1 || inputs.size() <= 1)
        return runHere(inputs, out, err);
    return runWorkers(inputs, out, err);
}

int ConversionBatch::runHere(const QStringList &inputs, std::FILE *out, std::FILE *err)
{
    DocumentConverter converter(m_format, m_outputDir);
    int failures = 0;
    for (const QString &input : inputs) {
        const DocumentConverter::Outcome outcome = converter.convert(input);
        InputResult result;
        if (outcome.ok) {
            for (const QString &output : outcome.outputs)
                result.lines.append(input + QStringLiteral(" -> ") + output);
        } else {
            result.messages.append(outcome.message);
            ++failures;
        }
        printResult(result, out, err);
    }
    return failures;
}

int ConversionBatch::runWorker(
    const DocumentConverter::Format &format, const QString &outputDir, const QStringList &inputs)
{
    DocumentConverter converter(format, outputDir);
    int failures = 0;
    for (int i = 0; i < inputs.size(); ++i) {
        const DocumentConverter::Outcome outcome = converter.convert(inputs[i]);
        QByteArray report;
        if (outcome.ok) {
            for (const QString &output : outcome.outputs)
                report += reportLine('O', i, inputs[i] + QStringLiteral(" -> ") + output);
        } else {
            report += reportLine('E', i, outcome.message);
            ++failures;
        }
        report += reportLine('D', i, outcome.ok ? QStringLiteral("1") : QStringLiteral("0"));
        std::fwrite(report.constData(), 1, std::size_t(report.size()), stdout);
        std::fflush(stdout);
    }
    return failures;
}

int ConversionBatch::runWorkers(const QStringList &inputs, std::FILE *out, std::FILE *err)
{
    // Inputs that would write the same output stay together, in their order.
    DocumentConverter naming(m_format, m_outputDir);
    QHash<QString, int> groupOfOutput;
    QList<QList<int>> groups;
    for (int i = 0; i < inputs.size(); ++i) {
        const QString key = QFileInfo(naming.outputPath(inputs[i])).absoluteFilePath();
        const auto found = groupOfOutput.constFind(key);
        if (found != groupOfOutput.constEnd()) {
            groups[*found].append(i);
        } else {
            groupOfOutput.insert(key, int(groups.size()));
            groups.append(QList<int> { i });
        }
    }
    const int workers = int(qMin<qsizetype>(m_jobs, groups.size()));
    // Groups are dealt out in turn, so every worker gets inputs from the whole list.
    std::vector<QList<int>> shares(static_cast<std::size_t>(workers));
    for (int g = 0; g < groups.size(); ++g)
        shares[std::size_t(g % workers)] += groups[g];

    std::vector<InputResult> results(static_cast<std::size_t>(inputs.size()));
    int printed = 0;
    auto printReady = [&] {
        while (printed < inputs.size() && results[std::size_t(printed)].done) {
            printResult(results[std::size_t(printed)], out, err);
            ++printed;
        }
    };

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(workerVariable()), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    std::vector<std::unique_ptr<QProcess>> processes;
    std::vector<QByteArray> pending(static_cast<std::size_t>(workers));
    for (int w = 0; w < workers; ++w) {
        QStringList arguments { QStringLiteral("--convert-to"), m_format.name, QStringLiteral("--jobs"),
            QStringLiteral("1") };
        if (!m_outputDir.isEmpty())
            arguments << QStringLiteral("--outdir") << m_outputDir;
        arguments << QStringLiteral("--");
        for (int index : shares[std::size_t(w)])
            arguments << inputs[index];
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::SeparateChannels);
        // Anything a worker prints outside its report (warnings of libraries) goes on as it is.
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(QCoreApplication::applicationFilePath(), arguments);
        processes.push_back(std::move(process));
    }

    auto readReports = [&](int w) {
        QByteArray &buffer = pending[std::size_t(w)];
        buffer += processes[std::size_t(w)]->readAllStandardOutput();
        qsizetype end;
        while ((end = buffer.indexOf('\n')) >= 0) {
            const QByteArray line = buffer.left(end);
            buffer.remove(0, end + 1);
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() < 3 || parts[0].size() != 1)
                continue;
            bool ok = false;
            const int local = parts[1].toInt(&ok);
            const QList<int> &share = shares[std::size_t(w)];
            if (!ok || local < 0 || local >= share.size())
                continue;
            InputResult &result = results[std::size_t(share[local])];
            const QString text = QString::fromUtf8(QByteArray::fromPercentEncoding(parts[2]));
            switch (parts[0][0]) {
            case 'O':
                result.lines.append(text);
                break;
            case 'E':
                result.messages.append(text);
                break;
            case 'D':
                result.done = true;
                result.ok = text == QLatin1String("1");
                break;
            default:
                break;
            }
        }
    };

    bool running = true;
    while (running) {
        running = false;
        for (int w = 0; w < workers; ++w) {
            QProcess &process = *processes[std::size_t(w)];
            if (process.state() != QProcess::NotRunning) {
                process.waitForReadyRead(20);
                running = running || process.state() != QProcess::NotRunning;
            }
            readReports(w);
        }
        printReady();
    }

    // A worker that could not start or stopped early leaves its remaining inputs unconverted.
    for (int w = 0; w < workers; ++w) {
        readReports(w);
        for (int index : shares[std::size_t(w)]) {
            InputResult &result = results[std::size_t(index)];
            if (!result.done) {
                result.done = true;
                result.ok = false;
                result.lines.clear();
                result.messages.append(QStringLiteral("%1: the conversion stopped unexpectedly").arg(inputs[index]));
            }
        }
    }
    printReady();
    int failures = 0;
    for (const InputResult &result : results)
        failures += result.ok ? 0 : 1;
    return failures;
}
