#pragma once

// Where an export shows how far it got (the progress window).
class ExportProgress
{
public:
    virtual ~ExportProgress() = default;
    virtual void showProgress() = 0;
    // Percent of the text done; the place to let pending events run.
    virtual void setProgress(int percent) = 0;
    virtual void closeProgress() = 0;
};
