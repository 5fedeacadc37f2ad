// Run-time class registry and type queries.
#include "framework/base/Object.h"

#include <cstring>
#include <new>

namespace {
// Head of the registry list. A function-local static so registration from static initialisers
// of any translation unit or module finds it constructed.
CRuntimeClass*& RegistryHead() {
    static CRuntimeClass* head = nullptr;
    return head;
}
} // namespace

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr};
static AFX_CLASSINIT _init_CObject(&CObject::classCObject);

CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
    pNewClass->m_pNextClass = RegistryHead();
    RegistryHead() = pNewClass;
}

CObject* CRuntimeClass::CreateObject() const {
    if (m_pfnCreateObject == nullptr) return nullptr;
    try {
        return m_pfnCreateObject();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass)
        if (c == pBaseClass) return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName) {
    if (lpszClassName == nullptr) return nullptr;
    for (CRuntimeClass* c = RegistryHead(); c != nullptr; c = c->m_pNextClass)
        if (std::strcmp(c->m_lpszClassName, lpszClassName) == 0) return c;
    return nullptr;
}

CObject* CRuntimeClass::CreateObject(const char* lpszClassName) {
    const CRuntimeClass* c = FromName(lpszClassName);
    return c ? c->CreateObject() : nullptr;
}
