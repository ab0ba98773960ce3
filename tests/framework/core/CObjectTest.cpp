#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/core/CList.h"
#include "framework/core/CObject.h"

#include <gtest/gtest.h>

// A small hierarchy: an abstract-ish base with class information only, a creatable
// class and a serialisable one below it.
class CShapeBase : public CObject {
    DECLARE_DYNAMIC(CShapeBase)
};
IMPLEMENT_DYNAMIC(CShapeBase, CObject)

class CShapeMade : public CShapeBase {
    DECLARE_DYNCREATE(CShapeMade)
protected:
    CShapeMade() = default; // created by name only
};
IMPLEMENT_DYNCREATE(CShapeMade, CShapeBase)

class CShapeStored : public CShapeMade {
    DECLARE_SERIAL(CShapeStored)
};
IMPLEMENT_SERIAL(CShapeStored, CShapeMade, 3)

TEST(CRuntimeClass, RecordsNameSchemaAndDerivation)
{
    const CRuntimeClass* stored = RUNTIME_CLASS(CShapeStored);
    EXPECT_STREQ(stored->m_lpszClassName, "CShapeStored");
    EXPECT_EQ(stored->m_wSchema, 3u);
    EXPECT_EQ(stored->m_nObjectSize, int(sizeof(CShapeStored)));
    EXPECT_TRUE(stored->IsDerivedFrom(RUNTIME_CLASS(CShapeBase)));
    EXPECT_TRUE(stored->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(RUNTIME_CLASS(CShapeBase)->IsDerivedFrom(stored));
    EXPECT_FALSE(stored->IsDerivedFrom(nullptr));

    EXPECT_TRUE(stored->IsSerializable());
    EXPECT_FALSE(RUNTIME_CLASS(CShapeMade)->IsSerializable());
    EXPECT_FALSE(RUNTIME_CLASS(CShapeBase)->IsSerializable());
}

TEST(CRuntimeClass, CreatesByNameWhereTheClassAllows)
{
    std::unique_ptr<CObject> made = CRuntimeClass::CreateObject("CShapeMade");
    ASSERT_TRUE(made);
    EXPECT_EQ(made->GetRuntimeClass(), RUNTIME_CLASS(CShapeMade));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CShapeBase)));
    EXPECT_FALSE(made->IsKindOf(RUNTIME_CLASS(CShapeStored)));
    EXPECT_FALSE(made->IsSerializable());

    EXPECT_EQ(CRuntimeClass::CreateObject("CShapeBase"), nullptr); // class information only
    EXPECT_EQ(CRuntimeClass::CreateObject("CShapeNone"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject(nullptr), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("cshapemade"), nullptr); // names are case-sensitive

    // Classes of the framework library are found from here, too.
    EXPECT_EQ(CRuntimeClass::FromName("CObList"), RUNTIME_CLASS(CObList));
    EXPECT_EQ(CRuntimeClass::FromName("CFileException"), RUNTIME_CLASS(CFileException));
}

TEST(CRuntimeClass, RegistrationLastsAsLongAsItsModule)
{
    static const CRuntimeClass passing{"CShapePassing", 8, 0, nullptr, RUNTIME_CLASS(CObject)};
    static const CRuntimeClass impostor{"CShapeStored", 8, 0, nullptr, RUNTIME_CLASS(CObject)};
    {
        const CRuntimeClassRegistration registration(&passing);
        const CRuntimeClassRegistration second(&impostor);
        EXPECT_EQ(CRuntimeClass::FromName("CShapePassing"), &passing);
        EXPECT_EQ(CRuntimeClass::FromName("CShapeStored"), RUNTIME_CLASS(CShapeStored)); // the first keeps it
    }
    EXPECT_EQ(CRuntimeClass::FromName("CShapePassing"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CShapeStored"), RUNTIME_CLASS(CShapeStored));
}

TEST(CException, CaughtThroughTheBaseWithCauseAndText)
{
    try {
        AfxThrowFileException(CFileException::diskFull, 28, "/tmp/x.dat");
    } catch (CException& e) {
        ASSERT_TRUE(e.IsKindOf(RUNTIME_CLASS(CFileException)));
        EXPECT_EQ(static_cast<CFileException&>(e).m_cause, CFileException::diskFull);
        char text[12];
        UINT help = 99;
        EXPECT_TRUE(e.GetErrorMessage(text, sizeof text, &help));
        EXPECT_STREQ(text, "Disk full: ");
        EXPECT_EQ(help, 0u);
        EXPECT_STREQ(e.what(), "Disk full: /tmp/x.dat");
    }
    EXPECT_THROW(AfxThrowUserException(), std::exception);
    EXPECT_THROW(AfxThrowArchiveException(CArchiveException::badSchema), CException);
}
