#pragma once

#include "export/ExportProgress.h"

#include <QByteArray>
#include <QDialog>

class QBuffer;
class QLabel;
class QMovie;

// The progress window of the exports: caption "Document Export Status...", always on top, white,
// a small animated picture, "Exporting Data..." and the percentage done. Shown without blocking
// while an export runs; closing it puts the percentage back to "0%".
class TfrmExport : public QDialog, public ExportProgress
{
    Q_OBJECT
public:
    explicit TfrmExport(QWidget *parent = nullptr);
    ~TfrmExport() override;

    QLabel *lblStatus = nullptr;
    QLabel *lblProgBar = nullptr;
    QLabel *imgAnimation = nullptr;
    QMovie *movie() const { return m_movie; }

    void showProgress() override;
    void setProgress(int percent) override;
    void closeProgress() override;

    // The 32 x 32 animated picture: a dot going round, as a GIF.
    static QByteArray animationGif();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QByteArray m_gif;
    QBuffer *m_gifBuffer = nullptr;
    QMovie *m_movie = nullptr;
};
