#include "controls/named_combo_box.h"

CNamedComboBox::CNamedComboBox(const std::wstring& accessibleName)
    : CAccessiblyNamed<CComboBox>(accessibleName), m_edit(accessibleName)
{
}

void CNamedComboBox::PreSubclassWindow()
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(m_hWnd, &info) && info.hwndItem)
        m_edit.SubclassWindow(info.hwndItem);
    CAccessiblyNamed<CComboBox>::PreSubclassWindow();
}
