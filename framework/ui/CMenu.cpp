#include "framework/ui/CMenu.h"

#include "framework/core/Resources.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

IMPLEMENT_DYNCREATE(CMenu, CObject)

struct MenuItem {
    UINT id = 0;
    UINT flags = 0; // MF_ bits
    CString text;
    HMENU popup = nullptr; // owned by the menu that holds the item
};

struct MenuHandle {
    bool bar = false;
    std::vector<MenuItem> items;
    CMenu* permanent = nullptr;
    std::unique_ptr<CMenu> temporary;
};

namespace {

std::set<MenuHandle*>& LiveMenus()
{
    static std::set<MenuHandle*> menus;
    return menus;
}

bool Live(HMENU hMenu)
{
    return hMenu != nullptr && LiveMenus().count(hMenu) != 0;
}

HMENU NewMenu(bool bar)
{
    auto* menu = new MenuHandle;
    menu->bar = bar;
    LiveMenus().insert(menu);
    return menu;
}

void FreeMenu(HMENU hMenu)
{
    if (!Live(hMenu))
        return;
    LiveMenus().erase(hMenu);
    for (MenuItem& item : hMenu->items)
        FreeMenu(item.popup);
    if (hMenu->permanent != nullptr)
        hMenu->permanent->m_hMenu = nullptr;
    if (hMenu->temporary)
        hMenu->temporary->m_hMenu = nullptr;
    delete hMenu;
}

void FillFromTemplate(HMENU menu, const std::vector<MenuItemTemplate>& items)
{
    for (const MenuItemTemplate& source : items) {
        MenuItem item;
        item.text = source.text.c_str();
        item.id = source.id;
        if (source.separator)
            item.flags |= MF_SEPARATOR;
        if (source.checked)
            item.flags |= MF_CHECKED;
        if (source.grayed)
            item.flags |= MF_GRAYED;
        if (source.inactive)
            item.flags |= MF_DISABLED;
        if (source.popup) {
            item.flags |= MF_POPUP;
            item.popup = NewMenu(false);
            FillFromTemplate(item.popup, source.children);
        }
        menu->items.push_back(std::move(item));
    }
}

// The item addressed by position or by command (searched through the popups too).
MenuItem* FindItem(HMENU menu, UINT nItem, UINT nFlags, HMENU* owner = nullptr, std::size_t* index = nullptr)
{
    if (!Live(menu))
        return nullptr;
    if (nFlags & MF_BYPOSITION) {
        if (nItem >= menu->items.size())
            return nullptr;
        if (owner != nullptr)
            *owner = menu;
        if (index != nullptr)
            *index = nItem;
        return &menu->items[nItem];
    }
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        MenuItem& item = menu->items[i];
        if (item.popup == nullptr && !(item.flags & MF_SEPARATOR) && item.id == nItem) {
            if (owner != nullptr)
                *owner = menu;
            if (index != nullptr)
                *index = i;
            return &item;
        }
        if (item.popup != nullptr) {
            if (MenuItem* found = FindItem(item.popup, nItem, nFlags, owner, index))
                return found;
        }
    }
    return nullptr;
}

MenuItem MakeItem(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    MenuItem item;
    item.flags = nFlags & ~MF_BYPOSITION;
    if (nFlags & MF_POPUP) {
        item.popup = reinterpret_cast<HMENU>(nIDNewItem);
        if (!Live(item.popup))
            item.popup = nullptr;
    } else {
        item.id = UINT(nIDNewItem);
    }
    if (!(nFlags & MF_SEPARATOR) && lpszNewItem != nullptr)
        item.text = lpszNewItem;
    return item;
}

// A popup now shown belongs to no other menu any more.
void DetachFromOtherMenus(HMENU popup)
{
    for (MenuHandle* menu : LiveMenus()) {
        for (MenuItem& item : menu->items) {
            if (item.popup == popup)
                item.popup = nullptr;
        }
    }
}

QString QtText(const CString& text)
{
    // "&" marks the mnemonic in both; "\t" separates the accelerator text.
    return QString::fromUtf8(text.c_str());
}

void FillQtMenu(QMenu* qtMenu, HMENU menu, HWND owner);

// A Qt menu for one popup: it asks the owner for the item states each time it opens.
QMenu* MakeQtPopup(HMENU popup, HWND owner, UINT index, const CString& title, QWidget* parent)
{
    auto* qtMenu = new QMenu(QtText(title), parent);
    QObject::connect(qtMenu, &QMenu::aboutToShow, qtMenu, [qtMenu, popup, owner, index] {
        if (!Live(popup))
            return;
        if (AfxIsLiveHandle(owner))
            ::SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), LPARAM(MAKELONG(WORD(index), 0)));
        if (Live(popup))
            FillQtMenu(qtMenu, popup, owner);
    });
    FillQtMenu(qtMenu, popup, owner);
    return qtMenu;
}

void AddQtItem(QWidget* qtMenu, HMENU menu, std::size_t index, HWND owner)
{
    const MenuItem& item = menu->items[index];
    auto* asMenu = qobject_cast<QMenu*>(qtMenu);
    auto* asBar = qobject_cast<QMenuBar*>(qtMenu);
    if (item.flags & MF_SEPARATOR) {
        if (asMenu != nullptr)
            asMenu->addSeparator();
        return;
    }
    QAction* action = nullptr;
    if (item.popup != nullptr) {
        QMenu* sub = MakeQtPopup(item.popup, owner, UINT(index), item.text, qtMenu);
        action = sub->menuAction();
        if (asMenu != nullptr)
            asMenu->addMenu(sub);
        else if (asBar != nullptr)
            asBar->addMenu(sub);
    } else {
        action = new QAction(QtText(item.text), qtMenu);
        const UINT id = item.id;
        QObject::connect(action, &QAction::triggered, action, [owner, id] {
            if (AfxIsLiveHandle(owner))
                ::PostMessage(owner, WM_COMMAND, WPARAM(id), 0);
        });
        qtMenu->addAction(action);
        if (item.flags & MF_CHECKED) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    action->setData(QVariant::fromValue(qulonglong(item.id)));
}

void FillQtMenu(QMenu* qtMenu, HMENU menu, HWND owner)
{
    // Sub-popups made before go with the old actions.
    for (QAction* action : qtMenu->actions()) {
        if (QMenu* sub = action->menu())
            sub->deleteLater();
    }
    qtMenu->clear();
    for (std::size_t i = 0; i < menu->items.size(); ++i)
        AddQtItem(qtMenu, menu, i, owner);
}

} // namespace

// ==================================================================== CMenu

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!Live(hMenu))
        return nullptr;
    if (hMenu->permanent != nullptr)
        return hMenu->permanent;
    if (!hMenu->temporary) {
        hMenu->temporary = std::make_unique<CMenu>();
        hMenu->temporary->m_hMenu = hMenu;
    }
    return hMenu->temporary.get();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (m_hMenu != nullptr || !Live(hMenu) || hMenu->permanent != nullptr)
        return FALSE;
    m_hMenu = hMenu;
    hMenu->permanent = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (Live(hMenu) && hMenu->permanent == this)
        hMenu->permanent = nullptr;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::CreateMenu()
{
    return Attach(NewMenu(true));
}

BOOL CMenu::CreatePopupMenu()
{
    return Attach(NewMenu(false));
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    if (m_hMenu != nullptr)
        return FALSE;
    const MenuTemplate* source = FindMenuTemplate(AfxGetResourceHandle(), nIDResource);
    if (source == nullptr)
        return FALSE;
    HMENU menu = NewMenu(true);
    FillFromTemplate(menu, source->items);
    return Attach(menu);
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    HMENU hMenu = Detach();
    if (!Live(hMenu))
        return FALSE;
    // A temporary object made for this handle must not destroy it again.
    if (hMenu->temporary.get() == this)
        return FALSE;
    DetachFromOtherMenus(hMenu);
    FreeMenu(hMenu);
    return TRUE;
}

UINT CMenu::GetMenuItemCount() const
{
    return Live(m_hMenu) ? UINT(m_hMenu->items.size()) : UINT(-1);
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    if (!Live(m_hMenu) || nPos < 0 || std::size_t(nPos) >= m_hMenu->items.size())
        return UINT(-1);
    const MenuItem& item = m_hMenu->items[std::size_t(nPos)];
    if (item.popup != nullptr)
        return UINT(-1);
    return (item.flags & MF_SEPARATOR) ? 0 : item.id;
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    if (!Live(m_hMenu) || nPos < 0 || std::size_t(nPos) >= m_hMenu->items.size())
        return nullptr;
    return FromHandle(m_hMenu->items[std::size_t(nPos)].popup);
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const
{
    const MenuItem* item = FindItem(m_hMenu, nID, nFlags);
    if (item == nullptr)
        return UINT(-1);
    UINT state = item->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP);
    if (item->popup != nullptr)
        state |= UINT(item->popup->items.size() & 0xFF) << 8;
    return state;
}

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const
{
    CString text;
    const int length = GetMenuString(nIDItem, text, nFlags);
    if (lpString == nullptr || nMaxCount <= 0)
        return length;
    const int copied = std::min(length, nMaxCount - 1);
    std::copy_n(text.c_str(), copied, lpString);
    lpString[copied] = '\0';
    return copied;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    const MenuItem* item = FindItem(m_hMenu, nIDItem, nFlags);
    rString = item != nullptr ? item->text : CString();
    return rString.GetLength();
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    if (!Live(m_hMenu))
        return FALSE;
    m_hMenu->items.push_back(MakeItem(nFlags, nIDNewItem, lpszNewItem));
    return TRUE;
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    if (!Live(m_hMenu))
        return FALSE;
    HMENU owner = m_hMenu;
    std::size_t index = m_hMenu->items.size();
    if (!(nFlags & MF_BYPOSITION)) {
        if (FindItem(m_hMenu, nPosition, nFlags, &owner, &index) == nullptr)
            return FALSE;
    } else if (nPosition < m_hMenu->items.size()) {
        index = nPosition;
    }
    owner->items.insert(owner->items.begin() + std::ptrdiff_t(index), MakeItem(nFlags, nIDNewItem, lpszNewItem));
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    MenuItem* item = FindItem(m_hMenu, nPosition, nFlags);
    if (item == nullptr)
        return FALSE;
    MenuItem replacement = MakeItem(nFlags, nIDNewItem, lpszNewItem);
    if (item->popup != nullptr && item->popup != replacement.popup)
        FreeMenu(item->popup);
    *item = std::move(replacement);
    return TRUE;
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    HMENU owner = nullptr;
    std::size_t index = 0;
    if (FindItem(m_hMenu, nPosition, nFlags, &owner, &index) == nullptr)
        return FALSE;
    owner->items.erase(owner->items.begin() + std::ptrdiff_t(index));
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    HMENU owner = nullptr;
    std::size_t index = 0;
    if (FindItem(m_hMenu, nPosition, nFlags, &owner, &index) == nullptr)
        return FALSE;
    HMENU popup = owner->items[index].popup;
    owner->items.erase(owner->items.begin() + std::ptrdiff_t(index));
    FreeMenu(popup);
    return TRUE;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    MenuItem* item = FindItem(m_hMenu, nIDEnableItem, nEnable);
    if (item == nullptr)
        return UINT(-1);
    const UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    MenuItem* item = FindItem(m_hMenu, nIDCheckItem, nCheck);
    if (item == nullptr)
        return UINT(-1);
    const UINT previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (nCheck & MF_CHECKED);
    return previous;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT)
{
    if (!Live(m_hMenu) || pWnd == nullptr || pWnd->m_hWnd == nullptr || !AfxEnsureGuiApplication())
        return FALSE;
    HWND owner = pWnd->m_hWnd;
    if (!(nFlags & TPM_NONOTIFY))
        ::SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m_hMenu), 0);
    if (ScriptedUi::Active() != nullptr || !Live(m_hMenu))
        return FALSE;
    QMenu qtMenu;
    FillQtMenu(&qtMenu, m_hMenu, owner);
    // The command is taken from the chosen action here, not through its own posting.
    for (QAction* action : qtMenu.actions())
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    AfxCancelCaptureForModal();
    QAction* chosen = qtMenu.exec(QPoint(x, y));
    if (chosen == nullptr)
        return FALSE;
    const UINT id = UINT(chosen->data().toULongLong());
    if (nFlags & TPM_RETURNCMD)
        return BOOL(id);
    if (AfxIsLiveHandle(owner))
        ::PostMessage(owner, WM_COMMAND, WPARAM(id), 0);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu)
{
    return Live(hMenu);
}

BOOL DestroyMenu(HMENU hMenu)
{
    if (!Live(hMenu))
        return FALSE;
    DetachFromOtherMenus(hMenu);
    FreeMenu(hMenu);
    return TRUE;
}

// ==================================================================== update of items

void CMenuCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    if (m_pMenu != nullptr)
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

void CMenuCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu != nullptr)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck != 0 ? MF_CHECKED : MF_UNCHECKED));
}

void CMenuCmdUI::SetText(LPCTSTR lpszText)
{
    if (m_pMenu == nullptr || lpszText == nullptr)
        return;
    const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
}

void AfxUpdateMenuItems(CMenu* pPopup, CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (pPopup == nullptr || pTarget == nullptr)
        return;
    CMenuCmdUI state;
    state.m_pMenu = pPopup;
    state.m_nIndexMax = pPopup->GetMenuItemCount();
    for (UINT index = 0; index < state.m_nIndexMax; ++index) {
        state.m_nIndex = index;
        state.m_nID = pPopup->GetMenuItemID(int(index));
        if (state.m_nID == 0)
            continue; // separator
        if (state.m_nID == UINT(-1)) {
            // A popup item: its update handler (if any) is keyed by its first command.
            CMenu* sub = pPopup->GetSubMenu(int(index));
            if (sub == nullptr || sub->GetMenuItemCount() == 0)
                continue;
            state.m_pSubMenu = sub;
            state.m_nID = sub->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == UINT(-1))
                continue;
            state.DoUpdate(pTarget, FALSE);
            state.m_pSubMenu = nullptr;
        } else {
            state.DoUpdate(pTarget, bDisableIfNoHandler);
            // A handler that inserted items moves the index past them.
            index = state.m_nIndex;
        }
        // A handler may have changed the item count.
        state.m_nIndexMax = pPopup->GetMenuItemCount();
    }
}

// ==================================================================== window menus

CMenu* CWnd::GetMenu() const
{
    return m_hWnd != nullptr ? CMenu::FromHandle(m_hWnd->menu) : nullptr;
}

BOOL CWnd::SetMenu(CMenu* pMenu)
{
    if (m_hWnd == nullptr)
        return FALSE;
    m_hWnd->menu = pMenu != nullptr ? pMenu->m_hMenu : nullptr;
    DrawMenuBar();
    return TRUE;
}

void CWnd::DrawMenuBar()
{
    if (m_hWnd == nullptr || !m_hWnd->widget)
        return;
    HWND owner = m_hWnd;
    HMENU menu = Live(owner->menu) ? owner->menu : nullptr;
    if (menu == nullptr) {
        delete owner->menuBar.data();
        owner->menuBar = nullptr;
        return;
    }
    auto* bar = qobject_cast<QMenuBar*>(owner->menuBar.data());
    if (bar == nullptr) {
        bar = new QMenuBar(owner->widget);
        bar->setNativeMenuBar(false);
        owner->menuBar = bar;
    }
    for (QAction* action : bar->actions()) {
        if (QMenu* sub = action->menu())
            sub->deleteLater();
    }
    bar->clear();
    for (std::size_t i = 0; i < menu->items.size(); ++i)
        AddQtItem(bar, menu, i, owner);
    bar->setGeometry(0, 0, owner->widget->width(), bar->sizeHint().height());
    bar->show();
    bar->raise();
}

int AfxPlaceMenuBar(HWND hWnd)
{
    if (!AfxIsLiveHandle(hWnd) || !hWnd->menuBar || !hWnd->widget)
        return 0;
    QWidget* bar = hWnd->menuBar.data();
    const int height = bar->sizeHint().height();
    bar->setGeometry(0, 0, hWnd->widget->width(), height);
    return height;
}

QWidget* AfxMenuBarWidget(HWND hWnd)
{
    return AfxIsLiveHandle(hWnd) ? hWnd->menuBar.data() : nullptr;
}
