#include "framework/gdi/GdiPrintQueueTarget.h"

#include <QPrinter>

GdiPrintQueueTarget::GdiPrintQueueTarget(const QString& queue, const GdiPageSetup& page)
    : GdiPdfTarget(QString(), page), m_queue(queue)
{
}

GdiPrintQueueTarget::~GdiPrintQueueTarget() = default;

std::unique_ptr<QPagedPaintDevice> GdiPrintQueueTarget::OpenDocument(const QString& name, const QString& path)
{
    // Qt's own hand-over to the queue happens only after the last page and ignores the
    // queue's answer: the printer writes the spool file, the job does the rest.
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setDocName(name);
    printer->setCreator(QStringLiteral("Taliso"));
    printer->setResolution(Page().dpiX);
    printer->setFullPage(true);
    printer->setPageSize(GdiPageSizeOf(Page()));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0));
    return printer;
}

int GdiPrintQueueTarget::StartDoc(const QString& name, const char*)
{
    if (InDocument()) return SP_ERROR;
    m_spool = std::make_unique<QTemporaryDir>();
    if (!m_spool->isValid()) return SP_ERROR;
    m_job = std::make_unique<GdiPrintJob>(m_queue);
    if (!m_job->Create(name)) {
        m_job.reset();
        return SP_ERROR;
    }
    SetPath(m_spool->filePath(QStringLiteral("job.pdf")));
    const int started = GdiPdfTarget::StartDoc(name, nullptr);
    if (started <= 0) m_job->Cancel();
    return started;
}

int GdiPrintQueueTarget::EndPage()
{
    const int ended = GdiPdfTarget::EndPage();
    // A job cancelled or aborted in the queue meanwhile takes no more pages.
    if (ended > 0 && (!m_job || !m_job->Waiting())) return SP_ERROR;
    return ended;
}

int GdiPrintQueueTarget::EndDoc()
{
    if (!InDocument() || !m_job) return SP_ERROR;
    const bool written = GdiPdfTarget::EndDoc() > 0;
    const bool sent = written && m_job->Send(Path());
    if (!sent) m_job->Cancel();
    m_job.reset();
    m_spool.reset();
    return sent ? 1 : SP_ERROR;
}

int GdiPrintQueueTarget::AbortDoc()
{
    GdiPdfTarget::AbortDoc();
    if (m_job) m_job->Cancel();
    m_job.reset();
    m_spool.reset();
    return 1;
}
