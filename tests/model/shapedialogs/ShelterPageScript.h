#pragma once
// Shows a field's property page in a sheet against the shipped templates and reads the
// texts of the given controls.
#include "support/LanguageScripts.h"
#include "framework/ui/CPropertySheet.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CShelter.h"

#include <map>
#include <memory>
#include <vector>

inline std::map<int, CString> ShowPage(CShelter& shelter, BOOL inch, const std::vector<int>& ids)
{
    std::map<int, CString> texts;
    const std::unique_ptr<CPropertyPage> page = shelter.CreatePropertyPage(0, inch, 0);
    if (!page) return texts;
    ScriptedUi ui;
    CPropertySheet sheet("Field");
    sheet.AddPage(page.get());
    ui.QueueModal([&](CWnd& dialog) {
        DialogDriver driver(dialog);
        for (const int id : ids) texts[id] = driver.Text(id);
        driver.Ok();
    });
    sheet.DoModal();
    return texts;
}
