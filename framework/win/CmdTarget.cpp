// Message-map lookup, command-state updates and the member-less automation interface.
#include "framework/win/CmdTarget.h"

#include <atomic>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

// The root map has no entries and no base; every chain ends here.
const AFX_MSGMAP CCmdTarget::messageMap = {nullptr, nullptr};

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return &CCmdTarget::messageMap;
}

const IID* const* CCmdTarget::GetInterfaceMap() const {
    static const IID* const none[] = {nullptr};
    return none;
}

BOOL CCmdTarget::DispatchToMaps(AFX_MSGCALL& call) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr; map = map->pBaseMap)
        if (map->pfnDispatch != nullptr && map->pfnDispatch(this, call)) return TRUE;
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    AFX_MSGCALL call = AFX_MSGCALL::Command(nID, nCode, pExtra, pHandlerInfo);
    if (!DispatchToMaps(call)) return FALSE;
    // An update handler may pass the item on to the next target in the route.
    if (nCode == CN_UPDATE_COMMAND_UI && pHandlerInfo == nullptr) {
        CCmdUI* cmdUI = static_cast<CCmdUI*>(pExtra);
        if (cmdUI->m_bContinueRouting) {
            cmdUI->m_bContinueRouting = FALSE;
            return FALSE;
        }
    }
    return TRUE;
}

// COM interfaces are released through Release and never deleted through the interface pointer, so
// their missing virtual destructor is by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// An IDispatch without members. Its references count on the owner's counter; the owner's own
// lifetime is the framework's (documents are deleted when they close), not the reference count's.
class CCmdTarget::DispatchImpl : public IDispatch {
public:
    explicit DispatchImpl(CCmdTarget* owner) : m_owner(owner) {}
    virtual ~DispatchImpl() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return m_owner->InternalQueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_owner->ExternalAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_owner->ExternalRelease(); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; ids != nullptr && i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    CCmdTarget* m_owner;
};

#pragma GCC diagnostic pop

CCmdTarget::~CCmdTarget() {
    delete m_dispatch;
}

void CCmdTarget::EnableAutomation() {
    if (m_dispatch == nullptr) m_dispatch = new DispatchImpl(this);
}

LPDISPATCH CCmdTarget::GetIDispatch(BOOL addRef) {
    if (m_dispatch != nullptr && addRef) m_dispatch->AddRef();
    return m_dispatch;
}

HRESULT CCmdTarget::InternalQueryInterface(const IID& iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (m_dispatch == nullptr) return E_NOINTERFACE;
    bool answered = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch);
    for (const IID* const* entry = GetInterfaceMap(); !answered && *entry != nullptr; ++entry)
        answered = IsEqualIID(iid, **entry);
    if (!answered) return E_NOINTERFACE;
    *object = m_dispatch;
    ExternalAddRef();
    return S_OK;
}

namespace {
std::atomic<LONG> g_oleLockCount{0};
}

void AfxOleLockApp() {
    ++g_oleLockCount;
}

void AfxOleUnlockApp() {
    LONG expected = g_oleLockCount.load();
    while (expected > 0 && !g_oleLockCount.compare_exchange_weak(expected, expected - 1)) {
    }
}

LONG AfxOleGetLockCount() {
    return g_oleLockCount.load();
}

void CCmdUI::Enable(BOOL on) {
    m_bEnableChanged = TRUE;
    if (m_pMenu != nullptr && m_pMenu->m_hMenu != nullptr)
        ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}

void CCmdUI::SetCheck(int check) {
    if (m_pMenu != nullptr && m_pMenu->m_hMenu != nullptr)
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(LPCSTR text) {
    if (m_pMenu == nullptr || m_pMenu->m_hMenu == nullptr || text == nullptr) return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<LPSTR>(text);
    ::SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
    if (target == nullptr) return FALSE;
    m_bEnableChanged = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!handled && disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr};
        // An item whose command has a handler somewhere in the route stays enabled.
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return handled;
}
