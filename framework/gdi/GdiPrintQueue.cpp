#include "framework/gdi/GdiPrintQueue.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const char* NoPassword(const char*, http_t*, const char*, const char*, void*) { return nullptr; }

// libcups keeps the server it found first; printing follows the one named now. Its
// default password prompt reads the terminal, which a desktop program has not: a queue
// that wants a password refuses the job instead.
void FollowCurrentServer()
{
    cupsSetServer(nullptr);
    cupsSetPasswordCB2(NoPassword, nullptr);
}

QByteArray Utf8(const QString& text) { return text.toUtf8(); }

int HundredthsMm(double mm) { return std::max(0, int(std::lround(mm * 100.0))); }

} // namespace

std::vector<GdiPrintQueueInfo> GdiPrintQueues()
{
    FollowCurrentServer();
    std::vector<GdiPrintQueueInfo> queues;
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        queues.push_back({info.printerName(), info.location(), info.printerName() == defaultName});
    std::sort(queues.begin(), queues.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return queues;
}

QString GdiDefaultPrintQueue()
{
    FollowCurrentServer();
    return QPrinterInfo::defaultPrinterName();
}

void GdiApplyQueueMargins(const QString& queue, GdiPageSetup& page)
{
    FollowCurrentServer();
    const QPrinterInfo info = QPrinterInfo::printerInfo(queue);
    if (info.isNull()) return;
    QPrinter printer(info, QPrinter::HighResolution);
    const bool landscape = page.paperWidth > page.paperHeight;
    const QSizeF portrait(std::min(page.paperWidth, page.paperHeight) / 100.0,
                          std::max(page.paperWidth, page.paperHeight) / 100.0);
    printer.setPageSize(QPageSize(portrait, QPageSize::Millimeter));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF margins = layout.minimumMargins();
    page.unprintableLeft = HundredthsMm(margins.left());
    page.unprintableTop = HundredthsMm(margins.top());
    page.unprintableRight = HundredthsMm(margins.right());
    page.unprintableBottom = HundredthsMm(margins.bottom());
}

GdiPrintJob::GdiPrintJob(QString queue) : m_queue(std::move(queue)) {}

GdiPrintJob::~GdiPrintJob()
{
    if (m_open) Cancel();
}

bool GdiPrintJob::Create(const QString& title)
{
    if (m_open || m_queue.isEmpty()) return false;
    FollowCurrentServer();
    m_id = cupsCreateJob(CUPS_HTTP_DEFAULT, Utf8(m_queue).constData(), title.toUtf8().constData(), 0, nullptr);
    m_open = m_id > 0;
    return m_open;
}

bool GdiPrintJob::Waiting() const
{
    if (!m_open) return false;
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/jobs/%d", m_id);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "job-state");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    int state = 0;
    if (response != nullptr) {
        if (ipp_attribute_t* attribute = ippFindAttribute(response, "job-state", IPP_TAG_ENUM))
            state = ippGetInteger(attribute, 0);
        ippDelete(response);
    }
    return state == IPP_JSTATE_PENDING || state == IPP_JSTATE_HELD || state == IPP_JSTATE_PROCESSING;
}

bool GdiPrintJob::Send(const QString& pdfPath)
{
    if (!m_open) return false;
    QFile file(pdfPath);
    const QByteArray queue = Utf8(m_queue);
    const QByteArray name = Utf8(QFileInfo(pdfPath).fileName());
    if (!file.open(QIODevice::ReadOnly) ||
        cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), m_id, name.constData(), CUPS_FORMAT_PDF, 1) !=
            HTTP_STATUS_CONTINUE) {
        Cancel();
        return false;
    }
    bool sent = true;
    while (sent && !file.atEnd()) {
        const QByteArray chunk = file.read(64 * 1024);
        sent = !chunk.isEmpty() &&
               cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.constData(), std::size_t(chunk.size())) == HTTP_STATUS_CONTINUE;
    }
    // The document is ended in any case, so the connection is ready for the next request.
    const bool finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) <= IPP_STATUS_OK_EVENTS_COMPLETE;
    if (!sent || !finished) {
        Cancel();
        return false;
    }
    m_open = false;
    return true;
}

void GdiPrintJob::Cancel()
{
    if (!m_open) return;
    m_open = false;
    cupsCancelJob2(CUPS_HTTP_DEFAULT, Utf8(m_queue).constData(), m_id, 0);
}
