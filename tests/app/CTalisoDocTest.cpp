// The document base: undo and redo of the current field, the edit commands and their
// states, fields on the clipboard under their kind's format, monitor-area files in the
// current and the older forms, and the document file's base level.
#include "app/CTalisoDoc.h"

#include "dialogs/CHelpFileDialog.h"

#include "framework/core/CArchive.h"
#include "framework/core/SyncWatch.h"
#include "framework/core/CMemFile.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CView.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/LegacyRecordBytes.h"
#include "support/LanguageScripts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A family document in miniature: its configuration is one field.
class FieldDoc : public CTalisoDoc {
public:
    FieldDoc() { m_bAutoDelete = FALSE; }
    void SetCurrentObject(CSensorObject* pObject) override
    {
        auto* field = dynamic_cast<CShelter*>(pObject);
        current = field != nullptr ? field->CloneShelter() : nullptr;
    }
    CShelter* GetCurrentObject() override { return current.get(); }

    std::unique_ptr<CShelter> current;
};

class HintView : public CView {
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM lHint, CObject*) override { hints.push_back(lHint); }
    std::vector<LPARAM> hints;
};

std::unique_ptr<CShelter> Arc(WORD radius, int kind = kProtectiveField, UINT typeCode = 4)
{
    auto arc = std::make_unique<CArcShelter>();
    arc->Initialize(CSensorType(typeCode, 0), radius, kind);
    return arc;
}

std::unique_ptr<CShelter> Contour(int kind = kProtectiveField)
{
    auto contour = std::make_unique<CPolyShelter>();
    contour->InitializeConstant(CSensorType(4, 0), 300, 91, kind);
    return contour;
}

WORD RadiusOf(const CShelter* field)
{
    const auto* arc = dynamic_cast<const CArcShelter*>(field);
    return arc != nullptr ? arc->GetRadius() : 0;
}

BOOL Command(CTalisoDoc& doc, UINT id)
{
    return doc.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
}

bool Enabled(CTalisoDoc& doc, UINT id)
{
    CTestCmdUI state;
    state.m_nID = id;
    state.DoUpdate(&doc, TRUE);
    return state.m_bEnabled != FALSE;
}

std::vector<BYTE> ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<BYTE>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
}

std::vector<BYTE> ArchiveOf(const CObject* object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << object;
        ar.Close();
    }
    const auto length = UINT(file.GetLength());
    std::vector<BYTE> bytes(length);
    file.SeekToBegin();
    file.Read(bytes.data(), length);
    return bytes;
}

void PlaceOnClipboard(UINT format, const std::vector<BYTE>& bytes)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes.size());
    std::copy(bytes.begin(), bytes.end(), static_cast<BYTE*>(GlobalLock(block)));
    GlobalUnlock(block);
    EXPECT_NE(SetClipboardData(format, block), nullptr);
    CloseClipboard();
}

class CTalisoDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(language.Loaded()) << language.Error();
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
        folder = fs::temp_directory_path() / ("talisodoc-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        doc.AddView(&view);
        doc.current = Arc(100);
        doc.SetEditMode(1);
        view.hints.clear();
    }
    void TearDown() override
    {
        doc.RemoveView(&view);
        fs::remove_all(folder);
    }

    // One change as the views make it: the state before, the change, the state after.
    void ChangeRadius(FieldDoc& target, WORD radius)
    {
        target.PushUndo(target.current.get());
        static_cast<CArcShelter*>(target.current.get())->SetRadius(radius);
        target.SetUndoCurrent(target.current.get());
    }

    // The file dialog of the next monitor-area command chooses the path.
    void ChooseFile(const fs::path& path, DWORD expectedFlags = 0, int expectedHelp = 0)
    {
        ui.QueueModal([=](CWnd& dlg) {
            auto& request = static_cast<CFileDialog&>(dlg);
            EXPECT_EQ(request.GetDefExt(), "mon");
            if (expectedFlags != 0) {
                EXPECT_EQ(request.m_ofn.Flags, expectedFlags);
            }
            if (expectedHelp != 0) {
                EXPECT_EQ(dynamic_cast<CHelpFileDialog&>(dlg).GetHelpContextId(), expectedHelp);
            }
            request.ChooseFile(CString(path.string()));
        });
    }

    LanguageScripts language{"docbase.rc", "docview.rc", "model.rc", "model2.rc", "shapes.rc", "polygon.rc"};
    ScriptedUi ui;
    fs::path folder;
    FieldDoc doc;
    HintView view;
};

// Eleven changes leave ten undo steps; each undo goes back one state and redo forward.
TEST_F(CTalisoDocTest, UndoKeepsTenStepsAndRedoReturnsToTheLatestState)
{
    for (WORD radius = 101; radius <= 111; ++radius) ChangeRadius(doc, radius);
    for (WORD expected = 110; expected >= 101; --expected) {
        ASSERT_TRUE(Enabled(doc, ID_EDIT_UNDO)) << expected;
        Command(doc, ID_EDIT_UNDO);
        EXPECT_EQ(RadiusOf(doc.current.get()), expected);
    }
    EXPECT_FALSE(Enabled(doc, ID_EDIT_UNDO)) << "the oldest state was dropped";
    for (WORD expected = 102; expected <= 111; ++expected) {
        ASSERT_TRUE(Enabled(doc, ID_EDIT_REDO)) << expected;
        Command(doc, ID_EDIT_REDO);
        EXPECT_EQ(RadiusOf(doc.current.get()), expected);
    }
    EXPECT_FALSE(Enabled(doc, ID_EDIT_REDO));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.hints, std::vector<LPARAM>(20, kHintCurrentObjectChanged));
}

TEST_F(CTalisoDocTest, AChangeAfterUndoDiscardsRedoAndLeavingEditModeEmptiesTheStore)
{
    ChangeRadius(doc, 200);
    ChangeRadius(doc, 300);
    Command(doc, ID_EDIT_UNDO);
    EXPECT_TRUE(Enabled(doc, ID_EDIT_REDO));
    ChangeRadius(doc, 400);
    EXPECT_FALSE(Enabled(doc, ID_EDIT_REDO));
    EXPECT_TRUE(Enabled(doc, ID_EDIT_UNDO));

    doc.current = Contour();
    doc.current->Select(1, CSensorPoint());
    doc.SetEditMode(0);
    EXPECT_FALSE(doc.current->HasSelection());
    EXPECT_FALSE(doc.CanUndo());
    doc.SetEditMode(1);
    EXPECT_FALSE(Enabled(doc, ID_EDIT_UNDO));

    doc.current = Arc(100);
    ChangeRadius(doc, 200);
    doc.DeleteContents();
    EXPECT_FALSE(doc.IsEditMode());
    EXPECT_FALSE(doc.CanUndo());
}

// Snapshots keep no selection; the undo commands need edit mode; a non-field is not recorded.
TEST_F(CTalisoDocTest, SnapshotsHoldNoSelectionAndUndoNeedsEditMode)
{
    doc.current = Contour();
    doc.current->Select(1, CSensorPoint());
    EXPECT_EQ(doc.PushUndo(doc.current.get()), 1);
    doc.current->DeleteSelection();
    EXPECT_EQ(doc.SetUndoCurrent(doc.current.get()), 1);
    Command(doc, ID_EDIT_UNDO);
    ASSERT_NE(doc.current, nullptr);
    EXPECT_FALSE(doc.current->HasSelection());
    EXPECT_EQ(static_cast<CPolyShelter*>(doc.current.get())->GetBeamCount(), 91);

    doc.SetEditMode(0);
    doc.PushUndo(doc.current.get());
    EXPECT_FALSE(Enabled(doc, ID_EDIT_UNDO)) << "edit mode is off";
    EXPECT_EQ(doc.PushUndo(nullptr), 0);
}

// Each kind of each device type has its own format; paste takes only its own.
TEST_F(CTalisoDocTest, FieldsTravelUnderTheirKindsFormatAndPasteOnlyIntoTheSameKindAndType)
{
    struct Case {
        UINT typeCode;
        int kind;
        UINT format;
    };
    const Case cases[] = {{4, kProtectiveField, 522}, {4, kWarningField, 523}, {7, kProtectiveField, 524},
                          {7, kWarningField, 525},    {50, kProtectiveField, 526}, {50, kWarningField, 527}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
        FieldDoc source;
        source.current = Arc(250, c.kind, c.typeCode);
        source.SetEditMode(1);
        Command(source, ID_EDIT_COPY);
        EXPECT_TRUE(IsClipboardFormatAvailable(c.format));
        for (const Case& other : cases) {
            FieldDoc target;
            target.current = Arc(100, other.kind, other.typeCode);
            target.SetEditMode(1);
            EXPECT_EQ(Enabled(target, ID_EDIT_PASTE), other.format == c.format) << other.format;
        }
        FieldDoc target;
        target.current = Arc(100, c.kind, c.typeCode);
        target.SetEditMode(1);
        Command(target, ID_EDIT_PASTE);
        EXPECT_EQ(RadiusOf(target.current.get()), 250);
        EXPECT_TRUE(target.IsModified());
        Command(target, ID_EDIT_UNDO);
        EXPECT_EQ(RadiusOf(target.current.get()), 100);
    }
    doc.SetEditMode(0);
    EXPECT_FALSE(Enabled(doc, ID_EDIT_PASTE)) << "edit mode is off";
    EXPECT_FALSE(Enabled(doc, ID_EDIT_COPY));
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(CTalisoDocTest, CutResetsTheFieldOnlyOnceItIsOnTheClipboard)
{
    Command(doc, ID_EDIT_CUT);
    EXPECT_TRUE(IsClipboardFormatAvailable(522));
    EXPECT_EQ(RadiusOf(doc.current.get()), Arc(1)->GetDefaultDistance());
    EXPECT_NE(RadiusOf(doc.current.get()), 100);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.hints, std::vector<LPARAM>{kHintCurrentObjectChanged});
    Command(doc, ID_EDIT_UNDO);
    EXPECT_EQ(RadiusOf(doc.current.get()), 100);

    // The clipboard held open elsewhere, or a general field without a format: no cut.
    ASSERT_TRUE(OpenClipboard(nullptr));
    Command(doc, ID_EDIT_CUT);
    CloseClipboard();
    EXPECT_EQ(RadiusOf(doc.current.get()), 100);
    doc.current = Arc(120, kGeneralField);
    Command(doc, ID_EDIT_CUT);
    EXPECT_EQ(RadiusOf(doc.current.get()), 120);
}

// The format names kind and type code only: a field of the type's other variant, whose
// limits differ, is refused as import refuses it.
TEST_F(CTalisoDocTest, PasteRefusesAFieldOfTheOtherVariant)
{
    const struct {
        WORD copied;
        WORD target;
        WORD radius; // afterwards
    } cases[] = {{1, 0, 400}, {0, 1, 400}, {1, 1, 650}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.copied << " into " << c.target);
        CArcShelter wide;
        wide.Initialize(CSensorType(7, c.copied), 650, kProtectiveField);
        PlaceOnClipboard(524, ArchiveOf(&wide));
        FieldDoc target;
        auto arc = std::make_unique<CArcShelter>();
        arc->Initialize(CSensorType(7, c.target), 400, kProtectiveField);
        target.current = std::move(arc);
        target.SetEditMode(1);
        ui.ClearMessageBoxes();
        Command(target, ID_EDIT_PASTE);
        EXPECT_EQ(RadiusOf(target.current.get()), c.radius);
        EXPECT_EQ(target.current->GetSensorType(), CSensorType(7, c.target));
        const bool taken = c.copied == c.target;
        EXPECT_EQ(target.IsModified(), taken);
        if (taken) {
            EXPECT_TRUE(ui.MessageBoxes().empty());
        } else {
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_EQ(ui.MessageBoxes()[0].id, IDP_FIELD_OTHER_DEVICE_TYPE);
            EXPECT_FALSE(target.CanUndo());
        }
    }
}

// Data under a field's format that is no field of that kind and type is refused and
// leaves the clipboard closed.
TEST_F(CTalisoDocTest, PasteRefusesForeignDataUnderTheFormat)
{
    const auto warning = Arc(300, kWarningField);
    const std::vector<std::vector<BYTE>> payloads = {
        {0x01, 0x02, 0x03},
        ArchiveOf(warning.get()),
        ByteBuilder().NewClass("CKVRConfig", 1).Byte(2).Bytes(),
    };
    for (const auto& payload : payloads) {
        PlaceOnClipboard(522, payload);
        ASSERT_TRUE(Enabled(doc, ID_EDIT_PASTE));
        ui.ClearMessageBoxes();
        Command(doc, ID_EDIT_PASTE);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].id, IDP_FIELD_NOT_TAKEN);
        EXPECT_EQ(RadiusOf(doc.current.get()), 100);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_FALSE(doc.CanUndo());
        ASSERT_TRUE(OpenClipboard(nullptr)) << "closed again";
        CloseClipboard();
    }
}

TEST_F(CTalisoDocTest, ConversionIsOneUndoableChangeAndThePopupIsGrayedWithoutAny)
{
    Command(doc, ID_CONVERT_CONTOUR91);
    auto* contour = dynamic_cast<CPolyShelter*>(doc.current.get());
    ASSERT_NE(contour, nullptr);
    EXPECT_EQ(contour->GetBeamCount(), 91);
    EXPECT_TRUE(doc.IsModified());
    Command(doc, ID_EDIT_UNDO);
    EXPECT_EQ(RadiusOf(doc.current.get()), 100);
    EXPECT_FALSE(Enabled(doc, ID_CONVERT_ARC)) << "an arc is an arc already";
    EXPECT_TRUE(Enabled(doc, ID_CONVERT_RECTANGLE));

    CMenu bar;
    ASSERT_TRUE(bar.CreatePopupMenu());
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    for (UINT id : {ID_CONVERT_CONTOUR91, ID_CONVERT_CONTOUR181, ID_CONVERT_RECTANGLE, ID_CONVERT_ARC})
        popup.AppendMenu(MF_STRING, id, "item");
    bar.AppendMenu(MF_POPUP, UINT_PTR(popup.Detach()), "Convert");
    const auto popupGrayed = [&] {
        AfxUpdateMenuItems(&bar, &doc, FALSE);
        return (bar.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED) != 0;
    };
    EXPECT_FALSE(popupGrayed());
    doc.SetEditMode(0);
    EXPECT_TRUE(popupGrayed());
    doc.SetEditMode(1);
    doc.current.reset();
    EXPECT_TRUE(popupGrayed());
}

constexpr DWORD kExportFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT;
constexpr DWORD kImportFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

// The file holds the field by pointer, exactly as the clipboard does; importing it into
// another document is one undoable change.
TEST_F(CTalisoDocTest, MonitorAreaExportAndImportRoundTrip)
{
    const fs::path file = folder / "area.mon";
    ChooseFile(folder / "area", kExportFlags, kHelpMonitorAreaExport);
    SyncWatch syncs;
    Command(doc, ID_EXPORT_MONITOR_AREA);
    EXPECT_EQ(syncs.Take(), SyncWatch::DurableWriteOf(file));
    EXPECT_FALSE(doc.IsModified());
    const std::vector<BYTE> bytes = ReadBytes(file);
    const std::vector<BYTE> head = ByteBuilder().NewClass("CArcShelter", 0).Bytes();
    ASSERT_GT(bytes.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    EXPECT_EQ(bytes, ArchiveOf(doc.current.get()));

    doc.current = Arc(400);
    ChooseFile(file, kImportFlags, kHelpMonitorAreaImport);
    Command(doc, ID_IMPORT_MONITOR_AREA);
    EXPECT_EQ(RadiusOf(doc.current.get()), 100);
    EXPECT_TRUE(doc.IsModified());
    Command(doc, ID_EDIT_UNDO);
    EXPECT_EQ(RadiusOf(doc.current.get()), 400);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// A field of the wrong kind or device type is refused by its message; a file that holds
// no field shows nothing. Nothing changes in either case.
TEST_F(CTalisoDocTest, ImportRefusesFieldsOfAnotherKindOrTypeAndIgnoresOtherFiles)
{
    struct Case {
        std::vector<BYTE> file;
        int currentKind;
        UINT prompt; // 0: no message
    };
    const auto protective = Arc(300, kProtectiveField);
    const auto warning = Arc(300, kWarningField);
    const auto otherType = Arc(300, kProtectiveField, 7);
    const auto general = Arc(300, kGeneralField);
    const Case cases[] = {
        {ArchiveOf(protective.get()), kWarningField, IDP_FIELD_IS_PROTECTIVE},
        {ArchiveOf(warning.get()), kProtectiveField, IDP_FIELD_IS_WARNING},
        {ArchiveOf(otherType.get()), kProtectiveField, IDP_FIELD_OTHER_DEVICE_TYPE},
        {ArchiveOf(general.get()), kProtectiveField, IDP_FIELD_NOT_TAKEN},
        {{}, kProtectiveField, 0},
        {{0x00, 0x00}, kProtectiveField, 0},
        {ByteBuilder().NewClass("CKVRConfig", 1).Byte(2).Bytes(), kProtectiveField, 0},
        {{0xFF, 0xFF, 0x00, 0x00, 0x0B, 0x00, 'C', 'A', 'r', 'c'}, kProtectiveField, 0},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(index);
        const fs::path file = folder / ("case" + std::to_string(index++) + ".mon");
        WriteBytes(file, c.file);
        doc.current = Arc(100, c.currentKind);
        ui.ClearMessageBoxes();
        ChooseFile(file);
        Command(doc, ID_IMPORT_MONITOR_AREA);
        if (c.prompt == 0) {
            EXPECT_TRUE(ui.MessageBoxes().empty());
        } else {
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_EQ(ui.MessageBoxes()[0].id, c.prompt);
        }
        EXPECT_EQ(RadiusOf(doc.current.get()), 100);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_FALSE(doc.CanUndo());
    }
}

// Each of the older field files is turned into a current field shape.
TEST_F(CTalisoDocTest, ImportReadsTheFourOlderFieldFiles)
{
    const std::vector<BYTE> rectangle = BShelterBytes(LegacyBeams(181, 200), {{100, 0, 150, 300}});
    // A CEditShelter record: its kind (0 protective, 1 warning), shape 1 (contour), and
    // with a time in its newer form.
    const auto editField = [](WORD kind, bool withTime) {
        ByteBuilder bytes;
        bytes.NewClass("CEditShelter", 1);
        AppendTalsData(bytes, LegacyBeams(181, 250, true));
        bytes.Word(kind).Dword(1).Dword(2).Dword(3).Dword(4).Word(1).Words({300, 100, 150});
        if (withTime) bytes.Words({0, 30, 12, 5, 2, 98});
        return bytes.Bytes();
    };
    struct Case {
        const char* name;
        std::vector<BYTE> file;
        int currentKind;
    };
    const Case cases[] = {
        {"B field", ByteBuilder().NewClass("CBShelter", 1).Append(rectangle).Bytes(), kProtectiveField},
        {"C field", ByteBuilder().NewClass("CCShelter", 1).Append(CShelterBytes(LegacyBeams(181, 250, true))).Bytes(),
         kWarningField},
        {"edit field", editField(0, false), kProtectiveField},
        {"edit field with time", editField(1, true), kWarningField},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = folder / (std::string(c.name) + ".mon");
        WriteBytes(file, c.file);
        doc.current = Arc(100, c.currentKind);
        doc.SetModifiedFlag(FALSE);
        ui.ClearMessageBoxes();
        ChooseFile(file);
        Command(doc, ID_IMPORT_MONITOR_AREA);
        EXPECT_TRUE(ui.MessageBoxes().empty());
        EXPECT_EQ(dynamic_cast<CArcShelter*>(doc.current.get()), nullptr) << "replaced";
        EXPECT_EQ(doc.current->GetFieldKind(), c.currentKind);
        EXPECT_TRUE(doc.IsModified());
    }
}

TEST_F(CTalisoDocTest, MonitorAreaFileErrorsGoToTheSaveLoadReport)
{
    ChooseFile(folder / "missing.mon");
    Command(doc, ID_IMPORT_MONITOR_AREA);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_FAILED_INVALID_PATH);

    ui.ClearMessageBoxes();
    ChooseFile(folder / "no-such-folder" / "area.mon");
    Command(doc, ID_EXPORT_MONITOR_AREA);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_FAILED_INVALID_PATH);
    EXPECT_FALSE(doc.IsModified());

    // Cancel in the dialog: nothing at all.
    ui.ClearMessageBoxes();
    ui.QueueModal([](CWnd&) {});
    Command(doc, ID_IMPORT_MONITOR_AREA);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(RadiusOf(doc.current.get()), 100);
}

// The base level adds no bytes to the document file; a subclass's bytes start the file.
class VersionedDoc : public FieldDoc {
public:
    void Serialize(CArchive& ar) override
    {
        CTalisoDoc::Serialize(ar);
        if (ar.IsStoring()) {
            ar << BYTE(1) << value;
            return;
        }
        BYTE version = 0;
        ar >> version;
        if (version != 1) AfxThrowArchiveException(CArchiveException::badSchema);
        ar >> value;
    }
    int value = 0;
};

TEST_F(CTalisoDocTest, DocumentFileBaseLevelHoldsNothingAndADamagedFileIsReported)
{
    const fs::path empty = folder / "base.doc";
    FieldDoc base;
    ASSERT_TRUE(base.OnSaveDocument(empty.string().c_str()));
    EXPECT_TRUE(ReadBytes(empty).empty());
    EXPECT_TRUE(base.OnOpenDocument(empty.string().c_str()));

    VersionedDoc saved;
    saved.value = 0x01020304;
    const fs::path good = folder / "good.doc";
    ASSERT_TRUE(saved.OnSaveDocument(good.string().c_str()));
    EXPECT_EQ(ReadBytes(good), (std::vector<BYTE>{0x01, 0x04, 0x03, 0x02, 0x01}));

    const std::vector<std::vector<BYTE>> damaged = {{0x02, 0x04, 0x03, 0x02, 0x01}, {0x01, 0x04}, {}};
    for (const auto& bytes : damaged) {
        const fs::path file = folder / "damaged.doc";
        WriteBytes(file, bytes);
        VersionedDoc loaded;
        loaded.SetEditMode(1);
        ui.ClearMessageBoxes();
        EXPECT_FALSE(loaded.OnOpenDocument(file.string().c_str()));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_FAILED_INVALID_FORMAT);
        EXPECT_EQ(ReadBytes(file), bytes) << "the file stays as it was";
        EXPECT_FALSE(loaded.IsEditMode());
    }
}

// The contour's vertex dialog keeps its changes on Cancel; the edit is one undo step.
TEST_F(CTalisoDocTest, ContourEditCancelledKeepsItsChangesAsOneUndoStep)
{
    doc.current = Contour();
    ui.QueueModal([](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_TRUE(driver.ToggleSelection(2078, 1)); // the vertex of beam 1
        EXPECT_TRUE(driver.Click(2059));              // delete
        driver.Cancel();
    });
    Command(doc, ID_EDIT_OBJECT);
    auto* contour = dynamic_cast<CPolyShelter*>(doc.current.get());
    ASSERT_NE(contour, nullptr);
    EXPECT_EQ(contour->GetVertexCount(), 90);
    EXPECT_FALSE(contour->HasSelection());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.hints, std::vector<LPARAM>{kHintCurrentObjectChanged});
    Command(doc, ID_EDIT_UNDO);
    contour = dynamic_cast<CPolyShelter*>(doc.current.get());
    ASSERT_NE(contour, nullptr);
    EXPECT_EQ(contour->GetVertexCount(), 91);
}

// The property sheet shows without edit mode and changes nothing.
TEST_F(CTalisoDocTest, PropertiesNeedNoEditModeAndChangeNothing)
{
    doc.SetEditMode(0);
    EXPECT_TRUE(Enabled(doc, ID_OBJECT_PROPERTIES));
    EXPECT_FALSE(Enabled(doc, ID_EDIT_OBJECT));
    Command(doc, ID_OBJECT_PROPERTIES);
    EXPECT_EQ(ui.ModalRuns().size(), 1u);
    EXPECT_EQ(RadiusOf(doc.current.get()), 100);
    EXPECT_FALSE(doc.IsModified());
    doc.current.reset();
    EXPECT_FALSE(Enabled(doc, ID_OBJECT_PROPERTIES));
}

} // namespace
