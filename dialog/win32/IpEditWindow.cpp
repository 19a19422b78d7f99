#include "IpEditWindow.h"

#include "AboutBox.h"
#include "ControlValues.h"
#include "DialogDispatch.h"
#include "DpiScale.h"
#include "WholeFile.h"
#include "WideText.h"
#include "resource.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace kestrun::win32 {

namespace {

constexpr UINT kNameLimit = 18;
constexpr UINT kPortDigits = 5;

bool IsAddressId(ControlId id) {
    switch (id) {
    case ControlId::IpField:
    case ControlId::NetmaskField:
    case ControlId::GatewayField:
    case ControlId::Dns1Field:
    case ControlId::Dns2Field:
        return true;
    default:
        return false;
    }
}

// `height` in pixels at 96 DPI.
GdiFont FontOfHeight(HWND window, int height, const wchar_t* face) {
    LOGFONTW font{};
    font.lfHeight = ScaledPixels(window, height);
    font.lfCharSet = DEFAULT_CHARSET;
    if (face != nullptr) {
        lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    }
    return GdiFont(CreateFontIndirectW(&font));
}

} // namespace

IpEditWindow::IpEditWindow(const LibraryApi& api, HINSTANCE instance, DesktopActions actions,
                           std::unique_ptr<WsdScan> wsdScan)
    : m_Api(api), m_Instance(instance), m_Actions(std::move(actions)),
      m_Controller(std::make_unique<DialogController>(api, static_cast<DialogView&>(*this),
                                                      std::move(wsdScan))) {
    m_Icon = LoadIconW(m_Instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
}

IpEditWindow::~IpEditWindow() {
    if (m_Window != nullptr) {
        DestroyWindow(m_Window);
    }
}

bool IpEditWindow::Create() {
    return CreateDialogParamW(m_Instance, MAKEINTRESOURCEW(IDD_IPEDIT_DIALOG), nullptr, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void IpEditWindow::RunUntilClosed() {
    MSG message{};
    while (m_Window != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The keys of the assign dialog move between its own controls.
        const bool forAssign = m_Assign != nullptr && m_Assign->Handle() != nullptr &&
                               IsDialogMessageW(m_Assign->Handle(), &message);
        if (!forAssign && !IsDialogMessageW(m_Window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

INT_PTR CALLBACK IpEditWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DispatchDialogMessage(window, message, wParam, lParam, &IpEditWindow::m_Window,
                                 &IpEditWindow::HandleMessage);
}

INT_PTR IpEditWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            ShowAboutBox();
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.idFrom != static_cast<UINT_PTR>(ControlId::DeviceList)) {
            return FALSE;
        }
        if (const std::optional<LRESULT> result = OnListNotify(header)) {
            SetWindowLongPtrW(m_Window, DWLP_MSGRESULT, *result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return TRUE;
    case BackgroundTask::kDeliverMessage:
        m_Background->Deliver();
        return TRUE;
    case AssignWindow::kClosedMessage:
        m_Assign.reset();
        m_Controller->OnAssignClosed(wParam != 0);
        return TRUE;
    case WM_DPICHANGED:
        PostMessageW(m_Window, kDpiSettledMessage, 0, 0);
        return FALSE;
    case kDpiSettledMessage:
        ArrangeControls();
        return TRUE;
    case kRowSettledMessage:
        m_RowSettlePending = false;
        m_Controller->OnRowChosen(CurrentRow());
        return TRUE;
    case WM_DESTROY:
        m_Controller->OnDestroy();
        m_Background->Stop();
        return TRUE;
    case WM_NCDESTROY:
        m_Window = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void IpEditWindow::OnInitDialog() {
    m_Background = std::make_unique<BackgroundTask>(m_Window);
    m_List = std::make_unique<DeviceListView>(Item(ControlId::DeviceList), m_Controller->Devices());
    SendMessageW(m_Window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_Icon));
    SendMessageW(m_Window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_Icon));
    if (HMENU menu = GetSystemMenu(m_Window, FALSE)) {
        wchar_t* about = nullptr;
        // Length 0 asks for a read-only pointer to the resource's text.
        const int length =
            LoadStringW(m_Instance, IDS_ABOUTBOX, reinterpret_cast<wchar_t*>(&about), 0);
        if (length > 0) {
            const std::wstring text(about, static_cast<std::size_t>(length));
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, text.c_str());
        }
    }
    SendMessageW(Item(ControlId::NameField), EM_LIMITTEXT, kNameLimit, 0);
    SendMessageW(Item(ControlId::PortField), EM_LIMITTEXT, kPortDigits, 0);
    m_Controller->OnInitDialog();
}

void IpEditWindow::OnCommand(int id) {
    if (id == IDM_ASSIGN) {
        m_Controller->OnAssignAddresses();
        return;
    }
    if (id == IDM_EXPORTLIST) {
        m_Controller->OnExportList();
        return;
    }
    if (id == IDM_ABOUTBOX) {
        ShowAboutBox();
        return;
    }
    switch (static_cast<ControlId>(id)) {
    case ControlId::SearchButton:
        m_Controller->OnSearch();
        return;
    case ControlId::SubmitButton:
        // Also Enter in a field, Submit being the dialog's default button; never while the
        // button is unusable.
        if (IsWindowEnabled(Item(ControlId::SubmitButton))) {
            m_Controller->OnSubmit();
        }
        return;
    case ControlId::ReadButton:
        m_Controller->OnReadCamera();
        return;
    case ControlId::StaticRadio:
        m_Controller->OnRadioStatic();
        return;
    case ControlId::DhcpRadio:
        m_Controller->OnRadioDhcp();
        return;
    case ControlId::Exit:
        m_Controller->OnCancel();
        return;
    default:
        break;
    }
}

std::optional<LRESULT> IpEditWindow::OnListNotify(NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW:
        m_List->OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(&header));
        return 0;
    case NM_CUSTOMDRAW:
        return m_List->OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(&header));
    case LVN_GETINFOTIPW:
        m_List->OnGetInfoTip(*reinterpret_cast<NMLVGETINFOTIPW*>(&header));
        return 0;
    case LVN_COLUMNCLICK:
        m_Controller->OnColumnClick(reinterpret_cast<NMLISTVIEW*>(&header)->iSubItem);
        return 0;
    case NM_CLICK:
        if (const int row = reinterpret_cast<NMITEMACTIVATE*>(&header)->iItem; row >= 0) {
            m_Controller->OnClickRow(row);
        }
        return 0;
    case NM_DBLCLK:
        m_Controller->OnDoubleClickRow(reinterpret_cast<NMITEMACTIVATE*>(&header)->iItem);
        return 0;
    case LVN_ITEMCHANGED: {
        const auto& change = *reinterpret_cast<NMLISTVIEW*>(&header);
        const bool focusGained =
            (change.uNewState & LVIS_FOCUSED) != 0 && (change.uOldState & LVIS_FOCUSED) == 0;
        // A held arrow key passes rows without loading each: the row loads once the moves end.
        if (focusGained && change.iItem >= 0 && !m_RowSettlePending) {
            m_RowSettlePending = true;
            PostMessageW(m_Window, kRowSettledMessage, 0, 0);
        }
        return 0;
    }
    default:
        return std::nullopt;
    }
}

void IpEditWindow::OnContextMenu(HWND source, POINT screen) {
    const bool byMouse = screen.x != -1 || screen.y != -1;
    if (source == Item(ControlId::DeviceList) && byMouse) {
        LVHITTESTINFO hit{};
        hit.pt = screen;
        ScreenToClient(source, &hit.pt);
        m_Controller->OnRightPressRow(ListView_HitTest(source, &hit));
    }
    if (!byMouse) {
        RECT rect{};
        GetWindowRect(source, &rect);
        screen = {rect.left, rect.top};
    }
    const ContextMenuState state = m_Controller->ContextMenu();
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | (state.assignEnabled ? 0 : MF_GRAYED), IDM_ASSIGN,
                Wide(state.assignText));
    const std::u16string& exportText = m_Controller->ExtraTexts().Text(ExtraText::ExportList);
    AppendMenuW(menu, MF_STRING | (state.exportEnabled ? 0 : MF_GRAYED), IDM_EXPORTLIST,
                Wide(exportText));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    wchar_t* about = nullptr;
    const int length = LoadStringW(m_Instance, IDS_ABOUTBOX, reinterpret_cast<wchar_t*>(&about), 0);
    AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX,
                std::wstring(about, static_cast<std::size_t>(std::max(length, 0))).c_str());
    // The chosen entry arrives as WM_COMMAND.
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_Window, nullptr);
    DestroyMenu(menu);
}

void IpEditWindow::ShowAboutBox() {
    RunAboutBox(m_Instance, m_Window, m_Controller->ExtraTexts().Text(ExtraText::AboutNotice));
}

HWND IpEditWindow::Item(ControlId id) const {
    return GetDlgItem(m_Window, static_cast<int>(id));
}

bool IpEditWindow::IsAddressField(ControlId id) const {
    return IsAddressId(id);
}

// The controls as the controller sees them.

void IpEditWindow::SetControlText(ControlId control, const std::u16string& text) {
    SetWindowTextW(Item(control), Wide(text));
}

std::u16string IpEditWindow::FieldText(ControlId field) const {
    return WindowText(Item(field));
}

void IpEditWindow::SetFieldText(ControlId field, const std::u16string& text) {
    if (field == ControlId::MacField) {
        // ES_UPPERCASE changes only what is typed; the MAC arrives as text.
        std::u16string upper = text;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](char16_t unit) {
            return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
        });
        SetWindowTextW(Item(field), Wide(upper));
        return;
    }
    SetWindowTextW(Item(field), Wide(text));
}

Ipv4Octets IpEditWindow::FieldAddress(ControlId field) const {
    return AddressOf(Item(field));
}

bool IpEditWindow::IsAddressPartlyFilled(ControlId field) const {
    return IsPartlyFilled(Item(field));
}

void IpEditWindow::SetFieldAddress(ControlId field, const Ipv4Octets& address) {
    SetAddress(Item(field), address);
}

void IpEditWindow::ClearField(ControlId field) {
    if (IsAddressField(field)) {
        SendMessageW(Item(field), IPM_CLEARADDRESS, 0, 0);
    } else {
        SetWindowTextW(Item(field), L"");
    }
}

void IpEditWindow::FocusField(ControlId field) {
    HWND edit = Item(field);
    SendMessageW(m_Window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    if (IsAddressField(field)) {
        SendMessageW(edit, IPM_SETFOCUS, 0, 0);
        return;
    }
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

bool IpEditWindow::IsChecked(ControlId radio) const {
    return SendMessageW(Item(radio), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void IpEditWindow::SetChecked(ControlId radio, bool checked) {
    SendMessageW(Item(radio), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void IpEditWindow::EnableControl(ControlId control, bool enabled) {
    EnableWindow(Item(control), enabled ? TRUE : FALSE);
}

void IpEditWindow::ShowControl(ControlId control, bool visible) {
    ShowWindow(Item(control), visible ? SW_SHOW : SW_HIDE);
}

void IpEditWindow::ArrangeControls() {
    m_ListFont = FontOfHeight(m_Window, 16, nullptr);
    SendMessageW(Item(ControlId::DeviceList), WM_SETFONT,
                 reinterpret_cast<WPARAM>(m_ListFont.get()), TRUE);
    m_HelpFont = FontOfHeight(m_Window, 8, L"Arial");
    SendMessageW(Item(ControlId::HelpText), WM_SETFONT, reinterpret_cast<WPARAM>(m_HelpFont.get()),
                 TRUE);
    LOGFONTW dialogFont{};
    const auto font = reinterpret_cast<HFONT>(SendMessageW(m_Window, WM_GETFONT, 0, 0));
    GetObjectW(font, sizeof(dialogFont), &dialogFont);
    dialogFont.lfHeight = ScaledPixels(m_Window, 16);
    m_ChoiceFont = GdiFont(CreateFontIndirectW(&dialogFont));
    SendMessageW(Item(ControlId::InterfaceChoice), WM_SETFONT,
                 reinterpret_cast<WPARAM>(m_ChoiceFont.get()), TRUE);
    m_List->SetColumns(m_Controller->Texts().Text(UiText::ServerName),
                       m_Controller->Texts().Text(UiText::IpAddress));
}

void IpEditWindow::ShowInterfaceChoice(const std::vector<std::u16string>& entries, int selected) {
    HWND choice = Item(ControlId::InterfaceChoice);
    SendMessageW(choice, CB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SendMessageW(choice, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(Wide(entries[i])));
    }
    SendMessageW(choice, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int IpEditWindow::ChosenInterface() const {
    return static_cast<int>(SendMessageW(Item(ControlId::InterfaceChoice), CB_GETCURSEL, 0, 0));
}

void IpEditWindow::ShowRows(const std::vector<RowFinding>& findings) {
    m_List->ShowRows(findings);
}

void IpEditWindow::ReorderRows(const std::function<void()>& reorder) {
    m_List->Reorder(reorder);
}

int IpEditWindow::CurrentRow() const {
    return m_List->CurrentRow();
}

void IpEditWindow::SetCurrentRow(std::size_t row) {
    m_List->SetCurrentRow(row);
}

void IpEditWindow::MarkRowForMenu(std::size_t row) {
    m_List->MarkRowForMenu(row);
}

std::vector<std::size_t> IpEditWindow::SelectedRows() const {
    return m_List->SelectedRows();
}

void IpEditWindow::ShowMessage(MessageIcon icon, const std::u16string& text) {
    m_Actions.showMessage(m_Window, icon, text);
}

void IpEditWindow::OpenUrl(const std::string& address) {
    m_Actions.openUrl(address);
}

std::optional<SaveChoice> IpEditWindow::ChooseSaveFile(const std::u16string& caption,
                                                       const std::vector<std::u16string>& filters,
                                                       std::size_t chosenFilter) {
    return m_Actions.chooseSaveFile(m_Window, caption, filters, chosenFilter);
}

std::optional<std::u16string> IpEditWindow::SaveWholeFile(const std::string& path,
                                                          const std::string& bytes) {
    return WriteWholeFile(path, bytes);
}

void IpEditWindow::RunInBackground(std::function<bool()> work, std::function<void(bool)> done) {
    m_Background->Run(std::move(work), std::move(done));
}

void IpEditWindow::StopBackgroundWork() {
    m_Background->Stop();
}

void IpEditWindow::PostProgress(std::u16string text) {
    m_Background->Queue(
        [this, text = std::move(text)] { SetControlText(ControlId::CameraProgress, text); });
}

void IpEditWindow::OpenAssignDialog(AssignSite site) {
    m_Assign = std::make_unique<AssignWindow>(m_Api, std::move(site), m_Controller->Texts(),
                                              m_Controller->ExtraTexts());
    if (!m_Assign->Create(m_Instance, m_Window)) {
        m_Assign.reset();
        m_Controller->OnAssignClosed(false);
    }
}

void IpEditWindow::CloseAssignDialog() {
    m_Assign.reset();
}

void IpEditWindow::EndDialog() {
    DestroyWindow(m_Window);
}

} // namespace kestrun::win32
