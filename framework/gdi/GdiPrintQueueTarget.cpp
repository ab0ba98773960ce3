#include "framework/gdi/GdiPrintQueueTarget.h"

GdiPrintQueueTarget::GdiPrintQueueTarget(const QString& queue, const GdiPageSetup& page, int copies)
    : GdiPdfTarget(QString(), page), m_queue(queue), m_copies(copies)
{
}

GdiPrintQueueTarget::~GdiPrintQueueTarget() = default;

int GdiPrintQueueTarget::StartDoc(const QString& name, const char*)
{
    if (InDocument()) return SP_ERROR;
    SetPrintFailure(QString());
    m_spool = std::make_unique<QTemporaryDir>();
    if (!m_spool->isValid()) {
        SetPrintFailure(m_spool->errorString());
        return SP_ERROR;
    }
    m_job = std::make_unique<GdiPrintJob>(m_queue, Page(), m_copies);
    if (!m_job->Create(name)) {
        SetPrintFailure(m_job->Failure());
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
    if (written && !sent) SetPrintFailure(m_job->Failure());
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
