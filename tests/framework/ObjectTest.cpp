// Run-time classes: derivation queries, creation by class name, the registry.
#include <gtest/gtest.h>

#include "framework/base/Object.h"

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
public:
    int radius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CSquare : public CShape {
    DECLARE_DYNCREATE(CSquare)
};
IMPLEMENT_DYNCREATE(CSquare, CShape)

TEST(RuntimeClass, KindOfFollowsTheBaseChainAndCreationGoesByName) {
    CObject* made = CRuntimeClass::CreateObject("CCircle");
    ASSERT_NE(made, nullptr);
    for (CRuntimeClass* base : {RUNTIME_CLASS(CCircle), RUNTIME_CLASS(CShape), RUNTIME_CLASS(CObject)})
        EXPECT_TRUE(made->IsKindOf(base)) << base->m_lpszClassName;
    EXPECT_FALSE(made->IsKindOf(RUNTIME_CLASS(CSquare)));
    EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, "CCircle");
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_nObjectSize, (int)sizeof(CCircle));
    EXPECT_EQ(static_cast<CCircle*>(made)->radius, 7);
    delete made;
    EXPECT_EQ(CRuntimeClass::CreateObject("CShape"), nullptr); // dynamic only, not creatable
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CSquare"), RUNTIME_CLASS(CSquare));
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
}

} // namespace
