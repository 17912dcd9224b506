#pragma once
#include <cstdint>
#include <string>

#include "controls/named_combo_box.h"
#include "framework/dialog.h"
#include "jump/history.h"

// The program's main window: a combo box for the jump target, filled with the
// history, and OK / Cancel. OK remembers the input, saves the history and starts
// the editor; Cancel changes nothing. Shift+Delete on an entry highlighted in
// the open list removes it, to be saved with the next OK.
class CJumpDlg : public CDialog {
public:
    explicit CJumpDlg(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Answers a second instance's activation request.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillHistoryList(HWND combo);
    bool RemoveHighlightedEntry();
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnSysCommand(UINT nID, LPARAM lParam);

    CNamedComboBox m_comboInput;
    // As typed, in UTF-16; saved only when the ANSI code page writes it exactly.
    std::wstring m_strInput;
    HistoryList m_history;
    int32_t m_nHistoryMax = 0;
    UINT m_uActivateMsg = 0;
    HICON m_hIcon = nullptr;
};
