#pragma once
// The print system's queues (the printers a user has installed) and one job handed to a
// queue. A job is created in the queue when printing starts, so the queue shows it at
// once and cancelling it there, or here, ends it on both sides; its pages go to the
// queue as one PDF document when the last one is done.
#include "framework/gdi/CDC.h"

#include <QString>

#include <functional>
#include <vector>

struct GdiPrintQueueInfo {
    QString name;     // the queue's name, which printing asks for
    QString location; // where the printer stands, as its administrator wrote it
    bool isDefault = false;
};

// How long a look-up waits for the print server to take the connection and to answer: a
// server named but out of reach must not hold up a dialog.
constexpr int kGdiPrintConnectTimeoutMs = 1000;
constexpr int kGdiPrintAnswerTimeoutMs = 2000;

// The installed queues, sorted by name, the default one marked, in one question to the
// print system; empty when it cannot be reached within the timeouts above.
std::vector<GdiPrintQueueInfo> GdiLookUpPrintQueues();
// Tests see each look-up and the connection timeout it waits at most. Returns the
// previous observer.
using GdiPrintLookupObserver = std::function<void(int connectTimeoutMs)>;
GdiPrintLookupObserver GdiSetPrintLookupObserver(GdiPrintLookupObserver observer);

// Fills the unprintable margins of the page from what the queue's printer reports for
// that paper; the page keeps its margins when the queue tells none.
void GdiApplyQueueMargins(const QString& queue, GdiPageSetup& page);

class GdiPrintJob {
public:
    // The job asks the queue for the page's paper and orientation and for the copies, as
    // the print system's own job options; the document holds each page once.
    GdiPrintJob(QString queue, const GdiPageSetup& page, int copies);
    // A job never finished is cancelled in its queue.
    ~GdiPrintJob();
    GdiPrintJob(const GdiPrintJob&) = delete;
    GdiPrintJob& operator=(const GdiPrintJob&) = delete;

    // Creates the job in the queue, waiting there for its document; false when the queue
    // refuses it or cannot be reached (Failure says why).
    bool Create(const QString& title);
    // The queue still waits for the document: nobody cancelled or aborted the job there.
    bool Waiting() const;
    // Sends the PDF file as the job's only document; false (the job cancelled) when the
    // queue does not take it whole (Failure says why).
    bool Send(const QString& pdfPath);
    void Cancel();
    int Id() const { return m_id; }
    // The print system's reason for the last refusal; empty when it gave none.
    const QString& Failure() const { return m_failure; }

private:
    QString m_queue;
    GdiPageSetup m_page;
    int m_copies = 1;
    int m_id = 0;
    bool m_open = false; // created, neither sent nor cancelled
    QString m_failure;
};
