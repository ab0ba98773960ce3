#include "model/ShelterEditor.h"

#include "ShelterSamples.h"
#include "framework/ui/CPropertyPage.h"
#include "framework/ui/CWnd.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Ref;
using ::testing::Return;
using ::testing::StrictMock;

class MockShelterEditor : public ShelterEditor {
public:
    MOCK_METHOD(BOOL, EditArc, (CArcShelter&, CWnd*, BOOL), (override));
    MOCK_METHOD(BOOL, EditRect, (CRectShelter&, CWnd*, BOOL), (override));
    MOCK_METHOD(BOOL, EditPoly, (CPolyShelter&, CWnd*, int, BOOL, CObject*), (override));
    MOCK_METHOD(std::unique_ptr<CPropertyPage>, CreateArcPage, (CArcShelter&, BOOL, UINT), (override));
    MOCK_METHOD(std::unique_ptr<CPropertyPage>, CreateRectPage, (CRectShelter&, BOOL, UINT), (override));
    MOCK_METHOD(std::unique_ptr<CPropertyPage>, CreatePolyPage, (CPolyShelter&, int, BOOL, UINT), (override));
    MOCK_METHOD(std::unique_ptr<CShelter>, AskConvertedShape, (const CShelter&, int), (override));
};

// The editor is installed while the object lives; the one before comes back after it.
class InstalledEditor {
public:
    explicit InstalledEditor(ShelterEditor* editor) : m_previous(InstallShelterEditor(editor)) {}
    ~InstalledEditor() { InstallShelterEditor(m_previous); }
    InstalledEditor(const InstalledEditor&) = delete;
    InstalledEditor& operator=(const InstalledEditor&) = delete;

private:
    ShelterEditor* m_previous;
};

// The records alone have no dialogs: nothing is confirmed, no page is made and a
// conversion that needs a size gives no field, while the field stays as it was.
TEST(ShelterEditorTest, WithoutAnEditorTheShapesOpenNothing)
{
    CArcShelter arc = MakeArc(300);
    CRectShelter rect = MakeRect(100, 200, 150);
    CPolyShelter contour = MakeContour(181);
    for (CShelter* field : {static_cast<CShelter*>(&arc), static_cast<CShelter*>(&rect),
                            static_cast<CShelter*>(&contour)}) {
        const char* name = field->GetRuntimeClass()->m_lpszClassName;
        field->SetModified(0);
        const std::unique_ptr<CShelter> before = field->CloneShelter();
        for (const int polarEntry : {0, 1}) {
            EXPECT_FALSE(field->Edit(nullptr, polarEntry, TRUE, nullptr)) << name;
            EXPECT_EQ(field->CreatePropertyPage(polarEntry, TRUE, 7), nullptr) << name;
        }
        for (const int code : {kConvertToRectangle, kConvertToArc, kConvertToRectangleContour, kConvertToArcContour}) {
            if (field->CanConvertTo(code)) {
                EXPECT_EQ(field->ConvertTo(code), nullptr) << name << ", code " << code;
            }
        }
        EXPECT_EQ(field->GetModified(), 0) << name;
        EXPECT_EQ(field->GetMaxExtent(), before->GetMaxExtent()) << name;
        EXPECT_EQ(field->GetMinExtent(), before->GetMinExtent()) << name;
    }
}

// Each shape reaches the editor's entry of its own kind with what the caller gave it and
// answers with the editor's result.
TEST(ShelterEditorTest, EachShapeReachesItsOwnEntryOfTheEditor)
{
    StrictMock<MockShelterEditor> editor;
    const InstalledEditor installed(&editor);
    CWnd parent;
    struct Document : CObject {
    } owner;
    CArcShelter arc = MakeArc(300);
    CRectShelter rect = MakeRect(100, 200, 150);
    CPolyShelter contour = MakeContour(181);

    EXPECT_CALL(editor, EditArc(Ref(arc), &parent, TRUE)).WillOnce(Return(TRUE));
    EXPECT_TRUE(arc.Edit(&parent, 1, TRUE, &owner));
    EXPECT_CALL(editor, EditRect(Ref(rect), &parent, FALSE)).WillOnce(Return(FALSE));
    EXPECT_FALSE(rect.Edit(&parent, 1, FALSE, &owner));
    EXPECT_CALL(editor, EditPoly(Ref(contour), &parent, 1, TRUE, &owner)).WillOnce(Return(TRUE));
    EXPECT_TRUE(contour.Edit(&parent, 1, TRUE, &owner));

    auto page = [] { return std::make_unique<CPropertyPage>(1); };
    EXPECT_CALL(editor, CreateArcPage(Ref(arc), TRUE, 7u)).WillOnce(page);
    EXPECT_NE(arc.CreatePropertyPage(1, TRUE, 7), nullptr);
    EXPECT_CALL(editor, CreateRectPage(Ref(rect), FALSE, 8u)).WillOnce(page);
    EXPECT_NE(rect.CreatePropertyPage(1, FALSE, 8), nullptr);
    EXPECT_CALL(editor, CreatePolyPage(Ref(contour), 1, TRUE, 9u)).WillOnce(page);
    EXPECT_NE(contour.CreatePropertyPage(1, TRUE, 9), nullptr);

    // Only the conversions that need a size ask the editor.
    EXPECT_CALL(editor, AskConvertedShape(Ref(contour), kConvertToArc)).WillOnce([] {
        return std::make_unique<CArcShelter>(MakeArc(120));
    });
    const std::unique_ptr<CShelter> converted = contour.ConvertTo(kConvertToArc);
    ASSERT_NE(dynamic_cast<CArcShelter*>(converted.get()), nullptr);
    EXPECT_EQ(static_cast<CArcShelter&>(*converted).GetRadius(), 120);
    EXPECT_NE(contour.ConvertTo(kConvertToContour91), nullptr);
}

} // namespace
