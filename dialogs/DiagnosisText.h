#pragma once
// The plain-text diagnosis report of a device: the error list, the section of a scanner
// and the section of a KVR unit. Lines end with CR LF; every text is taken from the
// language library or the driver's texts.
#include "framework/core/CString.h"

class CDC;
class CKVRIdentity;
class CSensorErrorList;
class CZOKIdentity;

struct DiagnosisTextOptions {
    // The "date - time" line that starts a report (without its line end).
    CString timeStamp;
    // The measurement statistics of a scanner; left out for a simulated device.
    bool statistics = true;
};

// The current date in the user's short format, " - ", and the 24-hour time.
CString DiagnosisTimeStamp();

// One line per entry "(ERRcc) class! code", then an empty line and string 1102.
CString ErrorListText(const CSensorErrorList& errors);

// The section of a scanner. Unless it is part of a KVR report it replaces the text and
// starts with the time stamp; inside a KVR report it is appended and leaves out what the
// unit's section already says.
void ZOKText(const CZOKIdentity& identity, const CSensorErrorList& errors, CString& text, bool partOfKVR,
             const DiagnosisTextOptions& options);

// The section of a KVR unit; it replaces the text.
void KVRText(const CKVRIdentity& identity, const CSensorErrorList& errors, CString& text,
             const DiagnosisTextOptions& options);

// 80 stars or 80 dashes and CR LF.
CString StarLine();
CString DashLine();

// Printing a report: one line per CR LF-ended line (a rest without a line end is printed
// too), lines as high as the printer font's height plus its external leading, a page
// holding the page height in lines less 2. The caller's print loop owns the document and
// its pages; these only measure and draw.
int DiagnosisLinesPerPage(CDC* pDC);
int DiagnosisPageCount(CDC* pDC, const CString& text);
// Draws the lines of page nPage (from 1) at one average character width from the left,
// starting one line height from the top.
void PrintDiagnosisPage(CDC* pDC, const CString& text, int nPage);
