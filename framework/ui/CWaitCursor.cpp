#include "framework/ui/CWaitCursor.h"

#include "framework/ui/CWinApp.h"

#include <QApplication>
#include <QCursor>

namespace {

int g_waitDepth = 0;

bool HaveGui()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

// The application object may take over the cursor (CWinApp::DoWaitCursor); without one
// the override cursor of the whole program shows the wait.
void AfxDoWaitCursor(int nCode)
{
    if (CWinApp* app = AfxGetApp()) {
        app->DoWaitCursor(nCode);
        return;
    }
    AfxApplyWaitCursor(nCode);
}

void AfxApplyWaitCursor(int nCode)
{
    if (nCode > 0) {
        ++g_waitDepth;
        if (HaveGui())
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else if (nCode < 0) {
        // An End without a Begin must not pop a cursor someone else pushed.
        if (g_waitDepth == 0)
            return;
        --g_waitDepth;
        if (HaveGui())
            QApplication::restoreOverrideCursor();
    } else if (g_waitDepth > 0 && HaveGui()) {
        QApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

int AfxWaitCursorDepth()
{
    return g_waitDepth;
}

CWaitCursor::CWaitCursor()
{
    AfxDoWaitCursor(1);
}

CWaitCursor::~CWaitCursor()
{
    AfxDoWaitCursor(-1);
}

void CWaitCursor::Restore()
{
    AfxDoWaitCursor(0);
}
