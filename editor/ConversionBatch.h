#pragma once

#include "editor/DocumentConverter.h"

#include <QString>
#include <QStringList>

#include <cstdio>

// A --convert-to run over many inputs. With one job the inputs are converted one after the other
// in this process; with more, this program is started again as up to that many worker processes
// (the rich text control lives on one GUI thread per process) that convert their share side by
// side. Either way every input gets the same result lines ("<input> -> <output>") on standard
// output and the same message on standard error, printed in the order of the inputs. Inputs
// that name the same output go to the same worker, in order, so the later one still finds the
// earlier one's output taken.
class ConversionBatch
{
public:
    ConversionBatch(DocumentConverter::Format format, QString outputDir, int jobs);

    // Converts every input; returns the number of inputs that failed.
    int run(const QStringList &inputs, std::FILE *out, std::FILE *err);

    // A worker process: converts its inputs in this process and reports each outcome to the
    // parent on standard output in a form of its own. Returns the number of failures.
    static int runWorker(const DocumentConverter::Format &format, const QString &outputDir, const QStringList &inputs);
    // The environment variable that makes a conversion run a worker.
    static const char *workerVariable() { return "LUMARO_CONVERT_WORKER"; }

    // The default number of jobs: the number of cores.
    static int defaultJobs();

private:
    int runHere(const QStringList &inputs, std::FILE *out, std::FILE *err);
    int runWorkers(const QStringList &inputs, std::FILE *out, std::FILE *err);

    DocumentConverter::Format m_format;
    QString m_outputDir;
    int m_jobs;
};
