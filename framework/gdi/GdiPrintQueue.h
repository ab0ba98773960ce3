#pragma once
// The print system's queues (the printers a user has installed) and one job handed to a
// queue. A job is created in the queue when printing starts, so the queue shows it at
// once and cancelling it there, or here, ends it on both sides; its pages go to the
// queue as one PDF document when the last one is done.
#include "framework/gdi/CDC.h"

#include <QString>

#include <vector>

struct GdiPrintQueueInfo {
    QString name;     // the queue's name, which printing asks for
    QString location; // where the printer stands, as its administrator wrote it
    bool isDefault = false;
};

// The installed queues, sorted by name; empty when the print system cannot be reached.
std::vector<GdiPrintQueueInfo> GdiPrintQueues();
// The queue printing goes to unless the user chooses another; empty when there is none.
QString GdiDefaultPrintQueue();
// Fills the unprintable margins of the page from what the queue's printer reports for
// that paper; the page keeps its margins when the queue tells none.
void GdiApplyQueueMargins(const QString& queue, GdiPageSetup& page);

class GdiPrintJob {
public:
    explicit GdiPrintJob(QString queue);
    // A job never finished is cancelled in its queue.
    ~GdiPrintJob();
    GdiPrintJob(const GdiPrintJob&) = delete;
    GdiPrintJob& operator=(const GdiPrintJob&) = delete;

    // Creates the job in the queue, waiting there for its document; false when the queue
    // refuses it or cannot be reached.
    bool Create(const QString& title);
    // The queue still waits for the document: nobody cancelled or aborted the job there.
    bool Waiting() const;
    // Sends the PDF file as the job's only document; false (the job cancelled) when the
    // queue does not take it whole.
    bool Send(const QString& pdfPath);
    void Cancel();
    int Id() const { return m_id; }

private:
    QString m_queue;
    int m_id = 0;
    bool m_open = false; // created, neither sent nor cancelled
};
