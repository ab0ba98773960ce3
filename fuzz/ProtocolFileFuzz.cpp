// Feeds arbitrary file contents to the protocol replay: the file is chosen in the replay's
// file dialog, then the replay steps through every entry and back to the first. A refused
// file loads nothing; a loaded one shows each of its entries in turn, never past its end.
#include "FuzzCheck.h"
#include "FuzzScratchFile.h"
#include "FuzzWindowLayer.h"

#include "app/CCommonDoc.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/ScriptedUi.h"


namespace {

class ReplayDoc : public CCommonDoc {
public:
    ReplayDoc() { m_bAutoDelete = FALSE; }
};

int ShownPosition(const CCommonDoc& doc)
{
    int position = 0;
    doc.GetProtocolPosition(&position, nullptr);
    return position;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratchFile file("protocol.prt");
    file.Write(data, size);
    ScriptedUi ui;
    ui.QueueModal([](CWnd& dialog) { static_cast<CFileDialog&>(dialog).ChooseFile(file.Path()); });
    ReplayDoc doc;
    doc.SetMode(kModeReplay);
    if (!doc.IsProtocolLoaded()) {
        if (doc.GetMode() == kModeReplay || doc.GetProtocolPosition(nullptr, nullptr) != 0)
            FuzzFailure("a refused protocol left a replay");
        return 0;
    }
    const int count = doc.GetProtocolPosition(nullptr, nullptr);
    if (count <= 0 || ShownPosition(doc) != 1 || doc.GetResult() == nullptr)
        FuzzFailure("a loaded protocol does not show its first entry");
    for (int step = 2; step <= count; ++step) {
        doc.OnReplayNext();
        if (ShownPosition(doc) != step || doc.GetResult() == nullptr)
            FuzzFailure("stepping on does not show the next entry");
    }
    doc.OnReplayNext();
    if (ShownPosition(doc) != count)
        FuzzFailure("stepping on passed the last entry");
    doc.OnReplayFirst();
    if (ShownPosition(doc) != 1 || doc.GetResult() == nullptr)
        FuzzFailure("the first entry does not show again");
    doc.SetMode(kModeReplay); // ends the replay
    if (doc.IsProtocolLoaded())
        FuzzFailure("the ended replay kept its protocol");
    return 0;
}
