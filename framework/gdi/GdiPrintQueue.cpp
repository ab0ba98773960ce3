#include "framework/gdi/GdiPrintQueue.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <sys/socket.h>

#include <cups/cups.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
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

GdiPrintLookupObserver s_lookupObserver;

int GiveUp(http_t*, void*) { return 0; }

using BoundedConnection = std::unique_ptr<http_t, decltype(&httpClose)>;

// A connection of the look-up's own, so that its waits are the short ones it chooses
// rather than the library's, which suit a print job but freeze a dialog.
BoundedConnection ConnectBounded()
{
    FollowCurrentServer();
    const char* server = cupsServer(); // before the port, which the server's name may give
    const int port = ippPort();
    BoundedConnection http(
        httpConnect2(server, port, nullptr, AF_UNSPEC, cupsEncryption(), 1, kGdiPrintConnectTimeoutMs, nullptr),
        httpClose);
    if (http) httpSetTimeout(http.get(), kGdiPrintAnswerTimeoutMs / 1000.0, GiveUp, nullptr);
    return http;
}

// The printers and classes the server has, by one question; none when it does not answer.
std::vector<GdiPrintQueueInfo> InstalledQueues(http_t* http)
{
    static const char* const kAttributes[] = {"printer-name", "printer-location"};
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(kAttributes)),
                  nullptr, kAttributes);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ipp_t* response = cupsDoRequest(http, request, "/");
    std::vector<GdiPrintQueueInfo> queues;
    if (response == nullptr) return queues;
    // Each printer is a group of its own; a separator or another group ends it.
    GdiPrintQueueInfo current;
    auto finish = [&] {
        if (!current.name.isEmpty()) queues.push_back(current);
        current = GdiPrintQueueInfo();
    };
    for (ipp_attribute_t* attribute = ippFirstAttribute(response); attribute != nullptr;
         attribute = ippNextAttribute(response)) {
        const char* name = ippGetName(attribute);
        if (ippGetGroupTag(attribute) != IPP_TAG_PRINTER || name == nullptr) {
            finish();
            continue;
        }
        const QString value = QString::fromUtf8(ippGetString(attribute, 0, nullptr));
        if (std::strcmp(name, "printer-name") == 0) current.name = value;
        else if (std::strcmp(name, "printer-location") == 0) current.location = value;
    }
    finish();
    ippDelete(response);
    return queues;
}

// The page's paper by the print system's name for it (A4, Letter, A5), turned upright.
QByteArray MediaName(const GdiPageSetup& page)
{
    const pwg_media_t* media = pwgMediaForSize(std::min(page.paperWidth, page.paperHeight),
                                               std::max(page.paperWidth, page.paperHeight));
    if (media == nullptr) return {};
    return QByteArray(media->ppd != nullptr ? media->ppd : media->pwg);
}

// What `lp -o media=A5 -o landscape -n 2` asks of a queue; copies of several pages stay
// in page order, as the pages of a copy belong together.
int JobOptions(const GdiPageSetup& page, int copies, cups_option_t** options)
{
    int count = 0;
    const QByteArray media = MediaName(page);
    if (!media.isEmpty()) count = cupsAddOption("media", media.constData(), count, options);
    if (page.paperWidth > page.paperHeight) count = cupsAddOption("landscape", "true", count, options);
    if (copies > 1) {
        count = cupsAddOption("copies", QByteArray::number(copies).constData(), count, options);
        count = cupsAddOption("collate", "true", count, options);
    }
    return count;
}

QString LastFailure() { return QString::fromUtf8(cupsLastErrorString()).trimmed(); }

int HundredthsMm(double mm) { return std::max(0, int(std::lround(mm * 100.0))); }

} // namespace

std::vector<GdiPrintQueueInfo> GdiLookUpPrintQueues()
{
    if (s_lookupObserver) s_lookupObserver(kGdiPrintConnectTimeoutMs);
    std::vector<GdiPrintQueueInfo> queues;
    const BoundedConnection http = ConnectBounded();
    if (!http) return queues;
    queues = InstalledQueues(http.get());
    if (queues.empty()) return queues;
    // The user's own choice of default (lpoptions, LPDEST) before the server's.
    if (cups_dest_t* chosen = cupsGetNamedDest(http.get(), nullptr, nullptr)) {
        const QString name = QString::fromUtf8(chosen->name);
        for (GdiPrintQueueInfo& queue : queues) queue.isDefault = queue.name == name;
        cupsFreeDests(1, chosen);
    }
    std::sort(queues.begin(), queues.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return queues;
}

GdiPrintLookupObserver GdiSetPrintLookupObserver(GdiPrintLookupObserver observer)
{
    return std::exchange(s_lookupObserver, std::move(observer));
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

GdiPrintJob::GdiPrintJob(QString queue, const GdiPageSetup& page, int copies)
    : m_queue(std::move(queue)), m_page(page), m_copies(std::max(1, copies))
{
}

GdiPrintJob::~GdiPrintJob()
{
    if (m_open) Cancel();
}

bool GdiPrintJob::Create(const QString& title)
{
    if (m_open || m_queue.isEmpty()) return false;
    FollowCurrentServer();
    cups_option_t* options = nullptr;
    const int count = JobOptions(m_page, m_copies, &options);
    m_id = cupsCreateJob(CUPS_HTTP_DEFAULT, Utf8(m_queue).constData(), title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    m_open = m_id > 0;
    m_failure = m_open ? QString() : LastFailure();
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
    if (!file.open(QIODevice::ReadOnly)) {
        m_failure = file.errorString();
        Cancel();
        return false;
    }
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), m_id, name.constData(), CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE) {
        m_failure = LastFailure();
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
        m_failure = LastFailure();
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
