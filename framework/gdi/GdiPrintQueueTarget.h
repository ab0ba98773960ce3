#pragma once
// A printer of the print system: the pages are drawn as for a PDF file into a spool
// file, and the job they make is created in the queue when the document starts, checked
// after every page and sent whole when the document ends. Aborting cancels the job in
// the queue.
#include "framework/gdi/GdiPdfTarget.h"
#include "framework/gdi/GdiPrintQueue.h"

#include <QTemporaryDir>

#include <memory>

class GdiPrintQueueTarget : public GdiPdfTarget {
public:
    // The job asks the queue for the copies; the document holds each page once.
    GdiPrintQueueTarget(const QString& queue, const GdiPageSetup& page, int copies);
    ~GdiPrintQueueTarget() override;

    int StartDoc(const QString& name, const char* output) override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;

private:
    QString m_queue;
    int m_copies;
    std::unique_ptr<QTemporaryDir> m_spool;
    std::unique_ptr<GdiPrintJob> m_job;
};
