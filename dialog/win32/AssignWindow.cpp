#include "AssignWindow.h"

#include "ControlValues.h"
#include "DialogDispatch.h"
#include "Utf8Text.h"
#include "WideText.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace kestrun::win32 {

namespace {

// Every control that shapes the plan; locked while the batch runs.
constexpr int kFieldIds[] = {IDC_ASSIGN_FIRST,      IDC_ASSIGN_NETMASK,      IDC_ASSIGN_GATEWAY,
                             IDC_ASSIGN_NO_GATEWAY, IDC_ASSIGN_OTHER_SUBNET, IDC_ASSIGN_DNS1,
                             IDC_ASSIGN_DNS2,       IDC_ASSIGN_PATTERN,      IDC_ASSIGN_CHOICE,
                             IDC_ASSIGN_USER,       IDC_ASSIGN_PASSWORD};

bool IsAddressOrPatternId(int id) {
    switch (id) {
    case IDC_ASSIGN_FIRST:
    case IDC_ASSIGN_NETMASK:
    case IDC_ASSIGN_GATEWAY:
    case IDC_ASSIGN_DNS1:
    case IDC_ASSIGN_DNS2:
    case IDC_ASSIGN_PATTERN:
        return true;
    default:
        return false;
    }
}

} // namespace

AssignWindow::AssignWindow(const LibraryApi& api, AssignSite site, const UiTextTable& texts,
                           const ExtraTextTable& extraTexts)
    : m_Texts(texts), m_ExtraTexts(extraTexts),
      m_Controller(std::make_unique<AssignController>(api, std::move(site), extraTexts,
                                                      static_cast<AssignView&>(*this))),
      m_Rows(extraTexts) {}

AssignWindow::~AssignWindow() {
    // The library must be free again before the owner goes on with it.
    if (m_Batch) {
        m_Batch->Stop();
    }
    if (m_Dialog != nullptr) {
        EnableWindow(m_Owner, TRUE);
        DestroyWindow(m_Dialog);
    }
}

bool AssignWindow::Create(HINSTANCE instance, HWND owner) {
    m_Owner = owner;
    if (CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_ASSIGN_DIALOG), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
        return false;
    }
    // Modal for its owner, which must not search or submit while addresses are planned.
    EnableWindow(m_Owner, FALSE);
    ShowWindow(m_Dialog, SW_SHOW);
    return true;
}

INT_PTR CALLBACK AssignWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DispatchDialogMessage(dialog, message, wParam, lParam, &AssignWindow::m_Dialog,
                                 &AssignWindow::HandleMessage);
}

INT_PTR AssignWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        OnCloseAsked();
        return TRUE;
    case WM_TIMER:
        if (wParam == kFitTimer && m_FitPending) {
            FitColumns();
        }
        return TRUE;
    case BackgroundTask::kDeliverMessage:
        m_Batch->Deliver();
        return TRUE;
    case WM_NCDESTROY:
        SetWindowLongPtrW(m_Dialog, DWLP_USER, 0);
        m_Dialog = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void AssignWindow::OnInitDialog() {
    m_Batch = std::make_unique<BackgroundTask>(m_Dialog);
    SetTexts();
    FillChoice();
    const bool offered = m_Controller->ChoiceOffered();
    ShowWindow(Item(IDC_ASSIGN_CHOICE_LABEL), offered ? SW_SHOW : SW_HIDE);
    ShowWindow(Item(IDC_ASSIGN_CHOICE), offered ? SW_SHOW : SW_HIDE);
    HWND table = Item(IDC_ASSIGN_TABLE);
    ListView_SetExtendedListViewStyle(table, LVS_EX_FULLROWSELECT);
    AddColumns(0, static_cast<std::size_t>(kFirstResultColumn));
    m_Made = true;
    m_Controller->OnFieldsChanged();
    FitColumns();
}

void AssignWindow::SetTexts() {
    const std::pair<int, const std::u16string*> texts[] = {
        {IDC_ASSIGN_FIRST_LABEL, &m_ExtraTexts.Text(ExtraText::AssignFirstAddress)},
        {IDC_ASSIGN_NETMASK_LABEL, &m_Texts.Text(UiText::Netmask)},
        {IDC_ASSIGN_GATEWAY_LABEL, &m_Texts.Text(UiText::Gateway)},
        {IDC_ASSIGN_NO_GATEWAY, &m_ExtraTexts.Text(ExtraText::AssignNoGateway)},
        {IDC_ASSIGN_OTHER_SUBNET, &m_ExtraTexts.Text(ExtraText::AssignAllowOtherSubnet)},
        {IDC_ASSIGN_DNS1_LABEL, &m_Texts.Text(UiText::Dns1)},
        {IDC_ASSIGN_DNS2_LABEL, &m_Texts.Text(UiText::Dns2)},
        {IDC_ASSIGN_PATTERN_LABEL, &m_ExtraTexts.Text(ExtraText::AssignNamePattern)},
        {IDC_ASSIGN_CHOICE_LABEL, &m_ExtraTexts.Text(ExtraText::AssignDevices)},
        {IDC_ASSIGN_USER_LABEL, &m_ExtraTexts.Text(ExtraText::AssignUserName)},
        {IDC_ASSIGN_PASSWORD_LABEL, &m_ExtraTexts.Text(ExtraText::AssignPassword)},
        {IDC_ASSIGN_HINT, &m_ExtraTexts.Text(ExtraText::AssignKeepHint)},
        {IDC_ASSIGN_APPLY, &m_ExtraTexts.Text(ExtraText::AssignApply)},
        {IDCANCEL, &m_ExtraTexts.Text(ExtraText::AssignClose)}};
    SetWindowTextW(m_Dialog, Wide(m_ExtraTexts.Text(ExtraText::AssignTitle)));
    for (const auto& [id, text] : texts) {
        SetDlgItemTextW(m_Dialog, id, Wide(*text));
    }
    SendMessageW(Item(IDC_ASSIGN_PATTERN), EM_SETCUEBANNER, FALSE,
                 reinterpret_cast<LPARAM>(L"Cam-{n:02}"));
}

void AssignWindow::FillChoice() {
    HWND choice = Item(IDC_ASSIGN_CHOICE);
    const std::pair<AssignChoice, ExtraText> entries[] = {
        {AssignChoice::Selected, ExtraText::AssignChoiceSelected},
        {AssignChoice::Marked, ExtraText::AssignChoiceMarked},
        {AssignChoice::All, ExtraText::AssignChoiceAll}};
    for (const auto& [value, text] : entries) {
        const auto index = SendMessageW(choice, CB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(Wide(m_ExtraTexts.Text(text))));
        SendMessageW(choice, CB_SETITEMDATA, static_cast<WPARAM>(index),
                     static_cast<LPARAM>(value));
        if (value == m_Controller->InitialChoice()) {
            SendMessageW(choice, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }
}

void AssignWindow::AddColumns(std::size_t from, std::size_t to) {
    const AssignRowTexts headings = AssignHeadings(m_Texts, m_ExtraTexts);
    for (std::size_t column = from; column < to; ++column) {
        LVCOLUMNW format{};
        format.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
        format.fmt = LVCFMT_LEFT;
        format.pszText = const_cast<wchar_t*>(Wide(headings[column]));
        format.iSubItem = static_cast<int>(column);
        SendMessageW(Item(IDC_ASSIGN_TABLE), LVM_INSERTCOLUMNW, column,
                     reinterpret_cast<LPARAM>(&format));
    }
}

int AssignWindow::HeadingWidth(std::size_t column) const {
    // The room a heading needs beside its text, in dialog units so that it grows with the font.
    RECT margin{0, 0, 12, 0};
    MapDialogRect(m_Dialog, &margin);
    return ListView_GetStringWidth(Item(IDC_ASSIGN_TABLE),
                                   Wide(AssignHeadings(m_Texts, m_ExtraTexts)[column])) +
           margin.right;
}

void AssignWindow::FitColumns() {
    m_FitPending = false;
    KillTimer(m_Dialog, kFitTimer);
    HWND table = Item(IDC_ASSIGN_TABLE);
    // Each width measures every row: one repaint at the end, not one per column.
    SendMessageW(table, WM_SETREDRAW, FALSE, 0);
    const int columns = Header_GetItemCount(ListView_GetHeader(table));
    for (int column = 0; column < columns; ++column) {
        ListView_SetColumnWidth(table, column, LVSCW_AUTOSIZE);
        const int heading = HeadingWidth(static_cast<std::size_t>(column));
        if (ListView_GetColumnWidth(table, column) < heading) {
            ListView_SetColumnWidth(table, column, heading);
        }
    }
    SendMessageW(table, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(table, nullptr, TRUE);
}

void AssignWindow::FitColumnsSoon() {
    m_FitPending = true;
    SetTimer(m_Dialog, kFitTimer, kFitDelayMs, nullptr);
}

void AssignWindow::OnCommand(int id, int code) {
    if (id == IDCANCEL) {
        OnCloseAsked();
        return;
    }
    if (id == IDC_ASSIGN_APPLY && code == BN_CLICKED) {
        m_Controller->OnApply();
        return;
    }
    // Before the dialog is made whole its controls' notifications mean nothing yet.
    if (!m_Made) {
        return;
    }
    if (id == IDC_ASSIGN_NO_GATEWAY && code == BN_CLICKED) {
        EnableWindow(Item(IDC_ASSIGN_GATEWAY), IsBoxChecked(IDC_ASSIGN_NO_GATEWAY) ? FALSE : TRUE);
    }
    const bool changed =
        (IsAddressOrPatternId(id) && code == EN_CHANGE) ||
        (id == IDC_ASSIGN_CHOICE && code == CBN_SELCHANGE) ||
        ((id == IDC_ASSIGN_NO_GATEWAY || id == IDC_ASSIGN_OTHER_SUBNET) && code == BN_CLICKED);
    if (changed) {
        m_Controller->OnFieldsChanged();
    }
}

void AssignWindow::OnCloseAsked() {
    if (m_Controller->OnClose()) {
        Close();
    }
}

void AssignWindow::Close() {
    if (m_Dialog == nullptr) {
        return;
    }
    // Input goes back to the owner before the dialog goes, so that it, not another program, is
    // the active window then.
    EnableWindow(m_Owner, TRUE);
    DestroyWindow(m_Dialog);
    PostMessageW(m_Owner, kClosedMessage, m_Controller->Applied() ? 1 : 0, 0);
}

Ipv4Octets AssignWindow::Address(int id) const {
    return AddressOf(Item(id));
}

bool AssignWindow::IsBoxChecked(int id) const {
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::u16string AssignWindow::ItemText(int id) const {
    return WindowText(Item(id));
}

// The controls as the controller sees them.

AssignFields AssignWindow::Fields() const {
    constexpr int kAddressIds[] = {IDC_ASSIGN_FIRST, IDC_ASSIGN_NETMASK, IDC_ASSIGN_GATEWAY,
                                   IDC_ASSIGN_DNS1, IDC_ASSIGN_DNS2};
    return {Address(IDC_ASSIGN_FIRST),
            Address(IDC_ASSIGN_NETMASK),
            Address(IDC_ASSIGN_GATEWAY),
            IsBoxChecked(IDC_ASSIGN_NO_GATEWAY),
            IsBoxChecked(IDC_ASSIGN_OTHER_SUBNET),
            Address(IDC_ASSIGN_DNS1),
            Address(IDC_ASSIGN_DNS2),
            ItemText(IDC_ASSIGN_PATTERN),
            std::any_of(std::begin(kAddressIds), std::end(kAddressIds),
                        [this](int id) { return IsPartlyFilled(Item(id)); })};
}

AssignChoice AssignWindow::Choice() const {
    HWND choice = Item(IDC_ASSIGN_CHOICE);
    const LRESULT index = SendMessageW(choice, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) {
        return m_Controller->InitialChoice();
    }
    return static_cast<AssignChoice>(
        SendMessageW(choice, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

Credentials AssignWindow::TypedCredentials() const {
    return Credentials{
        vanmoor::settings::Utf8FromUtf16(ItemText(IDC_ASSIGN_USER), std::string::npos),
        vanmoor::settings::Utf8FromUtf16(ItemText(IDC_ASSIGN_PASSWORD), std::string::npos)};
}

void AssignWindow::ShowPlan(const std::vector<PlannedDevice>& plan) {
    m_Rows.ShowPlan(plan);
    HWND table = Item(IDC_ASSIGN_TABLE);
    SendMessageW(table, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(table);
    for (std::size_t row = 0; row < m_Rows.RowCount(); ++row) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = const_cast<wchar_t*>(Wide(m_Rows.Cell(row, AssignColumn::Mac)));
        SendMessageW(table, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (std::size_t column = 1; column < static_cast<std::size_t>(kFirstResultColumn);
             ++column) {
            ListView_SetItemText(
                table, static_cast<int>(row), static_cast<int>(column),
                const_cast<wchar_t*>(Wide(m_Rows.Cell(row, static_cast<AssignColumn>(column)))));
        }
    }
    SendMessageW(table, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(table, nullptr, TRUE);
    // The columns fit the plan once the typing pauses, not at every key.
    if (m_Made) {
        FitColumnsSoon();
    }
}

void AssignWindow::ShowMessage(const std::u16string& text) {
    SetDlgItemTextW(m_Dialog, IDC_ASSIGN_MESSAGE, Wide(text));
}

void AssignWindow::EnableApply(bool enabled) {
    EnableWindow(Item(IDC_ASSIGN_APPLY), enabled ? TRUE : FALSE);
}

void AssignWindow::ShowCredentials(bool visible) {
    for (const int id :
         {IDC_ASSIGN_USER_LABEL, IDC_ASSIGN_USER, IDC_ASSIGN_PASSWORD_LABEL, IDC_ASSIGN_PASSWORD}) {
        ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE);
    }
}

void AssignWindow::FocusUserName() {
    SendMessageW(m_Dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_ASSIGN_USER)), TRUE);
}

void AssignWindow::ShowBatchStarted(std::size_t devices) {
    for (const int id : kFieldIds) {
        EnableWindow(Item(id), FALSE);
    }
    EnableWindow(Item(IDC_ASSIGN_APPLY), FALSE);
    EnableWindow(Item(IDCANCEL), FALSE);
    HWND progress = Item(IDC_ASSIGN_PROGRESS);
    SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(devices));
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    ShowWindow(progress, SW_SHOW);
}

void AssignWindow::ShowOutcome(const AssignOutcome& outcome) {
    HWND table = Item(IDC_ASSIGN_TABLE);
    if (!m_ResultColumnsShown) {
        m_ResultColumnsShown = true;
        AddColumns(static_cast<std::size_t>(kFirstResultColumn), kAssignColumnCount);
        // As wide as their headings until the batch's end fits every column to its texts.
        for (std::size_t column = static_cast<std::size_t>(kFirstResultColumn);
             column < kAssignColumnCount; ++column) {
            ListView_SetColumnWidth(table, static_cast<int>(column), HeadingWidth(column));
        }
    }
    // Only the outcome's two cells change: fitting the columns over every row at each outcome
    // would make the batch's display cost grow with the square of its devices.
    if (const std::optional<std::size_t> row = m_Rows.ShowOutcome(outcome)) {
        for (const AssignColumn column : {AssignColumn::Result, AssignColumn::Final}) {
            ListView_SetItemText(table, static_cast<int>(*row), static_cast<int>(column),
                                 const_cast<wchar_t*>(Wide(m_Rows.Cell(*row, column))));
        }
    }
}

void AssignWindow::ShowProgress(int done) {
    SendMessageW(Item(IDC_ASSIGN_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(done), 0);
}

void AssignWindow::ShowBatchEnded() {
    FitColumns();
    HWND progress = Item(IDC_ASSIGN_PROGRESS);
    SendMessageW(progress, PBM_SETPOS,
                 static_cast<WPARAM>(SendMessageW(progress, PBM_GETRANGE, FALSE, 0)), 0);
    EnableWindow(Item(IDCANCEL), TRUE);
    SendMessageW(m_Dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL)), TRUE);
}

void AssignWindow::RunBatch(BatchWork work, BatchProgress progress,
                            std::function<void(const std::vector<AssignOutcome>&)> finished) {
    // The reports run later on the dialog's thread: each holds its own copy of what it calls.
    m_Batch->Run([work = std::move(work), progress = std::move(progress),
                  finished = std::move(finished)](const BackgroundTask::Post& post) {
        std::vector<AssignOutcome> outcomes;
        try {
            outcomes = work([&post, &progress](const AssignOutcome& outcome, int done) {
                post([progress, outcome, done] { progress(outcome, done); });
            });
        } catch (...) {
            // The dialog must become usable again: the batch ends with what it reported.
        }
        post([finished, outcomes = std::move(outcomes)] { finished(outcomes); });
    });
}

void AssignWindow::CloseDialog() {
    Close();
}

} // namespace kestrun::win32
